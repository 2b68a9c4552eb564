#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "platform/App.h"
#include "platform/Autostart.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "platform/TrayIcon.h"
#include "tutor/frmMain.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QStandardPaths>
#include <QtTest>

namespace {
// The notification area of the tests: it records what the program asks of it.
class ScriptedTray : public TrayIcon {
public:
    static inline ScriptedTray* last = nullptr;
    static inline bool available = true;
    QString tip;
    bool shown = false;
    ScriptedTray() { last = this; }
    ~ScriptedTray() override
    {
        if (last == this)
            last = nullptr;
    }
    bool IsAvailable() const override { return available; }
    void Add(const QIcon& icon, const QString& t) override
    {
        QVERIFY(!icon.isNull());
        tip = t;
        shown = true;
    }
    void Remove() override { shown = false; }
    bool IsShown() const override { return shown; }
    void mouse(int message) { emit MouseMessage(message); }
};

QString entryPath() { return Autostart::EntryPath(App::EXEName()); }
// A click on a box or option's indicator.
void tick(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }

QString traySetting() { return GetSetting(App::EXEName(), "Settings", "RunAtSysTray", "<none>"); }
} // namespace

class StartupTrayTest : public SessionTest {
    Q_OBJECT

    // Loads the tutor as the program's start does, with the given command line.
    class frmMain& start(const QString& command, bool registered, const QString& tray)
    {
        QFile::remove(entryPath());
        if (registered)
            Autostart::Write(App::EXEName(), "/elsewhere", "/STARTUP");
        if (!tray.isEmpty())
            SaveSetting(App::EXEName(), "Settings", "RunAtSysTray", tray);
        App::SetCommand(command);
        frmMain().Show();
        frmMain().SSTab1->SetTab(1);
        return frmMain();
    }

private slots:
    void initTestCase()
    {
        SetTrayIconFactory([] { return std::make_unique<ScriptedTray>(); });
    }
    void cleanupTestCase() { SetTrayIconFactory(nullptr); }

    void optionsWriteAndRemoveTheAutostartEntry()
    {
        auto& f = start("", false, "");
        QVERIFY(f.optDontRun->isChecked() && !f.chkSysTray->isEnabled());
        QVERIFY(entryPath().startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                                       "/autostart/"));
        tick(f.optRun);
        QFile entry(entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nExec=\"" + folder->path() + "/arcavell\" /STARTUP\n"));
        QVERIFY(f.chkSysTray->isEnabled());
        tick(f.chkSysTray);
        QCOMPARE(traySetting(), QString("True"));
        tick(f.chkSysTray);
        QCOMPARE(traySetting(), QString("False"));
        tick(f.chkSysTray);

        tick(f.optDontRun);
        QVERIFY(!QFile::exists(entryPath()));
        QVERIFY(!f.chkSysTray->isEnabled() && !f.chkSysTray->isChecked());
        QCOMPARE(traySetting(), QString("False"));
        QCOMPARE(Scripted().boxes.size(), 0);

        QCOMPARE(Autostart::ExecCommand("/my apps/50%/a\"b", "/STARTUP"),
                 QString("\"/my apps/50%%/a\\\\\"b\" /STARTUP"));
    }

    void failuresShowTheSystemsErrorNumber()
    {
        const QString autostart = QFileInfo(entryPath()).path();
        QDir(autostart).removeRecursively();
        QFile blocker(autostart);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
        blocker.close();
        auto& f = start("", false, "");
        tick(f.optRun);
        QFile::remove(autostart);
        QDir().mkpath(entryPath() + ".new"); // the entry cannot be written
        tick(f.optDontRun);
        tick(f.optRun);
        QDir(autostart).removeRecursively();
        QCOMPARE(Scripted().boxes.size(), 2);
        QCOMPARE(Scripted().boxes[0].prompt, QString("Error 20 opening key\r\n"));
        QCOMPARE(Scripted().boxes[1].prompt, QString("Error 21 setting key\r\n"));
        QCOMPARE(Scripted().boxes[1].buttons, 0);
    }

    void startupGoesToTheTrayOnlyWhenAllAgree_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<QString>("tray");
        QTest::addColumn<bool>("inTray");
        QTest::newRow("all agree") << "-x /STARTUP" << true << "True" << true;
        QTest::newRow("lower-case switch") << "/startup" << true << "True" << false;
        QTest::newRow("no switch") << "" << true << "True" << false;
        QTest::newRow("tray setting absent") << "/STARTUP" << true << "" << false;
        QTest::newRow("tray setting true in lower case") << "/STARTUP" << true << "true" << false;
        QTest::newRow("not registered") << "/STARTUP" << false << "True" << false;
    }
    void startupGoesToTheTrayOnlyWhenAllAgree()
    {
        QFETCH(QString, command);
        QFETCH(bool, registered);
        QFETCH(QString, tray);
        QFETCH(bool, inTray);
        auto& f = start(command, registered, tray);
        QCOMPARE(f.isVisible(), !inTray);
        QCOMPARE(f.Tray() != nullptr && f.Tray()->IsShown(), inTray);
        QCOMPARE(f.optRun->isChecked(), registered);
        QCOMPARE(f.chkSysTray->isEnabled(), registered);
        // selecting the run option at load writes the entry again, from this folder
        if (registered) {
            QFile entry(entryPath());
            QVERIFY(entry.open(QIODevice::ReadOnly) && entry.readAll().contains(folder->path().toUtf8()));
        }
    }

    void trayIconBringsTheWindowBack()
    {
        auto& f = start("/STARTUP", true, "True");
        ScriptedTray* tray = ScriptedTray::last;
        QVERIFY(tray && tray->shown);
        QCOMPARE(tray->tip, QString("Recent"));
        QVERIFY(f.isMinimized() && !f.isVisible());

        tray->mouse(TrayIcon::LeftButtonUp);
        tray->mouse(TrayIcon::RightButtonDown);
        QVERIFY(!f.isVisible() && !f.mnuPopUp->isVisible());
        tray->mouse(TrayIcon::RightButtonUp);
        QVERIFY(f.mnuPopUp->isVisible());
        QCOMPARE(f.mnuPopUp->defaultAction(), f.mnuShow);
        f.mnuPopUp->hide();

        tray->mouse(TrayIcon::LeftDoubleClick);
        QVERIFY(f.isVisible() && !f.isMinimized() && !tray->shown);

        // back in the tray by a second start-up path is not possible; "Exit" there removes the icon
        f.Hide();
        f.mnuExit->trigger();
        QVERIFY(!Forms::IsLoaded("frmMain"));
        TestSupport::settle();
        QVERIFY(!ScriptedTray::last || !ScriptedTray::last->shown);
    }

    void withoutATrayTheWindowStaysVisible()
    {
        ScriptedTray::available = false;
        auto& f = start("/STARTUP", true, "True");
        ScriptedTray::available = true;
        QVERIFY(f.isVisible());
        QVERIFY(!ScriptedTray::last->shown);
    }
};

ARC_TEST(StartupTrayTest)
#include "StartupTrayTest.moc"
