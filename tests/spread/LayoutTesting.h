#pragma once
// What the tests of the automatic layouts share: the reading options of each
// layout, the card pictures as they should show, and a way to make the
// random generator give known numbers once a layout has re-seeded it.
#include "imaging/RotatePicture.h"
#include "platform/Controls.h"
#include "platform/Rnd.h"
#include "reading/CardMeanings.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"
#include "spread/CardPicturePath.h"

#include <QImage>
#include <QString>
#include <QtGlobal>

namespace LayoutTesting {

// A layout as the user asks for it in the spread choice, and the cards it may draw.
struct Options {
    const char* procedure;
    bool minorArcanaOnly;
    bool majorArcanaOnly;
    bool allowReversed;
    int lowestCard;
    int highestCard;
};

inline const Options& OptionsOf(int procedure)
{
    static const Options options[] = {
        {"DONE1", false, false, false, 1, 76},
        {"DONE2", true, false, false, 22, 77},
        {"DONE3", false, true, false, 0, 20},
        {"DONE4", false, false, true, 0, 77},
        {"DONE5", true, false, true, 22, 77},
        {"DONE6", false, true, true, 0, 20},
    };
    return options[procedure - 1];
}

constexpr int CelticCross = 0;
constexpr int OneCard = 1;
constexpr int TwoCards = 2;
constexpr int ThreeCards = 3;
constexpr int LineSpread = 5;
constexpr int Chakra = 6;
constexpr int FourSeasons = 7;
constexpr int Relationship = 8;
constexpr int Romany = 9;
constexpr int Zodiac = 10;
constexpr int TreeOfLife = 11;
constexpr int Numerology = 12;

// The spreads whose empty numbered places stand ready while the cards are drawn;
// these also turn a reversed card upside down in its place.
inline bool ShownBeforeDraw(int spread) { return spread == Relationship || spread >= Romany; }

// The reading state as the spread choice leaves it when "AutoCast" is pressed.
inline void ChooseAutomatic(int procedure, int spread, const QString& deck = "r")
{
    const Options& o = OptionsOf(procedure);
    ReadingState& r = Reading();
    r = ReadingState();
    r.DeckLetter = deck;
    r.SelectedSpreadName = SpreadTable(spread).Name;
    r.CardCount = SpreadTable(spread).Cards;
    r.MinorArcanaOnly = o.minorArcanaOnly;
    r.MajorArcanaOnly = o.majorArcanaOnly;
    r.AllowReversed = o.allowReversed;
    r.AutoCastPressed = true;
}

inline QImage CardImage(int card, const QString& deck = "r") { return LoadPicture(CardPicturePath(card, deck)); }
inline QImage UpsideDown(const QImage& image) { return image.mirrored(true, true); }
// A card laid across: turned a quarter by the rotation engine.
inline QImage Across(const QImage& image) { return RotatePicture(image, 90.0, RotateProgress(), 0); }

inline QString Heading(int card, bool reversed)
{
    const CardMeaningRow* row = CardMeaningTable(card);
    return "\n" + (reversed ? row->ReversedHeading : row->Name) + "\r\n";
}

// Makes the number that the generator gives k-th (k from 1) after the next
// Randomize come from the 24-bit state `state`, that is state / 2^24, and
// makes Randomize read a timer that leaves the generator where it stands.
// False when no timer does (then the generator is as before).
inline bool ArrangeNumberAfterReseeding(int k, quint32 state)
{
    // The state k steps before `state`: the generator runs through all 2^24
    // states before it repeats one, so it is 2^24 - k steps after it.
    RndState::SetSeed(state);
    for (quint32 steps = 0; steps < (1u << 24) - quint32(k); ++steps)
        Rnd();
    const quint32 start = RndState::Seed();
    for (int tick = 0; tick < 86400 * 64; ++tick) {
        const float timer = float(tick) / 64.0f;
        RndState::SetSeed(start);
        RndState::SetFixedTimer(timer);
        Randomize();
        if (RndState::Seed() == start)
            break;
    }
    if (RndState::Seed() != start)
        return false;
    for (int i = 0; i < k; ++i)
        Rnd();
    const bool arranged = RndState::Seed() == state;
    RndState::SetSeed(start);
    return arranged;
}

} // namespace LayoutTesting
