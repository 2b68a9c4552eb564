#include "frmAbout.h"

#include "app/AppIcon.h"
#include "common/PageLaunchers.h"
#include "platform/Forms.h"
#include "platform/Twips.h"

frmAbout::frmAbout() : Form("frmAbout")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());
    auto* client = new QWidget(this);
    setCentralWidget(client);
    SetClientSizeTwips(7170, 4305);
    setFixedSize(size());

    picIcon = new QLabel(client);
    picIcon->setPixmap(AppIconPixmap(32));
    Twips::place(picIcon, 180, 120, 480, 480);

    Label1 = new QLabel("Arcavell Pro Software v1.85", client);
    Label1->setFont(VerdanaFont(9.75, true));
    QPalette highlight = Label1->palette();
    highlight.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    Label1->setPalette(highlight);
    Twips::place(Label1, 810, 60, 3090, 240);

    Label2 = new QLabel("Arcavell Pro Software is a combination of tarot reading, tarot learning and tarot dictionary "
                        "softwares. This all-in one package is the ultimate resource for learning this divination "
                        "methodology. This software is an extremely simple program preferred by beginners who want "
                        "to learn to read the Rider Waite Deck.",
                        client);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::place(Label2, 810, 390, 6195, 1215);

    lblHomePage = new LinkLabel("Click here to visit " + PageAddress::Home, client);
    lblHomePage->setWordWrap(false);
    lblHomePage->ShowAsLink();
    Twips::place(lblHomePage, 2955, 1605, 4050, 195);

    Label3 = new QLabel("Home Business Opportunity. Start your own Internet business and make money online. Get "
                        "this software fully branded for your website.",
                        client);
    Label3->setFont(VerdanaFont(8.25, true));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::place(Label3, 60, 1920, 6945, 435);

    lblCoBrand = new LinkLabel("Click here for more details.", client);
    lblCoBrand->setWordWrap(false);
    lblCoBrand->ShowAsLink();
    Twips::place(lblCoBrand, 4650, 2355, 2355, 195);

    Frame1 = new QGroupBox("The Card Drawings", client);
    QFont heading = VerdanaFont(8.25, true);
    Frame1->setFont(heading);
    Twips::place(Frame1, 810, 2700, 6195, 915);
    Label4 = new QLabel("The tarot designs our card pictures follow were first published in 1911 and are in the "
                        "public domain.",
                        Frame1);
    Label4->setFont(VerdanaFont());
    Label4->setWordWrap(true);
    Twips::place(Label4, 180, 270, 5865, 435);

    Line1 = new QFrame(client);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Twips::place(Line1, 60, 3720, 6945, 30);

    cmdOK = new QPushButton("OK", client);
    cmdOK->setDefault(true);
    Twips::place(cmdOK, 5745, 3900, 1260, 345);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(lblHomePage, &LinkLabel::Click, this, [this] { lblHomePage_Click(); });
    connect(lblCoBrand, &LinkLabel::Click, this, [this] { lblCoBrand_Click(); });
}

void frmAbout::cmdOK_Click() { Unload(*this); }
void frmAbout::lblHomePage_Click() { OpenHomePage(); }
void frmAbout::lblCoBrand_Click() { OpenFullBrandPage(); }

class frmAbout& frmAbout() { return Forms::Instance<class frmAbout>(); }
