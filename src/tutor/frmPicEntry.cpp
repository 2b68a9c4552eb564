#include "frmPicEntry.h"

#include "common/modDB.h"
#include "modImageDB.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "platform/VbError.h"

#include <QFile>
#include <QSqlDatabase>

using Twips::placed;

namespace {
constexpr int CardCount = 78;
constexpr int KeywordsPerCard = 7;

QString cardName() { return rsCards->Value("Name").toString(); }

} // namespace

frmPicEntry::frmPicEntry() : Form("frmPicEntry")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());
    auto* client = new QWidget(this);
    setCentralWidget(client);
    Command4 = placed(new QPushButton("Command4", client), 2520, 1920, 2040, 375);
    Command1 = placed(new QPushButton("Command1", client), 2520, 2400, 2040, 375);
    cmdSetPicture = placed(new QPushButton("SelectPicture", client), 2520, 240, 2040, 375);
    Command3 = placed(new QPushButton("Prev", client), 2520, 720, 2040, 375);
    Command2 = placed(new QPushButton("Next", client), 2520, 1200, 2040, 375);
    Picture1 = placed(new PictureBox(client), 240, 240, 1950, 3375);
    Picture1->setFrameShape(QFrame::Box);
    Label1 = placed(new QLabel("Label1", client), 240, 3720, 4320, 285);
    SetClientSizeTwips(4800, 4200);

    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(cmdSetPicture, &QPushButton::clicked, this, [this] { cmdSetPicture_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

void frmPicEntry::Form_Load()
{
    try {
        OpenConnection(cnLearn, LearnDatabasePath());
        OpenRecordset(rsCards, cnLearn, "SELECT * FROM tblCards");
        rsCards->MoveFirst();
    } catch (const VbError& e) {
        MsgBox("The tutor database " + LearnDatabasePath() + " could not be opened:\r" + e.Description(),
               vbCritical);
        Unload(*this);
        return;
    }
    cdlg.Filter = "All Picture files | *.bmp;*.jpg;*.jpe;*.jpeg;*.gif";
    cdlg.Flags = 0x81A00;
}

void frmPicEntry::showCurrentCard()
{
    if (rsCards->IsEOF() || rsCards->IsBOF())
        return;
    Label1->setText(cardName());
    LoadPictureFromField(Picture1, *rsCards, "PictureData");
}

void frmPicEntry::Command2_Click()
{
    if (!rsCards->IsEOF())
        rsCards->MoveNext();
    showCurrentCard();
}

void frmPicEntry::Command3_Click()
{
    if (!rsCards->IsBOF())
        rsCards->MovePrevious();
    showCurrentCard();
}

void frmPicEntry::cmdSetPicture_Click()
{
    cdlg.FileName = "";
    cdlg.ShowOpen();
    // The dialog hands back one name; of several chosen files the first.
    const QString fileName = cdlg.FileName;
    if (fileName.isEmpty())
        return;
    if (rsCards->IsEOF() || rsCards->IsBOF()) {
        MsgBox("No card is current: choose a card with \"Prev\" or \"Next\" first.", vbExclamation);
        return;
    }
    const QImage picture = LoadPicture(fileName);
    if (picture.isNull()) {
        MsgBox(fileName + " is not a picture that can be shown. The card's picture was not changed.", vbExclamation);
        return;
    }
    if (SavePictureData(fileName))
        Picture1->SetPicture(picture);
}

bool frmPicEntry::SavePictureData(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        MsgBox(fileName + " could not be read: " + file.errorString(), vbExclamation);
        return false;
    }
    // The file's bytes and one more element, left 0.
    QByteArray bytes = file.readAll();
    bytes.append('\0');
    try {
        rsCards->Fields("PictureData").AppendChunk(bytes);
        rsCards->Update();
    } catch (const VbError& e) {
        rsCards->CancelUpdate();
        MsgBox("The picture could not be stored: " + e.Description(), vbExclamation);
        return false;
    }
    return true;
}

bool frmPicEntry::allCardsPresent()
{
    for (int i = 1; i <= CardCount; ++i) {
        rsCards->SetFilter("ID=" + QString::number(i));
        if (rsCards->RecordCount() == 0) {
            rsCards->SetFilter("");
            MsgBox("The card with ID " + QString::number(i) + " is missing from tblCards. No keywords were written.",
                   vbExclamation);
            return false;
        }
    }
    return true;
}

void frmPicEntry::Command4_Click()
{
    try {
        rsCards->MoveFirst();
        RecordsetRef keywords;
        OpenRecordset(keywords, cnLearn, "SELECT * FROM tblKeywords");
        // The running number starts at 1 again: rows already there would collide.
        if (keywords->RecordCount() > 0) {
            MsgBox("tblKeywords already holds keywords. Seeding it again would repeat their Ids, so nothing was "
                   "written.",
                   vbExclamation);
            return;
        }
        if (allCardsPresent())
            seedKeywords(*keywords);
    } catch (const VbError& e) {
        MsgBox("The keywords could not be written: " + e.Description(), vbExclamation);
    }
    rsCards->SetFilter("");
}

void frmPicEntry::seedKeywords(Recordset& keywords)
{
    // All rows or none.
    QSqlDatabase db = cnLearn->Database();
    db.transaction();
    try {
        qint16 id = 1;
        for (int i = 1; i <= CardCount; ++i) {
            rsCards->SetFilter("ID=" + QString::number(i));
            for (int j = 1; j <= KeywordsPerCard; ++j) {
                keywords.AddNew();
                keywords.Fields("Id").SetValue(id);
                keywords.Fields("CardID").SetValue(i);
                keywords.Fields("cardName").SetValue(cardName());
                keywords.Fields("Keyword").SetValue(cardName() + " " + QString::number(j));
                keywords.Update();
                ++id;
            }
        }
    } catch (const VbError&) {
        db.rollback();
        throw;
    }
    db.commit();
}

class frmPicEntry& frmPicEntry() { return Forms::Instance<class frmPicEntry>(); }
