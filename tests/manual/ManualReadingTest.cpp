#include "ManualFlow.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "common/ArrayRoutines.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include "reading/CardMeanings.h"
#include "reading/PositionMeanings.h"
#include "spread/SpreadLayoutTable.h"
#include "spread/frmAuto.h"

#include <QTemporaryDir>
#include <QTransform>
#include <QtTest>

using namespace ManualFlow;

namespace {
QImage turned180(const QImage& image) { return image.mirrored(true, true); }
// A quarter turn, counter-clockwise on the screen.
QImage turnedQuarter(const QImage& image) { return image.transformed(QTransform().rotate(-90)); }

int occurrences(const QString& text, const QString& part)
{
    int n = 0;
    for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + 1))
        ++n;
    return n;
}
} // namespace

class ManualReadingTest : public SessionTest {
    Q_OBJECT

private slots:
    void readingOfEachSpread_data()
    {
        QTest::addColumn<int>("spread");
        QTest::addColumn<bool>("major");
        QTest::addColumn<bool>("minor");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<int>("deck");
        QTest::addColumn<float>("timer");
        for (int i = 0; i < 13; ++i) {
            const QByteArray name = SpreadTable(i).Name;
            QTest::newRow(name + ", whole deck") << i << false << false << false << 0 << float(1000.5 + 37 * i);
            QTest::newRow(name + ", reversed, Marseilles")
                << i << false << false << true << 1 << float(52000.25 + 101 * i);
        }
        QTest::newRow("Romany, major, reversed") << 9 << true << false << true << 0 << 777.75f;
        QTest::newRow("Zodiac, minor") << 10 << false << true << false << 0 << 3600.125f;
        QTest::newRow("Celtic Cross, minor, reversed") << 0 << false << true << true << 1 << 43210.5f;
    }
    void readingOfEachSpread()
    {
        QFETCH(int, spread);
        QFETCH(bool, major);
        QFETCH(bool, minor);
        QFETCH(bool, reversed);
        QFETCH(int, deck);
        QFETCH(float, timer);
        Options options;
        options.major = major;
        options.minor = minor;
        options.reversed = reversed;
        options.deck = deck;
        const QString deckLetter = deck == 0 ? "r" : "m";
        const int n = SpreadTable(spread).Cards;
        const QString name = SpreadTable(spread).Name;

        openManualReading(spread, options);
        QVERIFY(Forms::IsLoaded("frmManual"));
        QVERIFY(!Forms::IsLoaded("frmTarot"));
        QVERIFY(!Forms::IsLoaded("frmAuto"));
        QVERIFY(Forms::IsLoaded("frmMDI") && !frmMDI().isVisible());
        QPointer<class frmManual> m(&frmManual());
        QVERIFY(m->isVisible());
        QCOMPARE(m->SpreadName, name);
        QCOMPARE(m->SpreadIndex, qint16(spread));
        QCOMPARE(m->PickedCards.UBound(), n - 1);
        QCOMPARE(Reading().IsManualReading, true);
        QCOMPARE(backsShown(*m), major ? 22 : minor ? 56 : 78);

        // Each click hides its back and shows what the next card stands for.
        QCOMPARE(m->txtDisp->Text(), prompt(spread, 0));
        const int shown = backsShown(*m);
        QList<int> clicked;
        for (int k = 1; k < n; ++k) {
            const int back = (k * 17 + spread) % shown;
            QVERIFY(!clicked.contains(back));
            clicked << back;
            clickBack(*m, back);
            QVERIFY(!m->p[back]->isVisibleTo(m) && !m->p[back]->isEnabled());
            QCOMPARE(m->PickCount, qint16(k));
            QCOMPARE(m->PickedCards(k - 1), back);
            QCOMPARE(m->txtDisp->Text(), prompt(spread, k));
        }
        QVERIFY(Forms::IsLoaded("frmManual"));
        QVERIFY(!Forms::IsLoaded("frmAuto"));
        QVERIFY(Scripted().sleeps.isEmpty());

        // The notes shown while the cards are laid out, one after another.
        QStringList notes;
        QString lastText = m->txtDisp->Text();
        QObject::connect(m->txtDisp, &QPlainTextEdit::textChanged, m->txtDisp, [&] {
            const QString now = m->txtDisp->Text();
            if (now != lastText)
                notes << now;
            lastText = now;
        });
        QStringList expectedNotes;
        QString shownNote = m->txtDisp->Text();
        for (int i = 0; i < n; ++i) {
            const std::optional<QString> note = PlacementNote(spread, i);
            if (note && *note != shownNote)
                expectedNotes << *note;
            if (note)
                shownNote = *note;
        }

        RndState::SetFixedTimer(timer);
        const Draw expected = expectedDraw(n, options);
        const int finalBack = (n * 17 + spread) % shown;
        QVERIFY(!clicked.contains(finalBack) && m->p[finalBack]->isEnabled());
        clickBack(*m, finalBack);

        // The draw ran behind the wait panel, after the pause.
        QCOMPARE(Scripted().sleeps, QList<int>{3000});
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QCOMPARE(notes, expectedNotes);
        if (m)
            QCOMPARE(m->txtDisp->Text(), shownNote);

        // The cards: one element per position, no spare one.
        const ReadingState& r = Reading();
        QCOMPARE(r.IsManualReading, true);
        QCOMPARE(r.DrawnCards.UBound(), n - 1);
        QCOMPARE(QList<int>(r.DrawnCards.Items().begin(), r.DrawnCards.Items().end()), expected.cards);
        const QList<int> reversedCards = expected.reversedCards();
        if (reversedCards.isEmpty())
            QVERIFY(!IsArrayDimmed(r.ReversedCards));
        else
            QCOMPARE(QList<int>(r.ReversedCards.Items().begin(), r.ReversedCards.Items().end()), reversedCards);
        QSet<int> distinct;
        for (int c : expected.cards) {
            QVERIFY(major ? c <= 21 : minor ? c >= 22 && c <= 77 : c >= 0 && c <= 77);
            distinct << c;
        }
        QCOMPARE(distinct.size(), n);

        // The spread window: every card where the automatic layout puts it.
        QVERIFY(Forms::IsLoaded("frmAuto"));
        auto& w = frmAuto();
        QVERIFY(w.isVisible());
        const SpreadLayout& layout = SpreadLayoutByIndex(spread);
        QCOMPARE(layout.positions.size(), n);
        for (int i = 0; i < n; ++i) {
            QCOMPARE(w.p[i]->pos(), QPoint(Twips::toPixels(layout.positions[i].x()),
                                           Twips::toPixels(layout.positions[i].y())));
            QVERIFY(w.p[i]->isVisibleTo(&w) && w.p[i]->isEnabled());
            QVERIFY(w.lbl[i]->isVisibleTo(&w) && w.lbl[i]->isEnabled());
            const QImage upright = cardImage(expected.cards[i], deckLetter);
            QVERIFY(!upright.isNull());
            QImage picture = expected.reversed[i] ? turned180(upright) : upright;
            if (spread == 0 && i == 1) {
                picture = turnedQuarter(upright);
                QCOMPARE(picture.size(), upright.size().transposed());
                if (expected.reversed[i])
                    picture = turned180(picture);
            }
            QCOMPARE(w.p[i]->Picture(), picture);
        }
        for (int i = n; i < frmAuto::PlaceCount; ++i)
            QVERIFY(!w.p[i]->isVisibleTo(&w));

        // The reading is written after the spread's header, from the top.
        QVERIFY(frmMDI().isVisible());
        const QString text = frmMDI().rtbDisp1->Text();
        QVERIFY(text.contains("Spread Type - "));
        QCOMPARE(occurrences(text, "Thank You for using"), 1);
        for (int i = 0; i < n; ++i) {
            const PositionMeaningEntry* entry = FindPositionMeaning(name, i);
            QVERIFY(entry);
            QVERIFY(text.contains(entry->Label + entry->Joiner + entry->Meaning));
            const CardMeaningRow* row = CardMeaningTable(expected.cards[i]);
            QVERIFY(text.contains(expected.reversed[i] ? row->ReversedHeading : row->Name));
            QVERIFY(text.contains(expected.reversed[i] ? row->Reversed : row->Upright));
        }
        QCOMPARE(frmMDI().rtbDisp1->SelStart(), 0);
        TestSupport::settle();
        QVERIFY(!m);

        // The save writes one card line per position.
        QTemporaryDir dir;
        const QString path = dir.filePath("reading.qzv");
        Scripted().fileAnswers.enqueue(path);
        frmMDI().cmdSave_Click();
        const QStringList lines = savedLines(path);
        QStringList expectedLines{"s" + name, "d" + deckLetter};
        for (int c : expected.cards)
            expectedLines << "c" + QString::number(c);
        for (int c : reversedCards)
            expectedLines << "r" + QString::number(c);
        QCOMPARE(lines, expectedLines);
    }

