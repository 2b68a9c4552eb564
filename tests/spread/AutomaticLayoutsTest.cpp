#include "LayoutTesting.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "common/ArrayRoutines.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include "spread/SpreadLayoutTable.h"
#include "spread/frmAuto.h"

#include <QSet>
#include <QTimer>
#include <QtTest>

using namespace LayoutTesting;

namespace {
QPoint placeOf(int spread, int position)
{
    const QPointF twips = SpreadLayoutByIndex(spread).positions[position];
    return QPoint(Twips::toPixels(twips.x()), Twips::toPixels(twips.y()));
}

QList<int> drawnCards()
{
    QList<int> cards;
    const IntArray& drawn = Reading().DrawnCards;
    for (int i = 0; i <= drawn.UBound(); ++i)
        cards << drawn(i);
    return cards;
}

QList<int> reversedCards()
{
    const IntArray& reversed = Reading().ReversedCards;
    return reversed.HasBounds() ? QList<int>(reversed.Items().begin(), reversed.Items().end()) : QList<int>();
}

// What a place showed while a layout ran.
struct Sighting {
    int place;
    QPoint pos;
    QImage picture;
    bool labelShown;
};

// Records every visible place each time the layout lets window events run.
class Watcher {
public:
    Watcher()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (!Forms::IsLoaded("frmAuto"))
                return;
            auto& w = frmAuto();
            for (int i = 0; i < frmAuto::PlaceCount; ++i) {
                if (w.p[i]->isVisibleTo(&w))
                    sightings << Sighting{i, w.p[i]->pos(), w.p[i]->Picture(), w.lbl[i]->isVisibleTo(&w)};
            }
            ++rounds;
        });
        m_timer.start();
    }
    ~Watcher() { m_timer.stop(); }
    QList<Sighting> sightings;
    int rounds = 0;

private:
    QTimer m_timer;
};
} // namespace

class AutomaticLayoutsTest : public QObject {
    Q_OBJECT
    // No test here changes the program folder, so one copy serves them all.
    std::unique_ptr<ProgramFolder> folder;

private slots:
    void initTestCase() { folder = std::make_unique<ProgramFolder>(); }
    void cleanupTestCase() { folder.reset(); }
    void init() { TestSupport::resetSession(); }
    void cleanup() { TestSupport::resetSession(); }

