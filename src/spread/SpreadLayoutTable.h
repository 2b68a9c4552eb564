#pragma once
// `SpreadLayoutTable`: where the card places of every spread lie in the spread
// window, as data. The spread window, the manual reading and the data
// generator (which draws the spread diagrams from it) all read this one table.
#include <QList>
#include <QPointF>
#include <QString>

struct SpreadLayout {
    int index;               // the spread's `SpreadTable` index, 0..12
    const char* name;        // the spread's name exactly as `SpreadTable` lists it
    bool chosenByName;       // false: found by its number of positions alone
    QList<QPointF> positions; // (Left, Top) in twips of position 1, 2, … (card place p(k-1))
};

constexpr int SpreadLayoutCount = 13;

// The table of the spread with `SpreadTable` index 0..12 (precondition).
const SpreadLayout& SpreadLayoutByIndex(int index);

// The table a layout of n positions uses for the spread named spreadName:
// 1, 2, 3, 7 and 8 positions by n alone; 5, 9, 10, 12 and 21 positions by n
// and the name, compared exactly (case-sensitive, whole string, untrimmed).
// nullptr when the pair matches no table.
const SpreadLayout* FindSpreadLayout(int n, const QString& spreadName);
