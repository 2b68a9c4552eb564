#include "SavedReading.h"

#include "CardMeanings.h"
#include "ReadingState.h"
#include "TextEncoding.h"
#include "common/ArrayRoutines.h"
#include "platform/CommonDialog.h"
#include "platform/MsgBox.h"
#include "platform/SaveFile.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace {
const QString FileFilterToSave = QStringLiteral("Arcavell Pro Software | *.qzv");
const QString FileFilterToOpen = QStringLiteral("Arcavell Pro Software (*.qzv)|*.qzv");
const QString FileExtension = QStringLiteral("qzv");
const QString SaveTitle = QStringLiteral("Arcavell Pro Software");
const QString OpenTitle = QStringLiteral("Select the source file");
const QString CheckTheFile = QStringLiteral("Please Check The File.");

// The loops over the cards count with 16-bit indexes: a counter cannot step
// past 32767.
constexpr int LargestIndex = 32767;
// Longer lines decode to nothing.
constexpr qsizetype LongestLine = 32767;
// A saved reading is a few hundred bytes and has at most one card line, and
// one reversed-card line, per card of the deck: anything larger is no saved
// reading and would only freeze the window while it is written out.
constexpr qint64 LargestFile = 64 * 1024;
constexpr int DeckSize = LastCard - FirstCard + 1;

void requireIndexRange(int last)
{
    if (last >= LargestIndex)
        throw VbError(6, "Overflow");
}

// The whole file for the reading in progress. Throws VbError when the
// reading state cannot be saved.
QByteArray savedReadingBytes()
{
    const ReadingState& r = Reading();
    QByteArray out;
    const auto line = [&out](const QString& tag, const QString& value) {
        out += ToSingleByte(EncodeText(tag) + EncodeText(value));
        out += "\r\n";
    };
    line("s", r.SelectedSpreadName);
    line("d", r.DeckLetter);
    // The last element of an automatic reading is no card.
    const int lastCard = r.IsManualReading ? r.DrawnCards.UBound() : r.DrawnCards.UBound() - 1;
    requireIndexRange(lastCard);
    for (int i = 0; i <= lastCard; ++i)
        line("c", QString::number(r.DrawnCards(i)));
    if (IsArrayDimmed(r.ReversedCards)) {
        const int lastReversed = r.ReversedCards.UBound();
        requireIndexRange(lastReversed);
        for (int j = 0; j <= lastReversed; ++j)
            line("r", QString::number(r.ReversedCards(j)));
    }
    return out;
}

// Reads a file line by line. A line ends at CR LF, at a lone CR or at a lone
// LF; the last line needs no end. A line longer than LongestLine comes back
// empty and marked overlong, so that no line takes more memory than that.
class LineReader {
public:
    explicit LineReader(QIODevice& device) : m_device(device) {}

    // The next line; false at the end of the file or after a read error.
    bool next(QByteArray& line, bool& overlong)
    {
        line.clear();
        overlong = false;
        bool started = false;
        for (;;) {
            if (m_pos == m_buffer.size() && !fill())
                return started;
            const char* data = m_buffer.constData();
            if (m_skipLineFeed) {
                m_skipLineFeed = false;
                if (data[m_pos] == '\n') {
                    ++m_pos;
                    continue;
                }
            }
            started = true;
            qsizetype end = m_pos;
            while (end < m_buffer.size() && data[end] != '\r' && data[end] != '\n')
                ++end;
            if (!overlong) {
                if (line.size() + (end - m_pos) > LongestLine) {
                    overlong = true;
                    line.clear();
                } else {
                    line.append(data + m_pos, end - m_pos);
                }
            }
            if (end < m_buffer.size()) {
                m_skipLineFeed = data[end] == '\r';
                m_pos = end + 1;
                return true;
            }
            m_pos = end;
        }
    }

    bool failed() const { return m_failed; }

private:
    bool fill()
    {
        constexpr qint64 Chunk = 64 * 1024;
        m_buffer.resize(Chunk);
        const qint64 got = m_device.read(m_buffer.data(), Chunk);
        m_pos = 0;
        if (got <= 0) {
            m_buffer.clear();
            m_failed = got < 0;
            return false;
        }
        m_buffer.resize(got);
        return true;
    }

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_skipLineFeed = false;
    bool m_failed = false;
};

// One pass over the file: calls lineRead with each line decoded. False on a
// read error.
template <class F>
bool eachDecodedLine(QIODevice& file, F&& lineRead)
{
    LineReader reader(file);
    QByteArray bytes;
    bool overlong = false;
    while (reader.next(bytes, overlong))
        lineRead(overlong ? QString() : DecodeText(FromSingleByte(bytes)));
    return !reader.failed();
}
} // namespace

