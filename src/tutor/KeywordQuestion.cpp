// The Keywords question of the tutor's test: the card's own keywords at
// random places among keywords of other cards, and the guard on the number
// of ticked boxes.
#include "frmMain.h"

#include "KeywordDraw.h"
#include "common/ArrayRoutines.h"
#include "platform/MsgBox.h"

#include <QCheckBox>

namespace {
struct Level {
    int lastBox;
    int toChoose; // keywords to tick, minus one
};
constexpr Level Levels[3] = {{6, 2}, {11, 4}, {19, 6}};
} // namespace

// The Keyword of every row of the tutor's keyword table that meets the
// condition, in the order the database returns them; none when the
// statement fails.
QStringList frmMain::keywordsOf(const QString& condition)
{
    QStringList keywords;
    try {
        RecordsetRef rs;
        OpenRecordset(rs, cnLearn, "SELECT DISTINCT * FROM tblKeywords WHERE " + condition);
        for (; !rs->IsEOF(); rs->MoveNext())
            keywords << textOf(*rs, "Keyword");
    } catch (const VbError&) {
    }
    return keywords;
}

void frmMain::BuildKeywordQuestion()
{
    m_IsReversed = false;
    const Level level = Levels[chosenLevel()];
    m_LastKeywordBox = level.lastBox;
    m_KeywordsToChoose = level.toChoose;
    lblMaxKeyword->setText(QString("You must choose %1 keywords").arg(m_KeywordsToChoose + 1));
    for (int i = 0; i < 20; ++i) {
        chkKeywords[i]->setChecked(false);
        const bool visible = i <= m_LastKeywordBox;
        chkKeywords[i]->setEnabled(visible);
        chkKeywords[i]->setVisible(visible);
    }

    rsCards->MoveFirst();
    rsCards->SetFilter(QString("ID=%1").arg(m_CardId));
    lblCardName->setText(textOf(*rsCards, "Name"));
    ShowTestCardPicture();
    PickKeywordSlots();

    const QString id = rsCards->Value("Id").toString();
    const QStringList correct = DrawDistinctKeywords(keywordsOf("CardID=" + id), m_KeywordsToChoose + 1);
    const QStringList decoys = DrawDistinctKeywords(keywordsOf("Not CardID=" + id), m_LastKeywordBox + 1, correct);
    for (int i = 0; i <= m_LastKeywordBox; ++i)
        chkKeywords[i]->setText(i < decoys.size() ? decoys.at(i) : QString());

    // A card with fewer distinct keywords than asked for has fewer correct
    // places: the places without a keyword of the card keep their decoy.
    m_CorrectPos.ReDimPreserve(static_cast<int>(correct.size()) - 1);
    for (int j = 0; j < correct.size(); ++j)
        chkKeywords[m_CorrectPos(j)]->setText(correct.at(j));
    rsCards->SetFilter("");
}

void frmMain::PickKeywordSlots()
{
    m_CorrectPos.ReDim(m_KeywordsToChoose);
    for (int j = 0; j <= m_KeywordsToChoose; ++j)
        m_CorrectPos(j) = -1;
    for (int j = 0; j <= m_KeywordsToChoose; ++j) {
        int p = 0;
        do
            p = RndBelow(m_LastKeywordBox + 1);
        while (IsInArray(p, m_CorrectPos));
        m_CorrectPos(j) = p;
    }
    for (int i = 0; i <= m_LastKeywordBox; ++i)
        chkKeywords[i]->setText(QString());
}

void frmMain::chkKeywords_Click(int Index)
{
    int ticked = 0;
    for (int i = 0; i <= m_LastKeywordBox && i < 20; ++i)
        if (chkKeywords[i]->isChecked())
            ++ticked;
    const int k = m_KeywordsToChoose + 1;
    if (ticked == k) {
        cmdNextQuestion->setEnabled(true);
        cmdNextQuestion->setFocus();
    } else if (ticked > k) {
        chkKeywords[Index]->setChecked(false);
        MsgBox(QString("You can select only %1 keywords.\r\nPlease unselect one before selecting another keyword").arg(k),
               vbExclamation);
    } else {
        cmdNextQuestion->setEnabled(false);
    }
}
