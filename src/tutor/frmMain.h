#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/TrayIcon.h"

#include <QMenu>
#include <QPushButton>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class UserControl1;

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

    // ---- Personal goals (tab 0), start-up and tray frame (tab 1), tray icon ----
    QLabel* Label10;
    QTreeWidget* ListView1;
    std::array<QPushButton*, 2> optGoals;
    QLabel* Label15;
    QLineEdit* txtGoalName;
    QLabel* Label16;
    QPlainTextEdit* txtGoalDesc;
    QLabel* Label12;
    UserControl1* mydtpStartingDate;
    QLabel* Label11;
    UserControl1* mydtpEndingDate;
    QGroupBox* Frame3;
    QLabel* Label13;
    QComboBox* Combo3;
    QLabel* Label7;
    QLabel* lblDayCount;
    QLabel* Label1;
    QLabel* lblDaysRemaining;
    QLabel* lblInfo;
    QPushButton* cmdNewGoal;
    QPushButton* cmdSaveGoals;
    QPushButton* cmdDeleteGoals;
    QPushButton* cmdMarkAchived;

    void DisplayGoals(bool AchivedGoals);
    void cmdNewGoal_Click();
    void cmdSaveGoals_Click();
    void cmdMarkAchived_Click();
    void cmdDeleteGoals_Click();
    void optGoals_Click(int Index);
    void ListView1_ItemClick(QTreeWidgetItem* Item);
    void mydtpStartingDate_DateChanged();
    void mydtpEndingDate_DateChanged();

    QGroupBox* fraSystemTray;
    QRadioButton* optRun;
    QRadioButton* optDontRun;
    QCheckBox* chkSysTray;
    QLabel* Label14;

    void optRun_Click();
    void optDontRun_Click();
    void chkSysTray_Click();
    // The tray icon's mouse message (its number, as the tray reports it).
    void picHook_MouseDown(int message);
    void mnuShow_Click();
    // The icon while the window waits in the tray; none otherwise.
    TrayIcon* Tray() const { return m_tray.get(); }
    // ---- end of goals, start-up and tray ----

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void buildTabs();
    void buildMenus();
    void buildNavigation(QWidget* parent, class QBoxLayout* layout);
    bool m_leavingByBack = false;

    // ---- Personal goals, start-up and tray ----
    void buildGoalsPage(QWidget* page);
    void buildGoalTimer(QWidget* page);
    void buildStartupFrame(QWidget* page);
    void connectGoalsAndTray();
    void InitGoals();
    void LoadGoals();
    bool SaveGoals();
    void AddGoal();
    bool DeleteGoal(const QList<int>& indices);
    void ShowGoalProgress();
    void ClearGoalFields();
    void showDayCount();
    bool goalTextsAreWritable();
    void selectGoalView(int index);
    void SetRunAtStartup(const QString& valueName, const QString& folder, bool on);
    bool IsRunAtStartup(const QString& valueName) const;
    void ShowRunAtStartup();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void setVisible(bool visible) override;
    std::unique_ptr<TrayIcon> m_tray;
    // While the window waits in the tray only "Show" brings it back.
    bool m_inTray = false;
    // ---- end of goals, start-up and tray ----
};

class frmMain& frmMain();
