#include "frmAuto.h"

#include "app/frmAbout.h"
#include "app/frmMDI.h"
#include "common/ArrayRoutines.h"
#include "common/PageLaunchers.h"
#include "imaging/RotatePicture.h"
#include "platform/Events.h"
#include "platform/Forms.h"
#include "platform/Rnd.h"
#include "platform/Twips.h"
#include "reading/CardMeanings.h"
#include "reading/ReadingState.h"
#include "reading/SpreadHeader.h"
#include "reading/frmFront.h"
#include "spread/CardPicturePath.h"
#include "spread/SpreadLayoutTable.h"

#include <QPointer>
#include <cmath>

namespace {
constexpr int CelticCrossIndex = 0;
constexpr int CrossingPosition = 1; // p(1): the card laid across the first
constexpr int CardsInDraw = 77;     // a new reading draws from 0..76
} // namespace

frmAuto::frmAuto() : Form("frmAuto")
{
    SetCaption("Arcavell Pro Software v1.85");
    m_scroll = new QScrollArea(this);
    m_canvas = new QWidget;
    m_canvas->resize(Twips::toPixels(16005), Twips::toPixels(27225));
    m_scroll->setWidget(m_canvas);
    setCentralWidget(m_scroll);

    QFont numbers("Arial Black");
    numbers.setStyleHint(QFont::SansSerif);
    numbers.setPointSizeF(14.25);
    numbers.setBold(true);
    for (int i = 0; i < PlaceCount; ++i) {
        p[i] = new PictureBox(m_canvas);
        p[i]->setObjectName(QString("p%1").arg(i));
        Twips::place(p[i], 0, 0, 1200, 500);
        p[i]->hide();
        lbl[i] = new QLabel(QString::number(i + 1), p[i]);
        lbl[i]->setFont(numbers);
        lbl[i]->setStyleSheet("color: #f4d35e; background: transparent;");
        Twips::place(lbl[i], i == 6 ? 120 : 0, 0, 615, 495);
        lbl[i]->hide();
        lbl[i]->setEnabled(false);
    }
    Img = new PictureBox(m_canvas);
    Img->hide();

    MakeMdiChild(frmMDI().mdiClient);
    MdiSubWindow()->resize(Twips::toPixels(9000), Twips::toPixels(7000));
}

void frmAuto::Form_Load()
{
    MoveTwips(0, 0);
    frmMDI().rtbDisp1->SetText("");
    ReadingState& r = Reading();
    WriteSpreadHeader(QString(r.SelectedSpreadName));

    const bool minor = r.MinorArcanaOnly, major = r.MajorArcanaOnly, reversed = r.AllowReversed;
    const bool oneOfTheSixRows = !(minor && major);
    if (r.AutoCastPressed && !minor && !major && !reversed)
        DONE1(static_cast<qint16>(r.CardCount));
    if (!IsLoaded())
        return; // the user ended the reading while it was laid out
    if (r.ManualPressed && oneOfTheSixRows)
        Clear_PicBox();
}

void frmAuto::layOutPlaces(const SpreadLayout& layout)
{
    for (int i = 0; i < layout.positions.size() && i < PlaceCount; ++i) {
        p[i]->setVisible(true);
        p[i]->move(Twips::toPixels(layout.positions[i].x()), Twips::toPixels(layout.positions[i].y()));
        lbl[i]->setEnabled(true);
        lbl[i]->setVisible(true);
    }
    if (layout.positions.size() == 1)
        lbl[0]->raise();
}

QImage frmAuto::cardPicture(qint32 card) const { return LoadPicture(CardPicturePath(card, Reading().DeckLetter)); }

bool frmAuto::isCelticCross() const { return Reading().SelectedSpreadName == SpreadLayoutByIndex(CelticCrossIndex).name; }

