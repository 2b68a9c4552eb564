#include "frmMain.h"

#include "app/frmAbout.h"
#include "app/frmOpen.h"
#include "common/PageLaunchers.h"
#include "common/Shutdown.h"
#include "common/UpdateReminder.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
// The tab captions, blanks included.
const char* const TabCaptions[] = {" My Personal Goal ", "     Settings       ", "  Memorize Cards  ",
                                   "      Take Test     ", "       Results        "};

// The pages place their controls at fixed places: the window cannot be made
// smaller than the page that needs the most room.
void keepPagesWhole(TabControl& tabs)
{
    const int margin = Twips::toPixels(120);
    for (int t = 0; t < tabs.count(); ++t) {
        QWidget* page = tabs.widget(t);
        QRect used;
        for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            used |= control->geometry();
        page->setMinimumSize(used.right() + 1 + margin, used.bottom() + 1 + margin);
    }
}

// The labels below the pages wrap into more lines as the window narrows:
// the window's smallest height is what they and the pages need at its
// smallest width.
void keepClientWhole(QWidget& client)
{
    client.ensurePolished();
    QLayout* layout = client.layout();
    layout->activate();
    const QSize least = layout->totalMinimumSize();
    client.setMinimumSize(least.width(), qMax(least.height(), layout->totalHeightForWidth(least.width())));
}
} // namespace

frmMain::frmMain() : Form("frmMain")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    SSTab1 = new TabControl(central);
    layout->addWidget(SSTab1, 1);
    buildTabs();
    buildSettingsPage(SSTab1->widget(TabSettings));
    buildMemorizePage(SSTab1->widget(TabMemorize));
    buildTestPage(SSTab1->widget(TabTest));
    buildReportPage(SSTab1->widget(TabResults));
    buildNavigation(central, layout);
    setCentralWidget(central);
    buildMenus();
    buildGoalsPage(SSTab1->widget(TabGoals));
    buildStartupFrame(SSTab1->widget(TabSettings));
    connectGoalsAndTray();
    keepPagesWhole(*SSTab1);
    keepClientWhole(*central);
    SetClientSizeTwips(11700, 8400);

    connect(SSTab1, &TabControl::Click, this, [this](int previous) { SSTab1_Click(previous); });
}

void frmMain::buildTabs()
{
    for (const char* caption : TabCaptions) {
        auto* page = new QWidget(SSTab1);
        SSTab1->addTab(page, caption);
    }
}

