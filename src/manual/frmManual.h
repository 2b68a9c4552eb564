#pragma once
#include "manual/ManualControls.h"
#include "platform/Controls.h"
#include "platform/DynArray.h"
#include "platform/Form.h"

#include <QFrame>
#include <QGroupBox>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <array>

class frmAuto;

// The manual reading: the user picks as many face-down cards as the spread
// has positions while the prompt box tells what the next card stands for.
// The last pick draws the cards, lays them out in the spread window exactly
// as an automatic reading lays them, writes the reading into the frame window
// and closes this window. The backs only count the positions: which ones are
// picked does not decide the cards.
class frmManual : public Form {
public:
    frmManual();

    static constexpr int BackCount = 78;

    LinkLabel* Label6;
    PictureBox* picManual; // the spread's diagram
    QGroupBox* fraPictures;
    std::array<CardBack*, BackCount> p; // the backs, 13 to a row
    PromptBox* txtDisp;
    QFrame* picMessage; // the wait panel
    QLabel* Label1;
    QLabel* Label3;
    QLabel* Label2;
    PictureBox* picTmp; // carries a turned card to the spread window
    PictureBox* Img;    // receives the picture RotateImage turned; never shown
    QPushButton* cmdCancel;
    QPushButton* cmdBack;

    QMenu* mnuFile;
    QAction* mnuStart;
    QAction* mnuExit;
    QMenu* mnuHelp;
    QAction* mnuOnline;
    QAction* mnuVisit;
    QAction* mnuUpdate;
    QAction* mnuAbout;
    QAction* mnuDona;
    QAction* mnuMakeMoney;

    // The window's state of the reading.
    QString SpreadName;   // the chosen spread, as the spread table names it
    qint16 SpreadIndex = 0;
    IntArray PickedCards; // one element per position; the backs picked, in click order
    qint16 PickCount = 0; // picks stored so far
    bool ReversedAllowed = false;
    bool MinorOnly = false;
    bool MajorOnly = false;
    qint16 DrawIndex = 0; // the position being drawn
    qint32 CandidateCard = 0;
    QImage PictureToRotate;

    // The prompt of position I (a whole number as text) of the spread; the
    // box keeps its text for a position the spread does not have.
    void ShowCardInfo(const QString& I);
    // Turns PictureToRotate by the angle in degrees into Img.
    void RotateImage(double RotAngel);
    // Places the card of a position in the spread window by the layout of
    // spread spreadIndex, shows it and its number, and writes the note on
    // the next position. False when the reading was abandoned meanwhile.
    bool SetPicPlacement(int spreadIndex, qint16 picIndex);

    void p_Click(int Index);
    void cmdBack_Click();
    void mnuStart_Click() { cmdBack_Click(); }
    void cmdCancel_Click();
    void mnuExit_Click() { cmdCancel_Click(); }
    void mnuOnline_Click();
    void mnuVisit_Click();
    void mnuUpdate_Click();
    void mnuAbout_Click();
    void mnuDona_Click();
    void mnuMakeMoney_Click();
    void Label6_Click();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    void buildControls(QWidget* client);
    void buildMenus();
    void centreOnScreen();
    void showDiagram();
    void showBacksOfCardSet();
    // The draw after the last pick; returns when the reading is written or
    // was abandoned.
    void drawReading();
    bool DrawAndPlaceCard(qint16& i);
    // The spread window, loaded by its first touch in this draw; null when it
    // went away.
    class frmAuto* spreadWindow();
    // Takes back what an unfinished draw put into the reading and the
    // spread window.
    void abandonDraw();

    bool m_drawing = false;       // the last pick has started the draw
    bool m_drawFinished = false;  // the reading is written
    bool m_spreadTouched = false; // the draw has loaded the spread window
    QPointer<class frmAuto> m_spread;
    QImage m_rotatedPicture;
    int m_unloadMode = vbFormCode;
};

class frmManual& frmManual();
