#include "frmFront.h"

#include "app/AppIcon.h"
#include "app/frmAbout.h"
#include "app/frmMDI.h"
#include "app/frmOpen.h"
#include "common/PageLaunchers.h"
#include "common/Shutdown.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "reading/ReadingState.h"
#include "reading/SavedReading.h"
#include "reading/frmTarot.h"
#include "spread/frmAuto.h"

#include <QKeyEvent>
#include <QMenuBar>

namespace {
const QStringList MonthNames{"January", "February", "March",     "April",   "May",      "June",
                             "July",    "August",   "September", "October", "November", "December"};
constexpr int DefaultYearIndex = 80; // 1980

// The character code a key press types, as the key filters see it; -1 for
// keys that type nothing (arrows, Home, Tab ...), which the filters let pass.
int typedCode(const QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Backspace:
        return ctrl ? 127 : 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    if (ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    const QString text = e->text();
    if (text.isEmpty())
        return -1;
    return text.at(0).unicode();
}

bool allowedInName(int code)
{
    return (code >= 65 && code <= 90) || (code >= 97 && code <= 122) || code == 32 || code == 8 || code == 127;
}

// Runs a window's key filter on every key typed into a text box.
class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QObject* parent, std::function<int(int)> filter) : QObject(parent), m_filter(std::move(filter)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int code = typedCode(static_cast<QKeyEvent*>(event));
            if (code >= 0 && m_filter(code) == 0)
                return true; // the key is discarded
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<int(int)> m_filter;
};

QLabel* label(const QString& text, QWidget* parent, double l, double t, double w, double h)
{
    auto* lbl = new QLabel(text, parent);
    Twips::place(lbl, l, t, w, h);
    return lbl;
}

QPushButton* button(const QString& text, QWidget* parent, double l, double t, double w, double h)
{
    auto* b = new QPushButton(text, parent);
    Twips::place(b, l, t, w, h);
    return b;
}
} // namespace

frmFront::frmFront() : Form("frmFront")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());
    auto* client = new QWidget(this);
    setCentralWidget(client);

    lblName = label("Name", client, 180, 630, 630, 240);
    txtName = new QLineEdit(client);
    Twips::place(txtName, 1620, 510, 3855, 375);
    lblAge = label("Date of Birth", client, 180, 1050, 1365, 240);
    cmbMonth = new QComboBox(client);
    Twips::place(cmbMonth, 1620, 960, 1695, 360);
    cmbDate = new QComboBox(client);
    Twips::place(cmbDate, 3420, 960, 975, 360);
    cmbYear = new QComboBox(client);
    Twips::place(cmbYear, 4500, 960, 975, 360);
    lblCountry = label("Country", client, 180, 1500, 870, 240);
    txtCountry = new QLineEdit(client);
    Twips::place(txtCountry, 1620, 1410, 3855, 375);
    lblQuestion = label("Question", client, 120, 2430, 975, 240);
    txtQuestion = new QPlainTextEdit(client);
    txtQuestion->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtQuestion->setTabChangesFocus(true);
    Twips::place(txtQuestion, 1620, 1890, 3855, 1335);

    cmdCancel = button("&Exit", client, 1710, 3270, 855, 375);
    cmdReset = button("&Reset", client, 2685, 3270, 855, 375);
    cmdBack = button("&Back", client, 3675, 3270, 855, 375);
    cmdNext = button("&Next", client, 4650, 3270, 855, 375);
    cmdOpen = button("&Open Previous Record", client, 1620, 3720, 3855, 495);
    cmdOld = button("&See Old Reading", client, 360, 6000, 1815, 375);

    fraFullBrand = new QGroupBox(client);
    Twips::place(fraFullBrand, -120, 4320, 7185, 1095);
    lblCobrand = new LinkLabel("Co-brand this software for your site.  Increase loyalty and traffic to your site. Put "
                               "your site's name &  link here. See \"Help\" for details.    Click Here for more info "
                               "on co-branding.",
                               fraFullBrand);
    lblFullBrand = new LinkLabel("Home Business Opportunity. Start your own Internet business and make money online. "
                                 "Get this software fully branded for your website. Click here for more details.",
                                 fraFullBrand);
    for (LinkLabel* l : {lblCobrand, lblFullBrand}) {
        Twips::place(l, 240, 165, 5385, 855);
        l->setCursor(Qt::PointingHandCursor);
        l->setAutoFillBackground(true); // the two share one place: the upper one covers the other
    }
    Label6 = new LinkLabel("Meet other tarot readers in our discussion forum: visit the Arcavell web site today.",
                           client);
    Label6->setCursor(Qt::PointingHandCursor);
    Twips::place(Label6, 120, 5520, 6800, 375);
    Image1 = new QLabel(client);
    Image1->setPixmap(AppIconPixmap(72));
    Twips::place(Image1, 5700, 510, 1200, 1200);

    setTabOrder(txtName, cmbMonth);
    setTabOrder(cmbMonth, cmbDate);
    setTabOrder(cmbDate, cmbYear);
    setTabOrder(cmbYear, txtCountry);
    setTabOrder(txtCountry, txtQuestion);
    SetClientSizeTwips(7100, 6500);

    txtName->installEventFilter(new KeyPressFilter(this, [this](int c) { return txtName_KeyPress(c); }));
    txtCountry->installEventFilter(new KeyPressFilter(this, [this](int c) { return txtCountry_KeyPress(c); }));
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdOpen, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
    connect(lblFullBrand, &LinkLabel::Click, this, [] { OpenFullBrandPage(); });
    connect(lblCobrand, &LinkLabel::Click, this, [] { OpenCoBrandPage(); });
    connect(Label6, &LinkLabel::Click, this, [] { OpenHomePage(); });

    QMenu* file = menuBar()->addMenu("File");
    connect(file->addAction("&Reset"), &QAction::triggered, this, [this] { cmdReset_Click(); });
    file->addSeparator();
    connect(file->addAction("N&ext"), &QAction::triggered, this, [this] { cmdNext_Click(); });
    file->addSeparator();
    file->addAction("&Back"); // does nothing
    file->addSeparator();
    connect(file->addAction("E&xit"), &QAction::triggered, this, [this] { cmdCancel_Click(); });
    QMenu* help = menuBar()->addMenu("Help");
    connect(help->addAction("Onine &Help"), &QAction::triggered, this, [] { OpenHelpPage(); });
    connect(help->addAction("Visit Us &Online"), &QAction::triggered, this, [] { OpenHomePage(); });
    help->addSeparator();
    connect(help->addAction("Check For Software Update"), &QAction::triggered, this, [] { OpenDownloadPage(); });
    help->addSeparator();
    connect(help->addAction("About &Software"), &QAction::triggered, this, [] { frmAbout().Show(vbModal); });
    AddMenuBarItem(menuBar(), "Donate", this, [] { OpenDonatePage(); });
    AddMenuBarItem(menuBar(), "Make Money &Online", this, [] { OpenFullBrandPage(); });
}

