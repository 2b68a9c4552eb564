#include "TestMain.h"
#include "manual/ManualTexts.h"
#include "reading/PositionMeanings.h"
#include "reading/SpreadTable.h"

#include <QtTest>

namespace {
const QString CrLf = "\r\n";
QString name(int spread) { return QString::fromUtf8(SpreadTable(spread).Name); }
} // namespace

class ManualTextsTest : public QObject {
    Q_OBJECT

private slots:
    void oneLinePrompts()
    {
        QCOMPARE(*PositionPrompt("One Card", 0),
                 QString("Card 1:  This represents the most important factor that affects the issue in hand."));
        QCOMPARE(*PositionPrompt("Two Cards", 0),
                 QString("Card 1: This card signifies what can happen if you carry out the solution that this card "
                         "represents."));
        QCOMPARE(*PositionPrompt("Two Cards", 1),
                 QString("Card 2: This card signifies what can happen if you carry out the solution that this card "
                         "represents."));
        QCOMPARE(*PositionPrompt("The Line Spread", 0), QString("Card 1 - This card represents the distant past."));
        QCOMPARE(*PositionPrompt("The Line Spread", 1), QString("Card 2 - This card represents the recent past."));
        QCOMPARE(*PositionPrompt("The Line Spread", 2), QString("Card 3 - This card represents the present."));
        QCOMPARE(*PositionPrompt("The Line Spread", 3), QString("Card 4 - This card represents the near future."));
        QCOMPARE(*PositionPrompt("The Line Spread", 4),
                 QString("Card 5 - This card represents the distant future."));
    }

    void twoLinePromptsAreLabelLineBreakMeaning()
    {
        QCOMPARE(*PositionPrompt("Celtic Cross", 1),
                 "Card 2: The Crossing" + CrLf + FindPositionMeaning("Celtic Cross", 1)->Meaning);
        for (int spread : {0, 3, 4, 6, 7, 8, 9, 10, 11, 12}) {
            for (int k = 0; k < SpreadTable(spread).Cards; ++k) {
                const PositionMeaningEntry* entry = FindPositionMeaning(name(spread), k);
                QVERIFY(entry);
                QCOMPARE(*PositionPrompt(name(spread), k), entry->Label + CrLf + entry->Meaning);
            }
        }
    }

    void everyPositionHasAPromptAndNoneBeyond()
    {
        for (int spread = 0; spread < 13; ++spread) {
            const int count = SpreadTable(spread).Cards;
            for (int k = 0; k < count; ++k)
                QVERIFY(PositionPrompt(name(spread), k).has_value());
            QVERIFY(!PositionPrompt(name(spread), count).has_value());
            QVERIFY(!PositionPrompt(name(spread), -1).has_value());
        }
        QVERIFY(PositionPrompt("The Romany/ Gypsy Spread", 20).has_value());
        QVERIFY(PositionPrompt("Zodiac Spread", 11).has_value());
    }

    void spreadNamesAreComparedExactly()
    {
        QVERIFY(!PositionPrompt("celtic cross", 0).has_value());
        QVERIFY(!PositionPrompt("Celtic Cross ", 0).has_value());
        QVERIFY(!PositionPrompt(" One Card", 0).has_value());
        QVERIFY(!PositionPrompt("", 0).has_value());
    }

    void celticCrossNotes()
    {
        const QStringList notes{"Card 2" + CrLf + CrLf + "The Crossing",
                                "Card 3: The Root",
                                "Card 4: The Past",
                                "Card 5: The Crown",
                                "Card 6: The Future",
                                "Card 7: The Questioner",
                                "Card 8: The House",
                                "Card 9: The Inside" + CrLf + "Card 10: The Outcome",
                                "Card 9: The Inside" + CrLf + "Card 10: The Outcome"};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(*PlacementNote(0, i), notes[i]);
        QVERIFY(!PlacementNote(0, 9).has_value());
    }

    void nextPromptNotes()
    {
        QCOMPARE(*PlacementNote(2, 0),
                 QString("Card 2: This card signifies what can happen if you carry out the solution that this card "
                         "represents."));
        for (int spread = 2; spread <= 7; ++spread) {
            const int count = SpreadTable(spread).Cards;
            for (int i = 0; i + 1 < count; ++i)
                QCOMPARE(*PlacementNote(spread, i), *PositionPrompt(name(spread), i + 1));
            QVERIFY(!PlacementNote(spread, count - 1).has_value());
        }
        QVERIFY(!PlacementNote(1, 0).has_value());
    }

