#pragma once
#include "common/modDB.h"
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/DynArray.h"
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
class AnswerOption;

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
    // settings, memorising, test and report pages ------------------------
public:
    // settings tab (its start-up frame is above)
    QGroupBox* fraObjectives;
    QCheckBox* chkMajor;
    QCheckBox* chkMinor;
    std::array<QCheckBox*, 4> chkGroup;
    QCheckBox* chkReversed;
    QGroupBox* fraTestType;
    std::array<QRadioButton*, 2> optTestType;
    QGroupBox* fraTestLevel;
    std::array<QRadioButton*, 3> optDifficulty;
    QLabel* lblCardSetNote;
    QLabel* lblMemorizeNote;
    QLabel* lblTestTypeNote;
    QLabel* lblTestLevelNote;
    QPushButton* cmdSaveSettings;
    QPushButton* cmdSetOption;
    QPushButton* cmdStartTest2;

    // memorise tab
    QLabel* lblCardNameMemorize;
    PictureBox* picCardMemorize;
    PictureBox* picCardMemorizeReversed;
    QPlainTextEdit* txtNormalMeaning;
    QPlainTextEdit* txtReverseMeaning;
    QPlainTextEdit* txtKeywords;
    QPushButton* cmdPrevious;
    QPushButton* cmdNext;
    QPushButton* cmdStartTest;

    // test tab
    PictureBox* picResult;
    QLabel* lblCardName;
    QLabel* lblIsReversed;
    QLabel* lblQCount;
    QPushButton* cmdNextQuestion;
    QWidget* picDescContainer;
    std::array<AnswerOption*, 7> optAnswer;
    std::array<QFrame*, 7> Shape1;
    QWidget* picKeywodContainer;
    std::array<QCheckBox*, 20> chkKeywords;
    QLabel* lblMaxKeyword;

    // results tab
    QPlainTextEdit* txtResult;
    QLabel* lblResultInfo;
    QPushButton* Command5;
    CommonDialog cdlg;

    void chkMajor_Click();
    void chkMinor_Click();
    void chkGroup_Click(int Index);
    void optTestType_Click(int Index);
    void cmdSaveSettings_Click();
    void cmdSetOption_Click();
    void cmdStartTest2_Click();
    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdStartTest_Click();
    void cmdNextQuestion_Click();
    void optAnswer_Click(int Index);
    void chkKeywords_Click(int Index);
    void Command5_Click();

    // test state, read by the report
    qint32 m_MemIndex = 0;
    qint32 m_QuestionNo = 0;
    qint32 m_CorrectCount = 0;
    bool m_FirstQuestion = false;
    bool m_IsReversed = false;
    qint32 m_CardId = 0;
    IntArray m_AskedIds;
    IntArray m_Scores;
    DynArray<bool> m_AskedReversed;
    IntArray m_CorrectPos;
    qint32 m_KeywordsToChoose = 0;
    qint32 m_LastKeywordBox = 0;

private:
    void buildSettingsPage(QWidget* page);
    void buildMemorizePage(QWidget* page);
    void buildTestPage(QWidget* page);
    void buildAnswerPanels(QWidget* page);
    void buildReportPage(QWidget* page);
    void LoadSettings();
    QString BuildCardQuery() const;
    int chosenLevel() const; // 0 Beginner, 1 Intermediate, 2 Advanced
    bool openCardSet();
    void restartMemorize();
    void ShowMemorizeCard();
    void clearMemorizePage();
    void bringAnswerPanelToFront();
    bool runNextQuestion();
    bool drawNextCard();
    void recordAnswer();
    void endTest();
    bool BuildMeaningQuestion();
    bool drawDecoyRows(int first, int last, int correct, QList<int>& rows);
    void ShowTestCardPicture();
    void BuildKeywordQuestion();
    void PickKeywordSlots();
    QStringList keywordsOf(const QString& condition);
    void BuildTestReport();
    bool saveReport(const QString& fileName);
    bool hasQuestions();
    static QString textOf(Recordset& rs, const QString& field);
    bool m_engineRunning = false;
    // ---------------------------------------------------------------------
};

class frmMain& frmMain();
