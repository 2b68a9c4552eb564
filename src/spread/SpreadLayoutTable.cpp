#include "SpreadLayoutTable.h"

#include <QtGlobal>

namespace {

// Positions of the Romany spread: three rows of seven, each laid right to left,
// the first row at the bottom.
QList<QPointF> romanyPositions()
{
    const double lefts[7] = {13800, 11480, 9193, 6921, 4634, 2377, 120};
    const double tops[3] = {11040, 6180, 1320};
    QList<QPointF> out;
    for (double top : tops)
        for (double left : lefts)
            out.append(QPointF(left, top));
    return out;
}

const QList<SpreadLayout>& table()
{
    static const QList<SpreadLayout> layouts = {
        {0, "Celtic Cross", true,
         {{3200, 3700}, {2300, 4200}, {3200, 7500}, {100, 3700}, {3200, 0},
          {6200, 3700}, {8500, 11300}, {8500, 7500}, {8500, 3700}, {8500, 0}}},
        {1, "One Card", false, {{5000, 2500}}},
        {2, "Two Cards", false, {{4000, 2500}, {6200, 2500}}},
        {3, "Three Cards", false, {{2200, 2500}, {4400, 2500}, {6600, 2500}}},
        {4, "Eliphas Levy Wheel Spread(Ferrow)", true,
         {{8900, 2500}, {6700, 2500}, {4500, 2500}, {2300, 2500}, {100, 2500}}},
        {5, "The Line Spread", true,
         {{5000, 3800}, {7200, 3800}, {5000, 7600}, {2800, 3800}, {5000, 0}}},
        {6, "Seven Card Chakra Layout", false,
         {{4500, 22600}, {4500, 18800}, {4500, 15000}, {4500, 11200}, {4500, 7500},
          {4500, 3800}, {4500, 0}}},
        {7, "Four Seasons Spread(Dalvomby)", false,
         {{100, 7600}, {2300, 11400}, {4500, 0}, {2300, 3800}, {8900, 7600},
          {6700, 3800}, {4500, 15200}, {6700, 11400}}},
        {8, "Relationship Spread", true,
         {{3840, 240}, {6480, 240}, {3840, 4200}, {6480, 4200}, {3840, 8160},
          {6480, 8160}, {3840, 12120}, {6480, 12120}, {3840, 16080}, {6480, 16080}}},
        {9, "The Romany/ Gypsy Spread", true, romanyPositions()},
        {10, "Zodiac Spread", true,
         {{120, 6720}, {2385, 9720}, {4650, 10440}, {6930, 10920}, {9225, 10440},
          {11505, 9720}, {13800, 6720}, {11505, 3480}, {9225, 3000}, {6930, 2400},
          {4650, 3000}, {2385, 3480}}},
        {11, "Tree of Life", true,
         {{5840, 120}, {8120, 3960}, {3560, 3960}, {8120, 7800}, {3560, 7800},
          {5840, 11640}, {3560, 15480}, {8120, 15480}, {5840, 19320}, {5840, 23160}}},
        {12, "Numerology Spread", true,
         {{2760, 240}, {5280, 240}, {7800, 240}, {2760, 4320}, {5280, 4320},
          {7800, 4320}, {2760, 8400}, {5280, 8400}, {7800, 8400}}},
    };
    return layouts;
}

} // namespace

const SpreadLayout& SpreadLayoutByIndex(int index)
{
    Q_ASSERT(index >= 0 && index < SpreadLayoutCount);
    return table().at(index);
}

const SpreadLayout* FindSpreadLayout(int n, const QString& spreadName)
{
    for (const SpreadLayout& layout : table()) {
        if (layout.positions.size() != n)
            continue;
        if (!layout.chosenByName || spreadName == QLatin1String(layout.name))
            return &layout;
    }
    return nullptr;
}