    void menuItemStartsTheSameReading()
    {
        Options options;
        options.viaMenu = true;
        openManualReading(2, options);
        QVERIFY(Forms::IsLoaded("frmManual") && !Forms::IsLoaded("frmTarot"));
        QCOMPARE(Reading().ManualPressed, false);
        auto& m = frmManual();
        clickBack(m, 0);
        clickBack(m, 1);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QCOMPARE(Reading().DrawnCards.UBound(), 1);
        auto& w = frmAuto();
        QVERIFY(w.isVisible());
        QCOMPARE(w.p[0]->pos(), QPoint(Twips::toPixels(4000), Twips::toPixels(2500)));
        QCOMPARE(w.p[1]->pos(), QPoint(Twips::toPixels(6200), Twips::toPixels(2500)));
        QVERIFY(frmMDI().rtbDisp1->Text().contains("Spread Type - Two Cards"));
    }

    void oneCardDrawsAtTheFirstClick()
    {
        openManualReading(1);
        QPointer<class frmManual> m(&frmManual());
        QCOMPARE(m->txtDisp->Text(),
                 QString("Card 1:  This represents the most important factor that affects the issue in hand."));
        QCOMPARE(m->PickedCards.UBound(), 0);
        clickBack(*m, 40);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QVERIFY(m);
        QCOMPARE(m->PickCount, qint16(0));
        QCOMPARE(m->PickedCards(0), 0); // nothing is stored for the last pick
        // the first position's prompt stays: One Card has no note
        QCOMPARE(m->txtDisp->Text(),
                 QString("Card 1:  This represents the most important factor that affects the issue in hand."));
        QCOMPARE(Reading().DrawnCards.UBound(), 0);
        auto& w = frmAuto();
        QCOMPARE(w.p[0]->pos(), QPoint(Twips::toPixels(5000), Twips::toPixels(2500)));
        QVERIFY(w.lbl[0]->isVisibleTo(&w) && w.p[0]->isVisibleTo(&w));
    }

