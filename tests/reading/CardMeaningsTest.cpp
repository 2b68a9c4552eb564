#include "ReadingTextCheck.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "common/PageLaunchers.h"
#include "platform/Forms.h"
#include "platform/VbError.h"
#include "reading/CardMeanings.h"
#include "reading/ReadingState.h"
#include "reading/SpreadHeader.h"
#include "reading/SpreadTable.h"

#include <QFile>
#include <QSet>
#include <QtTest>

using ReadingTextCheck::Expected;

namespace {
const QString CRLF = "\r\n";
const QString Blanks512 = QString(512, ' ');

const QString DeathUpright =
    "This is the beginning of a new life. You have to start from scratch. You won't get anything easily. Do not give "
    "up hope nor wallow in self pity. Give up old habits that you don't like and start a new life. There may be a lot "
    "of changes in your life.";
const QString DeathReversed =
    "The changes in your life may not be pleasant. You may not be ready to face them. This may leave you exhausted "
    "mentally as well as physically. This may be a period of stagnation. You may be lethargic and make excuses for "
    "your actions.";
const QString HangedManReversed =
    "You may feel dissatisfied with life. A feeling of disappointment depresses you. There is a lack of achievement "
    "that troubles you. Things may be delayed just when they are about to be completed. Try to overcome frustration "
    "and lead a normal life.";
const QString ThreeOfPentaclesReversed =
    "Skillful work is neglected at the cost of cutting costs. Quality of work may be low. Ambitions may be common "
    "place. You may not be sure of the path you have chosen. You may be suffering from low confidence and "
    "enthusiasm. The results are disappointing.";

QString upright(CardNumber c) { return CardMeaningTable(c)->Upright; }
QString reversed(CardNumber c) { return CardMeaningTable(c)->Reversed; }

RichTextBox& box() { return *frmMDI().rtbDisp1; }

IntArray cardsOf(const QVector<qint32>& items) { return IntArray::From(items); }

// One position whose card is written: heading, meaning and rule.
void card(Expected& e, const QString& heading, const QString& meaning, const QString& breaks = "\r\n\r\n")
{
    e.bold(breaks + heading);
    e.plain(CRLF + meaning);
    e.rule(CRLF + Blanks512 + CRLF);
}
void ruleOnly(Expected& e) { e.rule(CRLF + Blanks512 + CRLF); }
void closing(Expected& e)
{
    e.bold(CRLF + "Thank You for using Arcavell Reading Software. Come spend some time with us online at "
           + PageAddress::Home + ". The best online discussion forum for every esoteric." + CRLF);
}
// A position text with its meaning on the line after the label.
void position(Expected& e, const QString& label, const QString& meaning)
{
    e.bold(label);
    e.plain(CRLF + meaning);
}
// A position text with its meaning on the label's line.
void positionSameLine(Expected& e, const QString& label, const QString& meaning)
{
    e.bold(label);
    e.plain(meaning);
}

// The texts of data/cards.txt by card number: upright and reversed.
QMap<int, QPair<QString, QString>> cardRecords()
{
    QFile file(QString(ARCAVELL_DATA_DIR) + "/cards.txt");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QMap<int, QPair<QString, QString>> out;
    int number = -1;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith("number:"))
            number = line.mid(7).trimmed().toInt();
        else if (line.startsWith("upright:"))
            out[number].first = line.mid(8).trimmed();
        else if (line.startsWith("reversed:"))
            out[number].second = line.mid(9).trimmed();
    }
    return out;
}
} // namespace

class CardMeaningsTest : public QObject {
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

