#include "frmMDI.h"

#include "app/frmAbout.h"
#include "app/frmOpen.h"
#include "common/PageLaunchers.h"
#include "common/Shutdown.h"
#include "common/UrlDetect.h"
#include "common/modDB.h"
#include "dictionary/modDict.h"
#include "platform/App.h"
#include "platform/Desktop.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "platform/VbError.h"
#include "platform/WebBrowser.h"
#include "reading/SavedReading.h"
#include "reading/frmFront.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QPrinter>
#include <QResizeEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace {
QWidget* pane(QWidget* parent, const char* name)
{
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    return w;
}

QLabel* headerLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setFont(VerdanaFont(8.25, true));
    return l;
}

int px(double twips) { return Twips::toPixels(twips); }
double tw(int pixels) { return Twips::fromPixels(pixels); }
} // namespace

frmMDI::frmMDI() : Form("frmMDI")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    buildToolbar();
    picTop2 = pane(central, "picTop2");
    picTop2->setFixedHeight(px(645));
    picTop = pane(central, "picTop");
    picTop->setFixedHeight(px(915));
    picLeft = pane(central, "picLeft");
    picLeft->setFixedWidth(px(2925));
    picRight = pane(central, "picRight");
    picRight->setFixedWidth(px(3735));
    picBottom = pane(central, "picBottom");
    picBottom->setFixedHeight(px(660));
    mdiClient = new QMdiArea(central);

    column->addWidget(TB);
    column->addWidget(picTop2);
    column->addWidget(picTop);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(picLeft);
    middle->addWidget(mdiClient, 1);
    middle->addWidget(picRight);
    column->addLayout(middle, 1);
    column->addWidget(picBottom);
    setCentralWidget(central);

    buildDonatePane();
    buildHeaderPane();
    buildReadingPane();
    buildBottomPane();
    buildKeywordPane();
    buildMenus();
    connectDictionaryPane();
    SetClientSizeTwips(11880, 8490);
}

frmMDI::~frmMDI() = default;

void frmMDI::buildToolbar()
{
    TB = new QToolBar(this);
    TB->setObjectName("TB");
    TB->setFixedHeight(px(540));
    TB->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    AddBrowserButtons(TB);
}

void frmMDI::buildDonatePane()
{
    cmdDonate1 = Twips::placed(new QPushButton("&Donate", picTop2), 13800, 120, 990, 360);
    connect(cmdDonate1, &QPushButton::clicked, this, [] { OpenDonatePage(); });
}

void frmMDI::buildHeaderPane()
{
    lblName = Twips::placed(headerLabel("Name", picTop), 120, 90, 855, 255);
    txtName = Twips::placed(new QLineEdit(picTop), 1110, 90, 2655, 285);
    lblDOB = Twips::placed(headerLabel("Date of Birth", picTop), 3990, 60, 1455, 255);
    txtDOB = Twips::placed(new QLineEdit(picTop), 5430, 60, 1935, 285);
    lblCountry = Twips::placed(headerLabel("Country", picTop), 7380, 60, 855, 255);
    txtCountry = Twips::placed(new QLineEdit(picTop), 8370, 60, 2445, 285);
    lblQ = Twips::placed(headerLabel("Question", picTop), 90, 450, 855, 255);
    txtQ = Twips::placed(new QLineEdit(picTop), 1110, 420, 7485, 375);
    RTB = Twips::placed(new RichTextBox(picTop), 8760, 120, 2535, 615);
    RTB->hide();
    cmdSave = Twips::placed(new QPushButton("&Save", picTop), 12600, 240, 990, 360);
    cmdPrint = Twips::placed(new QPushButton("&Print", picTop), 13680, 240, 990, 360);
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
}

void frmMDI::buildReadingPane()
{
    rtbDisp1 = Twips::placed(new RichTextBox(picRight), 0, 0, 3645, 3495);
    rtbDisp1->setFont(VerdanaFont());
    rtbDisp1->setObjectName("rtbDisp1");
    picRight->installEventFilter(this);
}

