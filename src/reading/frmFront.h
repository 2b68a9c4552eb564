#pragma once
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

// The querent window: name, date of birth, country and question.
class frmFront : public Form {
public:
    frmFront();

    // The querent strings, set only by "&Next".
    QString strName;
    QString strCountry;
    QString strQ;
    QString strDate;
    QString strMonth;
    QString strYear;
    QString strDOB;

    QLabel* lblName;
    QLineEdit* txtName;
    QLabel* lblAge;
    QComboBox* cmbMonth;
    QComboBox* cmbDate;
    QComboBox* cmbYear;
    QLabel* lblCountry;
    QLineEdit* txtCountry;
    QLabel* lblQuestion;
    QPlainTextEdit* txtQuestion;
    QPushButton* cmdCancel;
    QPushButton* cmdReset;
    QPushButton* cmdBack;
    QPushButton* cmdNext;
    QPushButton* cmdOpen;
    QPushButton* cmdOld;
    QGroupBox* fraFullBrand;
    LinkLabel* lblFullBrand;
    LinkLabel* lblCobrand;
    LinkLabel* Label6;
    QLabel* Image1;
    CommonDialog CD; // the open dialog

    void cmdNext_Click();
    void cmdReset_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void cmdOpen_Click();
    // Returns the key code to use; 0 discards the key.
    int txtName_KeyPress(int keyAscii);
    int txtCountry_KeyPress(int keyAscii);

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    bool m_leavingForward = false; // left by "&Next" or "&Back"
    bool m_exitRequested = false;  // "&Exit" or the close box
};

class frmFront& frmFront();
