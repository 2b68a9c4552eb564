#include "TestMain.h"
#include "platform/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

// The atomic writer: the new bytes replace a file only when they are all
// written; a failure gives the system's own number and text.
class SaveFileTest : public QObject {
    Q_OBJECT
private slots:
    void writesWholeOrLeavesTheOldFile_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<int>("error");
        QTest::newRow("new file") << "" << 0;
        QTest::newRow("earlier file") << "file" << 0;
        QTest::newRow("link to a file") << "link" << 0;
        QTest::newRow("no such folder") << "no folder" << ENOENT;
        QTest::newRow("a folder in its place") << "folder" << EISDIR;
    }
    void writesWholeOrLeavesTheOldFile()
    {
        QFETCH(QString, obstacle);
        QFETCH(int, error);
        QTemporaryDir dir;
        QString target = dir.filePath("out.txt");
        const QString real = dir.filePath("real.txt");
        QFile old(obstacle == "link" ? real : target);
        if (obstacle == "file" || obstacle == "link") {
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
            old.close();
            QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        }
        if (obstacle == "link")
            QVERIFY(QFile::link(real, target));
        if (obstacle == "no folder")
            target = dir.filePath("missing/out.txt");
        if (obstacle == "folder")
            QVERIFY(QDir().mkpath(target + "/inside"));

        QString reason;
        int got = -1;
        QCOMPARE(WriteFileAtomically(target, "new bytes", &reason, &got), error == 0);
        QCOMPARE(got, error);
        QCOMPARE(reason, error ? QString::fromLocal8Bit(std::strerror(error)) : QString());
        QFile written(obstacle == "link" ? real : target);
        if (error == 0) {
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), QByteArray("new bytes"));
        }
        if (!obstacle.isEmpty() && error == 0)
            QCOMPARE(written.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(QFileInfo(target).isSymLink(), obstacle == "link");
        // no new file is left beside it
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), int(obstacle == "link") + int(error == 0));
    }
};

ARC_TEST(SaveFileTest)
#include "SaveFileTest.moc"
