#pragma once
#include <QByteArray>
#include <QString>

// The program's character-shift encoding of saved readings and of the update
// reminder's setting. A character's code is its code in the single-byte
// character set (Latin-1 here; a character outside it counts as "?").
// EncodeText adds 85 to each code and drops a character whose code would pass
// 255; DecodeText subtracts 85 and drops one whose code would fall below 0.
// A text longer than 32767 characters gives an empty result.
QString EncodeText(const QString& text);
QString DecodeText(const QString& text);

// A text of single-byte codes as the bytes of a file line, and back.
QByteArray ToSingleByte(const QString& text);
QString FromSingleByte(const QByteArray& bytes);