std::optional<qint32> SavedCardNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^ *([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eEdD][+-]?[0-9]+)?) *$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString digits = match.captured(1);
    digits.replace('d', 'e').replace('D', 'e');
    bool ok = false;
    const double value = digits.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double whole = std::nearbyint(value); // halves to the even neighbour
    if (whole < -2147483648.0 || whole > 2147483647.0)
        return std::nullopt;
    return static_cast<qint32>(whole);
}

bool WriteSavedReading(const QString& fileName, QString* reason)
{
    const auto failed = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    QByteArray bytes;
    try {
        bytes = savedReadingBytes();
    } catch (const VbError&) {
        return failed(QStringLiteral("The reading holds no cards that can be saved."));
    }
    return WriteFileAtomically(fileName, bytes, reason);
}

bool ReadSavedReading(const QString& fileName)
{
    // Only a regular file: a folder, a device or a pipe could block or
    // never end.
    if (!QFileInfo(fileName).isFile())
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LargestFile)
        return false;

    ReadingState& r = Reading();
    QString spreadName = r.FileSpreadName;
    QString deckLetter = r.DeckLetter;
    int cardLines = 0;
    int reversedLines = 0;
    const bool firstPass = eachDecodedLine(file, [&](const QString& line) {
        switch (line.isEmpty() ? u'\0' : line.at(0).unicode()) {
        case u's':
            spreadName = line.mid(1);
            break;
        case u'd':
            deckLetter = line.mid(1);
            break;
        case u'c':
            ++cardLines;
            break;
        case u'r':
            ++reversedLines;
            break;
        default:
            break;
        }
    });
    if (!firstPass || cardLines > DeckSize || reversedLines > DeckSize || !file.seek(0))
        return false;

    // One element more than card lines, the last one 0: the shape of the
    // cards of an automatic reading.
    IntArray cards;
    cards.ReDim(cardLines);
    IntArray reversed;
    if (reversedLines > 0)
        reversed.ReDim(reversedLines - 1);
    int i = 0;
    int j = 0;
    QString lastLine = r.FileLine;
    const bool secondPass = eachDecodedLine(file, [&](const QString& line) {
        lastLine = line;
        if (line.startsWith('c') && i < cardLines) {
            cards(i) = SavedCardNumber(line.mid(1)).value_or(0);
            ++i;
        } else if (line.startsWith('r') && j < reversedLines) {
            reversed(j) = SavedCardNumber(line.mid(1)).value_or(0);
            ++j;
        }
    });
    if (!secondPass)
        return false;

    r.FileLine = lastLine;
    r.FileSpreadName = spreadName;
    r.DeckLetter = deckLetter;
    r.FileCards = cards;
    r.FileReversedCards = reversed;
    // A reopened reading is laid out as a plain automatic reading whatever
    // an earlier reading of this run chose, and its reversed cards are those
    // of the file, so that saving it again writes the same file.
    r.IsManualReading = false;
    r.MinorArcanaOnly = false;
    r.MajorArcanaOnly = false;
    r.AllowReversed = false;
    r.AutoCastPressed = false;
    r.ManualPressed = false;
    r.ReversedCards = reversed;
    r.IsReadingFromFile = true;
    return true;
}

void SaveReading(CommonDialog& CD1)
{
    CD1.Filter = FileFilterToSave;
    CD1.DefaultExt = FileExtension;
    CD1.Flags = CommonDialog::OverwritePrompt + CommonDialog::HideReadOnly + CommonDialog::PathMustExist +
                CommonDialog::NoReadOnlyReturn;
    CD1.DialogTitle = SaveTitle;
    CD1.FileName = QString();
    CD1.CancelError = true;
    try {
        CD1.ShowSave();
    } catch (const VbError&) {
        return; // cancelled: nothing is written
    }
    QString reason;
    if (!WriteSavedReading(CD1.FileName, &reason))
        MsgBox("The reading was not saved to " + CD1.FileName + ".\r\n\r\n" + reason, vbExclamation + vbOKOnly);
}

bool OpenSavedReading(CommonDialog& CD)
{
    CD.Filter = FileFilterToOpen;
    CD.DefaultExt = FileExtension;
    CD.Flags = CommonDialog::HideReadOnly + CommonDialog::FileMustExist + CommonDialog::NoReadOnlyReturn;
    CD.DialogTitle = OpenTitle;
    CD.FileName = QString();
    CD.CancelError = true;
    try {
        CD.ShowOpen();
    } catch (const VbError&) {
        // cancelled: the name stays empty
    }
    const QString fileName = CD.FileName;
    if (fileName.isEmpty())
        return false;
    if (fileName.right(3) != FileExtension || !ReadSavedReading(fileName)) {
        MsgBox(CheckTheFile, vbCritical + vbOKOnly);
        return false;
    }
    return true;
}
