#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QFrame>
#include <QGroupBox>
#include <QPushButton>

// The about box: the product, two of the maker's pages, the notice on the
// card drawings. Shown modally.
class frmAbout : public Form {
public:
    frmAbout();

    QLabel* picIcon;
    QLabel* Label1;
    QLabel* Label2;
    LinkLabel* lblHomePage;
    QLabel* Label3;
    LinkLabel* lblCoBrand;
    QGroupBox* Frame1;
    QLabel* Label4;
    QFrame* Line1;
    QPushButton* cmdOK;

    void cmdOK_Click();
    void lblHomePage_Click();
    void lblCoBrand_Click();
};

class frmAbout& frmAbout();
