#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>

// The spread choice: one of the thirteen spreads, the deck, the arcana and
// reversed-card options; "AutoCast" and "Manual" start the reading. Loaded
// afresh on every visit; its load resets the reading state.
class frmTarot : public Form {
public:
    frmTarot();

    // Read by the reading windows while this one is still loaded.
    qint16 I = 0;            // the list entry found selected
    bool lboo = false;       // "Minor Arcana" ticked
    bool hboo = false;       // "Major Arcana" ticked
    bool rboo = false;       // "Allow Reverse Cards" ticked
    qint32 no = 0;           // positions of the selected spread
    QString card;            // name of the selected spread
    qint16 MaxCardInSet = 0; // index of the selected spread

    LinkLabel* Label6;
    QLabel* lblInfo;
    QPlainTextEdit* txtQ;
    std::array<QLabel*, 2> Label4;
    QComboBox* cboCards;
    QListWidget* lstOption;
    QPlainTextEdit* txtDisp;
    QLabel* pctCard;
    QGroupBox* frmArcane;
    QCheckBox* chkHA;
    QCheckBox* chkLA;
    QCheckBox* chkRev;
    QLabel* Label3;
    QPushButton* cmdManual;
    QPushButton* cmdAuto;
    QPushButton* cmdBack;
    QPushButton* cmdCancel;
    QFrame* picMessage; // the wait panel
    QLabel* Label1;
    QLabel* Label2;

    QMenu* mnuFile;
    QMenu* mnuSpread;
    QAction* mnuCeltic;
    QAction* mnuOne;
    QAction* mnuTwo;
    QAction* mnyThree;
    QAction* mnuEliphas;
    QAction* mnuLine;
    QAction* mnuSeven;
    QAction* mnuFour;
    QAction* mnuManual;
    QAction* mnuCast;
    QAction* mnuBack;
    QAction* mnuExit;
    QMenu* mnuHelp;
    QAction* mnuOnline;
    QAction* mnuVisit;
    QAction* mnuUpdate;
    QAction* mnuSoftware;
    QAction* mnuDonate;
    QAction* mnuMakeMoney;

    void lstOption_Click();
    void cboCards_Click();
    void chkHA_Click();
    void chkLA_Click();
    void chkRev_Click();
    void cmdAuto_Click();
    void cmdManual_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void mnuCeltic_Click();
    void mnuOne_Click();
    void mnuTwo_Click();
    void mnyThree_Click();
    void mnuEliphas_Click();
    void mnuLine_Click();
    void mnuSeven_Click();
    void mnuFour_Click();
    void mnuManual_Click() { cmdManual_Click(); }
    void mnuCast_Click();
    void mnuBack_Click() { cmdBack_Click(); }
    void mnuExit_Click();
    void mnuOnline_Click();
    void mnuVisit_Click();
    void mnuUpdate_Click();
    void mnuDonate_Click();
    void mnuMakeMoney_Click();
    void mnuSoftware_Click();
    void Label6_Click();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    void buildControls(QWidget* client);
    void buildMenus();
    void ShowSpreadInfo(qint16& index);
    void showDiagram(int index);
    // The selected entry of the spread list (-1 for none) and its text.
    int spreadListIndex() const;
    QString spreadListText() const;
    // Selects a list entry as a click on it would, running lstOption_Click.
    void setSpreadListIndex(int row);
    // Selects the first spread whose name matches text, case aside.
    void selectSpreadByText(const QString& text);
    void setDeckListIndex(int index);
    // The two reading windows take over from here.
    // "AutoCast" and "Manual" take the choice from the controls, then record
    // it in the reading state.
    void takeChoice();
    void recordChoice(bool manual);
    void showSpreadWindow();
    void showManualWindow();

    // The querent, as the querent window held it when this window loaded.
    QString strName;
    QString strDOB;
    QString strCountry;
    QString strQ;

    // The pressed state of the two buttons: set while their click is handled.
    bool m_cmdAutoValue = false;
    bool m_cmdManualValue = false;
    bool m_casting = false; // "AutoCast" has started the reading
    int m_unloadMode = vbFormCode;
};

class frmTarot& frmTarot();
