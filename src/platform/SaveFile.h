#pragma once
#include <QByteArray>
#include <QString>

// Writes bytes to fileName through a new file that replaces the old one
// only once it is completely written, so a failure (full disk, no right to
// write) leaves an earlier file as it was. False with the reason otherwise.
bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString* reason = nullptr);
