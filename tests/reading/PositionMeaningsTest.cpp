#include "ReadingTextCheck.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "reading/PositionMeanings.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"

#include <QSet>
#include <QtTest>

using ReadingTextCheck::Expected;

namespace {
RichTextBox& box() { return *frmMDI().rtbDisp1; }

QString label(const QString& spread, int position)
{
    const PositionMeaningEntry* e = FindPositionMeaning(spread, position);
    return e ? e->Label : QString("<none>");
}
QString meaning(const QString& spread, int position)
{
    const PositionMeaningEntry* e = FindPositionMeaning(spread, position);
    return e ? e->Meaning : QString("<none>");
}
} // namespace

class PositionMeaningsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;

private slots:
    void initTestCase() { folder = std::make_unique<ProgramFolder>(); }
    void init() { TestSupport::resetSession(); }
    void cleanupTestCase()
    {
        TestSupport::resetSession();
        folder.reset();
    }

    void oneEntryForEveryPositionOfEverySpread()
    {
        const auto& table = PositionMeaningTable();
        QCOMPARE(table.size(), 103);
        int at = 0;
        for (int s = 0; s < SpreadCount(); ++s) {
            for (int p = 0; p < SpreadTable(s).Cards; ++p, ++at) {
                QCOMPARE(table[at].Spread, QString(SpreadTable(s).Name));
                QCOMPARE(table[at].Position, p);
                QVERIFY2(table[at].Label.startsWith(QString("Card %1").arg(p + 1)), qPrintable(table[at].Label));
            }
            QVERIFY(!FindPositionMeaning(SpreadTable(s).Name, SpreadTable(s).Cards));
            QVERIFY(!FindPositionMeaning(SpreadTable(s).Name, -1));
        }
        QSet<QString> meanings;
        for (const auto& e : table)
            meanings << e.Meaning;
        QCOMPARE(meanings.size(), 84);
    }

    void labelsKeepTheirBlanks()
    {
        QCOMPARE(label("One Card", 0), QString("Card 1:  "));
        QCOMPARE(label("Two Cards", 0), QString("Card 1: "));
        QCOMPARE(label("Two Cards", 1), QString("Card 2: "));
        QCOMPARE(meaning("Two Cards", 0), meaning("Two Cards", 1));
        for (int p = 0; p < 5; ++p)
            QCOMPARE(label("The Line Spread", p), QString("Card %1 - ").arg(p + 1));
        QCOMPARE(label("Celtic Cross", 0), QString("Card 1: The Covering"));
        QCOMPARE(label("Tree of Life", 9), QString("Card 10 - feet:"));
        QCOMPARE(label("Tree of Life", 5), QString("Card 6 - Heart/ centre position:"));
        QCOMPARE(meaning("Four Seasons Spread(Dalvomby)", 3), QString("This card alters the next card (Card5)"));
        QCOMPARE(label("Four Seasons Spread(Dalvomby)", 7), QString("Card 8"));
        QCOMPARE(meaning("Zodiac Spread", 10),
                 QString("Related to Aquarius which represents your social life and acquaintances."));
        QCOMPARE(meaning("Zodiac Spread", 11), QString("Related to Pisces which represents your strengths and weaknesses."));
        QCOMPARE(meaning("Seven Card Chakra Layout", 4),
                 QString("This relates to the querent's thirst to know 'who he is', 'what does he want' and 'who "
                         "would he like to be'.  This shows how you can connect to your ideas and communicate."));
    }

    void romanyMeaningsGoByThirds()
    {
        const QString romany = "The Romany/ Gypsy Spread";
        for (int p = 0; p < 21; ++p) {
            QCOMPARE(label(romany, p), QString("Card %1").arg(p + 1));
            const char* expected = p < 7 ? "Represent the past." : p < 14 ? "Represent the present." : "Represent the future.";
            QCOMPARE(meaning(romany, p), QString(expected));
        }
    }

    void joinerPutsTheMeaningOnTheNextLine()
    {
        Reading().CurrentSpreadName = "Three Cards";
        box().SetText("");
        WritePositionMeaning(2);
        Expected e;
        e.bold("Card 3 - Future");
        e.plain("\r\nThis card represents the future outcome of the present circumstances or events that may lead to "
                "the outcome.");
        COMPARE_READING_TEXT(box(), e);
    }

    void spreadsWithoutJoinerKeepTheMeaningOnTheLabelsLine()
    {
        Reading().CurrentSpreadName = "One Card";
        box().SetText("");
        WritePositionMeaning(0);
        WritePositionMeaning(1);
        Expected e;
        e.bold("Card 1:  ");
        e.plain("This represents the most important factor that affects the issue in hand.");
        COMPARE_READING_TEXT(box(), e);

        Reading().CurrentSpreadName = "The Line Spread";
        box().SetText("");
        WritePositionMeaning(0);
        Expected line;
        line.bold("Card 1 - ");
        line.plain("This card represents the distant past.");
        COMPARE_READING_TEXT(box(), line);
    }

    void unknownSpreadOrPositionWritesNothing()
    {
        box().SetText("");
        for (const QString& spread : {QString(), QString("-1"), QString("Celtic Cross "), QString("celtic cross")}) {
            Reading().CurrentSpreadName = spread;
            WritePositionMeaning(0);
        }
        Reading().CurrentSpreadName = "The Romany/ Gypsy Spread";
        WritePositionMeaning(21);
        WritePositionMeaning(-1);
        QCOMPARE(box().Text(), QString());
    }

    void writesAtTheInsertionPoint()
    {
        Reading().CurrentSpreadName = "Numerology Spread";
        box().SetText("AB");
        box().SetSelStart(1);
        WritePositionMeaning(8);
        Expected e;
        e.plain("A");
        e.bold("Card 9");
        e.plain("\r\nYou see yourself as a Crusader.");
        e.plain("B");
        COMPARE_READING_TEXT(box(), e);
    }
};

ARC_TEST(PositionMeaningsTest)
#include "PositionMeaningsTest.moc"