    void namesInTheReadingsOwnOrder()
    {
        const QMap<CardNumber, QString> names{
            {0, "Death"}, {1, "The Hermit"}, {6, "The Fool"}, {11, "The Hanged Man"}, {15, "The Magician"},
            {20, "The World"}, {21, "Wheel Fortune"}, {22, "Two of Cups"}, {23, "Two of Swords"},
            {24, "Two of Wands"}, {25, "Three of Cups"}, {28, "Three of Wands"}, {56, "Ten of Wands"},
            {57, "Ace of Cups"}, {61, "King of Cups"}, {65, "Knight of Cups"}, {69, "Page of Cups"},
            {73, "Queen of Cups"}, {76, "Queen of Wands"}, {77, "Two of Pentacles"}};
        for (auto it = names.begin(); it != names.end(); ++it) {
            QCOMPARE(CardMeaningTable(it.key())->Name, it.value());
            QCOMPARE(CardMeaningTable(it.key())->ReversedHeading, it.value() + " - Reversed");
        }
        QVERIFY(!CardMeaningTable(-1));
        QVERIFY(!CardMeaningTable(78));
    }

    void deathIsQuotedAndItsReversedHeadingTakesOneLineBreak()
    {
        QCOMPARE(upright(0), DeathUpright);
        QCOMPARE(reversed(0), DeathReversed);
        QCOMPARE(CardMeaningTable(0)->BreaksBeforeReversedHeading, CRLF);
        for (CardNumber c = 1; c <= 77; ++c)
            QCOMPARE(CardMeaningTable(c)->BreaksBeforeReversedHeading, CRLF + CRLF);
    }

    void twoReversedTextsAreShared()
    {
        QCOMPARE(reversed(11), HangedManReversed);
        QCOMPARE(reversed(20), HangedManReversed);
        QCOMPARE(reversed(26), ThreeOfPentaclesReversed);
        QCOMPARE(reversed(27), ThreeOfPentaclesReversed);
    }

    void meaningsAreParagraphsOfTheirOwn()
    {
        QSet<QString> distinct;
        for (CardNumber c = 0; c <= 77; ++c) {
            for (const QString& t : {upright(c), reversed(c)}) {
                QVERIFY2(t.size() >= 122 && t.size() <= 344, qPrintable(QString("card %1: %2").arg(c).arg(t)));
                QVERIFY(t.endsWith('.'));
                QVERIFY(!t.contains('\r') && !t.contains('\n'));
                distinct << t;
            }
        }
        QCOMPARE(distinct.size(), 154);
    }

    void meaningsAreThoseOfTheCardRecords()
    {
        const auto records = cardRecords();
        QCOMPARE(records.size(), 78);
        for (CardNumber c = 0; c <= 77; ++c) {
            QCOMPARE(upright(c), records[c].first);
            if (c != 20 && c != 27)
                QCOMPARE(reversed(c), records[c].second);
        }
    }

