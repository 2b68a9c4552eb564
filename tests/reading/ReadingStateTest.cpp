#include "TestMain.h"
#include "common/ArrayRoutines.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"

#include <QtTest>

class ReadingStateTest : public QObject {
    Q_OBJECT
private slots:
    void freshStateIsEmpty()
    {
        const ReadingState s;
        QVERIFY(s.SelectedSpreadName.isEmpty() && s.DeckLetter.isEmpty() && s.FileSpreadName.isEmpty());
        QCOMPARE(s.CardCount, 0);
        QCOMPARE(s.SelectedSpreadIndex, 0);
        QVERIFY(!s.MinorArcanaOnly && !s.MajorArcanaOnly && !s.AllowReversed && !s.IsManualReading);
        QVERIFY(!s.AutoCastPressed && !s.ManualPressed && !s.IsReadingFromFile);
        for (const IntArray* a : {&s.DrawnCards, &s.ReversedCards, &s.FileCards, &s.FileReversedCards})
            QVERIFY(!IsArrayDimmed(*a));
    }

    void deckLetterByListIndex()
    {
        QCOMPARE(DeckLetterOf(0), QString("r"));
        QCOMPARE(DeckLetterOf(1), QString("m"));
        QCOMPARE(DeckLetterOf(7), QString("m"));
        QCOMPARE(DeckLetterOf(-1), QString("m"));
    }

    void thirteenSpreadsWithTheirNamesAndPositions()
    {
        QCOMPARE(SpreadCount(), 13);
        const QList<QPair<QString, int>> expected{
            {"Celtic Cross", 10}, {"One Card", 1}, {"Two Cards", 2}, {"Three Cards", 3},
            {"Eliphas Levy Wheel Spread(Ferrow)", 5}, {"The Line Spread", 5}, {"Seven Card Chakra Layout", 7},
            {"Four Seasons Spread(Dalvomby)", 8}, {"Relationship Spread", 10}, {"The Romany/ Gypsy Spread", 21},
            {"Zodiac Spread", 12}, {"Tree of Life", 10}, {"Numerology Spread", 9}};
        int positions = 0;
        for (int i = 0; i < 13; ++i) {
            QCOMPARE(SpreadTable(i).Index, i);
            QCOMPARE(QString(SpreadTable(i).Name), expected[i].first);
            QCOMPARE(SpreadTable(i).Cards, expected[i].second);
            QCOMPARE(SpreadDiagramPath(i), QString("\\pic\\c%1.jpg").arg(i));
            QVERIFY(QString(SpreadTable(i).Description).endsWith('.'));
            positions += SpreadTable(i).Cards;
        }
        QCOMPARE(positions, 103);
    }

    void menuItemsSelectTheirSpreads()
    {
        QCOMPARE(QString(SpreadTable(3).MenuItem), QString("mnyThree"));
        QCOMPARE(QString(SpreadTable(6).MenuCaption), QString("&Seven card chakra layout"));
        QCOMPARE(QString(SpreadTable(6).MenuText), QString("Seven card chakra layout"));
        for (int i = 0; i < 8; ++i)
            QVERIFY(QString(SpreadTable(i).MenuText).compare(SpreadTable(i).Name, Qt::CaseInsensitive) == 0);
        for (int i = 8; i < 13; ++i)
            QVERIFY(QString(SpreadTable(i).MenuItem).isEmpty());
    }

    void descriptionsKeepTheirDoubleBlank()
    {
        QVERIFY(QString(SpreadTable(6).Description).contains("bottom to top.  This spread"));
        QVERIFY(QString(SpreadTable(9).Description).contains("revels your past"));
    }
};

ARC_TEST(ReadingStateTest)
#include "ReadingStateTest.moc"
