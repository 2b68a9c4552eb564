#include "SaveFile.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly);
    // commit() does not notice a failure of the last flush of its buffer
    // (QTBUG-75077) and would put a partly written file in place: flush first.
    if (ok && (file.write(bytes) != bytes.size() || !file.flush())) {
        if (reason)
            *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (ok)
        ok = file.commit();
    if (!ok && reason)
        *reason = file.errorString();
    return ok;
}
