#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QScrollArea>
#include <array>

struct SpreadLayout;

// The spread window: the card places of a reading, inside the frame window.
// Loading it writes the spread header and runs the layout the reading asks for.
class frmAuto : public Form {
public:
    frmAuto();

    static constexpr int PlaceCount = 21;
    std::array<PictureBox*, PlaceCount> p;
    std::array<QLabel*, PlaceCount> lbl;
    PictureBox* Img; // carries turned pictures; never shown

    qint16 Ind = 0; // read and written by nothing

    // Turns PictureToRotate by the angle in degrees into Img.
    void RotateImage(double RotAngel);
    void Clear_PicBox();

    // Upright cards from the whole deck, or the restore of a saved reading.
    void DONE1(qint16 n);

    // Unused by every window; kept as the window's own procedures.
    void GoBackToFront();
    void ShowAboutBox();
    void SpreadDonateLink();
    void SpreadHelpLink();
    void SpreadUpdateLink();

    QImage PictureToRotate;
    qint32 CandidateCard = 0;

protected:
    void Form_Load() override;

private:
    // Shows the places and labels of positions 1..n at the layout's positions.
    void layOutPlaces(const SpreadLayout& layout);
    // Draws n distinct cards into DrawnCards; false when the window went away meanwhile.
    bool drawNewReading(int n);
    void showDrawnPictures(int n, bool turnCrossingCard);
    void restoreSavedReading(bool showPictures);
    void finishNewReading();
    // A card's picture of the reading's deck; empty when it cannot be loaded.
    QImage cardPicture(qint32 card) const;
    bool isCelticCross() const;

    QWidget* m_canvas;
    QScrollArea* m_scroll;
    quint32 m_rotateBackColour = 0; // never assigned: black
    QImage m_rotatedPicture;
};

class frmAuto& frmAuto();
