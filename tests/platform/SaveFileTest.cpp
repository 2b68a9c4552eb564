#include "FileNodes.h"
#include "TestMain.h"
#include "UserPermissions.h"
#include "platform/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using FileNodes::typeOf;

mode_t modeOf(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

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

    // Links are followed to their end, and only a regular file that the
    // user may write is replaced; anything else is left as it is.
    void replacesOnlyRegularFilesTheUserMayWrite_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("writtenTo"); // the file that holds the new bytes
        QTest::newRow("chain of relative links") << "chain" << 0 << "real.txt";
        QTest::newRow("link to nothing, in a folder") << "dangling" << 0 << "drive/goals.txt";
        QTest::newRow("link to nothing, without its folder") << "dangling without folder" << ENOENT << "";
        QTest::newRow("link loop") << "loop" << ELOOP << "";
        QTest::newRow("link to a device") << "device" << EINVAL << "";
        QTest::newRow("pipe") << "fifo" << EINVAL << "";
        QTest::newRow("link to a pipe") << "link to fifo" << EINVAL << "";
        QTest::newRow("socket") << "socket" << EINVAL << "";
        QTest::newRow("link to a folder") << "link to folder" << EISDIR << "";
        QTest::newRow("read-only file") << "read-only" << EACCES << "";
        QTest::newRow("link to a read-only file") << "link to read-only" << EACCES << "";
    }
    void replacesOnlyRegularFilesTheUserMayWrite()
    {
        QFETCH(QString, kind);
        QFETCH(int, error);
        QFETCH(QString, writtenTo);
        QTemporaryDir dir;
        const QString target = dir.filePath("out.txt");
        const QString real = dir.filePath("real.txt");
        const QByteArray old = "old bytes";
        QLocalServer socket;
        if (kind == "chain" || kind.endsWith("read-only")) {
            QFile file(real);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
            file.close();
            if (kind.endsWith("read-only"))
                QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        if (kind == "chain") {
            QVERIFY(QFile::link("real.txt", dir.filePath("middle")));
            QVERIFY(QFile::link("middle", target));
        } else if (kind == "dangling") {
            QVERIFY(QDir(dir.path()).mkdir("drive"));
            QVERIFY(QFile::link("drive/goals.txt", target));
        } else if (kind == "dangling without folder") {
            QVERIFY(QFile::link(dir.filePath("unmounted/goals.txt"), target));
        } else if (kind == "loop") {
            QVERIFY(QFile::link("other", target));
            QVERIFY(QFile::link("out.txt", dir.filePath("other")));
        } else if (kind == "device") {
            QVERIFY(FileNodes::makeDevice(real));
            QVERIFY(QFile::link(real, target));
        } else if (kind == "fifo" || kind == "link to fifo") {
            QVERIFY(FileNodes::makePipe(kind == "fifo" ? target : real));
            if (kind == "link to fifo")
                QVERIFY(QFile::link(real, target));
        } else if (kind == "socket") {
            QVERIFY(socket.listen(target));
        } else if (kind == "link to folder") {
            QVERIFY(QDir(dir.path()).mkdir("real.txt"));
            QVERIFY(QFile::link(real, target));
        } else if (kind == "read-only") {
            QVERIFY(QFile::rename(real, target));
        } else if (kind == "link to read-only") {
            QVERIFY(QFile::link(real, target));
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
        const mode_t targetType = typeOf(target);
        const mode_t realType = typeOf(real);

        QString reason;
        int got = -1;
        bool written = false;
        {
            const UserPermissions asUser;
            written = WriteFileAtomically(target, "new bytes", &reason, &got);
        }
        QCOMPARE(written, error == 0);
        QCOMPARE(got, error);
        const QString systemReason = error ? QString::fromLocal8Bit(std::strerror(error)) : QString();
        QCOMPARE(reason, error == EINVAL ? QString("It is not a regular file.") : systemReason);
        // The names are what they were: a link is never replaced.
        QCOMPARE(typeOf(target), targetType);
        QCOMPARE(typeOf(real), realType);
        if (!writtenTo.isEmpty())
            QCOMPARE(contentOf(dir.filePath(writtenTo)), QByteArray("new bytes"));
        if (kind.endsWith("read-only"))
            QCOMPARE(contentOf(kind == "read-only" ? target : real), old);
        // Nothing new is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), before);
        if (kind == "dangling")
            QCOMPARE(QDir(dir.filePath("drive")).entryList(QDir::Files | QDir::Hidden), QStringList{"goals.txt"});
    }

    // The new file's permissions are in place before a byte is in it: those
    // of the file it replaces, or for a new file those the umask leaves.
    void permissionsComeBeforeTheBytes_data()
    {
        QTest::addColumn<int>("oldMode"); // -1: no earlier file
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("mode");
        QTest::newRow("new file") << -1 << 022 << 0644;
        QTest::newRow("new file, private umask") << -1 << 077 << 0600;
        QTest::newRow("private file") << 0600 << 022 << 0600;
        QTest::newRow("group file") << 0640 << 077 << 0640;
        QTest::newRow("odd mode") << 0604 << 022 << 0604;
    }
    void permissionsComeBeforeTheBytes()
    {
        QFETCH(int, oldMode);
        QFETCH(int, umask);
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString target = dir.filePath("out.txt");
        if (oldMode >= 0) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("secret") == 6);
            file.close();
            QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(oldMode)), 0);
        }
        int seenMode = -1;
        qint64 seenSize = -1;
        SetBeforeWritingHook([&](const QByteArray& temporary) {
            seenMode = int(modeOf(temporary));
            seenSize = QFileInfo(QFile::decodeName(temporary)).size();
        });
        const mode_t saved = ::umask(mode_t(umask));
        const bool written = WriteFileAtomically(target, "new secret");
        ::umask(saved);
        SetBeforeWritingHook(nullptr);
        QVERIFY(written);
        QCOMPARE(seenSize, 0);
        QCOMPARE(seenMode, mode);
        QCOMPARE(int(modeOf(QFile::encodeName(target))), mode);
        QCOMPARE(contentOf(target), QByteArray("new secret"));
    }

    // The superuser's save of another user's file leaves it theirs.
    void replacedFileKeepsItsOwner()
    {
        if (::geteuid() != 0)
            QSKIP("only the superuser gives a file to another user");
        QTemporaryDir dir;
        const QByteArray target = QFile::encodeName(dir.filePath("out.txt"));
        QFile file(QFile::decodeName(target));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(::chown(target.constData(), 65534, 65534), 0);
        QCOMPARE(::chmod(target.constData(), 04640), 0); // a change of owner would drop the set-user bit
        QVERIFY(WriteFileAtomically(QFile::decodeName(target), "new bytes"));
        struct stat info {};
        QCOMPARE(::stat(target.constData(), &info), 0);
        QCOMPARE(info.st_uid, uid_t(65534));
        QCOMPARE(info.st_gid, gid_t(65534));
        QCOMPARE(info.st_mode & 07777, mode_t(04640));
    }
};

ARC_TEST(SaveFileTest)
#include "SaveFileTest.moc"
