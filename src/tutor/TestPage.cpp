// The test tab of the tutor window: starting a test, the Next Question
// engine that records each answer and draws the next card, and the
// Description question.
#include "frmMain.h"

#include "AnswerOption.h"
#include "KeywordDraw.h"
#include "UpsideDownCopy.h"
#include "common/ArrayRoutines.h"
#include "modImageDB.h"
#include "platform/Events.h"
#include "platform/MsgBox.h"
#include "platform/Rnd.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QPointer>
#include <QRadioButton>
#include <cmath>

using Twips::placed;

namespace {
// Tops of the seven answer places, top to bottom.
constexpr int AnswerTops[7] = {120, 870, 1650, 2400, 3180, 3960, 4740};

qint32 idOf(Recordset& rs) { return rs.Value("Id").toInt(); }

// Row number (1-based) of the card set: first row, then moved forward.
void goToRow(Recordset& rs, int row)
{
    rs.MoveFirst();
    rs.Move(row - 1);
}

// Reversed when r * 10, rounded to the nearest whole number (halves to the
// even one), is odd.
bool drawReversed()
{
    const double tenths = static_cast<double>(Rnd() * 10.0f);
    return static_cast<long>(std::nearbyint(tenths)) % 2 != 0;
}
} // namespace

void frmMain::buildTestPage(QWidget* page)
{
    picResult = placed(new PictureBox(page), 240, 240, 1950, 3375);
    picResult->SetAutoSize(false);
    picResult->setFocusPolicy(Qt::StrongFocus);
    lblCardName = placed(new QLabel(page), 240, 3690, 2160, 480);
    lblCardName->setWordWrap(true);
    lblCardName->setFont(VerdanaFont(8.25, true));
    lblIsReversed = placed(new QLabel(page), 240, 4200, 2160, 255);
    SetColor(lblIsReversed, QPalette::WindowText, Qt::red);
    lblQCount = placed(new QLabel(page), 240, 4470, 2160, 255);
    cmdNextQuestion = placed(new QPushButton("Next Question", page), 240, 4860, 1950, 435);
    buildAnswerPanels(page);

    connect(cmdNextQuestion, &QPushButton::clicked, this, [this] { cmdNextQuestion_Click(); });
}

void frmMain::buildAnswerPanels(QWidget* page)
{
    picDescContainer = placed(new QFrame(page), 2520, 120, 8640, 5520);
    for (int i = 0; i < 7; ++i) {
        Shape1[i] = placed(new QFrame(picDescContainer), 120, AnswerTops[i], 8400, 720);
        Shape1[i]->setFrameShape(QFrame::Box);
        optAnswer[i] = placed(new AnswerOption(picDescContainer), 180, AnswerTops[i] + 15, 8280, 690);
        optAnswer[i]->setFont(VerdanaFont(7));
        connect(optAnswer[i], &AnswerOption::Click, this, [this, i] { optAnswer_Click(i); });
    }

    picKeywodContainer = placed(new QFrame(page), 2520, 120, 8640, 5520);
    lblMaxKeyword = placed(new QLabel("You must choose 3 keywords", picKeywodContainer), 120, 120, 8400, 300);
    lblMaxKeyword->setFont(VerdanaFont(8.25, true));
    // three columns: the longest keywords of the deck still read in full
    for (int i = 0; i < 20; ++i) {
        chkKeywords[i] = placed(new QCheckBox(picKeywodContainer), 120 + (i % 3) * 2800, 600 + (i / 3) * 480, 2740, 360);
        connect(chkKeywords[i], &QCheckBox::toggled, this, [this, i] { chkKeywords_Click(i); });
    }
    // the panel in front covers the one behind it
    for (QWidget* panel : {picDescContainer, picKeywodContainer})
        SetBackground(panel, palette().color(QPalette::Base));
}

void frmMain::bringAnswerPanelToFront()
{
    (optTestType[0]->isChecked() ? picDescContainer : picKeywodContainer)->raise();
}

