#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QPointer>
#include <QScrollArea>
#include <array>

struct AutomaticLayout;
struct SpreadBlock;
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

    // The automatic layouts of a spread of n positions, one family (see
    // AutomaticLayouts.h); the load calls the one the reading options ask for.
    void DONE1(qint16 n); // upright, whole deck; or the restore of a saved reading
    void DONE2(qint32 n); // upright, minor arcana
    void DONE3(qint32 n); // upright, major arcana
    void DONE4(qint32 n); // reversed cards allowed, whole deck
    void DONE5(qint32 n); // reversed cards allowed, minor arcana
    void DONE6(qint32 n); // reversed cards allowed, major arcana

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
    void Form_Unload(int& cancel) override;

private:
    // A new reading by one layout of the family: fresh DrawnCards, the
    // guard, the spread's block, the reading text.
    void layOut(const AutomaticLayout& layout, qint32 n);
    // Runs the block's steps in the layout's order; false when the window
    // was unloaded meanwhile (nothing of it may be touched then).
    bool runBlock(const AutomaticLayout& layout, const SpreadBlock& block, const SpreadLayout& places);
    static bool stillLoaded(const QPointer<class frmAuto>& self);

    // Shows the places and labels of positions 1..n at the layout's positions.
    void layOutPlaces(const SpreadLayout& layout);
    void showPlace(int i, const AutomaticLayout& layout);
    void setPlace(int i, const SpreadLayout& places);
    void showLabel(int i, int positions);
    // Draws one card per position into DrawnCards; false when the window went away meanwhile.
    bool drawCards(const AutomaticLayout& layout, int positions);
    bool drawnBefore(qint32 card, int position) const;
    // The crossing card's picture turned across into its place.
    bool turnCrossingCard(int i);
    // Decides whether the card of position i lies reversed and lays it.
    bool layCard(const AutomaticLayout& layout, const SpreadBlock& block, const SpreadLayout& places,
                 int i, bool placeAlreadySet);
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