void frmMDI::buildBottomPane()
{
    lblCobrand = Twips::placed(new LinkLabel("Co-brand this software for your site. Put your site's name and link beside "
                                      "ours. Click Here for more info on co-branding.",
                                      picBottom),
                        60, 0, 6945, 615);
    lblFullBrand = Twips::placed(new LinkLabel("Home Business Opportunity. Start your own Internet business and make money "
                                        "online. Get this software fully branded for your website. Click here for "
                                        "more details.",
                                        picBottom),
                          60, 0, 6945, 615);
    for (LinkLabel* l : {lblCobrand, lblFullBrand}) {
        l->ShowAsLink();
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setAutoFillBackground(true); // the two share one place: the upper one covers the other
    }
    cmdExit = Twips::placed(new QPushButton("Exit", picBottom), 11040, 180, 1245, 345);
    cmdDonate = Twips::placed(new QPushButton("Donate", picBottom), 12330, 180, 1245, 345);
    cmdRestart = Twips::placed(new QPushButton("Start Again", picBottom), 13620, 180, 1245, 345);
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdDonate, &QPushButton::clicked, this, [] { OpenDonatePage(); });
    connect(cmdRestart, &QPushButton::clicked, this, [this] { cmdRestart_Click(); });
    connect(lblFullBrand, &LinkLabel::Click, this, [] { OpenFullBrandPage(); });
    connect(lblCobrand, &LinkLabel::Click, this, [] { OpenCoBrandPage(); });
}

void frmMDI::buildKeywordPane()
{
    optWildCard = Twips::placed(new QRadioButton("Use WildCard (*)", picLeft), 90, -30, 2205, 315);
    optExact = Twips::placed(new QRadioButton("Exact Search", picLeft), 90, 255, 2205, 315);
    optGoogle = Twips::placed(new QRadioButton("Google Search", picLeft), 90, 540, 2205, 315);
    optExact->setChecked(true);
    Label5 = Twips::placed(new QLabel("Type in the Key&word to find:", picLeft), 120, 840, 2445, 195);
    txtKey = Twips::placed(new QLineEdit(picLeft), 60, 1110, 2775, 375);
    Label5->setBuddy(txtKey);
    cmdSearch = Twips::placed(new QPushButton("&Search", picLeft), 60, 1500, 2775, 435);
    lstKeys = Twips::placed(new ListView("Keywords", picLeft), 60, 1920, 2775, 6225);
    cmdDisplay = Twips::placed(new QPushButton("&Display", picLeft), 60, 8160, 2775, 585);
}

void frmMDI::buildMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    mnuUpdateKey = file->addAction("&Update");
    mnuUpdateKey->setEnabled(false);
    file->addSeparator();
    mnuStart = AddMenuItem(file, "&Start Again", this, [this] { mnuStart_Click(); });
    file->addSeparator();
    mnuExit = AddMenuItem(file, "E&xit", this, [this] { mnuExit_Click(); });
    const HelpMenuItems help = AddHelpMenu(
        menuBar(), this, [] { OpenHelpPage(); }, [] { OpenHomePage(); }, [] { OpenDownloadPage(); },
        [this] { mnuAbout_Click(); });
    mnuOnline = help.online;
    mnuVisit = help.visit;
    mnuUpdate = help.update;
    mnuAbout = help.about;
    mnuDonate = AddMenuBarItem(menuBar(), "&Donate", this, [] { OpenDonatePage(); });
    mnuMakeMoney = AddMenuBarItem(menuBar(), "Make Money &Online", this, [] { OpenFullBrandPage(); });
}

void frmMDI::Form_Load()
{
    EnableUrlDetect(rtbDisp1, picRight);
    ShowQuerent();
    fillKeywordList();
    lstKeys->header()->resizeSection(0, qMax(0, lstKeys->width() - px(200)));
}

void frmMDI::ShowQuerent()
{
    if (!Forms::IsLoaded("frmFront"))
        return;
    const auto& front = frmFront();
    txtName->setText(front.strName);
    txtDOB->setText(front.strDOB);
    txtCountry->setText(front.strCountry);
    txtQ->setText(front.strQ);
    // An entry longer than its box shows its beginning.
    for (QLineEdit* box : {txtName, txtDOB, txtCountry, txtQ})
        box->setCursorPosition(0);
}