// False, after telling the user, when the open card set has no card to ask about.
bool frmMain::hasQuestions()
{
    if (rsCards->RecordCount() > 0)
        return true;
    MsgBox("The chosen cards are not in the tutor's card database: there is nothing to ask.", vbExclamation);
    return false;
}

void frmMain::cmdStartTest2_Click()
{
    if (m_engineRunning || !openCardSet() || !hasQuestions())
        return;
    SSTab1->SetTabEnabled(TabMemorize, true);
    SSTab1->SetTabEnabled(TabTest, true);
    SSTab1->SetTab(TabTest);
    bringAnswerPanelToFront();
    cmdStartTest_Click();
}

void frmMain::cmdStartTest_Click()
{
    if (m_engineRunning || !rsCards || !rsCards->IsOpen() || !hasQuestions())
        return;
    bringAnswerPanelToFront();
    m_CorrectCount = 0;
    m_AskedIds.Erase();
    m_Scores.Erase();
    m_CorrectPos.Erase();
    m_AskedReversed.Erase();
    m_FirstQuestion = true;
    lblIsReversed->clear();
    m_QuestionNo = 0;
    lblQCount->clear();
    Randomize();
    cmdNextQuestion_Click();
}

// A press of "Next Question" while a question is being drawn (the draw lets
// window events through) is ignored, and so are the other ways into a test.
void frmMain::cmdNextQuestion_Click()
{
    if (m_engineRunning || !rsCards || !rsCards->IsOpen())
        return;
    QPointer<class frmMain> self(this);
    m_engineRunning = true;
    runNextQuestion();
    if (self)
        self->m_engineRunning = false;
}

// One run of the engine; false when the window was unloaded meanwhile.
bool frmMain::runNextQuestion()
{
    const long n = rsCards->RecordCount();
    SSTab1->SetTabEnabled(TabTest, true);
    cmdNextQuestion->setEnabled(false);
    rsCards->SetFilter("");
    ++m_QuestionNo;

    if (m_QuestionNo - 1 > n && !m_FirstQuestion && IsArrayDimmed(m_AskedIds)) {
        endTest();
        return true;
    }
    if (!m_FirstQuestion) {
        m_AskedIds.Append(m_CardId);
        m_Scores.Append(0);
        m_AskedReversed.Append(false);
    }
    if (!drawNextCard())
        return false;
    if (!m_FirstQuestion)
        recordAnswer();

    if (optTestType[0]->isChecked()) {
        if (!BuildMeaningQuestion())
            return false;
    } else {
        BuildKeywordQuestion();
    }
    SSTab1->SetTab(TabTest);
    m_FirstQuestion = false;
    picResult->setFocus();

    if (m_QuestionNo > n) {
        // the extra question after the last answer is never recorded: this
        // run ends the test
        lblQCount->clear();
        return runNextQuestion();
    }
    lblQCount->setText(QString("%1 of %2").arg(m_QuestionNo).arg(n));
    return true;
}

// Draws a card not asked yet; after N tries the last card drawn is taken.
bool frmMain::drawNextCard()
{
    QPointer<class frmMain> self(this);
    const long n = rsCards->RecordCount();
    int tries = 0;
    do {
        goToRow(*rsCards, RndBelow(static_cast<int>(n)) + 1);
        m_CardId = idOf(*rsCards);
        DoEvents();
        if (!self || !IsLoaded())
            return false;
        rsCards->SetFilter("");
        ++tries;
    } while (IsInArray(m_CardId, m_AskedIds) && tries < n);
    return true;
}

void frmMain::recordAnswer()
{
    const int last = m_AskedIds.UBound();
    m_AskedReversed(last) = m_IsReversed;
    if (optTestType[0]->isChecked()) {
        for (AnswerOption* option : optAnswer)
            if (option->Value() && option->Tag == "True")
                m_Scores(last) = 1;
        return;
    }
    if (!IsArrayDimmed(m_CorrectPos))
        return;
    for (int j = 0; j <= m_CorrectPos.UBound(); ++j)
        if (chkKeywords[m_CorrectPos(j)]->isChecked())
            m_Scores(last) += 1;
}