    void celticCrossWithDeathReversed()
    {
        Reading().SelectedSpreadName = "Celtic Cross";
        Reading().IsManualReading = false;
        Reading().DrawnCards = cardsOf({6, 0, 21, 20, 11, 77, 26, 27, 13, 50, 0});
        Reading().ReversedCards = cardsOf({0, 20, 27, 33});
        box().SetText("");
        WriteSpreadHeader(Reading().SelectedSpreadName);
        const int headerEnd = box().Text().size();
        WriteCardMeanings(Reading().DrawnCards, Reading().ReversedCards);

        Expected e;
        position(e, "Card 1: The Covering",
                 "This represents the overall events, situations or influences surrounding the present question.");
        card(e, "The Fool", upright(6));
        position(e, "Card 2: The Crossing",
                 "This represents the current problems, challenges and negative influences that the querent has to "
                 "face.");
        card(e, "Death - Reversed", DeathReversed, CRLF);
        position(e, "Card 3: The Root",
                 "This represents what was the actual reason for the problem to occur or how the querent feels about "
                 "it subconsciously.");
        card(e, "Wheel Fortune", upright(21));
        position(e, "Card 4: The Past", "This represents events that have occurred in the near past that are going away.");
        card(e, "The World - Reversed", HangedManReversed);
        position(e, "Card 5: The Crown",
                 "This signifies the querent's knowledge of the present situation and the influences affecting it.");
        card(e, "The Hanged Man", upright(11));
        position(e, "Card 6: The Future", "This represents events that will occur in the near future.");
        card(e, "Two of Pentacles", upright(77));
        position(e, "Card 7: The Questioner",
                 "This represents the attitude of the querent and the negative feelings he may have regarding the "
                 "question.");
        card(e, "Three of Pentacles", upright(26));
        position(e, "Card 8: The House", "This represents the opinions and influences of friends and family.");
        card(e, "Three of Swords - Reversed", ThreeOfPentaclesReversed);
        position(e, "Card 9: The Inside", "This represents the querent's hopes and fears regarding the situation.");
        card(e, "The High Priestess", upright(13));
        position(e, "Card 10: The Outcome", "This represents the final outcome of the situation.");
        card(e, "Nine of Pentacles", upright(50));
        closing(e);

        // The header stays as it was; the cards follow it.
        Expected whole;
        whole.text = box().Text().left(headerEnd) + e.text;
        whole.marks = ReadingTextCheck::marksOf(box()).left(headerEnd) + e.marks;
        COMPARE_READING_TEXT(box(), whole);
        // No empty line between the position text and Death's reversed heading.
        QVERIFY(box().Text().contains("the querent has to face.\r\nDeath - Reversed\r\n"));
        QCOMPARE(Reading().CurrentSpreadName, QString("Celtic Cross"));
        QVERIFY(!box().SelBold());
        QVERIFY(!box().SelUnderline());
    }

    void deathUprightTakesAnEmptyLineLikeEveryCard()
    {
        Reading().SelectedSpreadName = "Relationship Spread";
        Reading().IsManualReading = true;
        box().SetText("");
        WriteCardMeanings(cardsOf({0}), IntArray());

        Expected e;
        position(e, "Card 1", "Represents your view of a partner i.e. it interprets your way of looking at your partner.");
        card(e, "Death", DeathUpright);
        closing(e);
        COMPARE_READING_TEXT(box(), e);
    }

    void oneCardManualWritesEveryElement()
    {
        Reading().SelectedSpreadName = "One Card";
        Reading().IsManualReading = true;
        box().SetText("");
        WriteCardMeanings(cardsOf({57}), cardsOf({}));

        Expected e;
        positionSameLine(e, "Card 1:  ", "This represents the most important factor that affects the issue in hand.");
        card(e, "Ace of Cups", upright(57));
        closing(e);
        COMPARE_READING_TEXT(box(), e);
    }

    void oneCardAutomaticLeavesTheLastElementOut()
    {
        Reading().SelectedSpreadName = "One Card";
        Reading().IsManualReading = false;
        box().SetText("");
        WriteCardMeanings(cardsOf({57, 0}), IntArray());

        Expected e;
        positionSameLine(e, "Card 1:  ", "This represents the most important factor that affects the issue in hand.");
        card(e, "Ace of Cups", upright(57));
        closing(e);
        COMPARE_READING_TEXT(box(), e);
    }

    void lineSpreadReversedByCardNumber()
    {
        Reading().SelectedSpreadName = "The Line Spread";
        Reading().IsManualReading = false;
        box().SetText("");
        // 44 stands twice and is listed once; 3 is not among the cards.
        WriteCardMeanings(cardsOf({44, 1, 44, 64, 9, 0}), cardsOf({3, 44, 9}));

        Expected e;
        positionSameLine(e, "Card 1 - ", "This card represents the distant past.");
        card(e, "Seven of Wands - Reversed", reversed(44));
        positionSameLine(e, "Card 2 - ", "This card represents the recent past.");
        card(e, "The Hermit", upright(1));
        positionSameLine(e, "Card 3 - ", "This card represents the present.");
        card(e, "Seven of Wands - Reversed", reversed(44));
        positionSameLine(e, "Card 4 - ", "This card represents the near future.");
        card(e, "King of Wands", upright(64));
        positionSameLine(e, "Card 5 - ", "This card represents the distant future.");
        card(e, "The Emperor - Reversed", reversed(9));
        closing(e);
        COMPARE_READING_TEXT(box(), e);
    }

