#include "frmManual.h"

#include "app/frmAbout.h"
#include "app/frmMDI.h"
#include "common/ArrayRoutines.h"
#include "common/PageLaunchers.h"
#include "common/Shutdown.h"
#include "imaging/RotatePicture.h"
#include "manual/ManualTexts.h"
#include "platform/App.h"
#include "platform/Events.h"
#include "platform/Forms.h"
#include "platform/Rnd.h"
#include "platform/Twips.h"
#include "reading/CardMeanings.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"
#include "reading/frmFront.h"
#include "reading/frmTarot.h"
#include "spread/CardPicturePath.h"
#include "spread/SpreadLayoutTable.h"
#include "spread/frmAuto.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include <cmath>

namespace {
const QColor Blue(0, 0, 255);
const QColor White(255, 255, 255);
const QColor ButtonBack(255, 224, 192);

constexpr int PauseBeforeDrawing = 3000; // milliseconds
constexpr int BacksPerRow = 13;
constexpr int CelticCrossIndex = 0;
constexpr int CrossingPosition = 1; // the card laid across the first one

// The design size of the diagram box, in twips.
constexpr double DiagramLeft = 90, DiagramTop = 480, DiagramWidth = 2415, DiagramHeight = 4095;

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    return l;
}

// The cards a draw takes from: the first card number and how many.
struct CardSet {
    qint32 first;
    qint32 count;
};

CardSet cardSetOf(bool majorOnly, bool minorOnly)
{
    if (majorOnly)
        return {0, 22};
    if (minorOnly)
        return {22, 56};
    return {0, 78};
}

// One of count values from first on: Int(r * count), with r the next random number.
qint32 drawFrom(const CardSet& set)
{
    return set.first + static_cast<qint32>(std::floor(static_cast<double>(Rnd()) * set.count));
}

// A card lies reversed when r * 10, rounded to the nearest whole number
// (halves to the even one), is odd.
bool drawReversal()
{
    const double tenths = static_cast<double>(Rnd()) * 10.0;
    return static_cast<long>(std::nearbyint(tenths)) % 2 != 0;
}

QImage cardPicture(qint32 card) { return LoadPicture(CardPicturePath(card, Reading().DeckLetter)); }
} // namespace

frmManual::frmManual() : Form("frmManual")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());
    auto* client = new QWidget(this);
    setCentralWidget(client);
    buildControls(client);
    buildMenus();
    SetClientSizeTwips(7560, 6360);
}

