#include "TextEncoding.h"

namespace {
constexpr int Shift = 85;
constexpr int MaxLength = 32767;

QString shifted(const QString& text, int by)
{
    if (text.size() > MaxLength)
        return QString();
    const QByteArray codes = ToSingleByte(text);
    QString out;
    out.reserve(codes.size());
    for (char c : codes) {
        const int code = static_cast<unsigned char>(c) + by;
        if (code >= 0 && code <= 255)
            out.append(QChar(code));
    }
    return out;
}
} // namespace

QString EncodeText(const QString& text) { return shifted(text, Shift); }
QString DecodeText(const QString& text) { return shifted(text, -Shift); }

QByteArray ToSingleByte(const QString& text) { return text.toLatin1(); }
QString FromSingleByte(const QByteArray& bytes) { return QString::fromLatin1(bytes); }
