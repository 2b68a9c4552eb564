#pragma once
#include <QString>
#include <memory>

class QLockFile;

// Whether another copy of the program runs: a lock file in the user's
// runtime folder, and one in the program folder whose files the copy
// writes (so that two users of one program folder do not run at once),
// both held while the program runs. A copy that crashed leaves locks whose
// process is gone; the next start takes them over. A program folder the
// user cannot write to holds no lock: only the user's own lock applies.
class SingleInstance {
public:
    explicit SingleInstance(const QString& name, const QString& programFolder = QString());
    ~SingleInstance();

    // True when this copy now holds its locks (no other copy is running).
    bool Acquire();
    bool Held() const;
    QString LockPath() const { return m_path; }
    QString FolderLockPath() const { return m_folderPath; }
    // Whether the program folder's lock is held too.
    bool HoldsFolder() const;

    static QString DefaultLockPath(const QString& name);

private:
    QString m_path;
    QString m_folderPath;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLockFile> m_folderLock;
};
