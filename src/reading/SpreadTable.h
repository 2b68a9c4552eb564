#pragma once
#include <QString>
#include <iterator>

// The thirteen spreads, by their index in the spread list.
struct SpreadInfo {
    int Index;
    const char* Name;        // the list text; compared exactly wherever a table is keyed by it
    int Cards;               // number of positions
    const char* MenuItem;    // name of the "&Choose Scenario" item selecting it; "" for none
    const char* MenuCaption; // that item's caption
    const char* MenuText;    // the text that item puts into the list selection
    const char* Description; // shown in the spread choice and under the reading's header
};

const SpreadInfo& SpreadTable(int index); // index 0..12
int SpreadCount();

// The diagram of a spread as the program names it, relative to the program
// folder: "\pic\c<index>.jpg".
QString SpreadDiagramPath(int index);
