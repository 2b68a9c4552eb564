#pragma once
#include <QString>
#include <memory>

class QLockFile;

// Whether another copy of the program runs for this user: a lock file in the
// user's runtime folder, held while the program runs. A copy that crashed
// leaves a lock whose process is gone; the next start takes it over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& name);
    ~SingleInstance();

    // True when this copy now holds the lock (no other copy is running).
    bool Acquire();
    bool Held() const;
    QString LockPath() const { return m_path; }

    static QString DefaultLockPath(const QString& name);

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
