#pragma once
#include <QList>
#include <QString>

// One answered question as the report lists it.
struct ReportQuestion {
    QString name;      // the card's name (empty when the card is not found)
    bool reversed = false;
    int score = 0;     // Description: 1 right, 0 wrong; Keywords: correct ticks
};

struct TestReport {
    QString text;      // the whole report, lines separated by CR LF, no break after the summary
    QString summary;   // its last line
    int correctCount = 0;
};

// The report of a finished test. correctCount is the count the test ended
// with: a Description test's right answers, or 0 after a Keywords test, to
// which the report adds every score. questions is the number of cards in
// the set; keywordsPerQuestion the number of keywords to tick (k).
TestReport BuildReportText(const QString& title, const QList<ReportQuestion>& asked, bool description,
                           int keywordsPerQuestion, int correctCount, long questions);

// The line of question number (1-based): number, name field of 36
// characters (with " (Reversed)" inside it), then the result from column 46.
QString ReportLine(int number, const ReportQuestion& question, const QString& result);
