#include "FileNodes.h"
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
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QElapsedTimer>
#include <QtTest>
#include <optional>

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

// Whatever is at the entry's place goes; a link goes, not what it leads to.
void removeEntry()
{
    if (FileNodes::typeOf(entryPath()) == S_IFDIR)
        QDir(entryPath()).removeRecursively();
    else
        QFile::remove(entryPath());
}

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

        QCOMPARE(Autostart::ExecCommand("/my apps/a\"b", "/STARTUP"), QString("\"/my apps/a\\\\\"b\" /STARTUP"));
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
        tick(f.optDontRun);
        QDir().mkpath(entryPath()); // the entry cannot be written
        tick(f.optRun);
        QDir(autostart).removeRecursively();
        QCOMPARE(Scripted().boxes.size(), 2);
        QCOMPARE(Scripted().boxes[0].prompt, QString("Error 20 opening key\r\n"));
        QCOMPARE(Scripted().boxes[1].prompt, QString("Error 21 setting key\r\n"));
        QCOMPARE(Scripted().boxes[1].buttons, 0);
    }

    // The desktop's own launcher starts the entry: it must run exactly the
    // program and "/STARTUP", or the entry is refused with a reason.
    void entryStartsExactlyTheProgram_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("exe");
        QTest::addColumn<bool>("refused");
        QTest::newRow("blanks") << "my apps" << "arcavell" << false;
        QTest::newRow("quotes") << "say \"it's\"" << "arcavell" << false;
        QTest::newRow("shell characters") << "$HOME `id` a;b&c" << "arcavell" << false;
        QTest::newRow("backslashes") << "back\\slash\\n \\\\" << "arcavell" << false;
        QTest::newRow("renamed executable") << "bin" << "arcavell.bin" << false;
        QTest::newRow("percent") << "50% off %f %%" << "arcavell" << false;
        QTest::newRow("line break and a command") << "nl\nExec=/usr/bin/touch /tmp/x #" << "arcavell" << true;
        QTest::newRow("second group") << "g\n[Desktop Entry]\nExec=/bin/true" << "arcavell" << true;
        QTest::newRow("tab") << "a\tb" << "arcavell" << true;
        QTest::newRow("replacement character in the name") << "caf\uFFFD" << "arcavell" << false;
        QTest::newRow("text no path's bytes give") << QString("x") + QChar(0xDC80) + "y" << "arcavell" << true;
    }
    void entryStartsExactlyTheProgram()
    {
        QFETCH(QString, name);
        QFETCH(QString, exe);
        QFETCH(bool, refused);
        const QString programFolder = folder->file(name);
        const QString program = programFolder + "/" + exe;
        const QString received = folder->file("received");
        QVERIFY(QDir().mkpath(programFolder));
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        // Records its arguments, then shows them under their final name.
        script.write("#!/bin/sh\nprintf '%s\\0' \"$0\" \"$@\" > \"$RECEIVED.new\" && mv \"$RECEIVED.new\" \"$RECEIVED\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);

        auto& f = start("", false, "");
        const QString path = App::Path();
        App::SetPath(programFolder);
        App::SetExeFile(exe);
        tick(f.optRun);
        App::SetPath(path);
        App::SetExeFile("arcavell");
        if (refused) {
            QCOMPARE(Scripted().boxes.size(), 1);
            QVERIFY(Scripted().boxes[0].prompt.startsWith("Error 22 setting key\r\nThe program's path"));
            QVERIFY(!QFile::exists(entryPath()));
            return;
        }
        QCOMPARE(Scripted().boxes.size(), 0);
        QFile entry(entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = entry.readAll().split('\n');
        QCOMPARE(lines.count(lines.first()), 1);
        QCOMPARE(std::count_if(lines.begin(), lines.end(), [](const QByteArray& l) { return l.startsWith("Exec="); }),
                 1);

        const QString gio = QStandardPaths::findExecutable("gio");
        if (gio.isEmpty())
            QSKIP("gio is not installed");
        QProcess launch;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("RECEIVED", received);
        launch.setProcessEnvironment(environment);
        launch.start(gio, {"launch", entryPath()});
        QVERIFY(launch.waitForFinished(10000));
        QCOMPARE(launch.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(received), 10000);
        QFile got(received);
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(got.readAll()).split(QChar(0), Qt::SkipEmptyParts),
                 (QStringList{program, "/STARTUP"}));
    }

    // An entry the desktop's settings switched off is neither rewritten nor
    // removed, and shows as not running at start-up.
    void switchedOffEntryCountsAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("on");
        QTest::newRow("hidden") << QByteArray("Hidden=true") << false;
        QTest::newRow("gnome switch off") << QByteArray("X-GNOME-Autostart-enabled = false") << false;
        QTest::newRow("gnome switch on") << QByteArray("X-GNOME-Autostart-enabled=true") << true;
        QTest::newRow("hidden in another group") << QByteArray("[Other]\nHidden=true") << true;
    }
    void switchedOffEntryCountsAsAbsent()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, on);
        QDir().mkpath(QFileInfo(entryPath()).path());
        const QByteArray before = "[Desktop Entry]\nType=Application\nExec=\"/elsewhere\" /STARTUP\n" + line + "\n";
        QFile entry(entryPath());
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write(before);
        entry.close();
        App::SetCommand("");
        auto& f = frmMain();
        QCOMPARE(f.optRun->isChecked(), on);
        QCOMPARE(f.optDontRun->isChecked(), !on);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QCOMPARE(entry.readAll() == before, !on); // a running entry is written again from this folder
        QCOMPARE(Scripted().boxes.size(), 0);
    }

    // An entry that is no regular file counts as switched off: the start
    // neither waits on it nor changes it, and writing it tells why not.
    void entryThatIsNoFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("prompt"); // of a click on "Run at start-up"
        const QString refused = "Error 22 setting key\r\nThe start-up entry " + entryPath() +
                                " cannot be written. It is not a regular file.";
        QTest::newRow("pipe") << "pipe" << refused;
        QTest::newRow("link to a pipe") << "link to pipe" << refused;
        QTest::newRow("link to a device") << "link to device" << refused;
        QTest::newRow("folder") << "folder" << "Error 21 setting key\r\n";
        QTest::newRow("link to nothing, without its folder") << "dangling" << "Error 2 setting key\r\n";
        QTest::newRow("link loop") << "loop" << "Error 40 setting key\r\n";
    }
    void entryThatIsNoFileIsLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, prompt);
        const QString entry = entryPath();
        const QString elsewhere = folder->file("node");
        removeEntry();
        QVERIFY(QDir().mkpath(QFileInfo(entry).path()));
        if (kind == "pipe")
            QVERIFY(FileNodes::makePipe(entry));
        if (kind == "link to pipe")
            QVERIFY(FileNodes::makePipe(elsewhere));
        if (kind == "link to device")
            QVERIFY(FileNodes::makeDevice(elsewhere));
        if (kind == "folder")
            QVERIFY(QDir().mkpath(entry));
        if (kind == "loop")
            QVERIFY(QFile::link(entry, elsewhere));
        if (kind.startsWith("link") || kind == "loop")
            QVERIFY(QFile::link(elsewhere, entry));
        if (kind == "dangling")
            QVERIFY(QFile::link(folder->file("unmounted/arcavell.desktop"), entry));
        const mode_t entryType = FileNodes::typeOf(entry);
        const mode_t elsewhereType = FileNodes::typeOf(elsewhere);

        std::optional<FileNodes::PipeWatch> watch;
        if (kind.endsWith("pipe"))
            watch.emplace(entry);
        App::SetCommand("");
        QElapsedTimer clock;
        clock.start();
        auto& f = frmMain();
        f.Show();
        QVERIFY2(!watch || !watch->readerCame(), "the start waited on the entry");
        QCOMPARE_LT(clock.elapsed(), 5000);
        QVERIFY(f.optDontRun->isChecked() && !f.optRun->isChecked());
        QCOMPARE(Scripted().boxes.size(), 0);

        tick(f.optRun);
        tick(f.optDontRun);
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, prompt);
        QVERIFY(!watch || !watch->readerCame());
        QCOMPARE(FileNodes::typeOf(entry), entryType);
        QCOMPARE(FileNodes::typeOf(elsewhere), elsewhereType);
        removeEntry();
    }

    // An entry that is a link to a file is written through the link.
    void linkedEntryIsWrittenWhereItLeads()
    {
        const QString entry = entryPath();
        const QString drive = folder->file("drive");
        removeEntry();
        QVERIFY(QDir().mkpath(QFileInfo(entry).path()) && QDir().mkpath(drive));
        QVERIFY(QFile::link(drive + "/arcavell.desktop", entry)); // leads to nothing yet
        App::SetCommand("");
        auto& f = frmMain();
        f.Show();
        QVERIFY(f.optDontRun->isChecked());
        tick(f.optRun);
        QCOMPARE(Scripted().boxes.size(), 0);
        QVERIFY(QFileInfo(entry).isSymLink());
        QFile written(drive + "/arcavell.desktop");
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("[Desktop Entry]\n"));
        QVERIFY(Autostart::EntryExists(App::EXEName()));
        tick(f.optDontRun); // the link goes, what it leads to stays
        QVERIFY(!QFileInfo(entry).isSymLink() && !QFileInfo::exists(entry));
        QVERIFY(QFileInfo::exists(drive + "/arcavell.desktop"));
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