void frmMain::buildNavigation(QWidget* parent, QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* ads = new QVBoxLayout;
    lblFullBrand = new LinkLabel("Home Business Opportunity: have this tarot software branded for your own web site. "
                                 "Click here for more details.",
                                 parent);
    lblCobrand = new LinkLabel("Put your own name and logo beside ours: ask about a co-branded edition.", parent);
    Label6 = new LinkLabel("Visit the Arcavell web site for tarot articles, forums and more.", parent);
    for (LinkLabel* l : {lblFullBrand, lblCobrand, Label6}) {
        l->setCursor(Qt::PointingHandCursor);
        ads->addWidget(l);
    }
    row->addLayout(ads, 1);

    cmdBack = new QPushButton("Back", parent);
    cmdNav = new QPushButton("Exit", parent);
    cmdReset = new QPushButton("Donate", parent);
    for (QPushButton* b : {cmdReset, cmdBack, cmdNav})
        row->addWidget(b, 0, Qt::AlignBottom);
    layout->addLayout(row);

    // Receives the tray icon's mouse messages; never shown.
    picHook = new QWidget(parent);
    picHook->hide();

    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
    connect(cmdNav, &QPushButton::clicked, this, [this] { cmdNav_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(lblFullBrand, &LinkLabel::Click, this, [this] { lblFullBrand_Click(); });
    connect(lblCobrand, &LinkLabel::Click, this, [this] { lblCobrand_Click(); });
    connect(Label6, &LinkLabel::Click, this, [this] { Label6_Click(); });
}

void frmMain::buildMenus()
{
    mnuFile = menuBar()->addMenu("&File");
    mnuTabGoals = AddMenuItem(mnuFile, "&My Personal Goals", this, [this] { mnuTabGoals_Click(); });
    mnuTabSettings = AddMenuItem(mnuFile, "Settings", this, [this] { mnuTabSettings_Click(); });
    mnuFile->addSeparator();
    mnuBack = AddMenuItem(mnuFile, "&Back", this, [this] { mnuBack_Click(); });
    mnuFile->addSeparator();
    mnuExit1 = AddMenuItem(mnuFile, "&Exit", this, [this] { mnuExit1_Click(); });

    const HelpMenuItems help = AddHelpMenu(
        menuBar(), this, [this] { mnuOnline_Click(); }, [this] { mnuVisit_Click(); },
        [this] { mnuUpdate_Click(); }, [this] { mnuAbout_Click(); });
    mnuHelp = help.menu;
    mnuOnline = help.online;
    mnuVisit = help.visit;
    mnuUpdate = help.update;
    mnuAbout = help.about;

    mnuDonate = AddMenuBarItem(menuBar(), "Donate", this, [this] { mnuDonate_Click(); });

    // The tray icon's pop-up menu: not part of the menu bar.
    mnuPopUp = new QMenu(this);
    mnuShow = mnuPopUp->addAction("Show");
    mnuExit = AddMenuItem(mnuPopUp, "Exit", this, [this] { mnuExit_Click(); });

    mnuMakeMoney = AddMenuBarItem(menuBar(), "Make Money &Online", this, [this] { mnuMakeMoney_Click(); });
}

void frmMain::Form_Load()
{
    CheckUpdateReminder();
    if (!QFileInfo(LearnDatabasePath()).isFile()) {
        MsgBox("Required files missing. Please reinstall " + App::Title(), vbCritical, "ERROR !");
        UnloadAllForms();
        return;
    }
    InitGoals();
    LoadSettings();
    ShowRunAtStartup();
    for (int tab : {TabMemorize, TabTest, TabResults})
        SSTab1->SetTabEnabled(tab, false);
    if (chkSysTray->isChecked() && App::Command().contains("/STARTUP"))
        AddTrayIcon();
}

void frmMain::Form_Unload(int&)
{
    RemoveTrayIcon();
    // "Exit" and the close box end the program; "Back" hands over to the
    // opening choice.
    if (!m_leavingByBack)
        UnloadAllForms();
}

void frmMain::SSTab1_Click(int)
{
    switch (SSTab1->Tab()) {
    case TabSettings:
        for (int tab : {TabMemorize, TabTest, TabResults})
            SSTab1->SetTabEnabled(tab, false);
        break;
    case TabMemorize:
        restartMemorize();
        SSTab1->SetTabEnabled(TabTest, false);
        SSTab1->SetTabEnabled(TabResults, false);
        break;
    case TabTest:
        SSTab1->SetTabEnabled(TabResults, false);
        picResult->setFocus();
        break;
    case TabResults:
        SSTab1->SetTabEnabled(TabTest, false);
        break;
    default:
        break;
    }
}

void frmMain::cmdBack_Click()
{
    frmOpen().Show();
    m_leavingByBack = true;
    Unload(*this);
}

void frmMain::cmdNav_Click() { Unload(*this); }
void frmMain::mnuExit1_Click() { Unload(*this); }
void frmMain::mnuExit_Click() { Unload(*this); }
void frmMain::mnuOnline_Click() { OpenHelpPage(); }
void frmMain::mnuVisit_Click() { OpenHomePage(); }
void frmMain::mnuUpdate_Click() { OpenDownloadPage(); }
void frmMain::mnuAbout_Click() { frmAbout().Show(vbModal, this); }
void frmMain::mnuDonate_Click() { OpenDonatePage(); }
void frmMain::cmdReset_Click() { OpenDonatePage(); }
void frmMain::mnuMakeMoney_Click() { OpenFullBrandPage(); }
void frmMain::lblFullBrand_Click() { OpenFullBrandPage(); }
void frmMain::lblCobrand_Click() { OpenCoBrandPage(); }
void frmMain::Label6_Click() { OpenHomePage(); }

class frmMain& frmMain() { return Forms::Instance<class frmMain>(); }
