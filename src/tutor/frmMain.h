#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QMenu>
#include <QPushButton>

// The tutor window: five tabs (goals, settings, memorising, test, results),
// the navigation buttons, the advertisement labels and the menus.
class frmMain : public Form {
public:
    frmMain();

    enum Tabs { TabGoals = 0, TabSettings = 1, TabMemorize = 2, TabTest = 3, TabResults = 4 };

    TabControl* SSTab1;
    QPushButton* cmdBack;
    QPushButton* cmdNav;
    QPushButton* cmdReset;
    LinkLabel* lblFullBrand;
    LinkLabel* lblCobrand;
    LinkLabel* Label6;
    QWidget* picHook;

    QMenu* mnuFile;
    QAction* mnuTabGoals;
    QAction* mnuTabSettings;
    QAction* mnuBack;
    QAction* mnuExit1;
    QMenu* mnuHelp;
    QAction* mnuOnline;
    QAction* mnuVisit;
    QAction* mnuUpdate;
    QAction* mnuAbout;
    QAction* mnuDonate;
    QMenu* mnuPopUp;
    QAction* mnuShow;
    QAction* mnuExit;
    QAction* mnuMakeMoney;

    void cmdBack_Click();
    void mnuBack_Click() { cmdBack_Click(); }
    void cmdNav_Click();
    void mnuExit1_Click();
    void mnuExit_Click();
    void mnuTabGoals_Click() { SSTab1->SetTab(TabGoals); }
    void mnuTabSettings_Click() { SSTab1->SetTab(TabSettings); }
    void SSTab1_Click(int previousTab);
    void mnuOnline_Click();
    void mnuVisit_Click();
    void mnuUpdate_Click();
    void mnuAbout_Click();
    void mnuDonate_Click();
    void cmdReset_Click();
    void mnuMakeMoney_Click();
    void lblFullBrand_Click();
    void lblCobrand_Click();
    void Label6_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void buildTabs();
    void buildMenus();
    void buildNavigation(QWidget* parent, class QBoxLayout* layout);
    bool m_leavingByBack = false;
};

class frmMain& frmMain();
