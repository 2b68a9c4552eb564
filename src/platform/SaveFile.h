#pragma once
#include <QByteArray>
#include <QString>

// Writes bytes to fileName through a new file beside it that replaces the
// old one only once it is completely written and synced, so a failure (full
// disk, file-size limit, no right to write) leaves an earlier file as it
// was. On failure: false, the system's error number in error and its text
// in reason. A symbolic link is followed: the file it points to is replaced.
bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString* reason = nullptr,
                         int* error = nullptr);