void frmAuto::DONE1(qint16 n)
{
    ReadingState& r = Reading();
    r.DrawnCards.ReDim(n);
    if (r.IsReadingFromFile) {
        // A reopened reading is written and laid out whatever an earlier
        // reading of this run left in the option flags; a spread without a
        // table gets its text and no pictures.
        r.SelectedSpreadName = r.FileSpreadName;
        const SpreadLayout* layout = FindSpreadLayout(n, r.SelectedSpreadName);
        if (layout)
            layOutPlaces(*layout);
        restoreSavedReading(layout != nullptr);
        return;
    }
    const bool noOptions = !r.MinorArcanaOnly && !r.MajorArcanaOnly && !r.AllowReversed;
    const SpreadLayout* layout = noOptions ? FindSpreadLayout(n, r.SelectedSpreadName) : nullptr;
    if (layout) {
        layOutPlaces(*layout);
        QPointer<class frmAuto> self(this);
        if (!drawNewReading(n) || !self)
            return;
        showDrawnPictures(n, layout->index == CelticCrossIndex);
        if (!self || !IsLoaded())
            return;
    }
    finishNewReading();
}

bool frmAuto::drawNewReading(int n)
{
    QPointer<class frmAuto> self(this);
    ReadingState& r = Reading();
    Randomize();
    for (int i = 0; i < n; ++i) {
        do {
            DoEvents();
            // The user may have ended the reading meanwhile: stop without
            // touching this window again.
            if (!self || !self->IsLoaded())
                return false;
            CandidateCard = static_cast<qint32>(std::floor(Rnd() * CardsInDraw));
        } while (IsInArray(CandidateCard, r.DrawnCards));
        r.DrawnCards(i) = CandidateCard;
    }
    return true;
}

void frmAuto::showDrawnPictures(int n, bool turnCrossingCard)
{
    QPointer<class frmAuto> self(this);
    const ReadingState& r = Reading();
    for (int i = 0; i < n; ++i) {
        p[i]->SetPicture(cardPicture(r.DrawnCards(i)));
        if (turnCrossingCard && i == CrossingPosition) {
            PictureToRotate = cardPicture(r.DrawnCards(CrossingPosition));
            Img->SetPicture(PictureToRotate);
            RotateImage(90);
            if (!self || !IsLoaded())
                return;
            p[CrossingPosition]->SetPicture(Img->Picture());
        }
    }
}

void frmAuto::finishNewReading()
{
    ReadingState& r = Reading();
    WriteCardMeanings(r.DrawnCards, r.ReversedCards);
    frmMDI().rtbDisp1->SetSelStart(0);
}

void frmAuto::restoreSavedReading(bool showPictures)
{
    QPointer<class frmAuto> self(this);
    ReadingState& r = Reading();
    frmMDI().rtbDisp1->SetText("");
    WriteSpreadHeader(r.FileSpreadName);
    WriteCardMeanings(r.FileCards, r.FileReversedCards);

    const int last = showPictures && r.FileCards.HasBounds() ? r.FileCards.UBound() - 1 : -1;
    for (int i = 0; i <= last && i < PlaceCount; ++i) {
        const qint32 c = r.FileCards(i);
        QImage picture = cardPicture(c);
        // A reopened Celtic Cross looks as it did: the crossing card lies across.
        if (i == CrossingPosition && isCelticCross()) {
            PictureToRotate = picture;
            RotateImage(90);
            if (!self || !IsLoaded())
                return;
            picture = Img->Picture();
        }
        if (IsInArray(c, r.FileReversedCards)) {
            PictureToRotate = picture;
            Img->SetPicture(PictureToRotate);
            p[i]->SetPicture(Img->Picture());
            RotatePicture180(p[i]);
        } else {
            p[i]->SetPicture(picture);
        }
    }
    // The reopened reading is the reading now: saving it again writes the same file.
    r.DrawnCards = r.FileCards;
    r.ReversedCards = r.FileReversedCards;
    r.IsReadingFromFile = false;
}

void frmAuto::RotateImage(double RotAngel)
{
    RotateAbort = 0;
    m_rotatedPicture = RotatePicture(PictureToRotate, RotAngel, RotateCallback, m_rotateBackColour);
    Img->SetPicture(m_rotatedPicture);
}

void frmAuto::Clear_PicBox()
{
    for (int i = 0; i <= 9; ++i)
        p[i]->SetPicture(QImage());
}

void frmAuto::GoBackToFront()
{
    Unload(frmMDI());
    frmFront().Show();
}

void frmAuto::ShowAboutBox() { frmAbout().Show(vbModal); }
void frmAuto::SpreadDonateLink() { OpenDonatePage(); }
void frmAuto::SpreadHelpLink() { OpenHelpPage(); }
void frmAuto::SpreadUpdateLink() { OpenDownloadPage(); }

class frmAuto& frmAuto() { return Forms::Instance<class frmAuto>(); }
