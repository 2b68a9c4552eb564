#pragma once

// The upright and reversed meaning of every card of the reading, by card
// number, as UTF-8. The table is generated at build time from data/cards.txt
// by tools/cardtable.
struct CardMeaningText {
    const char* Upright;
    const char* Reversed;
};

extern const CardMeaningText CardMeaningTexts[78];