void frmMain::endTest()
{
    if (optTestType[0]->isChecked())
        m_CorrectCount += static_cast<qint32>(m_Scores.Items().count(1));
    SSTab1->SetTab(TabResults);
    SSTab1->SetTabEnabled(TabResults, true);
    BuildTestReport();
    MsgBox("Test Complete", vbInformation);
}

bool frmMain::BuildMeaningQuestion()
{
    rsCards->MoveFirst();
    rsCards->SetFilter(QString("ID=%1").arg(m_CardId));
    lblCardName->setText(textOf(*rsCards, "Name"));

    m_IsReversed = chkReversed->isChecked() && drawReversed();
    lblIsReversed->setText(m_IsReversed ? "Reversed" : "");

    const int level = chosenLevel();
    const int first = 2 - level;
    const int last = 4 + level;
    const int correct = first + RndBelow(last - first + 1);
    for (int i = 0; i < 7; ++i) {
        const bool used = i >= first && i <= last;
        optAnswer[i]->SetValue(false);
        optAnswer[i]->setEnabled(used);
        optAnswer[i]->setVisible(used);
        Shape1[i]->setVisible(used);
        optAnswer[i]->Tag = used && i == correct ? "True" : "";
    }

    QList<int> rows; // the decoys' rows by slot, 0 for the correct slot
    if (!drawDecoyRows(first, last, correct, rows))
        return false;

    const QString meaning = m_IsReversed ? "ReversedMeaning" : "NormalMeaning";
    for (int i = first; i <= last; ++i) {
        const int row = rows.at(i - first);
        if (i == correct) {
            rsCards->SetFilter(QString("ID=%1").arg(m_CardId));
            ShowTestCardPicture();
            optAnswer[i]->SetCaption(textOf(*rsCards, meaning));
            rsCards->SetFilter("");
        } else if (row > 0) {
            goToRow(*rsCards, row);
            optAnswer[i]->SetCaption(textOf(*rsCards, meaning));
        } else {
            // too few other cards in the set: the place stays empty
            optAnswer[i]->SetCaption(QString());
            optAnswer[i]->setVisible(false);
            optAnswer[i]->setEnabled(false);
            Shape1[i]->setVisible(false);
        }
    }
    rsCards->SetFilter("");
    return true;
}

// Distinct rows of the card set, none holding the question's card, one per
// decoy place in place order (0 in the correct place, and in the places
// left over when the set has too few other cards).
bool frmMain::drawDecoyRows(int first, int last, int correct, QList<int>& rows)
{
    QPointer<class frmMain> self(this);
    rsCards->SetFilter("");
    const int n = static_cast<int>(rsCards->RecordCount());
    QList<int> ownRows;
    for (int row = 1; row <= n; ++row) {
        goToRow(*rsCards, row);
        if (idOf(*rsCards) == m_CardId)
            ownRows << row;
    }
    int available = n - static_cast<int>(ownRows.size());
    for (int i = first; i <= last; ++i) {
        if (i == correct || available == 0) {
            rows << 0;
            continue;
        }
        rsCards->SetFilter("");
        int r = 0;
        do {
            r = RndBelow(n) + 1;
            DoEvents();
            if (!self || !IsLoaded())
                return false;
        } while (rows.contains(r) || ownRows.contains(r));
        rows << r;
        --available;
    }
    return true;
}

void frmMain::ShowTestCardPicture()
{
    LoadPictureFromField(picResult, *rsCards, "PictureData");
    if (!m_IsReversed)
        return;
    picResult->SetPicture(
        UpsideDownInBox(picResult->Picture(), picResult->size(), picResult->palette().color(QPalette::Window)));
}

void frmMain::optAnswer_Click(int Index)
{
    for (int i = 0; i < 7; ++i)
        if (i != Index)
            optAnswer[i]->SetValue(false);
    cmdNextQuestion->setEnabled(true);
    cmdNextQuestion->setFocus();
}
