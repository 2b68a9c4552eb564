#pragma once
#include <QByteArray>
#include <QString>

#include <functional>

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
