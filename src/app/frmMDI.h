#pragma once
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/ListView.h"
#include "platform/RichTextBox.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <optional>

struct DictionaryRow;

// The frame window: the reading result (querent header, reading text, the
// spread window as a child) or the dictionary (toolbar, keyword pane, the
// entry views as children). The window that opens it hides the panes of the
// other mode.
class frmMDI : public Form {
public:
    frmMDI();
    ~frmMDI() override;

    // Panes, aligned to the frame's edges.
    QToolBar* TB;
    QWidget* picTop2;
    QWidget* picTop;
    QWidget* picLeft;
    QWidget* picRight;
    QWidget* picBottom;
    QMdiArea* mdiClient;

    // picTop: the querent header.
    QLabel* lblName;
    QLineEdit* txtName;
    QLabel* lblDOB;
    QLineEdit* txtDOB;
    QLabel* lblCountry;
    QLineEdit* txtCountry;
    QLabel* lblQ;
    QLineEdit* txtQ;
    RichTextBox* RTB; // hidden print buffer
    CommonDialog CD1; // the save dialog
    QPushButton* cmdSave;
    QPushButton* cmdPrint;

    // picRight: the reading text.
    RichTextBox* rtbDisp1;

    // picBottom.
    QPushButton* cmdExit;
    QPushButton* cmdDonate;
    QPushButton* cmdRestart;
    LinkLabel* lblFullBrand;
    LinkLabel* lblCobrand;

    // picTop2.
    QPushButton* cmdDonate1;

    // picLeft: the keyword search.
    QLabel* Label5;
    QLineEdit* txtKey;
    QRadioButton* optWildCard;
    QRadioButton* optExact;
    QRadioButton* optGoogle;
    QPushButton* cmdSearch;
    ListView* lstKeys;
    QPushButton* cmdDisplay;

    CommonDialog CD; // the dictionary update's open dialog

    QAction* mnuUpdateKey;
    QAction* mnuStart;
    QAction* mnuExit;
    QAction* mnuOnline;
    QAction* mnuVisit;
    QAction* mnuUpdate;
    QAction* mnuAbout;
    QAction* mnuDonate;
    QAction* mnuMakeMoney;

    void cmdPrint_Click();
    void cmdSave_Click();
    void cmdRestart_Click();
    void cmdExit_Click();
    void mnuStart_Click() { cmdRestart_Click(); }
    void mnuExit_Click() { cmdExit_Click(); }
    void mnuAbout_Click();
    void MDIForm_Resize();
    // Copies the querent strings of the querent window, when it is loaded,
    // into the header.
    void ShowQuerent();

    // The dictionary pane and toolbar (src/dictionary/KeywordPane.cpp) and the
    // dictionary update (src/dictionary/DictionaryUpdate.cpp).
    void cmdSearch_Click();
    void cmdDisplay_Click();
    void txtKey_KeyPress(int keyAscii);
    void txtKey_Change();
    void lstKeys_Click();
    void lstKeys_DblClick();
    void TB_ButtonClick(const QString& key);
    void mnuUpdateKey_Click();

    // Outer size of the frame in twips.
    double WidthTwips() const;
    double HeightTwips() const;

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void buildHeaderPane();
    void buildReadingPane();
    void buildBottomPane();
    void buildDonatePane();
    void buildKeywordPane();
    void buildMenus();
    void fillKeywordList();
    void connectDictionaryPane();
    std::optional<QList<DictionaryRow>> rowsForTypedText();
    void listSearchMatches(const QList<DictionaryRow>& rows, bool clearWhenEmpty);
    void displayEntry(const QList<DictionaryRow>& rows, const QString& key);
    void say(const QString& message);
    void fitReadingBox();
};

class frmMDI& frmMDI();
