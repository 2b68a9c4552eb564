#include "frmOpen.h"

#include "common/ConnectionCheck.h"
#include "common/PageLaunchers.h"
#include "common/Shutdown.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "app/frmMDI.h"
#include "dictionary/frmMainDictionary.h"
#include "reading/frmFront.h"
#include "tutor/frmMain.h"

#include <QFileInfo>
#include <QVBoxLayout>

namespace {
const QString ReinstallNote = QStringLiteral("\rPlease Reinstall Software.");

bool fileExists(const QString& name) { return QFileInfo(App::FilePath(name)).isFile(); }
bool entryExists(const QString& name) { return QFileInfo::exists(App::FilePath(name)); }
} // namespace

frmOpen::frmOpen() : Form("frmOpen")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(10);

    Label2 = new QLabel("Arcavell Pro Software", central);
    Label2->setFont(VerdanaFont(14, true));
    Label2->setAlignment(Qt::AlignCenter);
    layout->addWidget(Label2);

    cmdTutor = new QPushButton("Tarot Tutor", central);
    cmdReading = new QPushButton("Tarot Reading", central);
    cmdDictionary = new QPushButton("Tarot Dictionary", central);
    for (QPushButton* b : {cmdTutor, cmdReading, cmdDictionary}) {
        b->setMinimumHeight(36);
        layout->addWidget(b);
    }
    cmdContd = new QPushButton("Continue....", central);
    layout->addWidget(cmdContd, 0, Qt::AlignRight);

    Frame5 = new QGroupBox("Full-Brand Options", central);
    auto* frameLayout = new QVBoxLayout(Frame5);
    Label7 = new LinkLabel("Home Business Opportunity. Start your own Internet business and make money online. "
                           "Get this software fully branded for your website. Click here for more details.",
                           Frame5);
    Label7->setCursor(Qt::PointingHandCursor);
    frameLayout->addWidget(Label7);
    layout->addWidget(Frame5);

    Label61 = new LinkLabel("Talk tarot with readers from all over the world in the Arcavell discussion forum - "
                            "come and visit us online.",
                            central);
    Label61->setCursor(Qt::PointingHandCursor);
    layout->addWidget(Label61);

    Timer1 = new QTimer(this);
    setCentralWidget(central);
    resize(460, 420);

    connect(cmdTutor, &QPushButton::clicked, this, [this] { cmdTutor_Click(); });
    connect(cmdReading, &QPushButton::clicked, this, [this] { cmdReading_Click(); });
    connect(cmdDictionary, &QPushButton::clicked, this, [this] { cmdDictionary_Click(); });
    connect(cmdContd, &QPushButton::clicked, this, [this] { cmdContd_Click(); });
    connect(Label7, &LinkLabel::Click, this, [this] { Label7_Click(); });
    connect(Label61, &LinkLabel::Click, this, [this] { Label61_Click(); });
}

void frmOpen::cmdTutor_Click()
{
    if (!fileExists("learn.dll")) {
        MsgBox("Files Needed To Run Arcavell Tutor Is Missing" + ReinstallNote, vbCritical);
        return;
    }
    frmMain().Show();
    Unload(*this);
}

void frmOpen::cmdReading_Click()
{
    const bool hasCards = entryExists("cards");
    const bool hasPictures = entryExists("pic");
    if (!(hasCards || hasPictures)) {
        MsgBox("Files Needed To Run Arcavell Reading Is Missing" + ReinstallNote, vbCritical);
        return;
    }
    frmFront().Show();
    Unload(*this);
}

void frmOpen::cmdDictionary_Click()
{
    if (!fileExists("tarot.dll")) {
        MsgBox("Files Needed To Run Arcavell Dictionary Is Missing" + ReinstallNote, vbCritical);
        return;
    }
    CheckConnection();
    // The first reference loads the frame window; hiding the reading panes
    // puts it in dictionary mode.
    frmMDI().picRight->setVisible(false);
    frmMDI().picTop->setVisible(false);
    // A frame left loaded by a reading that was given up has its dictionary
    // panes hidden: show them, whatever way led here.
    frmMDI().TB->setVisible(true);
    frmMDI().picTop2->setVisible(true);
    frmMDI().picLeft->setVisible(true);
    frmMDI().mnuUpdateKey->setEnabled(true);
    CheckConnection();
    // The entry view is a child window: showing it shows the frame.
    frmMainDictionary().Show();
    Unload(*this);
}

void frmOpen::Label61_Click() { OpenHomePage(); }
void frmOpen::Label7_Click() { OpenFullBrandPage(); }

void frmOpen::Form_QueryUnload(int&, int unloadMode) { m_unloadMode = unloadMode; }

void frmOpen::Form_Unload(int&)
{
    // Closing the window by its close box ends the program; leaving it by
    // one of its buttons, or as part of the program's end, does not.
    if (m_unloadMode == vbFormControlMenu)
        CloseAllForms();
}

class frmOpen& frmOpen() { return Forms::Instance<class frmOpen>(); }
