#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QtTest>
#include <unistd.h>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::resetSession(); }

    void missingValueGivesTheDefault()
    {
        QCOMPARE(GetSetting("arcavell", "Settings", "Nothing", "fallback"), QString("fallback"));
        QCOMPARE(GetSetting("arcavell", "Settings", "Nothing"), QString());
    }

    void valuesPersistInTheUsersOwnFolder()
    {
        SaveSetting("arcavell", "Settings", "RunAtSysTray", "True");
        QCOMPARE(GetSetting("arcavell", "Settings", "RunAtSysTray", "False"), QString("True"));
        QVERIFY(QFile::exists(TestSupport::settingsFile()));
        QVERIFY(TestSupport::settingsFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        DeleteSetting("arcavell", "Settings", "RunAtSysTray");
        QCOMPARE(GetSetting("arcavell", "Settings", "RunAtSysTray", "False"), QString("False"));
    }

    // A store that cannot be written is told once a run, with the reason.
    void unwritableStoreIsToldOnceWithTheReason_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder is a file") << "folder-file" << "Not a directory";
        QTest::newRow("file is a folder") << "file-folder" << "Is a directory";
        QTest::newRow("read-only folder") << "read-only" << "Permission denied";
    }
    void unwritableStoreIsToldOnceWithTheReason()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);
        if (obstacle == "read-only" && ::geteuid() == 0)
            QSKIP("the superuser writes into a read-only folder");
        const QString file = TestSupport::settingsFile();
        const QString folder = QFileInfo(file).path();
        QDir(folder).removeRecursively();
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::remove(folder);
            QDir(folder).removeRecursively();
        });
        if (obstacle == "folder-file") {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(obstacle == "file-folder" ? file : folder));
            if (obstacle == "read-only")
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        SaveSetting("arcavell", "Settings", "RunAtSysTray", "True");
        DeleteSetting("arcavell", "Settings", "Cups");
        SaveSetting("arcavell", "Settings", "Cups", "0");
        QCOMPARE(Scripted().boxes.size(), 1);
        const auto& box = Scripted().boxes[0];
        QVERIFY2(box.prompt.startsWith("Settings cannot be saved") && box.prompt.contains(file) &&
                     box.prompt.contains(reason),
                 qPrintable(box.prompt));
        QCOMPARE(box.icon(), int(vbExclamation));
    }

    // Names and values made of shifted character codes (85..255) survive.
    void everySingleByteCharacterRoundTrips()
    {
        QString key, value;
        for (int c = 85 + 32; c <= 255; ++c)
            value.append(QChar(c));
        for (int c : {153, 202, 199, 182, 201, 190, 196, 195})
            key.append(QChar(c));
        SaveSetting("arcavell", "Settings", key, value);
        QCOMPARE(GetSetting("arcavell", "Settings", key), value);
    }
};

ARC_TEST(SettingsTest)
#include "SettingsTest.moc"