void frmManual::buildControls(QWidget* client)
{
    Label6 = Twips::placed(new LinkLabel("Join other tarot readers in our online forum - share your spreads and visit the "
                                  "Arcavell web site!",
                                  client),
                    1005, 60, 5550, 465);
    QFont underlined = VerdanaFont();
    underlined.setUnderline(true);
    Label6->setFont(underlined);
    SetColor(Label6, QPalette::WindowText, Blue);
    SetBackground(Label6, White);
    Label6->setCursor(Qt::PointingHandCursor);

    picManual = Twips::placed(new PictureBox(client), DiagramLeft, DiagramTop, DiagramWidth, DiagramHeight);

    // The carrier of turned pictures lies under the frame of backs.
    Img = Twips::placed(new PictureBox(client), 2640, 3540, 1095, 1095);
    Img->hide();

    fraPictures = Twips::placed(new QGroupBox(client), 2520, 540, 5055, 4035);
    const QImage back = CardBackPicture(Twips::toPixels(350), Twips::toPixels(600));
    for (int i = 0; i < BackCount; ++i) {
        p[i] = Twips::placed(new CardBack(fraPictures), 90 + 375 * (i % BacksPerRow), 180 + 630 * (i / BacksPerRow), 350,
                      600);
        p[i]->setObjectName(QString("p%1").arg(i));
        p[i]->SetPicture(back);
        p[i]->setCursor(Qt::PointingHandCursor);
        p[i]->Click = [this, i] { p_Click(i); };
    }

    txtDisp = Twips::placed(new PromptBox(client), 90, 4620, 7395, 1245);
    txtDisp->setFont(VerdanaFont(9.75, true));
    txtDisp->setReadOnly(true);

    picMessage = Twips::placed(new QFrame(client), 1133, 2693, 5295, 975);
    picMessage->setFrameShape(QFrame::Box);
    SetBackground(picMessage, White);
    Label1 = Twips::placed(label("Please Wait ...", picMessage), 60, 60, 5175, 840);
    Label1->setFont(VerdanaFont(14.25, true));
    Label3 = Twips::placed(label("Arcavell Reading Software is generating the Tarot result....", picMessage), 90, 360,
                    5115, 555);
    Label2 = Twips::placed(label("Arcavell Reading Software is generating the Tarot result....", picMessage), 90, 360,
                    5115, 555);
    for (QLabel* l : {Label3, Label2})
        l->setFont(VerdanaFont(9.75));
    for (QLabel* l : {Label1, Label3, Label2}) {
        SetColor(l, QPalette::WindowText, Blue);
        SetBackground(l, White);
    }
    picMessage->hide();

    picTmp = Twips::placed(new PictureBox(client), 270, 5220, 2025, 465);
    picTmp->hide();

    QFont buttons("MS Sans Serif");
    buttons.setStyleHint(QFont::SansSerif);
    buttons.setPointSizeF(8.25);
    cmdCancel = Twips::placed(new QPushButton("Exit", client), 5370, 5940, 1095, 375);
    cmdBack = Twips::placed(new QPushButton("Back", client), 6510, 5940, 975, 375);
    for (QPushButton* b : {cmdCancel, cmdBack}) {
        b->setFont(buttons);
        SetColor(b, QPalette::Button, ButtonBack);
    }

    connect(Label6, &LinkLabel::Click, this, [this] { Label6_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
}

void frmManual::buildMenus()
{
    mnuFile = menuBar()->addMenu("&File");
    mnuStart = AddMenuItem(mnuFile, "&Start Again", this, [this] { mnuStart_Click(); });
    mnuFile->addSeparator();
    mnuExit = AddMenuItem(mnuFile, "&Exit", this, [this] { mnuExit_Click(); });

    const HelpMenuItems help = AddHelpMenu(
        menuBar(), this, [this] { mnuOnline_Click(); }, [this] { mnuVisit_Click(); },
        [this] { mnuUpdate_Click(); }, [this] { mnuAbout_Click(); });
    mnuHelp = help.menu;
    mnuOnline = help.online;
    mnuVisit = help.visit;
    mnuUpdate = help.update;
    mnuAbout = help.about;

    mnuDona = AddMenuBarItem(menuBar(), "Donate", this, [this] { mnuDona_Click(); });
    mnuMakeMoney = AddMenuBarItem(menuBar(), "Make Money &Online", this, [this] { mnuMakeMoney_Click(); });
}

void frmManual::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void frmManual::Form_Load()
{
    ReadingState& r = Reading();
    r.IsManualReading = true;

    // The spread choice is still loaded and says which spread was chosen;
    // without it the reading state says the same.
    if (Forms::IsLoaded("frmTarot")) {
        const class frmTarot& choice = frmTarot();
        SpreadName = choice.card;
        SpreadIndex = choice.MaxCardInSet;
    } else {
        SpreadName = r.SelectedSpreadName;
        SpreadIndex = static_cast<qint16>(r.SelectedSpreadIndex);
    }

    ShowCardInfo("0");

    if (SpreadIndex >= 0 && SpreadIndex < SpreadCount())
        PickedCards.ReDim(SpreadTable(SpreadIndex).Cards - 1);

    // The frame window stays hidden while the cards are picked.
    if (Forms::IsLoaded("frmMDI"))
        frmMDI().SetVisible(false);
    centreOnScreen();
    Show();

    SpreadName = r.SelectedSpreadName;
    ReversedAllowed = r.AllowReversed;
    MinorOnly = r.MinorArcanaOnly;
    MajorOnly = r.MajorArcanaOnly;

    showBacksOfCardSet();
    showDiagram();
    PickCount = 0;
}

void frmManual::showBacksOfCardSet()
{
    // One back per card of the set, always the first ones of the grid: a
    // back stands for no particular card.
    int shown = BackCount;
    if (MajorOnly)
        shown = 22;
    else if (MinorOnly)
        shown = 56;
    for (int i = shown; i < BackCount; ++i) {
        p[i]->setEnabled(false);
        p[i]->setVisible(false);
    }
}

void frmManual::showDiagram()
{
    if (SpreadIndex < 0 || SpreadIndex >= SpreadCount())
        return;
    // A diagram that is missing or unreadable leaves the box empty.
    picManual->SetPicture(QImage());
    picManual->SetPicture(LoadPicture(App::FilePath(SpreadDiagramPath(SpreadIndex))));
    Twips::place(picManual, DiagramLeft, DiagramTop, DiagramWidth, DiagramHeight);
}

void frmManual::ShowCardInfo(const QString& I)
{
    bool isNumber = false;
    const double position = I.toDouble(&isNumber);
    if (!isNumber || position != std::floor(position) || position < 0 || position > 32767)
        return;
    const std::optional<QString> prompt = PositionPrompt(SpreadName, static_cast<int>(position));
    if (prompt)
        txtDisp->SetText(*prompt);
}

void frmManual::p_Click(int Index)
{
    // Once the last pick has started the draw, further clicks are ignored:
    // the draw lets window events run, and a second draw must not start
    // inside the first.
    if (m_drawing || !IsLoaded() || Index < 0 || Index >= BackCount)
        return;
    // A back is picked once; the backs outside the card set cannot be picked.
    if (!p[Index]->isEnabled() || p[Index]->isHidden())
        return;
    if (!PickedCards.HasBounds())
        return; // no spread to pick for

    p[Index]->setVisible(false);
    p[Index]->setEnabled(false);
    if (PickCount < PickedCards.UBound()) {
        PickedCards(PickCount) = Index;
        ++PickCount;
        ShowCardInfo(QString::number(PickCount));
        return;
    }
    drawReading();
}

void frmManual::drawReading()
{
    QPointer<class frmManual> self(this);
    m_drawing = true;

    picMessage->setVisible(true);
    picMessage->raise();
    RepaintNow(this);
    Sleep(PauseBeforeDrawing);
    if (!self || !IsLoaded())
        return;

    // A spread window left over from an unfinished reading would keep its
    // cards and text: the reading starts from a fresh one.
    if (Forms::IsLoaded("frmAuto"))
        Unload(frmAuto());

    const int last = PickedCards.UBound();
    for (DrawIndex = 0; DrawIndex <= last; ++DrawIndex) {
        qint16 i = DrawIndex;
        if (!DrawAndPlaceCard(i)) {
            // The user left the window meanwhile ("Back", "&Start Again",
            // "Exit"): its unloading has taken the unfinished reading back.
            // Should the spread window have gone while this window stays,
            // the reading cannot be shown: it is taken back and the reading
            // starts again from the querent's details, as after "Back".
            if (self && IsLoaded()) {
                abandonDraw();
                cmdBack_Click();
            }
            return;
        }
    }

    QPointer<class frmAuto> spread = m_spread;
    if (spread && spread->IsLoaded()) {
        spread->Show();
        spread->MoveTwips(0, 0);
    }
    frmMDI().Show();
    ReadingState& r = Reading();
    WriteCardMeanings(r.DrawnCards, r.ReversedCards);
    frmMDI().rtbDisp1->SetSelStart(0);
    frmMDI().SetVisible(true);
    m_drawFinished = true;
    Unload(*this);
}

class frmAuto* frmManual::spreadWindow()
{
    if (!m_spreadTouched) {
        // The first touch loads the spread window: its load writes the
        // spread's header into the frame window's result text.
        m_spreadTouched = true;
        m_spread = &frmAuto();
    }
    if (!m_spread || !m_spread->IsLoaded())
        return nullptr;
    return m_spread.data();
}

bool frmManual::DrawAndPlaceCard(qint16& i)
{
    QPointer<class frmManual> self(this);
    ReadingState& r = Reading();

    Randomize();
    const CardSet set = cardSetOf(MajorOnly, MinorOnly);

    // One element more for this position; it is not yet a card.
    if (!IsArrayDimmed(r.DrawnCards))
        r.DrawnCards.ReDim(0);
    else
        r.DrawnCards.ReDimPreserve(r.DrawnCards.UBound() + 1);
    const int slot = r.DrawnCards.UBound();

    // A card not drawn for an earlier position of this reading.
    const auto drawnBefore = [&r, slot](qint32 card) {
        for (int k = 0; k < slot; ++k)
            if (r.DrawnCards(k) == card)
                return true;
        return false;
    };
    do {
        DoEvents();
        if (!self || !IsLoaded())
            return false;
        CandidateCard = drawFrom(set);
    } while (drawnBefore(CandidateCard));
    r.DrawnCards(slot) = CandidateCard;
    const qint32 card = CandidateCard;

    class frmAuto* spread = spreadWindow();
    if (!self || !IsLoaded() || !spread)
        return false;
    if (i < 0 || i >= frmAuto::PlaceCount)
        return true; // the spread window has no place for it

    bool reversed = false;
    if (!ReversedAllowed) {
        spread->p[i]->SetPicture(cardPicture(card));
    } else {
        reversed = drawReversal();
        if (!reversed) {
            spread->p[i]->SetPicture(cardPicture(card));
        } else {
            PictureToRotate = cardPicture(card);
            Img->SetPicture(PictureToRotate);
            RotateImage(180);
            if (!self || !IsLoaded() || !(spread = spreadWindow()))
                return false;
            picTmp->SetPicture(Img->Picture());
            spread->p[i]->SetPicture(picTmp->Picture());
            r.ReversedCards.Append(card);
        }
    }

    if (r.SelectedSpreadIndex >= 0 && r.SelectedSpreadIndex < SpreadLayoutCount)
        return SetPicPlacement(r.SelectedSpreadIndex, i);
    return true;
}

bool frmManual::SetPicPlacement(int spreadIndex, qint16 picIndex)
{
    QPointer<class frmManual> self(this);
    class frmAuto* spread = spreadWindow();
    if (!spread || picIndex < 0 || picIndex >= frmAuto::PlaceCount)
        return spread != nullptr;
    const ReadingState& r = Reading();

    // Exactly where the automatic layout puts the same position.
    const SpreadLayout& layout = SpreadLayoutByIndex(spreadIndex);
    if (picIndex < layout.positions.size()) {
        const QPointF spot = layout.positions.at(picIndex);
        spread->p[picIndex]->move(Twips::toPixels(spot.x()), Twips::toPixels(spot.y()));

        if (const std::optional<QString> note = PlacementNote(spreadIndex, picIndex))
            txtDisp->SetText(*note);

        if (spreadIndex == CelticCrossIndex && picIndex == CrossingPosition) {
            // The crossing card lies across the first one: its upright
            // picture turned a quarter.
            const qint32 card = r.DrawnCards(DrawIndex);
            PictureToRotate = cardPicture(card);
            Img->SetPicture(PictureToRotate);
            RotateImage(90);
            if (!self || !IsLoaded() || !(spread = spreadWindow()))
                return false;
            spread->p[picIndex]->SetPicture(Img->Picture());
            // A reversed crossing card is shown crosswise and upside down,
            // as a saved reading shows it when it is opened again.
            if (IsInArray(card, r.ReversedCards))
                RotatePicture180(spread->p[picIndex]);
            Img->SetPicture(p[picIndex]->Picture());
            Img->setVisible(false);
        }
    }

    spread->lbl[picIndex]->setEnabled(true);
    spread->lbl[picIndex]->setVisible(true);
    spread->p[picIndex]->setEnabled(true);
    spread->p[picIndex]->setVisible(true);
    return true;
}

void frmManual::RotateImage(double RotAngel)
{
    QPointer<class frmManual> self(this);
    // The engine lets window events run once per column; should this window
    // be unloaded meanwhile, the turn stops and nothing of it is touched.
    RotateAbort = 0;
    const QImage source = PictureToRotate;
    const RotateProgress progress = [self](double fraction, qint32 done, qint32 total) -> qint16 {
        const qint16 abort = RotateCallback(fraction, done, total);
        return (self && self->IsLoaded()) ? abort : qint16(1);
    };
    const QImage turned = RotatePicture(source, RotAngel, progress, qRgb(0, 0, 0));
    if (!self)
        return;
    m_rotatedPicture = turned;
    Img->SetPicture(m_rotatedPicture);
}

void frmManual::abandonDraw()
{
    if (!m_drawing || m_drawFinished)
        return;
    m_drawFinished = true;
    // The cards drawn so far are no reading.
    ReadingState& r = Reading();
    r.DrawnCards.Erase();
    r.ReversedCards.Erase();
    // The spread window and the result text this draw began are taken back,
    // so the next reading starts from a fresh spread window.
    if (m_spreadTouched) {
        if (m_spread && m_spread->IsLoaded())
            Unload(*m_spread);
        if (Forms::IsLoaded("frmMDI"))
            frmMDI().rtbDisp1->SetText("");
    }
}

void frmManual::Form_QueryUnload(int&, int unloadMode) { m_unloadMode = unloadMode; }

void frmManual::Form_Unload(int&)
{
    abandonDraw();
    // The close box ends the program; "Back" and the end of the draw leave
    // the other windows loaded.
    if (m_unloadMode == vbFormControlMenu)
        UnloadAllForms();
}

void frmManual::cmdBack_Click()
{
    Unload(*this);
    frmFront().Show();
}

void frmManual::cmdCancel_Click() { UnloadAllForms(); }

void frmManual::mnuOnline_Click() { OpenHelpPage(); }
void frmManual::mnuVisit_Click() { OpenHomePage(); }
void frmManual::mnuUpdate_Click() { OpenDownloadPage(); }
void frmManual::mnuAbout_Click() { frmAbout().Show(vbModal); }
void frmManual::mnuDona_Click() { OpenDonatePage(); }
void frmManual::mnuMakeMoney_Click() { OpenFullBrandPage(); }
void frmManual::Label6_Click() { OpenHomePage(); }

class frmManual& frmManual() { return Forms::Instance<class frmManual>(); }