    void aSpreadTakesExactlyAsManyClicksAsPositions()
    {
        openManualReading(12); // Numerology: 9
        auto& m = frmManual();
        for (int k = 0; k < 8; ++k) {
            clickBack(m, 60 + k);
            QVERIFY(Forms::IsLoaded("frmManual"));
        }
        QCOMPARE(m.PickCount, qint16(8));
        clickBack(m, 0);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QCOMPARE(Reading().DrawnCards.UBound(), 8);
    }

    void majorArcanaRomanyDrawsAllTwentyOneDistinct()
    {
        Options options;
        options.major = true;
        openManualReading(9, options);
        auto& m = frmManual();
        QCOMPARE(m.PickedCards.UBound(), 20);
        for (int k = 0; k < 21; ++k)
            clickBack(m, k);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        const IntArray& cards = Reading().DrawnCards;
        QCOMPARE(cards.UBound(), 20);
        QSet<int> seen;
        for (int c : cards.Items()) {
            QVERIFY(c >= 0 && c <= 21);
            seen << c;
        }
        QCOMPARE(seen.size(), 21);
    }

    // Cards at the ends of each set can come up: a timer is found for which
    // the One Card draw gives the card, and the reading then gives it.
    void cardsAtTheEndsOfTheSetsCanBeDrawn_data()
    {
        QTest::addColumn<bool>("major");
        QTest::addColumn<bool>("minor");
        QTest::addColumn<int>("card");
        QTest::newRow("0, whole deck") << false << false << 0;
        QTest::newRow("77, whole deck") << false << false << 77;
        QTest::newRow("0, major") << true << false << 0;
        QTest::newRow("21, major") << true << false << 21;
        QTest::newRow("22, minor") << false << true << 22;
        QTest::newRow("77, minor") << false << true << 77;
    }
    void cardsAtTheEndsOfTheSetsCanBeDrawn()
    {
        QFETCH(bool, major);
        QFETCH(bool, minor);
        QFETCH(int, card);
        Options options;
        options.major = major;
        options.minor = minor;
        openManualReading(1, options);
        float timer = 0.0f;
        bool found = false;
        for (int step = 0; step < 200000 && !found; ++step) {
            timer = 10.0f + step / 64.0f;
            RndState::SetFixedTimer(timer);
            found = expectedDraw(1, options).cards.first() == card;
        }
        QVERIFY(found);
        clickBack(frmManual(), 0);
        QCOMPARE(Reading().DrawnCards.UBound(), 0);
        QCOMPARE(Reading().DrawnCards(0), card);
    }

