// The memorise tab of the tutor window: one card of the card set at a time,
// its picture upright and upside down, both meanings and its keywords.
#include "frmMain.h"

#include "UpsideDownCopy.h"
#include "modImageDB.h"
#include "platform/Twips.h"

#include <QPlainTextEdit>

using Twips::placed;

namespace {
constexpr int KeywordsShown = 7;
const QString KeywordSeparator = QStringLiteral(", ");

// Card pictures are 130 by 225 pixels; the boxes show them whole.
constexpr double CardWidth = 1950;
constexpr double CardHeight = 3375;

QPlainTextEdit* readOnlyText(QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    return box;
}
} // namespace

// A field of the current row as text; an empty field gives an empty text.
QString frmMain::textOf(Recordset& rs, const QString& field)
{
    const QVariant value = rs.Value(field);
    return value.isNull() ? QString() : value.toString();
}

void frmMain::buildMemorizePage(QWidget* page)
{
    lblCardNameMemorize = placed(new QLabel("Card Name", page), 240, 120, 4080, 360);
    lblCardNameMemorize->setFont(VerdanaFont(9.75, true));
    picCardMemorize = placed(new PictureBox(page), 240, 600, CardWidth, CardHeight);
    picCardMemorizeReversed = placed(new PictureBox(page), 2400, 600, CardWidth, CardHeight);
    for (PictureBox* box : {picCardMemorize, picCardMemorizeReversed})
        box->SetAutoSize(false);

    placed(new QLabel("Card Meaning :", page), 4560, 120, 6600, 255);
    txtNormalMeaning = placed(readOnlyText(page), 4560, 390, 6600, 1290);
    placed(new QLabel("Reverse Meaning", page), 4560, 1800, 6600, 255);
    txtReverseMeaning = placed(readOnlyText(page), 4560, 2070, 6600, 1290);
    placed(new QLabel("Keywords (same for both)", page), 4560, 3480, 6600, 255);
    txtKeywords = placed(readOnlyText(page), 4560, 3750, 6600, 600);

    cmdPrevious = placed(new QPushButton("<< Previous", page), 240, 4200, 1950, 435);
    cmdNext = placed(new QPushButton("Next >>", page), 2400, 4200, 1950, 435);
    cmdStartTest = placed(new QPushButton("Test Me", page), 9180, 4560, 1980, 435);

    connect(cmdPrevious, &QPushButton::clicked, this, [this] { cmdPrevious_Click(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdStartTest, &QPushButton::clicked, this, [this] { cmdStartTest_Click(); });
}

// Entering the tab: back to the first card of the card set.
void frmMain::restartMemorize()
{
    m_MemIndex = 1;
    if (!rsCards || !rsCards->IsOpen() || rsCards->RecordCount() == 0) {
        clearMemorizePage();
        return;
    }
    rsCards->MoveFirst();
    ShowMemorizeCard();
}

void frmMain::clearMemorizePage()
{
    lblCardNameMemorize->clear();
    picCardMemorize->SetPicture(QImage());
    picCardMemorizeReversed->SetPicture(QImage());
    txtNormalMeaning->clear();
    txtReverseMeaning->clear();
    txtKeywords->clear();
}

void frmMain::ShowMemorizeCard()
{
    if (!rsCards || rsCards->IsEOF() || rsCards->IsBOF()) {
        clearMemorizePage();
        return;
    }
    Recordset& card = *rsCards;
    lblCardNameMemorize->setText(textOf(card, "Name"));
    LoadPictureFromField(picCardMemorize, card, "PictureData");
    picCardMemorizeReversed->SetPicture(UpsideDownInBox(picCardMemorize->Picture(),
                                                        picCardMemorizeReversed->size(),
                                                        picCardMemorizeReversed->palette().color(QPalette::Window)));
    txtNormalMeaning->setPlainText(textOf(card, "NormalMeaning"));
    txtReverseMeaning->setPlainText(textOf(card, "ReversedMeaning"));

    QString keywords;
    try {
        RecordsetRef rs;
        OpenRecordset(rs, cnLearn, "SELECT DISTINCT * FROM tblKeywords WHERE CardID=" + textOf(card, "Id"));
        // the first seven, each followed by the separator; fewer when the card has fewer
        for (int i = 0; i < KeywordsShown && !rs->IsEOF(); ++i) {
            keywords += textOf(*rs, "Keyword") + KeywordSeparator;
            rs->MoveNext();
        }
    } catch (const VbError&) {
        // no keywords to show
    }
    txtKeywords->setPlainText(keywords);
}

void frmMain::cmdNext_Click()
{
    cmdPrevious->setEnabled(true);
    if (rsCards && m_MemIndex < rsCards->RecordCount()) {
        ++m_MemIndex;
        rsCards->MoveNext();
        ShowMemorizeCard();
    } else {
        cmdNext->setEnabled(false);
    }
}

void frmMain::cmdPrevious_Click()
{
    cmdNext->setEnabled(true);
    if (m_MemIndex < 2) {
        cmdPrevious->setEnabled(false);
        return;
    }
    cmdPrevious->setEnabled(true);
    --m_MemIndex;
    rsCards->MovePrevious();
    ShowMemorizeCard();
}