    // Every layout of the family lays out every spread: its places at their
    // places with their numbers, distinct cards of its own card set, reversed
    // cards upside down and named so, the crossing card across.
    void everyLayoutLaysOutEverySpread_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("spread");
        for (int procedure = 2; procedure <= 6; ++procedure) {
            for (int spread = 0; spread < SpreadCount(); ++spread)
                QTest::addRow("%s %s", OptionsOf(procedure).procedure, SpreadTable(spread).Name)
                    << procedure << spread;
        }
    }
    void everyLayoutLaysOutEverySpread()
    {
        QFETCH(int, procedure);
        QFETCH(int, spread);
        const Options& options = OptionsOf(procedure);
        ChooseAutomatic(procedure, spread);
        RndState::SetFixedTimer(1500.5f + 37 * spread + procedure);
        auto& w = frmAuto();
        w.Show();
        const ReadingState& r = Reading();
        const int n = SpreadTable(spread).Cards;
        const QString text = frmMDI().rtbDisp1->Text();

        QCOMPARE(r.DrawnCards.UBound(), n);
        QCOMPARE(r.DrawnCards(n), 0); // the spare element
        if (!options.allowReversed)
            QVERIFY(!r.ReversedCards.HasBounds());
        const QList<int> reversed = reversedCards();

        QSet<int> seen;
        int lastReversedPosition = -1;
        int lastTurnedPosition = -1;
        for (int i = 0; i < n; ++i) {
            const int c = r.DrawnCards(i);
            const QString at = QString("position %1, card %2").arg(i + 1).arg(c);
            QVERIFY2(c >= options.lowestCard && c <= options.highestCard, qPrintable(at));
            QVERIFY2(!seen.contains(c), qPrintable(at));
            seen << c;

            QVERIFY2(w.p[i]->isVisibleTo(&w), qPrintable(at));
            QCOMPARE(w.p[i]->pos(), placeOf(spread, i));
            QVERIFY(w.lbl[i]->isVisibleTo(&w) && w.lbl[i]->isEnabled());
            QCOMPARE(w.lbl[i]->text(), QString::number(i + 1));

            const bool isReversed = reversed.contains(c);
            if (spread == CelticCross && i == 1) {
                QVERIFY2(!isReversed, qPrintable(at)); // the crossing card never lies reversed
                QVERIFY2(w.p[i]->Picture() == Across(CardImage(c)), qPrintable(at));
                lastTurnedPosition = i;
            } else {
                const QImage expected = isReversed ? UpsideDown(CardImage(c)) : CardImage(c);
                QVERIFY2(w.p[i]->Picture() == expected, qPrintable(at));
                QCOMPARE(w.p[i]->size(), expected.size());
            }
            if (isReversed) {
                QVERIFY2(lastReversedPosition < i, "reversed cards are listed in position order");
                lastReversedPosition = i;
                lastTurnedPosition = i;
            }
            QVERIFY2(text.contains(Heading(c, isReversed)), qPrintable(at));
            QVERIFY2(!text.contains(Heading(c, !isReversed)), qPrintable(at));
        }
        for (int c : reversed)
            QVERIFY(seen.contains(c));
        QCOMPARE(text.count(" - Reversed"), reversed.size());
        for (int i = n; i < frmAuto::PlaceCount; ++i) {
            QVERIFY(!w.p[i]->isVisibleTo(&w));
            QVERIFY(!w.lbl[i]->isEnabled());
        }

        // The picture carrier keeps the last card that was turned: turned, when
        // the spread turns reversed cards with the rotation engine; upright,
        // when it turns them in their places.
        if (lastTurnedPosition < 0) {
            QVERIFY(w.Img->Picture().isNull());
        } else {
            const int c = r.DrawnCards(lastTurnedPosition);
            QVERIFY(w.PictureToRotate == CardImage(c));
            if (ShownBeforeDraw(spread))
                QVERIFY(w.Img->Picture() == CardImage(c));
            else
                QVERIFY(w.Img->Picture() == w.p[lastTurnedPosition]->Picture());
        }

        QVERIFY(text.contains("Spread Type - "));
        QVERIFY(text.contains("Thank You for using"));
        QCOMPARE(frmMDI().rtbDisp1->SelStart(), 0);
    }

    // With a known timer the cards and their reversals are known.
    void knownTimerGivesKnownReading_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("spread");
        QTest::addColumn<float>("timer");
        QTest::addColumn<QList<int>>("cards");
        QTest::addColumn<QList<int>>("reversed");
        QTest::newRow("DONE2 The Line Spread")
            << 2 << LineSpread << 2222.0f << QList<int>{32, 65, 64, 26, 75} << QList<int>{};
        // card 0 first
        QTest::newRow("DONE3 Zodiac") << 3 << Zodiac << 3333.0f
                                      << QList<int>{0, 9, 7, 4, 8, 20, 15, 6, 18, 17, 3, 19} << QList<int>{};
        // card 0 last
        QTest::newRow("DONE3 Numerology")
            << 3 << Numerology << 1000.25f << QList<int>{15, 11, 8, 4, 6, 12, 2, 18, 0} << QList<int>{};
        // The reversal decision taken for the crossing card says reversed (its
        // number is above one half); the card still lies across, upright.
        QTest::newRow("DONE4 Celtic Cross") << 4 << CelticCross << 4321.5f
                                            << QList<int>{48, 40, 27, 55, 62, 3, 74, 52, 63, 34}
                                            << QList<int>{48, 62, 3, 74, 34};
        QTest::newRow("DONE4 Three Cards, card 0 reversed")
            << 4 << ThreeCards << 1012.0f << QList<int>{9, 26, 0} << QList<int>{26, 0};
        QTest::newRow("DONE4 Four Seasons, card 77")
            << 4 << FourSeasons << 1000.75f << QList<int>{52, 53, 77, 36, 38, 75, 6, 26} << QList<int>{52, 38};
        QTest::newRow("DONE5 Relationship") << 5 << Relationship << 1000.25f
                                            << QList<int>{62, 52, 45, 33, 38, 55, 29, 53, 71, 24}
                                            << QList<int>{45, 33, 38, 24};
        QTest::newRow("DONE5 Celtic Cross, none reversed")
            << 5 << CelticCross << 1040.5f << QList<int>{77, 75, 54, 51, 70, 40, 38, 48, 76, 49} << QList<int>{};
        // Every decision says reversed, the crossing card's too: nine cards lie reversed.
        QTest::newRow("DONE5 Celtic Cross, all but the crossing card reversed")
            << 5 << CelticCross << 1072.5f << QList<int>{49, 47, 26, 23, 42, 68, 66, 76, 48, 77}
            << QList<int>{49, 26, 23, 42, 68, 66, 76, 48, 77};
        QTest::newRow("DONE6 One Card, upright") << 6 << OneCard << 1000.0f << QList<int>{15} << QList<int>{};
        QTest::newRow("DONE6 One Card, reversed") << 6 << OneCard << 1000.25f << QList<int>{15} << QList<int>{15};
        QTest::newRow("DONE6 Seven Card Chakra, card 0 reversed")
            << 6 << Chakra << 1000.75f << QList<int>{14, 20, 9, 10, 1, 7, 0} << QList<int>{20, 0};
        QTest::newRow("DONE6 Romany") << 6 << Romany << 1000.0f
                                      << QList<int>{15, 9, 13, 12, 3, 19, 4, 6, 7, 1, 14,
                                                    5, 8, 16, 11, 0, 18, 2, 20, 17, 10}
                                      << QList<int>{9, 1, 14, 5, 8, 16, 18, 17};
    }
    void knownTimerGivesKnownReading()
    {
        QFETCH(int, procedure);
        QFETCH(int, spread);
        QFETCH(float, timer);
        QFETCH(QList<int>, cards);
        QFETCH(QList<int>, reversed);
        ChooseAutomatic(procedure, spread);
        RndState::SetFixedTimer(timer);
        auto& w = frmAuto();
        w.Show();
        QCOMPARE(drawnCards(), cards + QList<int>{0});
        QCOMPARE(reversedCards(), reversed);
        QCOMPARE(Reading().ReversedCards.HasBounds(), !reversed.isEmpty());
        for (int i = 0; i < cards.size(); ++i) {
            QImage expected = CardImage(cards[i]);
            if (spread == CelticCross && i == 1)
                expected = Across(expected);
            else if (reversed.contains(cards[i]))
                expected = UpsideDown(expected);
            QVERIFY2(w.p[i]->Picture() == expected, qPrintable(QString("position %1").arg(i + 1)));
        }
        QCOMPARE(frmMDI().rtbDisp1->Text().count(" - Reversed"), reversed.size());
    }

    // The spreads that show their empty numbered places during the draw show
    // them at their places; the others show nothing until every card is
    // drawn. The plain whole-deck layout shows its places first in every spread.
    void whatShowsWhileTheCardsAreDrawn_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("spread");
        for (int procedure = 1; procedure <= 6; ++procedure) {
            for (int spread = 0; spread < SpreadCount(); ++spread)
                QTest::addRow("%s %s", OptionsOf(procedure).procedure, SpreadTable(spread).Name)
                    << procedure << spread;
        }
    }
    void whatShowsWhileTheCardsAreDrawn()
    {
        QFETCH(int, procedure);
        QFETCH(int, spread);
        ChooseAutomatic(procedure, spread);
        RndState::SetFixedTimer(808.5f);
        QList<Sighting> atFirstDraw;
        bool looked = false;
        // The first pending event is served at the first try of the draw.
        QTimer::singleShot(0, [&] {
            looked = true;
            auto& w = frmAuto();
            for (int i = 0; i < frmAuto::PlaceCount; ++i) {
                if (w.p[i]->isVisibleTo(&w))
                    atFirstDraw << Sighting{i, w.p[i]->pos(), w.p[i]->Picture(), w.lbl[i]->isVisibleTo(&w)};
            }
            QCOMPARE(Reading().DrawnCards(0), 0);
        });
        frmAuto().Show();
        QVERIFY(looked);
        const int n = SpreadTable(spread).Cards;
        if (procedure == 1 || ShownBeforeDraw(spread)) {
            QCOMPARE(atFirstDraw.size(), n);
            for (const Sighting& s : atFirstDraw) {
                QCOMPARE(s.pos, placeOf(spread, s.place));
                QVERIFY(s.picture.isNull());
                QVERIFY(s.labelShown);
            }
        } else {
            QCOMPARE(atFirstDraw.size(), 0);
        }
    }

    // Whenever the window shows a place while a layout runs, the place stands
    // where its spread puts it; a card turned upside down by the rotation
    // engine, and the crossing card, never show the right way up.
    void placesShowOnlyWhereTheyBelong_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("spread");
        QTest::addColumn<float>("timer");
        QTest::newRow("DONE6 One Card, reversed") << 6 << OneCard << 1000.25f;
        QTest::newRow("DONE4 Celtic Cross") << 4 << CelticCross << 4321.5f;
        QTest::newRow("DONE4 Four Seasons") << 4 << FourSeasons << 1000.75f;
        QTest::newRow("DONE5 Relationship") << 5 << Relationship << 1000.25f;
        QTest::newRow("DONE2 Celtic Cross") << 2 << CelticCross << 99.0f;
        QTest::newRow("DONE3 Celtic Cross") << 3 << CelticCross << 99.0f;
        QTest::newRow("DONE2 The Line Spread") << 2 << LineSpread << 99.0f;
    }
    void placesShowOnlyWhereTheyBelong()
    {
        QFETCH(int, procedure);
        QFETCH(int, spread);
        QFETCH(float, timer);
        ChooseAutomatic(procedure, spread);
        RndState::SetFixedTimer(timer);
        Watcher watcher;
        frmAuto().Show();
        QVERIFY(watcher.rounds > 0);
        const QList<int> reversed = reversedCards();
        for (const Sighting& s : watcher.sightings) {
            QCOMPARE(s.pos, placeOf(spread, s.place));
            const int c = Reading().DrawnCards(s.place);
            if ((spread == CelticCross && s.place == 1) || (reversed.contains(c) && !ShownBeforeDraw(spread)))
                QVERIFY2(s.picture != CardImage(c), qPrintable(QString("place %1").arg(s.place + 1)));
        }
    }

    // The draw: every card of the arcana once in the largest spread, and the
    // largest number of the generator still gives a card of the set.
    void majorArcanaRomanyTakesEachCardOnce_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::newRow("DONE3") << 3;
        QTest::newRow("DONE6") << 6;
    }
    void majorArcanaRomanyTakesEachCardOnce()
    {
        QFETCH(int, procedure);
        for (float timer : {1.0f, 23456.75f, 86399.5f}) {
            TestSupport::resetSession();
            ChooseAutomatic(procedure, Romany);
            RndState::SetFixedTimer(timer);
            frmAuto().Show();
            QList<int> cards = drawnCards();
            QCOMPARE(cards.takeLast(), 0);
            std::sort(cards.begin(), cards.end());
            QList<int> major;
            for (int c = 0; c <= 20; ++c)
                major << c; // card 21 is never drawn
            QCOMPARE(cards, major);
        }
    }

    void extremeNumbersGiveTheEndsOfTheCardSet_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<quint32>("state");
        QTest::addColumn<int>("card");
        // r = 0
        QTest::newRow("DONE2, r = 0") << 2 << 0u << 22;
        QTest::newRow("DONE3, r = 0") << 3 << 0u << 0;
        QTest::newRow("DONE4, r = 0") << 4 << 0u << 0;
        QTest::newRow("DONE5, r = 0") << 5 << 0u << 22;
        QTest::newRow("DONE6, r = 0") << 6 << 0u << 0;
        // the largest number below 1
        QTest::newRow("DONE2, largest r") << 2 << 0xFFFFFFu << 77;
        QTest::newRow("DONE3, largest r") << 3 << 0xFFFFFFu << 20;
        QTest::newRow("DONE4, largest r") << 4 << 0xFFFFFFu << 77;
        QTest::newRow("DONE5, largest r") << 5 << 0xFFFFFFu << 77;
        QTest::newRow("DONE6, largest r") << 6 << 0xFFFFFFu << 20;
        // r × 56 just below 1: 22.9999995, which single precision would round up to 23
        QTest::newRow("DONE2, r x 56 just below 1") << 2 << 299593u << 22;
        QTest::newRow("DONE5, r x 56 just below 1") << 5 << 299593u << 22;
    }
    void extremeNumbersGiveTheEndsOfTheCardSet()
    {
        QFETCH(int, procedure);
        QFETCH(quint32, state);
        QFETCH(int, card);
        ChooseAutomatic(procedure, OneCard);
        QVERIFY(ArrangeNumberAfterReseeding(1, state));
        auto& w = frmAuto();
        w.Show();
        QCOMPARE(drawnCards(), (QList<int>{card, 0}));
        const bool reversed = IsInArray(card, Reading().ReversedCards);
        QVERIFY(w.p[0]->Picture() == (reversed ? UpsideDown(CardImage(card)) : CardImage(card)));
        QVERIFY(frmMDI().rtbDisp1->Text().contains(Heading(card, reversed)));
    }

    // The reversal decision rounds its number to the nearest whole number,
    // a half to the even one: only numbers above one half turn a card.
    void reversalDecision_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<quint32>("state");
        QTest::addColumn<bool>("reversed");
        for (int procedure = 4; procedure <= 6; ++procedure) {
            const char* name = OptionsOf(procedure).procedure;
            QTest::addRow("%s, r = 0", name) << procedure << 0u << false;
            QTest::addRow("%s, r = 0.5", name) << procedure << 0x800000u << false;
            QTest::addRow("%s, r just above 0.5", name) << procedure << 0x800001u << true;
            QTest::addRow("%s, largest r", name) << procedure << 0xFFFFFFu << true;
        }
    }
    void reversalDecision()
    {
        QFETCH(int, procedure);
        QFETCH(quint32, state);
        QFETCH(bool, reversed);
        ChooseAutomatic(procedure, OneCard);
        // One Card draws with the first number and decides with the second.
        QVERIFY(ArrangeNumberAfterReseeding(2, state));
        auto& w = frmAuto();
        w.Show();
        QCOMPARE(Rnd(0.0f), float(state) / 16777216.0f); // the decision's number
        const int card = Reading().DrawnCards(0);
        QCOMPARE(reversedCards(), reversed ? QList<int>{card} : QList<int>{});
        QCOMPARE(Reading().ReversedCards.HasBounds(), reversed);
        QVERIFY(w.p[0]->Picture() == (reversed ? UpsideDown(CardImage(card)) : CardImage(card)));
        QCOMPARE(w.p[0]->pos(), placeOf(OneCard, 0));
        QVERIFY(w.lbl[0]->isVisibleTo(&w));
        QVERIFY(frmMDI().rtbDisp1->Text().contains(Heading(card, reversed)));
    }

    // Reading options that are not a layout's own, and spreads that no block
    // takes, lay nothing out; the reading text is still closed.
    void nothingIsLaidOutButTheTextIsClosed_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("optionsOf"); // the layout whose options are set
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("name");
        for (int procedure = 2; procedure <= 6; ++procedure) {
            const char* p = OptionsOf(procedure).procedure;
            const int other = procedure == 6 ? 2 : procedure + 1;
            QTest::addRow("%s, options of %s", p, OptionsOf(other).procedure)
                << procedure << other << 3 << "Three Cards";
            QTest::addRow("%s, options of DONE1", p) << procedure << 1 << 10 << "Celtic Cross";
            QTest::addRow("%s, line spread in other case", p) << procedure << procedure << 5 << "The line spread";
            QTest::addRow("%s, Eliphas Levy with a trailing blank", p)
                << procedure << procedure << 5 << "Eliphas Levy Wheel Spread(Ferrow) ";
            QTest::addRow("%s, Celtic Cross with a leading blank", p)
                << procedure << procedure << 10 << " Celtic Cross";
            QTest::addRow("%s, 9 positions of the Zodiac", p) << procedure << procedure << 9 << "Zodiac Spread";
            QTest::addRow("%s, 4 positions", p) << procedure << procedure << 4 << "Three Cards";
            QTest::addRow("%s, no positions", p) << procedure << procedure << 0 << "One Card";
        }
    }
    void nothingIsLaidOutButTheTextIsClosed()
    {
        QFETCH(int, procedure);
        QFETCH(int, optionsOf);
        QFETCH(int, n);
        QFETCH(QString, name);
        ChooseAutomatic(optionsOf, OneCard);
        ReadingState& r = Reading();
        r.AutoCastPressed = false; // the window loads without a layout
        r.SelectedSpreadName = name;
        r.ReversedCards = IntArray::From({40});
        r.DrawnCards = IntArray::From({5, 6, 7});
        auto& w = frmAuto();
        const QString before = frmMDI().rtbDisp1->Text();
        switch (procedure) {
        case 2: w.DONE2(n); break;
        case 3: w.DONE3(n); break;
        case 4: w.DONE4(n); break;
        case 5: w.DONE5(n); break;
        case 6: w.DONE6(n); break;
        }
        QCOMPARE(drawnCards(), QList<int>(n + 1, 0));
        for (int i = 0; i < frmAuto::PlaceCount; ++i)
            QVERIFY(!w.p[i]->isVisibleTo(&w) && !w.lbl[i]->isEnabled());
        // Only the layouts that allow reversed cards start without them.
        if (OptionsOf(procedure).allowReversed)
            QVERIFY(!r.ReversedCards.HasBounds());
        else
            QCOMPARE(reversedCards(), QList<int>{40});
        const QString text = frmMDI().rtbDisp1->Text();
        QVERIFY(text.startsWith(before));
        QVERIFY(text.mid(before.size()).contains("Thank You for using"));
        QCOMPARE(frmMDI().rtbDisp1->SelStart(), 0);
    }

    // Spreads found by their number of positions alone take any name.
    void countAloneChoosesTheSpread_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("spread");
        QTest::addColumn<QString>("name");
        for (int procedure = 2; procedure <= 6; ++procedure) {
            const char* p = OptionsOf(procedure).procedure;
            QTest::addRow("%s, 7 positions, no name", p) << procedure << Chakra << "";
            QTest::addRow("%s, 7 positions, other case", p) << procedure << Chakra << "Seven card chakra layout";
            QTest::addRow("%s, 1 position, other spread's name", p) << procedure << OneCard << "Celtic Cross";
            QTest::addRow("%s, 8 positions, no name", p) << procedure << FourSeasons << "";
        }
    }
    void countAloneChoosesTheSpread()
    {
        QFETCH(int, procedure);
        QFETCH(int, spread);
        QFETCH(QString, name);
        ChooseAutomatic(procedure, spread);
        Reading().SelectedSpreadName = name;
        auto& w = frmAuto();
        w.Show();
        const int n = SpreadTable(spread).Cards;
        for (int i = 0; i < n; ++i) {
            QVERIFY(w.p[i]->isVisibleTo(&w));
            QCOMPARE(w.p[i]->pos(), placeOf(spread, i));
            QVERIFY(Reading().DrawnCards(i) >= OptionsOf(procedure).lowestCard);
        }
        QVERIFY(!w.p[n]->isVisibleTo(&w));
    }

    void bothArcanaWithReversedCardsRunNothing()
    {
        ChooseAutomatic(4, ThreeCards);
        Reading().MinorArcanaOnly = Reading().MajorArcanaOnly = true;
        auto& w = frmAuto();
        QVERIFY(!Reading().DrawnCards.HasBounds());
        QVERIFY(!w.p[0]->isVisibleTo(&w));
        QVERIFY(!frmMDI().rtbDisp1->Text().contains("Thank You for using"));
    }

    // A reading that allows reversed cards starts without the reversed cards
    // of an earlier reading.
    void earlierReversedCardsAreForgotten()
    {
        ChooseAutomatic(6, OneCard);
        Reading().ReversedCards = IntArray::From({15, 3});
        RndState::SetFixedTimer(1000.0f); // card 15, upright
        auto& w = frmAuto();
        w.Show();
        QVERIFY(!Reading().ReversedCards.HasBounds());
        QCOMPARE(drawnCards(), (QList<int>{15, 0}));
        QVERIFY(w.p[0]->Picture() == CardImage(15));
        QVERIFY(!frmMDI().rtbDisp1->Text().contains(" - Reversed"));
    }

    // A card picture that cannot be read leaves its place empty; the reading
    // is laid out and written all the same, its reversed cards recorded.
    void missingPicturesLeavePlacesEmpty_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("spread");
        QTest::addColumn<float>("timer");
        QTest::addColumn<QList<int>>("reversed");
        QTest::newRow("DONE3 Celtic Cross") << 3 << CelticCross << 5.0f << QList<int>{};
        QTest::newRow("DONE4 Celtic Cross") << 4 << CelticCross << 4321.5f << QList<int>{48, 62, 3, 74, 34};
        QTest::newRow("DONE5 Relationship") << 5 << Relationship << 1000.25f << QList<int>{45, 33, 38, 24};
    }
    void missingPicturesLeavePlacesEmpty()
    {
        QFETCH(int, procedure);
        QFETCH(int, spread);
        QFETCH(float, timer);
        QFETCH(QList<int>, reversed);
        ProgramFolder damaged; // the program folder of this test only
        damaged.remove("cards");
        ChooseAutomatic(procedure, spread);
        RndState::SetFixedTimer(timer);
        auto& w = frmAuto();
        w.Show();
        for (int i = 0; i < SpreadTable(spread).Cards; ++i) {
            QVERIFY(w.p[i]->isVisibleTo(&w));
            QCOMPARE(w.p[i]->pos(), placeOf(spread, i));
            QVERIFY(w.p[i]->Picture().isNull());
            QVERIFY(w.lbl[i]->isVisibleTo(&w));
        }
        QCOMPARE(reversedCards(), reversed);
        const QString text = frmMDI().rtbDisp1->Text();
        QCOMPARE(text.count(" - Reversed"), reversed.size());
        QVERIFY(text.contains("Thank You for using"));
    }

    // The user ends the program while a reversed card is being turned: the
    // layout stops there and loads no window again.
    void endingTheProgramDuringATurnStopsTheLayout_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::newRow("DONE4") << 4;
        QTest::newRow("DONE5") << 5;
        QTest::newRow("DONE6") << 6;
    }
    void endingTheProgramDuringATurnStopsTheLayout()
    {
        QFETCH(int, procedure);
        ChooseAutomatic(procedure, OneCard);
        QVERIFY(ArrangeNumberAfterReseeding(2, 0xFFFFFFu)); // the card lies reversed
        frmMDI().Show();
        int served = 0;
        QTimer clicker;
        clicker.setInterval(0);
        // The first pending events are served by the one try of the draw,
        // the next ones by the turn.
        QObject::connect(&clicker, &QTimer::timeout, [&] {
            if (++served == 2 && Forms::IsLoaded("frmMDI"))
                frmMDI().cmdExit->click();
        });
        clicker.start();
        frmAuto().Show();
        clicker.stop();
        TestSupport::settle();
        QVERIFY(served >= 2);
        QVERIFY(!Forms::IsLoaded("frmAuto"));
        QVERIFY(!Forms::IsLoaded("frmMDI"));
        QCOMPARE(Reading().DrawnCards.UBound(), 1);
        QVERIFY(!Reading().ReversedCards.HasBounds()); // the card was not recorded
    }
};

ARC_TEST(AutomaticLayoutsTest)
#include "AutomaticLayoutsTest.moc"
