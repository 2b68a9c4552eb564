#pragma once
#include "platform/DynArray.h"

#include <QString>

// The reading in progress, shared by the reading windows. The first group is
// what the user chose in the spread choice window; the second the reading
// being drawn, written and saved or restored.
struct ReadingState {
    // The choice.
    QString SelectedSpreadName;
    qint32 CardCount = 0;
    bool MinorArcanaOnly = false;
    bool MajorArcanaOnly = false;
    bool AllowReversed = false;
    bool AutoCastPressed = false;
    bool ManualPressed = false;

    // The reading in progress.
    qint32 SelectedSpreadIndex = 0;
    QString DeckLetter;
    bool IsManualReading = false;
    IntArray DrawnCards;
    IntArray ReversedCards;
    QString CurrentSpreadName;
    bool IsReadingFromFile = false;
    QString FileSpreadName;
    IntArray FileCards;
    IntArray FileReversedCards;
    QString FileLine;
};

// The one reading state of the program.
ReadingState& Reading();

// The deck letter of the deck list's entry: "r" for the first, "m" otherwise.
QString DeckLetterOf(int deckIndex);
