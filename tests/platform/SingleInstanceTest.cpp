#include "TestMain.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <unistd.h>

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
        // The crash left its locks behind (none in a folder the user cannot write to).
        const bool folderWritable = QFileInfo(programFolder).isWritable();
        QVERIFY(QFile::exists(lock));
        QCOMPARE(QFile::exists(afterCrash.FolderLockPath()), folderWritable);
        QVERIFY(afterCrash.Acquire());
        QCOMPARE(afterCrash.HoldsFolder(), folderWritable);
    }
};

ARC_TEST(SingleInstanceTest)
#include "SingleInstanceTest.moc"
