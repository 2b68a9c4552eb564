#pragma once
// The six automatic layouts of the spread window as one family. They share
// the spread blocks, the frame (fresh DrawnCards, a guard on the reading
// options, one block, the reading text), the draw, the reversal decision and
// the ways of turning a card; what sets them apart is the data below.
#include <QtGlobal>

#include <array>
#include <span>

// One step of a spread block. A step covers every position of the spread in
// position order, unless it says otherwise.
enum class LayoutStep {
    ShowPlacesWithLabels, // each position in turn: place shown and set, label enabled and shown
    ShowPlaces,           // every place shown
    ShowLabels,           // every label enabled, then shown
    SetPlaces,            // every place set to its Left, then Top
    Draw,                 // the generator re-seeded, then one card drawn per position
    Pictures,             // every place given its card's picture; the crossing card turned across
    SetPlacesWithPictures, // each position in turn: place set, then given its picture
    LayCards,             // each position in turn: reversal decided, place shown with its
                          // card upright or upside down (or across), label shown
};

// How a spread block orders its steps, by the kind of spread.
enum class BlockShape {
    OneCard,         // one place, laid with its card where a layout decides reversal
    DrawnFirst,      // shows nothing of the spread until every card is drawn
    LineSpread,      // as DrawnFirst; its upright layouts set each place with its picture
    ShownBeforeDraw, // empty numbered places stand at their places while the cards are drawn
};
constexpr int BlockShapeCount = 4;

// The step order of each BlockShape, in the order of the enumeration.
using StepOrders = std::array<std::span<const LayoutStep>, BlockShapeCount>;

// How a reversed card of a spread is shown upside down.
enum class TurnMeans {
    RotationEngine, // RotateImage by 180 degrees, the result copied into the place
    InPlaceFlip,    // the upright picture put into the place, then RotatePicture180 on the place
};

// A spread block: the spread (its SpreadTable index, which is also its row of
// SpreadLayoutTable) and what decides the order of its steps.
struct SpreadBlock {
    int spreadIndex;
    BlockShape shape;
    TurnMeans reversedCardsTurnedBy;
    int crossingPosition; // the place of the card laid across the first; -1 for none
};

// The block of a spread, by its SpreadTable index 0..12 (precondition).
const SpreadBlock& SpreadBlockOf(int spreadIndex);

// One layout procedure of the family.
struct AutomaticLayout {
    const char* name; // the spread window's procedure, "DONE1" … "DONE6"

    // The reading options (MinorArcanaOnly, MajorArcanaOnly, AllowReversed)
    // under which it lays out; the spread window's load calls it for exactly these.
    bool minorArcanaOnly;
    bool majorArcanaOnly;
    bool allowReversed; // a card may lie reversed: each position takes a reversal decision

    // A candidate card is Int(r × cardsInSet + firstCard), r the generator's
    // single-precision number; the product and the sum are formed in double
    // precision from these single-precision constants.
    float cardsInSet;
    float firstCard;

    // A candidate is refused when it is among the cards of the earlier
    // positions; wholeArrayRefuses: when it is anywhere in DrawnCards, the
    // zeros of the positions not yet drawn and of the spare element included.
    bool wholeArrayRefuses;

    bool startsWithoutReversedCards; // ReversedCards erased before the guard
    bool crossingCardFirstShownUpright; // the crossing card's place shows it upright until it is turned
    bool enablesPlaces;               // sets Enabled of each place it lays

    StepOrders stepOrders;

    std::span<const LayoutStep> stepsFor(BlockShape shape) const { return stepOrders[int(shape)]; }
};

constexpr int AutomaticLayoutCount = 6;

// DONE1 … DONE6, by their number 1..6 (precondition).
const AutomaticLayout& AutomaticLayoutNumber(int number);

// The layout the spread window's load calls for the reading options;
// nullptr when they ask for none (both arcana flags set).
const AutomaticLayout* AutomaticLayoutForOptions(bool minorArcanaOnly, bool majorArcanaOnly, bool allowReversed);

// The reversal decision for one random number r, 0 <= r < 1: r rounded to
// the nearest whole number, an exact half to the even one; the card lies
// reversed when that is 1, so 0.5 itself gives upright.
bool LiesReversed(float r);

// The candidate card of a layout for the random number r.
qint32 CandidateFor(const AutomaticLayout& layout, float r);
