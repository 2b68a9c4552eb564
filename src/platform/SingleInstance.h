#pragma once
#include <QString>

// Whether another copy of the program runs: a lock in the user's runtime
// folder, and one in the program folder whose files the copy writes (so
// that two users of one program folder do not run at once), both held
// while the program runs. A lock is the kernel's lock on an open file,
// which goes with the process however it ends: what a lock file holds, or
// whether one was left behind, never decides. A lock that cannot be made
// (a program folder the user cannot write to, a lock path that is no
// regular file) does not stop the start: only the locks that can be made
// apply.
class SingleInstance {
public:
    explicit SingleInstance(const QString& name, const QString& programFolder = QString());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when no other copy is running; this copy then holds the locks
    // that can be made.
    bool Acquire();
    // Whether the user's lock is held.
    bool Held() const;
    QString LockPath() const { return m_path; }
    QString FolderLockPath() const { return m_folderPath; }
    // Whether the program folder's lock is held too.
    bool HoldsFolder() const;

    static QString DefaultLockPath(const QString& name);

private:
    void Release();

    QString m_path;
    QString m_folderPath;
    bool m_running = false;
    int m_lock = -1;
    int m_folderLock = -1;
};
