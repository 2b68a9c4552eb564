#include "frmPB.h"

#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QVBoxLayout>

frmPB::frmPB() : Form("frmPB")
{
    SetCaption("Arcavell Pro Software v1.85");
    setFont(VerdanaFont());
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(18, 18, 18, 18);
    Label1 = new QLabel("Please wait while Dictionary is Updating ....", central);
    PB = new QProgressBar(central);
    cmdPB = new QPushButton(central);
    Timer1 = new QTimer(this);
    column->addWidget(Label1);
    column->addWidget(PB);
    column->addWidget(cmdPB, 0, Qt::AlignRight);
    setCentralWidget(central);
    resize(420, 150);
    connect(cmdPB, &QPushButton::clicked, this, [this] { cmdPB_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void frmPB::Form_Load()
{
    cmdPB->setText("Show Progress");
    m_ProgressMax = 50;
    InitProgressBar();
    Timer1->stop();
    Timer1->setInterval(100);
    PB->show();
    Timer1->start();
}

void frmPB::InitProgressBar()
{
    PB->setMaximum(m_ProgressMax);
    PB->setValue(0);
    PB->hide();
}

void frmPB::Timer1_Timer()
{
    if (m_TickCount != m_ProgressMax) {
        ++m_TickCount;
        PB->setValue(m_TickCount);
        return;
    }
    Timer1->stop();
    m_TickCount = 0;
    PB->hide();
    Unload(*this);
}

class frmPB& frmPB() { return Forms::Instance<class frmPB>(); }
