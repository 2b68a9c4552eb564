#include "TestMain.h"
#include "platform/SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

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
        QVERIFY(QFile::exists(lock)); // the crash left its lock behind
        SingleInstance afterCrash("arcavell");
        QVERIFY(afterCrash.Acquire());
    }
};

ARC_TEST(SingleInstanceTest)
#include "SingleInstanceTest.moc"
