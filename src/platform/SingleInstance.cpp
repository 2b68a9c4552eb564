#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
enum class Lock { Taken, HeldByAnother, CannotBeMade };

bool isRegularFile(const struct stat& info) { return S_ISREG(info.st_mode); }

// Opens the lock file, made when missing. Only a regular file is opened:
// no link is followed and nothing else at the path (a folder, a named
// pipe, a device) is opened at all, nor waited for. Read-only suffices
// for the lock, and lets another user's lock file in a shared program
// folder be locked as well.
int openLockFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) == 0 && !isRegularFile(info))
        return -1;
    const int fd = ::open(name.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !isRegularFile(info)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The lock belongs to the open file: two holders in one process exclude
// each other as two processes do, and the kernel drops it when the holder
// ends, however it ends.
Lock takeLock(const QString& path, int* fd)
{
    *fd = openLockFile(path);
    if (*fd < 0)
        return Lock::CannotBeMade;
    int result;
    do
        result = ::flock(*fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0)
        return Lock::Taken;
    const bool held = errno == EWOULDBLOCK;
    ::close(*fd);
    *fd = -1;
    return held ? Lock::HeldByAnother : Lock::CannotBeMade;
}

void closeLock(int* fd)
{
    if (*fd >= 0)
        ::close(*fd);
    *fd = -1;
}
} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& programFolder)
    : m_path(DefaultLockPath(name)),
      m_folderPath(programFolder.isEmpty() ? QString() : QDir(programFolder).filePath("." + name + ".lock"))
{
}

SingleInstance::~SingleInstance() { Release(); }

QString SingleInstance::DefaultLockPath(const QString& name)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(dir);
    return dir + "/" + name + ".lock";
}

bool SingleInstance::Acquire()
{
    if (m_running)
        return true;
    if (takeLock(m_path, &m_lock) == Lock::HeldByAnother)
        return false;
    // A folder the user cannot write to keeps no goals of this copy to
    // overwrite.
    const bool folderLockWanted =
        !m_folderPath.isEmpty() && QFileInfo(QFileInfo(m_folderPath).path()).isWritable();
    if (folderLockWanted && takeLock(m_folderPath, &m_folderLock) == Lock::HeldByAnother) {
        Release();
        return false;
    }
    m_running = true;
    return true;
}

void SingleInstance::Release()
{
    closeLock(&m_lock);
    closeLock(&m_folderLock);
    m_running = false;
}

bool SingleInstance::Held() const { return m_lock >= 0; }

bool SingleInstance::HoldsFolder() const { return m_folderLock >= 0; }
