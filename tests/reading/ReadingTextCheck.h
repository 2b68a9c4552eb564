#pragma once
// Reading back what the reading text writers put into a rich-text box: the
// text with CR LF line breaks, and for every character whether it is bold
// and underlined, as the document holds it.
#include "platform/RichTextBox.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace ReadingTextCheck {

// One mark per character of Text(): '-' plain, 'B' bold, 'U' underlined,
// 'X' both; '|' for the two characters of a line break, whose format nobody
// sees.
inline char mark(bool bold, bool underline)
{
    return bold ? (underline ? 'X' : 'B') : (underline ? 'U' : '-');
}

inline QString marksOf(const RichTextBox& box)
{
    QString marks;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        if (block != box.document()->begin())
            marks += "||";
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            marks += QString(f.length(), QChar(mark(format.fontWeight() >= QFont::Bold, format.fontUnderline())));
        }
    }
    return marks;
}

// The text a reading should show, built piece by piece with its formats.
class Expected {
public:
    Expected& plain(const QString& t) { return add(t, false, false); }
    Expected& bold(const QString& t) { return add(t, true, false); }
    Expected& rule(const QString& t) { return add(t, false, true); }

    QString text;
    QString marks;

private:
    Expected& add(const QString& t, bool bold, bool underline)
    {
        text += t;
        for (const QChar c : t)
            marks += (c == '\r' || c == '\n') ? QChar('|') : QChar(mark(bold, underline));
        return *this;
    }
};

// Where two texts first differ, with a little of both around it.
inline QString firstDifference(const QString& actual, const QString& expected)
{
    qsizetype i = 0;
    while (i < actual.size() && i < expected.size() && actual.at(i) == expected.at(i))
        ++i;
    if (i == actual.size() && i == expected.size())
        return QString();
    auto around = [i](const QString& s) {
        QString part = s.mid(qMax<qsizetype>(0, i - 40), 80);
        part.replace("\r", "\\r").replace("\n", "\\n");
        return part;
    };
    return QString("first difference at %1 (lengths %2 and %3)\n   actual: %4\n expected: %5")
        .arg(i)
        .arg(actual.size())
        .arg(expected.size())
        .arg(around(actual), around(expected));
}

} // namespace ReadingTextCheck

// Compares the box's whole text and the bold and underline of every character
// with what was expected.
#define COMPARE_READING_TEXT(box, expected)                                                        \
    do {                                                                                           \
        const QString textDiff = ReadingTextCheck::firstDifference((box).Text(), (expected).text); \
        if (!textDiff.isEmpty())                                                                   \
            QFAIL(qPrintable("text: " + textDiff));                                                \
        const QString marksDiff =                                                                  \
            ReadingTextCheck::firstDifference(ReadingTextCheck::marksOf(box), (expected).marks);   \
        if (!marksDiff.isEmpty())                                                                  \
            QFAIL(qPrintable("formats (B bold, U underlined, - plain): " + marksDiff));            \
    } while (false)
