#include "modGoals.h"

#include "platform/App.h"
#include "platform/SaveFile.h"

#include <QStringDecoder>
#include <optional>

GoalArray Goals;

QString GoalFilePath() { return App::FilePath("goals.txt"); }

namespace {
const QString DateFormat = QStringLiteral("yyyy-MM-dd");

QString quoted(const QString& text)
{
    // The text box breaks lines with LF; the file keeps the system's CR LF.
    QString t = text;
    t.replace("\r\n", "\n").replace('\n', "\r\n");
    return '"' + t + '"';
}

// Reads the six fields of one record the way they are written, forgiving
// blanks around fields and unquoted texts. Any field that does not read
// makes the record unreadable.
class RecordReader {
public:
    RecordReader(const QString& text, qsizetype pos) : m_text(text), m_pos(pos) {}
    qsizetype pos() const { return m_pos; }

    std::optional<GoalRecord> read()
    {
        GoalRecord goal;
        const auto name = field(true);
        const auto start = name ? field(true) : std::nullopt;
        const auto end = start ? field(true) : std::nullopt;
        const auto desc = end ? field(true) : std::nullopt;
        const auto achieved = desc ? field(true) : std::nullopt;
        const auto percent = achieved ? field(false) : std::nullopt;
        if (!percent)
            return std::nullopt;
        goal.GoalName = QString(*name).replace("\r\n", "\n");
        goal.GoalDesc = QString(*desc).replace("\r\n", "\n");
        goal.StartDate = date(*start);
        goal.EndDate = date(*end);
        const std::optional<bool> flag = boolean(*achieved);
        bool ok = false;
        const int value = percent->toInt(&ok);
        if (!goal.StartDate.isValid() || !goal.EndDate.isValid() || !flag || !ok || value < -32768 || value > 32767)
            return std::nullopt;
        goal.Achieved = *flag;
        goal.Percent = static_cast<qint16>(value);
        return goal;
    }

private:
    static QDate date(const QString& text)
    {
        if (!text.startsWith('#') || !text.endsWith('#') || text.size() < 3)
            return QDate();
        const QDate d = QDate::fromString(text.mid(1, text.size() - 2), DateFormat);
        return d.isValid() ? d : QDate::fromString(text.mid(1, text.size() - 2), "yyyy-M-d");
    }
    static std::optional<bool> boolean(const QString& text)
    {
        const QString word = text.startsWith('#') && text.endsWith('#') && text.size() >= 2
                                 ? text.mid(1, text.size() - 2).toUpper()
                                 : text.toUpper();
        if (word == "TRUE")
            return true;
        if (word == "FALSE")
            return false;
        bool ok = false;
        const int n = word.toInt(&ok);
        return ok ? std::optional<bool>(n != 0) : std::nullopt;
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar at() const { return m_text.at(m_pos); }
    void skipBlanks()
    {
        while (!atEnd() && (at() == ' ' || at() == '\t'))
            ++m_pos;
    }
    bool atLineEnd() const { return atEnd() || at() == '\r' || at() == '\n'; }

    // One field: quoted texts come back without their quotes, dates and
    // flags with their number signs. A field ends at a comma when one is
    // expected, else at the end of the line.
    std::optional<QString> field(bool commaFollows)
    {
        skipBlanks();
        QString value;
        if (!atEnd() && (at() == '"' || at() == '#')) {
            const QChar mark = at();
            const qsizetype close = m_text.indexOf(mark, m_pos + 1);
            if (close < 0)
                return std::nullopt;
            value = m_text.mid(mark == '"' ? m_pos + 1 : m_pos, mark == '"' ? close - m_pos - 1 : close - m_pos + 1);
            if (mark == '#' && (value.contains('\n') || value.contains('\r')))
                return std::nullopt;
            m_pos = close + 1;
            skipBlanks();
        } else {
            const qsizetype from = m_pos;
            while (!atLineEnd() && at() != ',')
                ++m_pos;
            value = m_text.mid(from, m_pos - from).trimmed();
        }
        if (commaFollows) {
            if (atEnd() || at() != ',')
                return std::nullopt;
            ++m_pos;
            return value;
        }
        if (!atLineEnd())
            return std::nullopt;
        if (!atEnd() && at() == '\r')
            ++m_pos;
        if (!atEnd() && at() == '\n')
            ++m_pos;
        return value;
    }

    const QString& m_text;
    qsizetype m_pos;
};

// Each line is read on its own: as UTF-8 when it is valid UTF-8, else as
// Latin-1 (a line written by a single-byte editor). One such goal does not
// turn the accents of the others into two characters each. A line break is
// never part of a UTF-8 sequence, so a record spanning lines reads whole.
QString decode(const QByteArray& bytes)
{
    const QByteArrayView all(bytes);
    const QByteArrayView bom("\xEF\xBB\xBF");
    // A byte-order mark is kept as a character except at the file's start.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype from = 0; from < all.size();) {
        const qsizetype newline = all.indexOf('\n', from);
        const qsizetype end = newline < 0 ? all.size() : newline + 1;
        QByteArrayView line = all.sliced(from, end - from);
        if (!line.isValidUtf8())
            text += QString::fromLatin1(line);
        else
            text += QString(utf8.decode(from == 0 && line.startsWith(bom) ? line.sliced(bom.size()) : line));
        from = end;
    }
    return text;
}

bool blankLine(const QString& text, qsizetype from, qsizetype* next)
{
    qsizetype p = from;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t' || text[p] == '\r'))
        ++p;
    if (p < text.size() && text[p] != '\n')
        return false;
    *next = p < text.size() ? p + 1 : p;
    return true;
}

bool writtenBack(const GoalRecord& goal)
{
    const QString text = QString::fromUtf8(GoalRecordText(goal));
    return RecordReader(text, 0).read() == goal;
}
} // namespace

