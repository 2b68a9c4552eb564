#pragma once
#include "platform/DynArray.h"

#include <QString>

// A card of the 78-card deck in the reading's own order: 0..21 the major
// arcana (0 is Death, 6 The Fool, 21 Wheel Fortune), 22..77 the minor arcana.
// The number also names the card's pictures and is stored in saved readings.
using CardNumber = qint32;
constexpr CardNumber FirstCard = 0;
constexpr CardNumber LastCard = 77;

// What the reading text says of a card.
struct CardMeaningRow {
    QString Name;             // the heading of an upright card
    QString ReversedHeading;  // the name and " - Reversed"
    QString BreaksBeforeReversedHeading; // CR LF CR LF; a single CR LF for Death
    QString Upright;
    QString Reversed;
};

// The row of a card; nullptr for a number outside 0..77.
const CardMeaningRow* CardMeaningTable(CardNumber card);

// Writes the card part of a reading at the insertion point of frmMDI's
// result box: for each position its label and meaning, the card's bold
// heading, its upright or reversed meaning and a rule; then the bold closing
// line. A card lies reversed when its number is in reversedCards. In an
// automatic reading (IsManualReading false) the last element of cards is no
// position and is not written. A cards array without bounds raises a
// subscript error before anything is written.
void WriteCardMeanings(const IntArray& cards, const IntArray& reversedCards);
