#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString& name) : m_path(DefaultLockPath(name)) {}

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
    m_lock = std::make_unique<QLockFile>(m_path);
    // A running copy holds the lock however long it runs; only a lock whose
    // process has gone counts as stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    m_lock.reset();
    return false;
}

bool SingleInstance::Held() const { return m_lock && m_lock->isLocked(); }
