#include "TestReport.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");
constexpr int NameField = 36;
const QString ReversedMark = QStringLiteral(" (Reversed)");

QString blanks(qsizetype count) { return QString(qMax<qsizetype>(0, count), ' '); }
} // namespace

QString ReportLine(int number, const ReportQuestion& question, const QString& result)
{
    QString line = QString("%1").arg(number, 2, 10, QChar('0')) + ". " + blanks(5) + question.name;
    if (question.reversed)
        line += ReversedMark + blanks(NameField - ReversedMark.size() - question.name.size());
    else
        line += blanks(NameField - question.name.size());
    return line + result;
}

TestReport BuildReportText(const QString& title, const QList<ReportQuestion>& asked, bool description,
                           int keywordsPerQuestion, int correctCount, long questions)
{
    TestReport report;
    report.correctCount = correctCount;
    const QString heading = "Test Report For " + title;
    QString text = heading + CrLf + QString(heading.size(), '-') + CrLf;
    for (int i = 0; i < asked.size(); ++i) {
        const ReportQuestion& q = asked.at(i);
        QString result;
        if (description) {
            result = q.score != 0 ? "Correct" : "Wrong";
        } else {
            result = QString("%1 Out Of %2 Correct").arg(q.score).arg(keywordsPerQuestion);
            report.correctCount += q.score;
        }
        text += CrLf + ReportLine(i + 1, q, result);
    }
    text += CrLf + QString(64, '_') + CrLf;
    if (description)
        report.summary = QString("%1 out of %2 questions correct").arg(report.correctCount).arg(questions);
    else
        report.summary = QString("%1/%2 choice(s) from %3 questions were correct")
                             .arg(report.correctCount)
                             .arg(questions * keywordsPerQuestion)
                             .arg(questions);
    report.text = text + report.summary;
    return report;
}
