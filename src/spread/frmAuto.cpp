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
#include "spread/AutomaticLayouts.h"
#include "spread/CardPicturePath.h"
#include "spread/SpreadLayoutTable.h"

#include <QPointer>
#include <cmath>

namespace {
constexpr int CelticCrossIndex = 0;
constexpr int CrossingPosition = 1; // p(1): the card laid across the first
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
        // On a dark plate, so that the number reads on light and dark card faces alike.
        lbl[i]->setStyleSheet("color: #ffe45c; background-color: rgba(24, 24, 48, 210); border-radius: 5px;");
        lbl[i]->setAlignment(Qt::AlignCenter);
        Twips::place(lbl[i], i == 6 ? 120 : 0, 0, 615, 495);
        lbl[i]->hide();
        lbl[i]->setEnabled(false);
    }
    Img = new PictureBox(m_canvas);
    Img->hide();

    MakeMdiChild(frmMDI().mdiClient);
    SetChildSizeTwips(9000, 7000);
}

void frmAuto::Form_Load()
{
    QPointer<class frmAuto> self(this);
    MoveTwips(0, 0);
    frmMDI().rtbDisp1->SetText("");
    ReadingState& r = Reading();
    WriteSpreadHeader(QString(r.SelectedSpreadName));

    // The reading options choose one layout of the family (none when both
    // arcana are asked for alone).
    if (r.AutoCastPressed) {
        if (const AutomaticLayout* asked = AutomaticLayoutForOptions(r.MinorArcanaOnly, r.MajorArcanaOnly,
                                                                     r.AllowReversed)) {
            if (asked == &AutomaticLayoutNumber(1))
                DONE1(static_cast<qint16>(r.CardCount));
            else
                layOut(*asked, r.CardCount); // DONE2 … DONE6
        }
    }
    if (!stillLoaded(self))
        return; // the user ended the reading while it was laid out
    if (r.ManualPressed && AutomaticLayoutForOptions(r.MinorArcanaOnly, r.MajorArcanaOnly, r.AllowReversed))
        Clear_PicBox();
}

bool frmAuto::stillLoaded(const QPointer<class frmAuto>& self) { return self && self->IsLoaded(); }

void frmAuto::Form_Unload(int&)
{
    // A picture being turned for this window is no longer wanted.
    RotateAbort = 1;
}

void frmAuto::layOutPlaces(const SpreadLayout& layout)
{
    const int positions = static_cast<int>(layout.positions.size());
    for (int i = 0; i < positions && i < PlaceCount; ++i) {
        p[i]->setVisible(true);
        setPlace(i, layout);
        lbl[i]->setEnabled(true);
        lbl[i]->setVisible(true);
    }
    if (positions == 1)
        lbl[0]->raise();
}

void frmAuto::showPlace(int i, const AutomaticLayout& layout)
{
    p[i]->setVisible(true);
    if (layout.enablesPlaces)
        p[i]->setEnabled(true);
}

void frmAuto::setPlace(int i, const SpreadLayout& places)
{
    p[i]->move(Twips::toPixels(places.positions[i].x()), Twips::toPixels(places.positions[i].y()));
}

void frmAuto::showLabel(int i, int positions)
{
    lbl[i]->setEnabled(true);
    lbl[i]->setVisible(true);
    if (positions == 1)
        lbl[0]->raise(); // the One Card label stands in front of its card
}

QImage frmAuto::cardPicture(qint32 card) const { return LoadPicture(CardPicturePath(card, Reading().DeckLetter)); }

bool frmAuto::isCelticCross() const { return Reading().SelectedSpreadName == SpreadLayoutByIndex(CelticCrossIndex).name; }

void frmAuto::DONE1(qint16 n)
{
    ReadingState& r = Reading();
    if (!r.IsReadingFromFile) {
        layOut(AutomaticLayoutNumber(1), n);
        return;
    }
    r.DrawnCards.ReDim(n);
    // A reopened reading is written and laid out whatever an earlier
    // reading of this run left in the option flags; a spread without a
    // table gets its text and no pictures.
    r.SelectedSpreadName = r.FileSpreadName;
    const SpreadLayout* layout = FindSpreadLayout(n, r.SelectedSpreadName);
    if (layout)
        layOutPlaces(*layout);
    restoreSavedReading(layout != nullptr);
}

void frmAuto::DONE2(qint32 n) { layOut(AutomaticLayoutNumber(2), n); }
void frmAuto::DONE3(qint32 n) { layOut(AutomaticLayoutNumber(3), n); }
void frmAuto::DONE4(qint32 n) { layOut(AutomaticLayoutNumber(4), n); }
void frmAuto::DONE5(qint32 n) { layOut(AutomaticLayoutNumber(5), n); }
void frmAuto::DONE6(qint32 n) { layOut(AutomaticLayoutNumber(6), n); }

void frmAuto::layOut(const AutomaticLayout& layout, qint32 n)
{
    ReadingState& r = Reading();
    r.DrawnCards.ReDim(n); // the previous reading's cards go even when nothing is laid out
    if (layout.startsWithoutReversedCards)
        r.ReversedCards.Erase();
    const bool optionsMatch = r.MinorArcanaOnly == layout.minorArcanaOnly
                              && r.MajorArcanaOnly == layout.majorArcanaOnly
                              && r.AllowReversed == layout.allowReversed;
    // A count, or a count and name, that no spread has lays nothing out.
    const SpreadLayout* places = optionsMatch ? FindSpreadLayout(n, r.SelectedSpreadName) : nullptr;
    if (places && !runBlock(layout, SpreadBlockOf(places->index), *places))
        return;
    finishNewReading();
}

