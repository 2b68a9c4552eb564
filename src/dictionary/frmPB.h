#pragma once
#include "platform/Form.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

// The progress window shown, modal, after a dictionary update: its bar
// fills in fifty steps of a tenth of a second, then it closes itself.
class frmPB : public Form {
public:
    frmPB();

    QLabel* Label1;
    QProgressBar* PB;
    QPushButton* cmdPB;
    QTimer* Timer1;

    void Timer1_Timer();
    void cmdPB_Click() {}

protected:
    void Form_Load() override;

private:
    void InitProgressBar();
    int m_ProgressMax = 50;
    int m_TickCount = 0;
};

class frmPB& frmPB();
