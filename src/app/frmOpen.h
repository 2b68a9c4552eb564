#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTimer>

// The opening choice: tutor, reading or dictionary.
class frmOpen : public Form {
public:
    frmOpen();

    QPushButton* cmdTutor;
    QPushButton* cmdReading;
    QPushButton* cmdDictionary;
    QPushButton* cmdContd;
    QLabel* Label2;
    QGroupBox* Frame5;
    LinkLabel* Label7;
    LinkLabel* Label61;
    QTimer* Timer1; // never started: it has no handler

    void cmdTutor_Click();
    void cmdReading_Click();
    void cmdDictionary_Click();
    void cmdContd_Click() {}
    void Label61_Click();
    void Label7_Click();

protected:
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    int m_unloadMode = vbFormCode;
};

class frmOpen& frmOpen();
