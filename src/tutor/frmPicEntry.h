#pragma once
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QLabel>
#include <QPushButton>

// The card maintenance window: steps through the cards of the tutor
// database, stores a picture file into the current card and seeds the
// keyword table. The program itself never opens it (see StartUp).
class frmPicEntry : public Form {
public:
    frmPicEntry();

    QPushButton* Command4;
    QPushButton* Command1;
    CommonDialog cdlg;
    QPushButton* cmdSetPicture;
    QPushButton* Command3;
    QPushButton* Command2;
    PictureBox* Picture1;
    QLabel* Label1;

    // Stores the file's bytes, and one zero byte, into the current card.
    bool SavePictureData(const QString& fileName);

    void Command2_Click();
    void Command3_Click();
    void cmdSetPicture_Click();
    void Command4_Click();

protected:
    void Form_Load() override;

private:
    void showCurrentCard();
    bool allCardsPresent();
    void seedKeywords(class Recordset& keywords);
};

class frmPicEntry& frmPicEntry();