bool frmAuto::runBlock(const AutomaticLayout& layout, const SpreadBlock& block, const SpreadLayout& places)
{
    QPointer<class frmAuto> self(this);
    const ReadingState& r = Reading();
    const int positions = qMin(static_cast<int>(places.positions.size()), static_cast<int>(PlaceCount));
    bool placesSet = false;

    // The picture of position i: the card's own, or for the crossing card
    // the card turned across.
    const auto putPicture = [&](int i) {
        if (i != block.crossingPosition) {
            p[i]->SetPicture(cardPicture(r.DrawnCards(i)));
            return true;
        }
        if (layout.crossingCardFirstShownUpright)
            p[i]->SetPicture(cardPicture(r.DrawnCards(i)));
        if (!turnCrossingCard(i))
            return false;
        p[i]->SetPicture(Img->Picture());
        return true;
    };

    for (const LayoutStep step : layout.stepsFor(block.shape)) {
        switch (step) {
        case LayoutStep::ShowPlacesWithLabels:
            layOutPlaces(places);
            placesSet = true;
            break;
        case LayoutStep::ShowPlaces:
            for (int i = 0; i < positions; ++i)
                showPlace(i, layout);
            break;
        case LayoutStep::ShowLabels:
            for (int i = 0; i < positions; ++i)
                showLabel(i, positions);
            break;
        case LayoutStep::SetPlaces:
            for (int i = 0; i < positions; ++i)
                setPlace(i, places);
            placesSet = true;
            break;
        case LayoutStep::Draw:
            if (!drawCards(layout, positions))
                return false;
            break;
        case LayoutStep::Pictures:
            for (int i = 0; i < positions; ++i) {
                if (!putPicture(i))
                    return false;
            }
            break;
        case LayoutStep::SetPlacesWithPictures:
            for (int i = 0; i < positions; ++i) {
                setPlace(i, places);
                if (!putPicture(i))
                    return false;
            }
            placesSet = true;
            break;
        case LayoutStep::LayCards:
            for (int i = 0; i < positions; ++i) {
                if (!layCard(layout, block, places, i, placesSet))
                    return false;
            }
            break;
        }
    }
    return true;
}

bool frmAuto::drawCards(const AutomaticLayout& layout, int positions)
{
    QPointer<class frmAuto> self(this);
    ReadingState& r = Reading();
    Randomize();
    for (int i = 0; i < positions; ++i) {
        bool refused = true;
        while (refused) {
            DoEvents();
            // The user may have ended the reading meanwhile: stop without
            // touching this window again.
            if (!stillLoaded(self))
                return false;
            CandidateCard = CandidateFor(layout, Rnd());
            refused = layout.wholeArrayRefuses ? IsInArray(CandidateCard, r.DrawnCards)
                                               : drawnBefore(CandidateCard, i);
        }
        r.DrawnCards(i) = CandidateCard;
    }
    return true;
}

bool frmAuto::drawnBefore(qint32 card, int position) const
{
    const IntArray& drawn = Reading().DrawnCards;
    for (int j = 0; j < position; ++j) {
        if (drawn(j) == card)
            return true;
    }
    return false;
}

bool frmAuto::turnCrossingCard(int i)
{
    QPointer<class frmAuto> self(this);
    PictureToRotate = cardPicture(Reading().DrawnCards(i));
    Img->SetPicture(PictureToRotate);
    RotateImage(90);
    return stillLoaded(self);
}

bool frmAuto::layCard(const AutomaticLayout& layout, const SpreadBlock& block, const SpreadLayout& places, int i,
                      bool placeAlreadySet)
{
    QPointer<class frmAuto> self(this);
    ReadingState& r = Reading();
    const int positions = static_cast<int>(places.positions.size());
    const qint32 card = r.DrawnCards(i);
    const bool reversed = LiesReversed(Rnd()); // taken for every position, the crossing card's too

    if (!placeAlreadySet) {
        // Set as soon as it shows, so that no empty place stands anywhere
        // else while its card is turned.
        showPlace(i, layout);
        setPlace(i, places);
    }
    if (i == block.crossingPosition) {
        // Lies across the first card, never reversed.
        if (!turnCrossingCard(i))
            return false;
        showPlace(i, layout);
        p[i]->SetPicture(Img->Picture());
        showLabel(i, positions);
        return true;
    }
    if (!reversed) {
        showPlace(i, layout);
        p[i]->SetPicture(cardPicture(card));
        showLabel(i, positions);
        return true;
    }

    PictureToRotate = cardPicture(card);
    Img->SetPicture(PictureToRotate);
    if (block.reversedCardsTurnedBy == TurnMeans::RotationEngine) {
        RotateImage(180);
        if (!stillLoaded(self))
            return false;
    }
    showPlace(i, layout);
    p[i]->SetPicture(Img->Picture());
    if (block.reversedCardsTurnedBy == TurnMeans::InPlaceFlip)
        RotatePicture180(p[i]);
    showLabel(i, positions);
    r.ReversedCards.Append(card); // grown by one element, or dimensioned (0 To 0) for the first
    return true;
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
    QPointer<class frmAuto> self(this);
    RotateAbort = 0;
    // The engine lets events run while it works: it gets its own copy of the
    // picture, since this window may be unloaded and deleted meanwhile.
    const QImage source = PictureToRotate;
    const QImage turned = RotatePicture(source, RotAngel, RotateCallback, m_rotateBackColour);
    if (!self)
        return; // the window went away while the picture was turned
    m_rotatedPicture = turned;
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
