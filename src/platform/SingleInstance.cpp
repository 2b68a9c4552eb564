#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {
// A running copy holds its lock however long it runs; only a lock whose
// process has gone counts as stale.
std::unique_ptr<QLockFile> tryLock(const QString& path, QLockFile::LockError* error)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    *error = lock->error();
    return nullptr;
}
} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& programFolder)
    : m_path(DefaultLockPath(name)),
      m_folderPath(programFolder.isEmpty() ? QString() : QDir(programFolder).filePath("." + name + ".lock"))
{
}

SingleInstance::~SingleInstance() = default;

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
    if (Held())
        return true;
    QLockFile::LockError error = QLockFile::NoError;
    m_lock = tryLock(m_path, &error);
    if (!m_lock)
        return false;
    // A folder the user cannot write to keeps no goals of this copy to
    // overwrite, and a lock left there could never be taken over.
    if (m_folderPath.isEmpty() || !QFileInfo(QFileInfo(m_folderPath).path()).isWritable())
        return true;
    m_folderLock = tryLock(m_folderPath, &error);
    // Only a lock that another copy holds refuses the start; one that
    // cannot be made (a read-only folder) leaves the user's lock alone.
    if (!m_folderLock && error == QLockFile::LockFailedError) {
        m_lock.reset();
        return false;
    }
    return true;
}

bool SingleInstance::Held() const { return m_lock && m_lock->isLocked(); }

bool SingleInstance::HoldsFolder() const { return m_folderLock && m_folderLock->isLocked(); }
