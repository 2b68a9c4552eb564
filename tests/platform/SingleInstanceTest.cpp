#include "TestMain.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Another process that takes a lock and holds it until it is killed.
class LockOwner {
public:
    ~LockOwner() { End(); }
    bool Start(const QString& path)
    {
        const QByteArray name = QFile::encodeName(path);
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0)
            return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(name.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char ok = '0';
        const bool told = m_pid > 0 && ::read(ready[0], &ok, 1) == 1;
        ::close(ready[0]);
        return told && ok == '1';
    }
    void Stop() { ::kill(m_pid, SIGSTOP); }
    void End()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

// What is at a path, as lstat sees it, with a regular file's contents.
QByteArray nodeAt(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "nothing";
    QByteArray node = QByteArray::number(info.st_mode & S_IFMT, 8);
    QFile file(path);
    if (S_ISREG(info.st_mode) && file.open(QIODevice::ReadOnly))
        node += ":" + file.readAll();
    return node;
}
} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsRefusedUntilTheFirstEnds()
    {
        SingleInstance first("single-instance-test");
        QVERIFY(first.Acquire());
        {
            SingleInstance second("single-instance-test");
            QVERIFY(!second.Acquire());
            QVERIFY(first.Held()); // the running copy keeps its lock
        }
        QVERIFY(first.Held());
    }

    void lockLivesInTheUsersRuntimeFolder()
    {
        SingleInstance one("where-test");
        QVERIFY(one.LockPath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
    }

    // Two copies with runtime folders of their own (two users, say) would
    // both write the program folder's files: the second is refused unless
    // the folder cannot hold a lock at all.
    void copiesSharingAProgramFolderAreRefused_data()
    {
        QTest::addColumn<bool>("sameFolder");
        QTest::addColumn<QString>("folderState");
        QTest::addColumn<bool>("secondRuns");
        QTest::newRow("same folder") << true << "writable" << false;
        QTest::newRow("other folders") << false << "writable" << true;
        QTest::newRow("same read-only folder") << true << "read-only" << true;
        QTest::newRow("same folder that is a file") << true << "file" << true;
    }
    void copiesSharingAProgramFolderAreRefused()
    {
        QFETCH(bool, sameFolder);
        QFETCH(QString, folderState);
        QFETCH(bool, secondRuns);
        if (folderState == "read-only" && ::geteuid() == 0)
            QSKIP("the superuser writes into a read-only folder");
        QTemporaryDir root;
        const QString folder = root.filePath("program"), other = root.filePath("other");
        QDir().mkpath(other);
        if (folderState == "file") {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QDir().mkpath(folder);
        }
        if (folderState == "read-only")
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", runtime);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        for (const char* sub : {"/run1", "/run2"})
            QDir().mkpath(root.path() + sub);

        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.path() + "/run1"));
        auto first = std::make_unique<SingleInstance>("shared-folder-test", folder);
        QVERIFY(first->Acquire());
        QCOMPARE(first->HoldsFolder(), folderState == "writable");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.path() + "/run2"));
        SingleInstance second("shared-folder-test", sameFolder ? folder : other);
        QCOMPARE(second.Acquire(), secondRuns);
        QVERIFY(first->Held());
        if (!secondRuns) {
            QVERIFY(!second.Held()); // nor does it keep its own user's lock
            first.reset();
            QVERIFY(second.Acquire() && second.HoldsFolder());
        }
    }

    // Only a running copy, answering or not, refuses the start; whatever
    // else lies at a lock's path neither refuses it nor is changed.
    void onlyARunningCopyRefusesTheStart_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("runs");
        QTest::addColumn<bool>("taken");
        struct Row {
            const char* state;
            bool runs, taken;
        };
        const Row rows[] = {
            {"empty", true, true},         {"garbage", true, true},         {"folder", true, false},
            {"dangling link", true, false}, {"link to a file", true, false}, {"named pipe", true, false},
            {"owner gone", true, true},    {"live owner", false, false},    {"stopped owner", false, false},
        };
        for (const char* lock : {"user", "folder"})
            for (const Row& row : rows)
                QTest::addRow("%s lock, %s", lock, row.state) << lock << row.state << row.runs << row.taken;
    }
    void onlyARunningCopyRefusesTheStart()
    {
        QFETCH(QString, lock);
        QFETCH(QString, state);
        QFETCH(bool, runs);
        QFETCH(bool, taken);
        QTemporaryDir root;
        const QString folder = root.filePath("program"), runtime = root.filePath("run");
        QDir().mkpath(folder);
        QDir().mkpath(runtime);
        const QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", previousRuntime); });
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        const QString path = lock == "user" ? runtime + "/lock-state-test.lock" : folder + "/.lock-state-test.lock";
        const QString target = root.filePath("target");
        LockOwner owner;
        if (state == "garbage" || state == "empty" || state == "link to a file") {
            QFile file(state == "link to a file" ? target : path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(state == "garbage" ? QByteArray(1, '\0') + "\xff\x7f not a process\n" : QByteArray());
        }
        if (state == "folder")
            QVERIFY(QDir().mkpath(path));
        if (state.contains("link"))
            QVERIFY(QFile::link(target, path));
        if (state == "named pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (state.contains("owner"))
            QVERIFY(owner.Start(path));
        if (state == "owner gone")
            owner.End();
        if (state == "stopped owner")
            owner.Stop();
        const QByteArray before = nodeAt(path), targetBefore = nodeAt(target);

        SingleInstance copy("lock-state-test", folder);
        QCOMPARE(copy.Acquire(), runs);
        QCOMPARE(lock == "user" ? copy.Held() : copy.HoldsFolder(), taken);
        QCOMPARE(lock == "user" ? copy.HoldsFolder() : copy.Held(), runs); // the other lock
        QCOMPARE(nodeAt(path), before);
        QCOMPARE(nodeAt(target), targetBefore);
        if (taken) {
            SingleInstance second("lock-state-test", folder);
            QVERIFY(!second.Acquire());
        }
    }

    void lockIsFreeAgainAfterTheFirstCopyEnds()
    {
        {
            SingleInstance first("reuse-test");
            QVERIFY(first.Acquire());
        }
        SingleInstance again("reuse-test");
        QVERIFY(again.Acquire());
    }

    // A running program holds the lock; killed without a chance to clean
    // up, it must not lock the user out.
    void crashedCopyDoesNotLockTheUserOut()
    {
        QProcess program;
        program.setProgram(ARCAVELL_EXECUTABLE);
        program.start();
        QVERIFY(program.waitForStarted());
        const QString lock = SingleInstance::DefaultLockPath("arcavell");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 10000);
        QTest::qWait(200);
        {
            SingleInstance whileRunning("arcavell");
            QVERIFY(!whileRunning.Acquire());
        }
        program.kill();
        QVERIFY(program.waitForFinished());
        const QString programFolder = QFileInfo(ARCAVELL_EXECUTABLE).path();
        SingleInstance afterCrash("arcavell", programFolder);
        // The crash left its lock files behind (none made in a folder the
        // user cannot write to; one made earlier may lie there).
        const bool folderWritable = QFileInfo(programFolder).isWritable();
        QVERIFY(QFile::exists(lock));
        if (folderWritable)
            QVERIFY(QFile::exists(afterCrash.FolderLockPath()));
        QVERIFY(afterCrash.Acquire());
        QCOMPARE(afterCrash.HoldsFolder(), folderWritable);
    }
};

ARC_TEST(SingleInstanceTest)
#include "SingleInstanceTest.moc"
