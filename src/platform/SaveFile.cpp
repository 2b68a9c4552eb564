#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The kernel's own limit on the links it follows in one path.
const int MaxLinks = 40;
// Not an error number: the target is there but is no regular file.
const int NotRegular = -1;
const QString NotRegularReason = QStringLiteral("It is not a regular file.");

std::function<void(const QByteArray&)>& beforeWriting()
{
    static std::function<void(const QByteArray&)> hook;
    return hook;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : path.left(slash);
}

// Follows path's chain of symbolic links to the name at its end, which may
// not exist. 0, or the error number of the step that failed.
int followLinks(QByteArray* path)
{
    for (int hop = 0; hop <= MaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(path->constData(), &info) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode))
            return 0;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path->constData(), target, sizeof target);
        if (n < 0)
            return errno;
        if (n == sizeof target)
            return ENAMETOOLONG;
        const QByteArray next(target, n);
        *path = next.startsWith('/') ? next : folderOf(*path) + '/' + next;
    }
    return ELOOP;
}

// Whether the file at target, which lstat described, may be replaced.
int replaceable(const QByteArray& target, const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return NotRegular;
    // The new file would otherwise replace one that its permissions protect.
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return errno;
    return 0;
}

// Creates a file of a new name beside target; -1 with errno set on failure.
int createBeside(const QByteArray& target, mode_t mode, QByteArray* name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the new file the owner and permissions of the file it replaces, as
// far as the user may. Until then only its owner can open it.
void takeOver(int fd, const struct stat& old)
{
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
        (void)::fchown(fd, old.st_uid, old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
}

int writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            return errno;
        if (n > 0)
            done += n;
    }
    return 0;
}

int writeAtomically(QByteArray target, const QByteArray& bytes)
{
    if (const int error = followLinks(&target))
        return error;
    struct stat old {};
    const bool exists = ::lstat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists)
        if (const int error = replaceable(target, old))
            return error;
    QByteArray temporary;
    // A new file's permissions are those of the umask; the new copy of an
    // old file is its owner's alone until it has the old one's.
    const int fd = createBeside(target, exists ? 0600 : 0666, &temporary);
    if (fd < 0)
        return errno;
    if (exists)
        takeOver(fd, old);
    if (beforeWriting())
        beforeWriting()(temporary);
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.constData());
    return error;
}
} // namespace

bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString* reason, int* error)
{
    const int result = writeAtomically(QFile::encodeName(fileName), bytes);
    if (error)
        *error = result == NotRegular ? EINVAL : result;
    if (result != 0 && reason)
        *reason = result == NotRegular ? NotRegularReason : QString::fromLocal8Bit(std::strerror(result));
    return result == 0;
}

void SetBeforeWritingHook(std::function<void(const QByteArray& temporary)> hook) { beforeWriting() = std::move(hook); }

namespace {
bool failed(QString* reason, const QString& why)
{
    if (reason)
        *reason = why;
    return false;
}
} // namespace

bool ReadRegularFile(const QString& path, QByteArray* bytes, qint64 limit, QString* reason)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        return failed(reason, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(info.st_mode))
        return failed(reason, NotRegularReason);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(reason, QString::fromLocal8Bit(std::strerror(errno)));
    // Another node may have taken the file's place since it was looked at.
    QFile file;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(reason, NotRegularReason);
    }
    *bytes = limit < 0 ? file.readAll() : file.read(limit);
    if (file.error() != QFileDevice::NoError)
        return failed(reason, file.errorString());
    return true;
}

KeptCopy KeepCopyBeside(const QString& path, const QString& suffix, const QByteArray& bytes, QString* reason)
{
    const auto taken = [](const QString& name) { return QFileInfo(name).isSymLink() || QFileInfo::exists(name); };
    const auto holdsBytes = [&bytes](const QString& name) {
        QByteArray kept;
        return !QFileInfo(name).isSymLink() && ReadRegularFile(name, &kept, bytes.size() + 1) && kept == bytes;
    };
    QString copy = path + suffix;
    for (int n = 2; taken(copy); ++n) {
        if (holdsBytes(copy))
            return {copy, false};
        copy = path + suffix + "." + QString::number(n);
    }
    return WriteFileAtomically(copy, bytes, reason) ? KeptCopy{copy, true} : KeptCopy{};
}
