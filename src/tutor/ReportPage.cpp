// The results tab of the tutor window: the report of the last test and its
// saving to a text file.
#include "frmMain.h"

#include "TestReport.h"
#include "common/ArrayRoutines.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/SaveFile.h"
#include "platform/Twips.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QRadioButton>

using Twips::placed;

namespace {
// "Courier New" 12 pt where it is installed, else the system's fixed font.
QFont reportFont()
{
    QFont font("Courier New", 12);
    font.setStyleHint(QFont::TypeWriter);
    if (QFontInfo(font).fixedPitch())
        return font;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(12);
    return fixed;
}

// The text box shows lines; the report's own line breaks are CR LF.
QString toBoxText(const QString& text) { return QString(text).replace("\r\n", "\n"); }
QString fromBoxText(const QString& text) { return QString(text).replace("\n", "\r\n"); }
} // namespace

void frmMain::buildReportPage(QWidget* page)
{
    txtResult = placed(new QPlainTextEdit(page), 240, 240, 10920, 4440);
    txtResult->setFont(reportFont());
    txtResult->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResult->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lblResultInfo = placed(new QLabel(page), 240, 4860, 7200, 300);
    lblResultInfo->setFont(VerdanaFont(8.25, true));
    Command5 = placed(new QPushButton("Save Current Result", page), 8160, 4800, 3000, 435);
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
}

void frmMain::BuildTestReport()
{
    QList<ReportQuestion> asked;
    try {
        RecordsetRef lookup;
        OpenRecordset(lookup, cnLearn, "SELECT * FROM tblCards");
        for (int i = 0; IsArrayDimmed(m_AskedIds) && i <= m_AskedIds.UBound(); ++i) {
            ReportQuestion q;
            lookup->MoveFirst();
            lookup->SetFilter(QString("ID=%1").arg(m_AskedIds(i)));
            if (!lookup->IsEOF())
                q.name = lookup->Value("Name").toString();
            q.reversed = m_AskedReversed(i);
            q.score = m_Scores(i);
            asked << q;
        }
    } catch (const VbError&) {
        // the names that could not be looked up stay empty
    }
    const TestReport report = BuildReportText(App::Title(), asked, optTestType[0]->isChecked(),
                                              m_KeywordsToChoose + 1, m_CorrectCount, rsCards->RecordCount());
    m_CorrectCount = report.correctCount;
    lblResultInfo->setText(report.summary);
    txtResult->setPlainText(toBoxText(report.text));
    txtResult->moveCursor(QTextCursor::End);
}

void frmMain::Command5_Click()
{
    cdlg.Filter = "Text file|*.txt";
    cdlg.FileName = "";
    cdlg.Flags = 0x80802; // explorer style, the folder must exist, ask before overwriting
    cdlg.ShowSave();
    if (cdlg.FileName.isEmpty())
        return;
    if (!saveReport(cdlg.FileName))
        MsgBox("The result could not be saved in\r" + cdlg.FileName
                   + "\rPlease choose a folder you can write in, with room to spare.",
               vbExclamation);
}

// Writes the report and a closing CR LF as UTF-8; an earlier file of that
// name is replaced only once the new one is completely written.
bool frmMain::saveReport(const QString& fileName)
{
    return WriteFileAtomically(fileName, (fromBoxText(txtResult->toPlainText()) + "\r\n").toUtf8());
}