void frmFront::Form_Load()
{
    for (int day = 1; day <= 31; ++day)
        cmbDate->addItem(QString::number(day));
    cmbMonth->addItems(MonthNames);
    for (int year = 1900; year <= 2050; ++year)
        cmbYear->addItem(QString::number(year));
    cmbDate->setCurrentIndex(0);
    cmbMonth->setCurrentIndex(0);
    cmbYear->setCurrentIndex(DefaultYearIndex);
}

namespace {
int filterNameKey(int code, QLineEdit* box, const QString& message)
{
    if (allowedInName(code))
        return code;
    MsgBox(message, vbInformation, "Arcavell Reading Software");
    box->setFocus();
    return 0;
}
} // namespace

int frmFront::txtName_KeyPress(int keyAscii)
{
    return filterNameKey(keyAscii, txtName, "Name cannot contain Numbers and Special Characters");
}

int frmFront::txtCountry_KeyPress(int keyAscii)
{
    return filterNameKey(keyAscii, txtCountry, "Country cannot contain Numbers and Special Characters");
}

void frmFront::cmdNext_Click()
{
    strName = txtName->text();
    strCountry = txtCountry->text();
    strQ = txtQuestion->toPlainText();
    strDate = cmbDate->currentText();
    strMonth = cmbMonth->currentText();
    strYear = cmbYear->currentText();
    strDOB = strMonth + " " + strDate + ", " + strYear;
    // The first reference loads the frame window, which copies the strings
    // above; a frame left loaded by an earlier visit (the manual window's
    // "Back") shows them too.
    frmMDI().ShowQuerent();
    frmMDI().TB->setVisible(false);
    frmMDI().picTop2->setVisible(false);
    frmMDI().picLeft->setVisible(false);
    frmTarot().Show();
    m_leavingForward = true;
    Unload(*this);
}

void frmFront::cmdReset_Click()
{
    txtName->clear();
    txtCountry->clear();
    txtQuestion->clear();
    cmbDate->setCurrentIndex(0);
    cmbMonth->setCurrentIndex(0);
    cmbYear->setCurrentIndex(DefaultYearIndex);
    txtName->setFocus();
}

void frmFront::cmdBack_Click()
{
    frmOpen().Show();
    m_leavingForward = true;
    Unload(*this);
}

void frmFront::cmdCancel_Click()
{
    m_exitRequested = true;
    Unload(*this);
}

void frmFront::cmdOpen_Click()
{
    if (!OpenSavedReading(CD))
        return;
    // The first reference loads the spread window (and the frame with it).
    QPointer<Form> self(this);
    frmAuto().DONE1(static_cast<qint16>(Reading().FileCards.UBound()));
    if (!Forms::IsLoaded("frmMDI"))
        return; // the user ended the program meanwhile
    frmMDI().ShowQuerent();
    frmMDI().TB->setVisible(false);
    frmMDI().picTop2->setVisible(false);
    frmMDI().picLeft->setVisible(false);
    frmMDI().Show();
    // The restored cards show in the frame, as after "AutoCast".
    if (Forms::IsLoaded("frmAuto")) {
        frmAuto().Show();
        frmAuto().MoveTwips(0, 0);
    }
    if (self && self->IsLoaded())
        Hide();
}

void frmFront::Form_QueryUnload(int&, int unloadMode)
{
    if (unloadMode == vbFormControlMenu)
        m_exitRequested = true;
}

void frmFront::Form_Unload(int&)
{
    // "&Exit" and the close box end the program; "&Next", "&Back" and the
    // program's own end do nothing more.
    if (m_exitRequested && !m_leavingForward)
        CloseAllForms();
}

class frmFront& frmFront() { return Forms::Instance<class frmFront>(); }
