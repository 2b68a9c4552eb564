#include "frmTarot.h"

#include "app/frmAbout.h"
#include "common/PageLaunchers.h"
#include "common/Shutdown.h"
#include "manual/frmManual.h"
#include "platform/App.h"
#include "platform/Events.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"
#include "reading/frmFront.h"
#include "spread/frmAuto.h"

#include <QLinearGradient>
#include <QMenuBar>
#include <QPixmap>
#include <QScopedValueRollback>

namespace {
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);
const QColor ButtonBack(255, 224, 192);

constexpr int PauseBeforeCasting = 3000; // milliseconds

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}
} // namespace

frmTarot::frmTarot() : Form("frmTarot")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());
    auto* client = new QWidget(this);
    setCentralWidget(client);

    // The window's background picture: a soft parchment wash.
    QLinearGradient wash(0, 0, 0, Twips::toPixels(5370));
    wash.setColorAt(0, QColor(253, 246, 232));
    wash.setColorAt(1, QColor(236, 220, 196));
    QPalette background = client->palette();
    background.setBrush(QPalette::Window, QBrush(wash));
    client->setPalette(background);
    client->setAutoFillBackground(true);

    buildControls(client);
    buildMenus();
    SetClientSizeTwips(8880, 5370);
}

void frmTarot::buildControls(QWidget* client)
{
    Label6 = Twips::placed(new LinkLabel("Talk about your readings with tarot lovers in our online forum - come and "
                                  "visit the Arcavell web site!",
                                  client),
                    1710, 30, 5460, 465);
    QFont underlined = VerdanaFont();
    underlined.setUnderline(true);
    Label6->setFont(underlined);
    SetColor(Label6, QPalette::WindowText, Blue);
    SetBackground(Label6, White);
    Label6->setCursor(Qt::PointingHandCursor);

    lblInfo = Twips::placed(label(QString(), client), 150, 570, 8625, 285);
    SetColor(lblInfo, QPalette::WindowText, Blue);

    txtQ = Twips::placed(new QPlainTextEdit(client), 120, 960, 5055, 495);
    txtQ->setReadOnly(true);
    txtQ->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetColor(txtQ, QPalette::Text, Blue);

    Label4[0] = Twips::placed(label("Select Deck", client), 5280, 960, 1140, 195);
    cboCards = Twips::placed(new QComboBox(client), 5280, 1215, 3495, 315);
    Label4[1] = Twips::placed(label("Select Spread", client), 5280, 1590, 1350, 195);
    for (QLabel* heading : Label4) {
        heading->setFont(VerdanaFont(8.25, true));
        SetColor(heading, QPalette::WindowText, Red);
    }
    lstOption = Twips::placed(new QListWidget(client), 5280, 1845, 3495, 1425);
    lstOption->setSelectionMode(QAbstractItemView::SingleSelection);

    txtDisp = Twips::placed(new QPlainTextEdit(client), 120, 1530, 2775, 3735);
    txtDisp->setReadOnly(true);
    txtDisp->setFont(VerdanaFont(8.25, true));

    pctCard = Twips::placed(new QLabel(client), 3000, 1530, 2175, 3735);
    pctCard->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pctCard->setFrameShape(QFrame::StyledPanel);

    frmArcane = Twips::placed(new QGroupBox("Select One Option", client), 5280, 3330, 3495, 615);
    chkHA = Twips::placed(new QCheckBox("Major Arcana", frmArcane), 240, 240, 1455, 255);
    chkLA = Twips::placed(new QCheckBox("Minor Arcana", frmArcane), 1800, 240, 1455, 255);

    // Only the box shows; the label beside it carries the text.
    chkRev = Twips::placed(new QCheckBox("Allow Reverse Cards", client), 6000, 3990, 225, 195);
    Label3 = Twips::placed(label("Allow Reverse Cards", client), 6300, 3990, 1995, 195);
    Label3->setFont(VerdanaFont(8.25, true));

    cmdManual = Twips::placed(new QPushButton("Manual", client), 5430, 4410, 1575, 375);
    cmdAuto = Twips::placed(new QPushButton("AutoCast", client), 7200, 4410, 1575, 375);
    cmdBack = Twips::placed(new QPushButton("Back", client), 5430, 4890, 1575, 375);
    cmdCancel = Twips::placed(new QPushButton("Exit", client), 7200, 4890, 1575, 375);
    for (QPushButton* b : {cmdManual, cmdAuto, cmdBack, cmdCancel})
        SetColor(b, QPalette::Button, ButtonBack);

    // The wait panel: red, showing as a narrow frame around its two labels.
    picMessage = Twips::placed(new QFrame(client), 1860, 1860, 5295, 975);
    SetBackground(picMessage, Red);
    Label1 = Twips::placed(label("Please Wait ...", picMessage), 60, 60, 5175, 840);
    Label1->setFont(VerdanaFont(14.25, true));
    Label2 = Twips::placed(label("Arcavell Reading Software is generating the Tarot result....", picMessage), 90, 360,
                    5115, 555);
    Label2->setFont(VerdanaFont(9.75));
    Label2->setWordWrap(true);
    for (QLabel* l : {Label1, Label2}) {
        SetColor(l, QPalette::WindowText, Blue);
        SetBackground(l, White);
    }
    picMessage->hide();
    picMessage->raise();

    connect(Label6, &LinkLabel::Click, this, [this] { Label6_Click(); });
    connect(lstOption, &QListWidget::itemSelectionChanged, this, [this] {
        // A spread stays selected: a control-click cannot leave the list without one.
        if (spreadListIndex() < 0 && lstOption->currentItem()) {
            lstOption->currentItem()->setSelected(true); // runs this again
            return;
        }
        lstOption_Click();
    });
    connect(cboCards, &QComboBox::currentIndexChanged, this, [this] { cboCards_Click(); });
    connect(chkHA, &QCheckBox::stateChanged, this, [this] { chkHA_Click(); });
    connect(chkLA, &QCheckBox::stateChanged, this, [this] { chkLA_Click(); });
    connect(chkRev, &QCheckBox::stateChanged, this, [this] { chkRev_Click(); });
    connect(cmdAuto, &QPushButton::clicked, this, [this] {
        const QScopedValueRollback pressed(m_cmdAutoValue, true);
        cmdAuto_Click();
    });
    connect(cmdManual, &QPushButton::clicked, this, [this] {
        const QScopedValueRollback pressed(m_cmdManualValue, true);
        cmdManual_Click();
    });
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmTarot::buildMenus()
{
    mnuFile = menuBar()->addMenu("&File");
    mnuSpread = mnuFile->addMenu("&Choose Scenario");
    const auto scenario = [&](int spread, auto handler) {
        QAction* a = AddMenuItem(mnuSpread, SpreadTable(spread).MenuCaption, this, handler);
        a->setObjectName(SpreadTable(spread).MenuItem);
        return a;
    };
    mnuCeltic = scenario(0, [this] { mnuCeltic_Click(); });
    mnuOne = scenario(1, [this] { mnuOne_Click(); });
    mnuTwo = scenario(2, [this] { mnuTwo_Click(); });
    mnyThree = scenario(3, [this] { mnyThree_Click(); });
    mnuEliphas = scenario(4, [this] { mnuEliphas_Click(); });
    mnuLine = scenario(5, [this] { mnuLine_Click(); });
    mnuSeven = scenario(6, [this] { mnuSeven_Click(); });
    mnuFour = scenario(7, [this] { mnuFour_Click(); });
    mnuFile->addSeparator();
    mnuManual = AddMenuItem(mnuFile, "&Manual", this, [this] { mnuManual_Click(); });
    mnuCast = AddMenuItem(mnuFile, "Auto&Cast", this, [this] { mnuCast_Click(); });
    mnuFile->addSeparator();
    mnuBack = AddMenuItem(mnuFile, "Back", this, [this] { mnuBack_Click(); });
    mnuFile->addSeparator();
    mnuExit = AddMenuItem(mnuFile, "&Exit", this, [this] { mnuExit_Click(); });

    const HelpMenuItems help = AddHelpMenu(
        menuBar(), this, [this] { mnuOnline_Click(); }, [this] { mnuVisit_Click(); },
        [this] { mnuUpdate_Click(); }, [this] { mnuSoftware_Click(); });
    mnuHelp = help.menu;
    mnuOnline = help.online;
    mnuVisit = help.visit;
    mnuUpdate = help.update;
    mnuSoftware = help.about;

    mnuDonate = AddMenuBarItem(menuBar(), "Donate", this, [this] { mnuDonate_Click(); });
    mnuMakeMoney = AddMenuBarItem(menuBar(), "Make Money &Online", this, [this] { mnuMakeMoney_Click(); });
}

void frmTarot::Form_Load()
{
    {
        const QSignalBlocker quiet(cboCards);
        cboCards->addItem("Rider Waite Tarot Deck");
        cboCards->addItem("Marseilles Tarot Deck");
    }
    setDeckListIndex(0);

    ReadingState& r = Reading();
    r.DeckLetter = "r";
    r.IsManualReading = false;
    r.DrawnCards.Erase();
    r.ReversedCards.Erase();
    r.AutoCastPressed = false;
    r.ManualPressed = false;
    r.SelectedSpreadName = "-1";
    r.CardCount = -1;
    r.MinorArcanaOnly = false;
    r.MajorArcanaOnly = false;
    r.AllowReversed = false;

    // Referring to the querent window loads it when it is not loaded.
    const class frmFront& front = frmFront();
    strName = front.strName;
    strCountry = front.strCountry;
    strQ = front.strQ;
    strDOB = front.strDOB;

    lblInfo->setText("Name: " + strName + "     Date: " + strDOB + "     Country: " + strCountry);
    txtQ->setPlainText("Question: " + strQ);

    {
        const QSignalBlocker quiet(lstOption);
        for (int i = 0; i < SpreadCount(); ++i)
            lstOption->addItem(SpreadTable(i).Name);
    }
    txtDisp->setPlainText(SpreadTable(0).Description);
    showDiagram(0);
    setSpreadListIndex(0);
}

void frmTarot::Form_QueryUnload(int&, int unloadMode) { m_unloadMode = unloadMode; }

void frmTarot::Form_Unload(int&)
{
    // The close box ends the program; "Back", "AutoCast" and "Manual" leave
    // the others loaded.
    if (m_unloadMode == vbFormControlMenu)
        UnloadAllForms();
}

void frmTarot::setDeckListIndex(int index)
{
    if (cboCards->currentIndex() != index)
        cboCards->setCurrentIndex(index); // runs cboCards_Click
    else
        cboCards_Click();
}

int frmTarot::spreadListIndex() const
{
    const QList<QListWidgetItem*> selected = lstOption->selectedItems();
    return selected.isEmpty() ? -1 : lstOption->row(selected.first());
}

QString frmTarot::spreadListText() const
{
    const int row = spreadListIndex();
    return row < 0 ? QString() : lstOption->item(row)->text();
}

void frmTarot::setSpreadListIndex(int row)
{
    if (spreadListIndex() != row)
        lstOption->setCurrentRow(row); // the selection changes: runs lstOption_Click
    else
        lstOption_Click();
}

void frmTarot::selectSpreadByText(const QString& text)
{
    for (int row = 0; row < lstOption->count(); ++row) {
        if (lstOption->item(row)->text().compare(text, Qt::CaseInsensitive) == 0) {
            setSpreadListIndex(row);
            return;
        }
    }
}

void frmTarot::showDiagram(int index)
{
    // A diagram that is missing or unreadable leaves the box empty.
    const QPixmap diagram(App::FilePath(SpreadDiagramPath(index)));
    if (diagram.isNull())
        pctCard->clear();
    else
        pctCard->setPixmap(diagram);
}

void frmTarot::lstOption_Click()
{
    Reading().SelectedSpreadIndex = spreadListIndex();
    const int count = lstOption->count();
    for (I = 0; I < count; ++I) {
        if (lstOption->item(I)->isSelected())
            break;
    }
    if (I >= count)
        return;
    showDiagram(I);
    ShowSpreadInfo(I);
}

void frmTarot::ShowSpreadInfo(qint16& index)
{
    MaxCardInSet = index;
    if (index < 0 || index >= SpreadCount())
        return;
    txtDisp->clear();
    txtDisp->setPlainText(SpreadTable(index).Description);
    no = SpreadTable(index).Cards;
}

void frmTarot::cboCards_Click() { Reading().DeckLetter = DeckLetterOf(cboCards->currentIndex()); }

void frmTarot::chkHA_Click()
{
    if (chkHA->isChecked() && chkLA->isChecked())
        chkLA->setChecked(false);
}

void frmTarot::chkLA_Click()
{
    if (chkHA->isChecked() && chkLA->isChecked())
        chkHA->setChecked(false);
}

void frmTarot::chkRev_Click()
{
    chkRev->setCheckState(chkRev->checkState() == Qt::Checked ? Qt::Checked : Qt::Unchecked);
}

void frmTarot::takeChoice()
{
    card = spreadListText();
    rboo = chkRev->isChecked();
    lboo = chkLA->isChecked();
    hboo = chkHA->isChecked();
}

void frmTarot::recordChoice(bool manual)
{
    ReadingState& r = Reading();
    r.IsManualReading = manual;
    r.AutoCastPressed = m_cmdAutoValue;
    r.ManualPressed = m_cmdManualValue;
    r.SelectedSpreadName = card;
    r.CardCount = no;
    r.MinorArcanaOnly = lboo;
    r.MajorArcanaOnly = hboo;
    r.AllowReversed = rboo;
}

void frmTarot::cmdAuto_Click()
{
    // The window does not react during the pause and the draw: a click
    // meant for it then ("Back", a second "AutoCast") would act on the
    // reading after it is shown.
    if (m_casting)
        return;
    m_casting = true;
    const UserInputBlock noInput;
    takeChoice();
    picMessage->show();
    picMessage->raise();
    QPointer<Form> self(this);
    RepaintNow(this);
    if (!self || !IsLoaded())
        return;
    if (!chkRev->isChecked())
        Sleep(PauseBeforeCasting);
    recordChoice(false);
    showSpreadWindow();
}

void frmTarot::cmdManual_Click()
{
    takeChoice();
    recordChoice(true);
    showManualWindow();
}

void frmTarot::showSpreadWindow()
{
    // Showing the spread window lays out and writes the whole reading; the
    // user may end the program meanwhile, so neither window is trusted to
    // be there afterwards.
    QPointer<Form> self(this);
    QPointer<Form> spread(&frmAuto());
    if (spread)
        spread->Show();
    if (self && self->IsLoaded())
        Unload(*self);
    if (spread && spread->IsLoaded())
        spread->MoveTwips(0, 0);
}

void frmTarot::showManualWindow()
{
    // The manual reading window reads card and MaxCardInSet of this window
    // while it loads, so it is loaded and shown before this one unloads.
    // Should it be gone by then, this window stays for another choice.
    QPointer<Form> self(this);
    QPointer<Form> manual(&frmManual());
    if (manual && manual->IsLoaded())
        manual->Show();
    if (manual && manual->IsLoaded() && self && self->IsLoaded())
        Unload(*self);
}

void frmTarot::cmdBack_Click()
{
    frmFront().Show();
    Unload(*this);
}

void frmTarot::cmdCancel_Click() { UnloadAllForms(); }
void frmTarot::mnuExit_Click() { UnloadAllForms(); }

void frmTarot::mnuCeltic_Click() { selectSpreadByText(SpreadTable(0).MenuText); }
void frmTarot::mnuOne_Click() { selectSpreadByText(SpreadTable(1).MenuText); }
void frmTarot::mnuTwo_Click() { selectSpreadByText(SpreadTable(2).MenuText); }
void frmTarot::mnyThree_Click() { selectSpreadByText(SpreadTable(3).MenuText); }
void frmTarot::mnuEliphas_Click() { selectSpreadByText(SpreadTable(4).MenuText); }
void frmTarot::mnuLine_Click() { selectSpreadByText(SpreadTable(5).MenuText); }
void frmTarot::mnuSeven_Click() { selectSpreadByText(SpreadTable(6).MenuText); }
void frmTarot::mnuFour_Click() { selectSpreadByText(SpreadTable(7).MenuText); }

// The menu item presses the button, so the button counts as pressed.
void frmTarot::mnuCast_Click() { cmdAuto->click(); }

void frmTarot::mnuOnline_Click() { OpenHelpPage(); }
void frmTarot::mnuVisit_Click() { OpenHomePage(); }
void frmTarot::Label6_Click() { OpenHomePage(); }
void frmTarot::mnuUpdate_Click() { OpenDownloadPage(); }
void frmTarot::mnuDonate_Click() { OpenDonatePage(); }
void frmTarot::mnuMakeMoney_Click() { OpenFullBrandPage(); }
void frmTarot::mnuSoftware_Click() { frmAbout().Show(vbModal); }

class frmTarot& frmTarot() { return Forms::Instance<class frmTarot>(); }