    void relationshipNotes()
    {
        const QStringList notes{
            "Card 2 represents your partner's view towards you.",
            "Card 3 reflects you expressions, feelings, desires and sentiments.",
            "Card 4 represents your partner's expressions and sentiments.",
            "Card 5 represents your unconscious expressions.",
            "Card 6 represents your partner's unconscious expressions.",
            "Card 7 represents your inner desires and needs.",
            "Card 8 represents your partner's inner desires and needs.",
            "Card 9 tells you about ways of improving your relationship with your partner.",
            "Card 10 tells the ways your partner can improve your relationship.",
        };
        for (int i = 0; i < 9; ++i)
            QCOMPARE(*PlacementNote(8, i), notes[i]);
        QVERIFY(!PlacementNote(8, 9).has_value());
    }

    void romanyNotes()
    {
        for (int i = 0; i <= 5; ++i)
            QCOMPARE(*PlacementNote(9, i), QString("Card %1 represents the past").arg(i + 2));
        for (int i = 6; i <= 12; ++i)
            QCOMPARE(*PlacementNote(9, i), QString("Card %1 represents the present").arg(i + 2));
        for (int i = 13; i <= 19; ++i)
            QCOMPARE(*PlacementNote(9, i), QString("Card %1 reflects the future").arg(i + 2));
        QCOMPARE(*PlacementNote(9, 20), QString());
        QCOMPARE(*PlacementNote(9, 0), QString("Card 2 represents the past"));
        QCOMPARE(*PlacementNote(9, 19), QString("Card 21 reflects the future"));
    }

    void zodiacNotes()
    {
        const QStringList notes{
            "Card 2 is Related to Taurus which represents your financial and business matters.",
            "Card 3 is Related to Gemini which represents communication and education.",
            "Card 4 is Related to Cancer which represents home, family and childhood concerns.",
            "Card 5 is Related to Leo which represents the pleasures and leisure of life.",
            "Card 6 is Related to Virgo which represents work and responsibility.",
            "Card 7 is Related to Libra which represents close partnership and love.",
            "Card 8 is Related to Scorpio which reveals all your hidden influences and desires.",
            "Card 9 is Related to Sagittarius which represents you intimacy in religion and philosophy.",
            "Card 10 is Related to Capricorn which represents your career and ambition.",
            "Card 11 is Related to Aquarius which represents your social life and acquaintances.",
            "Card 12 is Related to Pisces which represents your strengths and weaknesses.",
        };
        for (int i = 0; i < 11; ++i)
            QCOMPARE(*PlacementNote(10, i), notes[i]);
        QVERIFY(!PlacementNote(10, 11).has_value());
    }

    void treeOfLifeNotes()
    {
        const QStringList notes{
            "Card 2 - Right temple: Reveals the basic emotions, feelings and intuitions.",
            "Card 3 - Left temple: Reveals the level of practicality and rationality.",
            "Card 4 - Right shoulder: Reveals our natural ability and common sense.",
            "Card 5 - Left shoulder: Reveals our learning skills and our capacity to take up things.",
            "Card 6 - Heart/ centre position: Related to how we tackle our emotions.",
            "Card 7 - Right hip: Relates to our destiny - the path which we choose.",
            "Card 8 - Left hip: Reveals our energy level.",
            "Card 9 - Groin: Reveals the level of sexuality and sensuality.",
            "Card 10 - feet: Reveals our basic nature.",
        };
        for (int i = 0; i < 9; ++i)
            QCOMPARE(*PlacementNote(11, i), notes[i]);
        QVERIFY(!PlacementNote(11, 9).has_value());
    }

    void numerologyNotesClearTheBox()
    {
        for (int i = 0; i < 8; ++i)
            QCOMPARE(*PlacementNote(12, i), QString());
        QVERIFY(!PlacementNote(12, 8).has_value());
    }

    void noNoteOutsideTheSpread()
    {
        for (int spread = 0; spread < 13; ++spread) {
            QVERIFY(!PlacementNote(spread, SpreadTable(spread).Cards).has_value());
            QVERIFY(!PlacementNote(spread, 20 + (spread == 9 ? 1 : 0)).has_value());
            QVERIFY(!PlacementNote(spread, -1).has_value());
        }
        QVERIFY(!PlacementNote(13, 0).has_value());
        QVERIFY(!PlacementNote(-1, 0).has_value());
    }
};

ARC_TEST(ManualTextsTest)
#include "ManualTextsTest.moc"
