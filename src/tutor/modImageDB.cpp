#include "modImageDB.h"

#include "common/modDB.h"
#include "platform/Controls.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace {
const QString& tempFolder()
{
    static const QString folder = QDir::tempPath();
    return folder;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}
} // namespace

QString GetTempFile(const QString& prefix)
{
    QTemporaryFile file(tempFolder() + "/" + prefix.left(3) + "XXXXXX.tmp");
    file.setAutoRemove(false);
    if (!file.open())
        return QString();
    return file.fileName();
}

bool LoadPictureFromField(PictureBox* pic, Recordset& rs, const QString& fieldName)
{
    const QString tmp = GetTempFile("TMP");
    QImage picture;
    try {
        // The whole value, read afresh: a second show of the same row gets
        // every byte again.
        const QVariant value = rs.Fields(fieldName).Value();
        if (!value.isNull()) {
            const QByteArray bytes = value.toByteArray();
            if (!tmp.isEmpty() && writeBytes(tmp, bytes))
                picture = LoadPicture(tmp);
        }
    } catch (const VbError&) {
        picture = QImage();
    }
    if (!tmp.isEmpty())
        QFile::remove(tmp);
    if (pic)
        pic->SetPicture(picture);
    return !picture.isNull();
}
