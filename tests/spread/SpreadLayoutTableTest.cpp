#include "TestMain.h"
#include "spread/SpreadLayoutTable.h"

#include <QTest>
#include <cmath>

class SpreadLayoutTableTest : public QObject {
    Q_OBJECT

    static int found(int n, const QString& name)
    {
        const SpreadLayout* layout = FindSpreadLayout(n, name);
        return layout ? layout->index : -1;
    }

private slots:
    void holdsThirteenSpreadsByIndex()
    {
        const char* names[13] = {"Celtic Cross", "One Card", "Two Cards", "Three Cards",
                                 "Eliphas Levy Wheel Spread(Ferrow)", "The Line Spread",
                                 "Seven Card Chakra Layout", "Four Seasons Spread(Dalvomby)",
                                 "Relationship Spread", "The Romany/ Gypsy Spread", "Zodiac Spread",
                                 "Tree of Life", "Numerology Spread"};
        const int counts[13] = {10, 1, 2, 3, 5, 5, 7, 8, 10, 21, 12, 10, 9};
        QCOMPARE(SpreadLayoutCount, 13);
        int total = 0;
        for (int i = 0; i < 13; ++i) {
            const SpreadLayout& layout = SpreadLayoutByIndex(i);
            QCOMPARE(layout.index, i);
            QCOMPARE(QString(layout.name), QString(names[i]));
            QCOMPARE(layout.positions.size(), counts[i]);
            total += layout.positions.size();
            for (const QPointF& pt : layout.positions) {
                QCOMPARE(pt.x(), std::round(pt.x()));
                QCOMPARE(pt.y(), std::round(pt.y()));
                QVERIFY(pt.x() >= 0 && pt.y() >= 0);
            }
        }
        QCOMPARE(total, 103);
    }

    void findsSpreadsByTheirCountAlone()
    {
        QCOMPARE(found(1, "One Card"), 1);
        QCOMPARE(found(1, ""), 1);
        QCOMPARE(found(1, "anything at all"), 1);
        QCOMPARE(found(2, "celtic cross"), 2);
        QCOMPARE(found(3, ""), 3);
        QCOMPARE(found(7, "Seven card chakra layout"), 6);
        QCOMPARE(found(8, "-1"), 7);
    }

    void findsTheOtherSpreadsByCountAndExactName()
    {
        QCOMPARE(found(5, "Eliphas Levy Wheel Spread(Ferrow)"), 4);
        QCOMPARE(found(5, "The Line Spread"), 5);
        QCOMPARE(found(10, "Celtic Cross"), 0);
        QCOMPARE(found(10, "Relationship Spread"), 8);
        QCOMPARE(found(10, "Tree of Life"), 11);
        QCOMPARE(found(9, "Numerology Spread"), 12);
        QCOMPARE(found(12, "Zodiac Spread"), 10);
        QCOMPARE(found(21, "The Romany/ Gypsy Spread"), 9);
    }

    void aNameThatDiffersInAnyCharacterMatchesNothing()
    {
        QCOMPARE(found(10, "celtic cross"), -1);
        QCOMPARE(found(10, "Celtic Cross "), -1);
        QCOMPARE(found(10, " Celtic Cross"), -1);
        QCOMPARE(found(10, "Celtic  Cross"), -1);
        QCOMPARE(found(10, ""), -1);
        QCOMPARE(found(5, "the line spread"), -1);
        QCOMPARE(found(5, "Eliphas Levy Wheel Spread (Ferrow)"), -1);
        QCOMPARE(found(21, "The Romany/Gypsy Spread"), -1);
        QCOMPARE(found(9, "Zodiac Spread"), -1);
        QCOMPARE(found(12, "Numerology Spread"), -1);
        QCOMPARE(found(5, "Celtic Cross"), -1);
        QCOMPARE(found(10, "The Line Spread"), -1);
    }

    void otherCountsHaveNoTable()
    {
        for (int n : {-1, 0, 4, 6, 11, 13, 20, 22})
            QCOMPARE(found(n, "Celtic Cross"), -1);
        QCOMPARE(found(4, "Eliphas Levy Wheel Spread(Ferrow)"), -1);
    }

    void holdsThePositionsExactly()
    {
        const auto at = [](int index, int position) { return SpreadLayoutByIndex(index).positions.at(position - 1); };
        QCOMPARE(at(1, 1), QPointF(5000, 2500));
        QCOMPARE(at(0, 1), QPointF(3200, 3700));
        QCOMPARE(at(0, 2), QPointF(2300, 4200));
        QCOMPARE(at(0, 7), QPointF(8500, 11300));
        QCOMPARE(at(0, 10), QPointF(8500, 0));
        QCOMPARE(at(4, 1), QPointF(8900, 2500));
        QCOMPARE(at(5, 5), QPointF(5000, 0));
        QCOMPARE(at(6, 1), QPointF(4500, 22600));
        QCOMPARE(at(7, 7), QPointF(4500, 15200));
        QCOMPARE(at(8, 10), QPointF(6480, 16080));
        QCOMPARE(at(9, 1), QPointF(13800, 11040));
        QCOMPARE(at(9, 7), QPointF(120, 11040));
        QCOMPARE(at(9, 8), QPointF(13800, 6180));
        QCOMPARE(at(9, 18), QPointF(6921, 1320));
        QCOMPARE(at(9, 21), QPointF(120, 1320));
        QCOMPARE(at(10, 4), QPointF(6930, 10920));
        QCOMPARE(at(10, 12), QPointF(2385, 3480));
        QCOMPARE(at(11, 10), QPointF(5840, 23160));
        QCOMPARE(at(12, 9), QPointF(7800, 8400));
    }
};

ARC_TEST(SpreadLayoutTableTest)
#include "SpreadLayoutTableTest.moc"
