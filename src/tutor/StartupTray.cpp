// The tutor window's start with the desktop session and its tray icon.
#include "frmMain.h"

#include "app/AppIcon.h"
#include "platform/App.h"
#include "platform/Autostart.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QRadioButton>

using Twips::placed;

namespace {
const char* const StartupSwitch = "/STARTUP";
const char* const TrayTip = "Recent";
} // namespace

void frmMain::buildStartupFrame(QWidget* page)
{
    fraSystemTray = placed(new QGroupBox("Run on Windows Start-Up", page), 7395, 2520, 3600, 2940);
    optRun = placed(new QRadioButton("Run at start-up", fraSystemTray), 120, 270, 3360, 285);
    optDontRun = placed(new QRadioButton("Don't run at start-up", fraSystemTray), 120, 570, 3360, 285);
    optDontRun->setChecked(true);
    chkSysTray = placed(new QCheckBox("Start at system tray", fraSystemTray), 120, 900, 3360, 285);
    chkSysTray->setEnabled(false);
    Label14 = placed(new QLabel("This is a very important setting. Remember that if you want to get the most benefit "
                                "from this program then you must have it running at all times." +
                                    QString(130, ' ') +
                                    "It is also important that you keep your goals in mind, hence starting in "
                                    "system tray will be a deterrent to those goals.",
                                fraSystemTray),
                     120, 1260, 3360, 1560);
    Label14->setWordWrap(true);
    Label14->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(optRun, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optRun_Click();
    });
    connect(optDontRun, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optDontRun_Click();
    });
    connect(chkSysTray, &QCheckBox::toggled, this, [this] { chkSysTray_Click(); });

    mnuPopUp->setDefaultAction(mnuShow);
    connect(mnuShow, &QAction::triggered, this, [this] { mnuShow_Click(); });
}

void frmMain::SetRunAtStartup(const QString& valueName, const QString& folder, bool on)
{
    // The entry starts the executable that runs now, under its own file name.
    const Autostart::Result result = on ? Autostart::Write(valueName, folder + "/" + App::ExeFile(), StartupSwitch)
                                        : Autostart::Remove(valueName);
    if (result.error == 0)
        return;
    MsgBox("Error " + QString::number(result.error) + (result.whileOpening ? " opening key" : " setting key") +
           "\r\n" + result.reason);
}

bool frmMain::IsRunAtStartup(const QString& valueName) const { return Autostart::EntryExists(valueName); }

void frmMain::ShowRunAtStartup()
{
    QRadioButton* choice = IsRunAtStartup(App::EXEName()) ? optRun : optDontRun;
    // Selecting an option runs its rule, even when it is already selected.
    if (choice->isChecked())
        choice == optRun ? optRun_Click() : optDontRun_Click();
    else
        choice->setChecked(true);
    if (choice == optRun)
        chkSysTray->setChecked(GetSetting(App::EXEName(), "Settings", "RunAtSysTray", "False") == "True");
}

void frmMain::optRun_Click()
{
    SetRunAtStartup(App::EXEName(), App::Path(), true);
    chkSysTray->setEnabled(true);
}

void frmMain::optDontRun_Click()
{
    SetRunAtStartup(App::EXEName(), App::Path(), false);
    chkSysTray->setEnabled(false);
    chkSysTray->setChecked(false);
}

void frmMain::chkSysTray_Click()
{
    SaveSetting(App::EXEName(), "Settings", "RunAtSysTray", chkSysTray->isChecked() ? "True" : "False");
}

void frmMain::AddTrayIcon()
{
    if (!m_tray) {
        m_tray = CreateTrayIcon();
        connect(m_tray.get(), &TrayIcon::MouseMessage, this, [this](int message) { picHook_MouseDown(message); });
    }
    // Without a notification area the window would be hidden with no way back.
    if (!m_tray->IsAvailable())
        return;
    m_tray->Add(AppIcon(), TrayTip);
    setWindowState(Qt::WindowMinimized);
    m_inTray = true;
    Hide();
}

void frmMain::RemoveTrayIcon()
{
    if (m_tray)
        m_tray->Remove();
}

void frmMain::picHook_MouseDown(int message)
{
    switch (message) {
    case TrayIcon::LeftDoubleClick:
        mnuShow_Click();
        break;
    case TrayIcon::RightButtonUp:
        mnuPopUp->popup(QCursor::pos());
        break;
    default:
        break;
    }
}

void frmMain::mnuShow_Click()
{
    m_inTray = false;
    SetVisible(true);
    setWindowState(Qt::WindowNoState);
    RemoveTrayIcon();
}

void frmMain::setVisible(bool visible)
{
    // Waiting in the tray, the window comes back only through the tray.
    if (visible && m_inTray)
        return;
    Form::setVisible(visible);
}
