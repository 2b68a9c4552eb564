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
#include <sys/stat.h>
#include <unistd.h>

namespace {
// What is at a path, as lstat sees it: its type, and a link's target.
QString nodeAt(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "nothing";
    return QString::number(info.st_mode & S_IFMT, 8) + QFileInfo(path).symLinkTarget();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
} // namespace

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
        QTest::newRow("read-only folder") << "read-only" << "Permission denied";
        // The store would wait for ever to make its lock file there.
        QTest::newRow("lock file is a folder") << "lock-folder" << "is a folder, not a regular file";
        QTest::newRow("lock file is a named pipe") << "lock-pipe" << "is a named pipe, not a regular file";
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
            QVERIFY(QDir().mkpath(obstacle == "lock-folder" ? file + ".lock" : folder));
            if (obstacle == "lock-pipe")
                QCOMPARE(::mkfifo(QFile::encodeName(file + ".lock").constData(), 0600), 0);
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

    // A settings file that is no regular file is not waited for (a named
    // pipe, a device that never ends), nor replaced: told once, the
    // defaults apply for the run.
    void oddSettingsFileIsNeitherReadNorReplaced_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("told");
        QTest::newRow("folder") << "folder" << "It is a folder, not a regular file";
        QTest::newRow("named pipe") << "pipe" << "It is a named pipe, not a regular file";
        QTest::newRow("link to a named pipe") << "link to pipe" << "It is a named pipe, not a regular file";
        QTest::newRow("link to an endless device") << "link to /dev/zero" << "It is a device, not a regular file";
    }
    void oddSettingsFileIsNeitherReadNorReplaced()
    {
        QFETCH(QString, node);
        QFETCH(QString, told);
        const QString file = TestSupport::settingsFile();
        const QString pipe = file + ".pipe";
        QDir().mkpath(QFileInfo(file).path());
        const auto remove = qScopeGuard([&] {
            QDir(file).removeRecursively();
            QFile::remove(file);
            QFile::remove(pipe);
        });
        if (node == "folder")
            QVERIFY(QDir().mkpath(file));
        if (node.contains("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(node == "pipe" ? file : pipe).constData(), 0600), 0);
        if (node.startsWith("link"))
            QVERIFY(QFile::link(node == "link to pipe" ? pipe : "/dev/zero", file));
        const QString before = nodeAt(file);

        QCOMPARE(GetSetting("arcavell", "Settings", "RunAtSysTray", "False"), QString("False"));
        SaveSetting("arcavell", "Settings", "RunAtSysTray", "True");
        DeleteSetting("arcavell", "Settings", "Cups");
        QCOMPARE(GetSetting("arcavell", "Settings", "RunAtSysTray", "False"), QString("False"));

        QCOMPARE(nodeAt(file), before);
        QCOMPARE(Scripted().boxes.size(), 1);
        const auto& box = Scripted().boxes[0];
        QVERIFY2(box.prompt.startsWith("Settings cannot be read from " + file) && box.prompt.contains(told) &&
                     box.prompt.contains("The default settings are used"),
                 qPrintable(box.prompt));
        QCOMPARE(box.icon(), int(vbExclamation));
    }

    // A damaged settings file is kept aside once before it is rewritten;
    // the user is told so, and the change is saved.
    void damagedSettingsFileIsKeptAsideOnce_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("earlierCopy"); // already beside it
        QTest::addColumn<QString>("copy");           // the new copy's suffix; none when empty
        const QByteArray garbage = QByteArray::fromHex("00ff5b1b0a3d9c415d00") + "\x07junk[=\n";
        QTest::newRow("binary garbage") << garbage << QByteArray() << ".damaged";
        QTest::newRow("section without bracket") << QByteArray("[Settings\nCups=3\n") << QByteArray() << ".damaged";
        QTest::newRow("line without =") << QByteArray("half a line\n[Settings]\nCups=3\n") << QByteArray()
                                        << ".damaged";
        QTest::newRow("broken UTF-8") << QByteArray("[Settings]\nCups=\xff\xfe\n") << QByteArray() << ".damaged";
        QTest::newRow("control character") << QByteArray("[Settings]\nCups=3\x01\n") << QByteArray()
                                           << ".damaged";
        QTest::newRow("earlier copy of other damage") << garbage << QByteArray("\x01other") << ".damaged.2";
        QTest::newRow("copy already kept") << garbage << garbage << "";
        QTest::newRow("sound file") << QByteArray("; note\n[Settings]\nCups=3\n") << QByteArray() << "";
        QTest::newRow("sound UTF-8 text") << QByteArray("[Settings]\nCups=C\xc5\x93ur\n") << QByteArray() << "";
    }
    void damagedSettingsFileIsKeptAsideOnce()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, earlierCopy);
        QFETCH(QString, copy);
        const QString file = TestSupport::settingsFile();
        QDir().mkpath(QFileInfo(file).path());
        const auto remove = qScopeGuard([&] {
            for (const QString& name : QDir(QFileInfo(file).path()).entryList({"*.damaged*"}))
                QFile::remove(QFileInfo(file).path() + "/" + name);
        });
        write(file, bytes);
        if (!earlierCopy.isEmpty())
            write(file + ".damaged", earlierCopy);

        SaveSetting("arcavell", "Settings", "RunAtSysTray", "True");
        SaveSetting("arcavell", "Settings", "RunAtSysTray", "False");

        QCOMPARE(GetSetting("arcavell", "Settings", "RunAtSysTray"), QString("False"));
        const QStringList copies = QDir(QFileInfo(file).path()).entryList({"*.damaged*"}, QDir::Files, QDir::Name);
        QCOMPARE(copies.size(), int(!earlierCopy.isEmpty()) + int(!copy.isEmpty()));
        if (!earlierCopy.isEmpty())
            QCOMPARE(contents(file + ".damaged"), earlierCopy);
        if (copy.isEmpty()) {
            QCOMPARE(Scripted().boxes.size(), 0);
            return;
        }
        QCOMPARE(contents(file + copy), bytes);
        QCOMPARE(Scripted().boxes.size(), 1);
        const auto& box = Scripted().boxes[0];
        QVERIFY2(box.prompt.startsWith("The settings file " + file + " was damaged") &&
                     box.prompt.contains("kept as " + file + copy),
                 qPrintable(box.prompt));
        QCOMPARE(box.icon(), int(vbExclamation));
    }

    // A damaged file that cannot be rewritten is kept aside all the same,
    // once, and the failed write is told.
    void damagedReadOnlyFileIsKeptAsideAndTheFailureTold()
    {
        if (::geteuid() == 0)
            QSKIP("the superuser writes into a read-only file");
        const QString file = TestSupport::settingsFile();
        QDir().mkpath(QFileInfo(file).path());
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(file + ".damaged");
        });
        const QByteArray bytes("[Settings\nCups=3\n");
        write(file, bytes);
        QFile::setPermissions(file, QFile::ReadOwner);

        SaveSetting("arcavell", "Settings", "RunAtSysTray", "True");
        SaveSetting("arcavell", "Settings", "RunAtSysTray", "False");

        QCOMPARE(contents(file), bytes);
        QCOMPARE(contents(file + ".damaged"), bytes);
        QVERIFY(!QFile::exists(file + ".damaged.2"));
        QCOMPARE(Scripted().boxes.size(), 2);
        QVERIFY(Scripted().boxes[0].prompt.contains("was damaged"));
        QVERIFY2(Scripted().boxes[1].prompt.startsWith("Settings cannot be saved in " + file),
                 qPrintable(Scripted().boxes[1].prompt));
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
