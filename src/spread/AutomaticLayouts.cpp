#include "AutomaticLayouts.h"

#include <array>
#include <cmath>

namespace {

using enum LayoutStep;

// The places and labels are shown and set first, then the cards are drawn and
// their pictures put in.
constexpr LayoutStep PlacesThenCards[] = {ShowPlacesWithLabels, Draw, Pictures};

// Upright cards: nothing of the spread shows until every card is drawn.
constexpr LayoutStep DrawThenShow[] = {Draw, ShowPlaces, SetPlaces, Pictures, ShowLabels};
constexpr LayoutStep DrawThenShowPlaceByPlace[] = {Draw, ShowPlaces, SetPlacesWithPictures, ShowLabels};
// Upright cards: the empty numbered places stand ready during the draw.
constexpr LayoutStep ShowThenDraw[] = {ShowPlaces, ShowLabels, SetPlaces, Draw, Pictures};

// Cards that may lie reversed: a place and its label appear when their card is laid.
constexpr LayoutStep DrawThenLay[] = {Draw, LayCards}; // the place is set with its card
constexpr LayoutStep DrawSetThenLay[] = {Draw, SetPlaces, LayCards};
constexpr LayoutStep ShowDrawThenLay[] = {ShowPlaces, ShowLabels, SetPlaces, Draw, LayCards};

// Step orders by BlockShape: OneCard, DrawnFirst, LineSpread, ShownBeforeDraw.
constexpr StepOrders WholeDeckOrders = {PlacesThenCards, PlacesThenCards, PlacesThenCards, PlacesThenCards};
constexpr StepOrders UprightOrders = {DrawThenShow, DrawThenShow, DrawThenShowPlaceByPlace, ShowThenDraw};
constexpr StepOrders ReversibleOrders = {DrawThenLay, DrawSetThenLay, DrawSetThenLay, ShowDrawThenLay};

// Columns: the options (minor, major, reversed); a candidate Int(r × cards +
// first); whether the whole of DrawnCards refuses a candidate; whether
// ReversedCards starts empty; whether the crossing card shows upright until
// it is turned; whether places are enabled; the step orders.
// clang-format off
constexpr std::array<AutomaticLayout, AutomaticLayoutCount> Layouts = {{
//   name     minor  major  reversed  cards  first  whole  empty  upright enables steps
    {"DONE1", false, false, false,    77.0f, 0.0f,  true,  false, true,   false,  WholeDeckOrders},
    {"DONE2", true,  false, false,    56.0f, 22.0f, false, false, false,  false,  UprightOrders},
    {"DONE3", false, true,  false,    21.0f, 0.0f,  false, false, false,  false,  UprightOrders},
    {"DONE4", false, false, true,     78.0f, 0.0f,  false, true,  false,  false,  ReversibleOrders},
    {"DONE5", true,  false, true,     56.0f, 22.0f, false, true,  false,  false,  ReversibleOrders},
    {"DONE6", false, true,  true,     21.0f, 0.0f,  false, true,  false,  true,   ReversibleOrders},
}};

// By SpreadTable index.
constexpr std::array<SpreadBlock, 13> Blocks = {{
    {0,  BlockShape::DrawnFirst,      TurnMeans::RotationEngine, 1},  // Celtic Cross
    {1,  BlockShape::OneCard,         TurnMeans::RotationEngine, -1}, // One Card
    {2,  BlockShape::DrawnFirst,      TurnMeans::RotationEngine, -1}, // Two Cards
    {3,  BlockShape::DrawnFirst,      TurnMeans::RotationEngine, -1}, // Three Cards
    {4,  BlockShape::DrawnFirst,      TurnMeans::RotationEngine, -1}, // Eliphas Levy Wheel
    {5,  BlockShape::LineSpread,      TurnMeans::RotationEngine, -1}, // The Line Spread
    {6,  BlockShape::DrawnFirst,      TurnMeans::RotationEngine, -1}, // Seven Card Chakra
    {7,  BlockShape::DrawnFirst,      TurnMeans::RotationEngine, -1}, // Four Seasons
    {8,  BlockShape::ShownBeforeDraw, TurnMeans::InPlaceFlip,    -1}, // Relationship
    {9,  BlockShape::ShownBeforeDraw, TurnMeans::InPlaceFlip,    -1}, // Romany
    {10, BlockShape::ShownBeforeDraw, TurnMeans::InPlaceFlip,    -1}, // Zodiac
    {11, BlockShape::ShownBeforeDraw, TurnMeans::InPlaceFlip,    -1}, // Tree of Life
    {12, BlockShape::ShownBeforeDraw, TurnMeans::InPlaceFlip,    -1}, // Numerology
}};
// clang-format on

constexpr bool blocksInSpreadTableOrder()
{
    for (int i = 0; i < int(Blocks.size()); ++i) {
        if (Blocks[i].spreadIndex != i)
            return false;
    }
    return true;
}
static_assert(blocksInSpreadTableOrder());

} // namespace

const SpreadBlock& SpreadBlockOf(int spreadIndex)
{
    Q_ASSERT(spreadIndex >= 0 && spreadIndex < int(Blocks.size()));
    return Blocks[spreadIndex];
}

const AutomaticLayout& AutomaticLayoutNumber(int number)
{
    Q_ASSERT(number >= 1 && number <= AutomaticLayoutCount);
    return Layouts[number - 1];
}

const AutomaticLayout* AutomaticLayoutForOptions(bool minorArcanaOnly, bool majorArcanaOnly, bool allowReversed)
{
    for (const AutomaticLayout& layout : Layouts) {
        if (layout.minorArcanaOnly == minorArcanaOnly && layout.majorArcanaOnly == majorArcanaOnly
            && layout.allowReversed == allowReversed)
            return &layout;
    }
    return nullptr;
}

bool LiesReversed(float r) { return std::nearbyint(static_cast<double>(r)) == 1.0; }

qint32 CandidateFor(const AutomaticLayout& layout, float r)
{
    const double card = static_cast<double>(r) * static_cast<double>(layout.cardsInSet)
                        + static_cast<double>(layout.firstCard);
    return static_cast<qint32>(std::floor(card));
}