void frmMDI::fillKeywordList()
{
    // A missing or unreadable dictionary leaves the list empty; the window
    // works on.
    IgnoreErrors([this] { lstKeys->SetItems(AllKeys(ReadDictionary())); });
}

double frmMDI::WidthTwips() const { return tw(frameGeometry().width()); }
double frmMDI::HeightTwips() const { return tw(frameGeometry().height()); }

void frmMDI::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    MDIForm_Resize();
}

void frmMDI::MDIForm_Resize()
{
    const double W = WidthTwips();
    const double H = HeightTwips();
    // The left pane's height follows its alignment; the rest is set here.
    const QRect list = lstKeys->geometry();
    if (H - 5000 >= 0)
        lstKeys->setGeometry(list.x(), list.y(), list.width(), px(H - 5000));
    cmdDisplay->setGeometry(cmdDisplay->x(), lstKeys->geometry().bottom() + 1, cmdDisplay->width(), px(500));
    for (QWidget* w : {static_cast<QWidget*>(txtKey), static_cast<QWidget*>(lstKeys),
                       static_cast<QWidget*>(cmdSearch), static_cast<QWidget*>(cmdDisplay)})
        w->move(0, w->y());
    txtKey->resize(qMax(0, picLeft->width() - px(75)), txtKey->height());
    for (QWidget* w : {static_cast<QWidget*>(lstKeys), static_cast<QWidget*>(cmdSearch),
                       static_cast<QWidget*>(cmdDisplay)})
        w->resize(qMax(0, picLeft->width() - px(50)), w->height());
    fitReadingBox();

    cmdRestart->move(px(W - tw(cmdRestart->width()) - 300), cmdRestart->y());
    cmdDonate->move(px(tw(cmdRestart->x()) - tw(cmdDonate->width()) - 100), cmdDonate->y());
    cmdExit->move(px(tw(cmdDonate->x()) - tw(cmdExit->width()) - 100), cmdExit->y());
    cmdPrint->move(px(W - tw(cmdPrint->width()) - 300), cmdPrint->y());
    cmdSave->move(px(tw(cmdPrint->x()) - tw(cmdSave->width()) - 100), cmdSave->y());
}

void frmMDI::fitReadingBox()
{
    // 8875 twips where the pane has room; in a smaller pane the box fits it,
    // so that the end of a reading can be scrolled into view.
    rtbDisp1->resize(rtbDisp1->width(), qMin(px(8875), picRight->height()));
}

bool frmMDI::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picRight && event->type() == QEvent::Resize)
        fitReadingBox();
    return Form::eventFilter(watched, event);
}

void frmMDI::cmdPrint_Click()
{
    // The hidden print buffer keeps a copy of every reading printed.
    RTB->SetSelText("Report Generated By " + PageAddress::Home + "\r\n\r\n");
    RTB->SetSelText(rtbDisp1->Text());
    RTB->SetSelText(rtbDisp1->SelText() + "\r\n\r\n" + "Report Generated By " + PageAddress::Home);

    std::unique_ptr<QPrinter> printer = desktop().DefaultPrinter();
    if (!printer) {
        MsgBox("No printer is set up on this computer. The reading was not printed.", vbInformation + vbOKOnly);
        return;
    }
    // Print the whole reading, whatever the user has selected.
    rtbDisp1->SetSelLength(0);
    rtbDisp1->SelPrint(printer.get());
}

void frmMDI::cmdSave_Click() { SaveReading(CD1); }

void frmMDI::cmdRestart_Click()
{
    Unload(*this);
    frmOpen().Show();
}

void frmMDI::cmdExit_Click() { Unload(*this); }

void frmMDI::mnuAbout_Click() { frmAbout().Show(vbModal); }

void frmMDI::Form_Unload(int&)
{
    DisableUrlDetect();
    UnloadAllForms();
}

class frmMDI& frmMDI() { return Forms::Instance<class frmMDI>(); }