QByteArray GoalRecordText(const GoalRecord& goal)
{
    const QString line = quoted(goal.GoalName) + ",#" + goal.StartDate.toString(DateFormat) + "#,#" +
                         goal.EndDate.toString(DateFormat) + "#," + quoted(goal.GoalDesc) + "," +
                         (goal.Achieved ? "#TRUE#" : "#FALSE#") + "," + QString::number(goal.Percent) + "\r\n";
    return line.toUtf8();
}

GoalFileContent ParseGoalFile(const QByteArray& bytes)
{
    GoalFileContent content;
    const QString text = decode(bytes);
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype next = 0;
        if (blankLine(text, pos, &next)) {
            pos = next;
            continue;
        }
        RecordReader reader(text, pos);
        const auto goal = reader.read();
        if (goal && writtenBack(*goal)) {
            content.records.append(*goal);
            pos = reader.pos();
            continue;
        }
        // Go on with the next line: a record that does not read, or that a
        // save would not give back (a quote inside an unquoted text), is skipped.
        content.unreadable = true;
        const qsizetype lineEnd = text.indexOf('\n', pos);
        pos = lineEnd < 0 ? text.size() : lineEnd + 1;
    }
    return content;
}

bool WriteGoalFile(const QString& path, const QVector<GoalRecord>& records, QString* error)
{
    QByteArray bytes;
    for (const GoalRecord& goal : records)
        bytes += GoalRecordText(goal);
    // A file the next start would refuse to read is not written.
    if (bytes.size() > GoalFileLimit) {
        if (error)
            *error = QStringLiteral("The goals would take more than %1 KB.").arg(GoalFileLimit / 1024);
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

bool ReadGoalFile(const QString& path, QByteArray* bytes, QString* reason)
{
    // No more than the limit is read, even from a file that grows meanwhile.
    if (!ReadRegularFile(path, bytes, GoalFileLimit + 1, reason))
        return false;
    if (bytes->size() > GoalFileLimit) {
        *reason = QStringLiteral("It is larger than %1 KB.").arg(GoalFileLimit / 1024);
        return false;
    }
    return true;
}