    void withoutReversedCardsNoneIsListed()
    {
        openManualReading(9);
        auto& m = frmManual();
        RndState::SetFixedTimer(9999.5f);
        for (int k = 0; k < 21; ++k)
            clickBack(m, 77 - k);
        QVERIFY(!IsArrayDimmed(Reading().ReversedCards));
        QVERIFY(!frmMDI().rtbDisp1->Text().contains(" - Reversed"));
    }

    void reversedCardsAreListedInPositionOrderAndShownUpsideDown()
    {
        Options options;
        options.reversed = true;
        openManualReading(9, options);
        auto& m = frmManual();
        RndState::SetFixedTimer(31337.25f);
        const Draw expected = expectedDraw(21, options);
        for (int k = 0; k < 21; ++k)
            clickBack(m, k * 3);
        const QList<int> reversedCards = expected.reversedCards();
        QVERIFY(reversedCards.size() >= 3 && reversedCards.size() <= 18); // about one in two
        QCOMPARE(QList<int>(Reading().ReversedCards.Items().begin(), Reading().ReversedCards.Items().end()),
                 reversedCards);
        auto& w = frmAuto();
        for (int i = 0; i < 21; ++i) {
            const QImage upright = cardImage(expected.cards[i], "r");
            QCOMPARE(w.p[i]->Picture(), expected.reversed[i] ? turned180(upright) : upright);
        }
        QCOMPARE(occurrences(frmMDI().rtbDisp1->Text(), " - Reversed"), reversedCards.size());
    }

    // The crossing card lies across the first card, turned a quarter; drawn
    // reversed, it lies across upside down, as the saved reading shows it
    // when opened again, and the text calls it reversed.
    void crossingCardLiesAcross_data()
    {
        QTest::addColumn<bool>("reversedCrossing");
        QTest::newRow("upright") << false;
        QTest::newRow("reversed") << true;
    }
    void crossingCardLiesAcross()
    {
        QFETCH(bool, reversedCrossing);
        Options options;
        options.reversed = true;
        openManualReading(0, options);
        auto& m = frmManual();
        for (int k = 0; k < 9; ++k)
            clickBack(m, k);
        Draw expected;
        bool found = false;
        for (int step = 0; step < 10000 && !found; ++step) {
            RndState::SetFixedTimer(500.0f + step / 64.0f);
            expected = expectedDraw(10, options);
            found = expected.reversed[1] == reversedCrossing;
        }
        QVERIFY(found);
        clickBack(m, 9);
        const int crossing = expected.cards[1];
        QCOMPARE(Reading().DrawnCards(1), crossing);
        QCOMPARE(IsInArray(crossing, Reading().ReversedCards), reversedCrossing);
        const QImage across = turnedQuarter(cardImage(crossing, "r"));
        auto& w = frmAuto();
        QCOMPARE(w.p[1]->Picture(), reversedCrossing ? turned180(across) : across);
        QCOMPARE(w.p[1]->pos(), QPoint(Twips::toPixels(2300), Twips::toPixels(4200)));
        const CardMeaningRow* row = CardMeaningTable(crossing);
        QCOMPARE(frmMDI().rtbDisp1->Text().contains(row->ReversedHeading), reversedCrossing);
    }

    // A missing card picture leaves its place empty; the reading goes on.
    void missingCardPicturesLeaveEmptyPlaces()
    {
        for (int c = 0; c < 78; ++c)
            folder->remove(QString("cards/r%1.jpg").arg(c));
        Options options;
        options.reversed = true;
        openManualReading(0, options);
        auto& m = frmManual();
        for (int k = 0; k < 10; ++k)
            clickBack(m, k);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        auto& w = frmAuto();
        for (int i = 0; i < 10; ++i) {
            QVERIFY(w.p[i]->Picture().isNull());
            QVERIFY(w.p[i]->isVisibleTo(&w));
        }
        QCOMPARE(Reading().DrawnCards.UBound(), 9);
        QVERIFY(frmMDI().rtbDisp1->Text().contains("Thank You for using"));
    }
};

ARC_TEST(ManualReadingTest)
#include "ManualReadingTest.moc"