    void unknownSpreadNameWritesCardsWithoutPositionTexts()
    {
        Reading().SelectedSpreadName = "Celtic Cross ";
        Reading().IsManualReading = true;
        box().SetText("");
        WriteCardMeanings(cardsOf({2, 3}), cardsOf({3}));

        Expected e;
        card(e, "Judgement", upright(2));
        card(e, "Justice - Reversed", reversed(3));
        closing(e);
        COMPARE_READING_TEXT(box(), e);
        QCOMPARE(Reading().CurrentSpreadName, QString("Celtic Cross "));
    }

    void positionTextsFollowTheFileWhenNoSpreadIsSelected()
    {
        Reading().SelectedSpreadName = "";
        Reading().FileSpreadName = "Two Cards";
        Reading().IsManualReading = false;
        box().SetText("");
        WriteCardMeanings(cardsOf({14, 70, 0}), IntArray());

        Expected e;
        positionSameLine(e, "Card 1: ",
                         "This card signifies what can happen if you carry out the solution that this card represents.");
        card(e, "The Lovers", upright(14));
        positionSameLine(e, "Card 2: ",
                         "This card signifies what can happen if you carry out the solution that this card represents.");
        card(e, "Page of Pentacles", upright(70));
        closing(e);
        COMPARE_READING_TEXT(box(), e);
        QCOMPARE(Reading().CurrentSpreadName, QString("Two Cards"));
    }

    void cardOutsideTheDeckWritesOnlyTheRule()
    {
        Reading().SelectedSpreadName = "Three Cards";
        Reading().IsManualReading = true;
        box().SetText("");
        WriteCardMeanings(cardsOf({78, 5, -1}), cardsOf({78, -1}));

        Expected e;
        ruleOnly(e);
        position(e, "Card 2 - Present",
                 "This card represents the present state surrounding some current event or situation. This may also "
                 "be the problems and obstacles that the person may have to face.");
        card(e, "Temperance", upright(5));
        ruleOnly(e);
        closing(e);
        COMPARE_READING_TEXT(box(), e);
    }

    void automaticReadingWithoutPositionsWritesOnlyTheClosingLine()
    {
        Reading().SelectedSpreadName = "One Card";
        Reading().IsManualReading = false;
        for (const IntArray& cards : {cardsOf({12}), cardsOf({})}) {
            box().SetText("");
            WriteCardMeanings(cards, IntArray());
            Expected e;
            closing(e);
            COMPARE_READING_TEXT(box(), e);
        }
    }

    void cardsWithoutBoundsFailBeforeAnythingIsWritten()
    {
        Reading().SelectedSpreadName = "One Card";
        Reading().IsManualReading = true;
        try {
            WriteCardMeanings(IntArray(), IntArray());
            QFAIL("no error raised");
        } catch (const VbError& e) {
            QCOMPARE(e.Number(), VbErrors::SubscriptOutOfRange);
        }
        QCOMPARE(Reading().CurrentSpreadName, QString("One Card"));
        QVERIFY(!Forms::IsLoaded("frmMDI"));
    }

    void writesAtTheInsertionPointWithoutMovingIt()
    {
        Reading().SelectedSpreadName = "-1";
        Reading().IsManualReading = true;
        box().SetText("before|after");
        box().SetSelStart(7);
        WriteCardMeanings(cardsOf({16}), IntArray());

        Expected e;
        e.plain("before|");
        card(e, "The Moon", upright(16));
        closing(e);
        e.plain("after");
        COMPARE_READING_TEXT(box(), e);
    }
};

ARC_TEST(CardMeaningsTest)
#include "CardMeaningsTest.moc"
