#pragma once
#include <QString>

// The header of a spread in the reading text: its bold title and where the
// empty lines around its description go.
struct SpreadHeaderEntry {
    const char* Spread;           // the spread's name, compared exactly
    const char* Title;            // written in bold
    bool EmptyLineBeforeDescription;
    bool EmptyLineAfterDescription;
};

// The entry of a spread, found by its exact name (case and blanks count);
// nullptr for a name that is none of the thirteen spreads.
const SpreadHeaderEntry* FindSpreadHeader(const QString& spread);

// Appends the opening of a reading at the end of the result box of frmMDI:
// the forum line, the centred "Visit", home page and "Now" lines and a rule;
// then, for a known spread, its title, its description and a closing rule.
void WriteSpreadHeader(const QString& spread);
