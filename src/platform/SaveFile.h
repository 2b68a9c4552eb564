#pragma once
#include <QByteArray>
#include <QString>

#include <functional>

// The files the program keeps for the user: read and written only where
// they are regular files, never waiting on a pipe or a device.

// Writes bytes to fileName through a new file beside it that replaces the
// old one only once it is completely written and synced, so a failure (full
// disk, file-size limit, no right to write) leaves an earlier file as it
// was. On failure: false, the system's error number in error and its text
// in reason.
//
// A chain of symbolic links is followed to its end, and the file there is
// written (made, when only its folder exists); a link itself is never
// replaced. Only a regular file is replaced: a folder fails with EISDIR,
// anything else (a pipe, a device, a socket) with EINVAL and "It is not a
// regular file.", and is left as it is. A file that its own permissions
// keep the user from writing fails with EACCES, as any writer's would. The
// new file has the old one's permissions (a new one those of the umask)
// before any byte is in it.
bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString* reason = nullptr,
                         int* error = nullptr);

// Tests only: called with the new file's name once it is made and has its
// permissions, before a byte is written into it. Empty: nothing is called.
void SetBeforeWritingHook(std::function<void(const QByteArray& temporary)> hook);

// Reads the regular file at path, its links followed: at most limit bytes,
// all of it for -1. False with the system's reason when it cannot be read;
// anything but a regular file (a folder, a pipe, a device) is not even
// opened, so nothing waits on it, and gives "It is not a regular file.".
bool ReadRegularFile(const QString& path, QByteArray* bytes, qint64 limit = -1, QString* reason = nullptr);

// A copy kept beside a file: its name (empty when it could not be written)
// and whether it was made now.
struct KeptCopy {
    QString path;
    bool made = false;
};
// Keeps bytes beside path under the name path + suffix (then suffix + ".2"
// ...), unless a file of such a name holds them already. A name taken by a
// symbolic link, dangling or not, is passed over, so nothing is written
// where a link leads. On failure reason says why.
KeptCopy KeepCopyBeside(const QString& path, const QString& suffix, const QByteArray& bytes, QString* reason = nullptr);
