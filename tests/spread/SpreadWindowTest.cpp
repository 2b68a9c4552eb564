#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "common/ArrayRoutines.h"
#include "platform/Forms.h"
#include "platform/Rnd.h"
#include "platform/Twips.h"
#include "reading/CardMeanings.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"
#include "spread/CardPicturePath.h"
#include "spread/SpreadLayoutTable.h"
#include "spread/frmAuto.h"

#include <QTimer>
#include <QtTest>

namespace {
// The reading state as the spread choice leaves it for an automatic reading.
void chooseAutomatic(int spreadIndex, const QString& deck = "r")
{
    ReadingState& r = Reading();
    r = ReadingState();
    r.DeckLetter = deck;
    r.SelectedSpreadName = SpreadTable(spreadIndex).Name;
    r.CardCount = SpreadTable(spreadIndex).Cards;
    r.AutoCastPressed = true;
}

QImage cardImage(int card, const QString& deck = "r") { return LoadPicture(CardPicturePath(card, deck)); }

} // namespace

class SpreadWindowTest : public SessionTest {
    Q_OBJECT

private slots:
    void eachSpreadIsLaidOutWithDistinctCards_data()
    {
        QTest::addColumn<int>("spread");
        for (int i = 0; i < 13; ++i)
            QTest::newRow(SpreadTable(i).Name) << i;
    }
    void eachSpreadIsLaidOutWithDistinctCards()
    {
        QFETCH(int, spread);
        chooseAutomatic(spread);
        RndState::SetFixedTimer(4321.5f + spread);
        auto& w = frmAuto();
        w.Show();
        const ReadingState& r = Reading();
        const int n = SpreadTable(spread).Cards;
        const SpreadLayout& layout = SpreadLayoutByIndex(spread);

        QCOMPARE(r.DrawnCards.UBound(), n);
        QCOMPARE(r.DrawnCards(n), 0);
        QSet<int> seen;
        for (int i = 0; i < n; ++i) {
            const int c = r.DrawnCards(i);
            QVERIFY2(c >= 1 && c <= 76, qPrintable(QString("card %1").arg(c)));
            QVERIFY(!seen.contains(c));
            seen << c;
            QVERIFY(w.p[i]->isVisibleTo(&w));
            QCOMPARE(w.p[i]->pos(), QPoint(Twips::toPixels(layout.positions[i].x()),
                                           Twips::toPixels(layout.positions[i].y())));
            QVERIFY(w.lbl[i]->isVisibleTo(&w) && w.lbl[i]->isEnabled());
            QCOMPARE(w.lbl[i]->text(), QString::number(i + 1));
            if (spread == 0 && i == 1) {
                QCOMPARE(w.p[i]->Picture().size(), cardImage(c).size().transposed());
            } else {
                QCOMPARE(w.p[i]->Picture(), cardImage(c));
                QCOMPARE(w.p[i]->size(), cardImage(c).size()); // a place sizes itself to its card
            }
        }
        for (int i = n; i < frmAuto::PlaceCount; ++i)
            QVERIFY(!w.p[i]->isVisibleTo(&w));

        // the whole reading is written, from the top
        const QString text = frmMDI().rtbDisp1->Text();
        QVERIFY(text.contains(QString("Spread Type - ")));
        for (int i = 0; i < n; ++i)
            QVERIFY(text.contains(CardMeaningTable(r.DrawnCards(i))->Name));
        QCOMPARE(frmMDI().rtbDisp1->SelStart(), 0);
        QVERIFY(frmMDI().isVisible());
    }

    void sameTimerGivesTheSameCards()
    {
        QList<int> first;
        for (int run = 0; run < 2; ++run) {
            TestSupport::resetSession();
            chooseAutomatic(9);
            RndState::SetFixedTimer(100.25f);
            frmAuto().Show();
            QList<int> cards;
            for (int i = 0; i < 21; ++i)
                cards << Reading().DrawnCards(i);
            if (run == 0)
                first = cards;
            else
                QCOMPARE(cards, first);
        }
    }

    void crossingCardIsTurnedAndImgKeepsIt()
    {
        chooseAutomatic(0);
        auto& w = frmAuto();
        const int crossing = Reading().DrawnCards(1);
        const QImage upright = cardImage(crossing);
        QCOMPARE(w.Img->Picture(), w.p[1]->Picture());
        QCOMPARE(w.p[1]->Picture().width(), upright.height());
        // a quarter turn: the card's top now faces one side
        QCOMPARE(w.p[1]->Picture().pixelColor(0, 0).isValid(), true);
        QVERIFY(w.p[1]->Picture() != upright);
    }

    void oneCardLabelStandsInFront()
    {
        chooseAutomatic(1);
        auto& w = frmAuto();
        QCOMPARE(w.p[0]->pos(), QPoint(Twips::toPixels(5000), Twips::toPixels(2500)));
        QCOMPARE(w.p[0]->children().last(), static_cast<QObject*>(w.lbl[0]));
    }

    // The spread window keeps to the room between the frame's panes, at
    // 9000 x 7000 twips where there is room, its cards where they were.
    void windowStaysInsideTheFramesClientArea_data()
    {
        QTest::addColumn<QList<QSize>>("frames"); // twips, one resize after another
        QTest::newRow("frame as designed") << QList<QSize>{};
        QTest::newRow("wide and tall") << QList<QSize>{{17000, 12000}};
        QTest::newRow("wide but low") << QList<QSize>{{17000, 5000}};
        QTest::newRow("small, then large again") << QList<QSize>{{8000, 5000}, {17000, 12000}};
    }

    void windowStaysInsideTheFramesClientArea()
    {
        QFETCH(QList<QSize>, frames);
        chooseAutomatic(6);
        auto& w = frmAuto();
        w.Show();
        auto& mdi = frmMDI();
        mdi.picLeft->setVisible(false);
        mdi.TB->setVisible(false);
        mdi.picTop2->setVisible(false);
        frames.prepend(QSize());
        for (const QSize& frame : frames) {
            if (!frame.isEmpty())
                mdi.resize(Twips::toPixels(frame.width()), Twips::toPixels(frame.height()));
            TestSupport::settle();
            const QRect room = mdi.mdiClient->viewport()->rect();
            const QRect child = w.MdiSubWindow()->geometry();
            QVERIFY(room.contains(child));
            QCOMPARE(child.size(), QSize(Twips::toPixels(9000), Twips::toPixels(7000)).boundedTo(room.size()));
        }
        QCOMPARE(w.p[6]->pos(), QPoint(Twips::toPixels(4500), 0));

        // A size the user gave it by dragging its border stays.
        w.MdiSubWindow()->resize(300, 200);
        mdi.resize(mdi.width() + 40, mdi.height() + 40);
        TestSupport::settle();
        QCOMPARE(w.MdiSubWindow()->size(), QSize(300, 200));
    }

    void withoutPressedButtonsOnlyTheHeaderIsWritten()
    {
        chooseAutomatic(3);
        Reading().AutoCastPressed = false;
        frmMDI().rtbDisp1->SetText("an old reading");
        auto& w = frmAuto();
        QVERIFY(!IsArrayDimmed(Reading().DrawnCards));
        QVERIFY(!w.p[0]->isVisibleTo(&w));
        const QString text = frmMDI().rtbDisp1->Text();
        QVERIFY(!text.contains("an old reading"));
        QVERIFY(text.contains("Spread Type - Three Cards"));
        QVERIFY(!text.contains("Thank You for using"));
    }

    void bothArcanaFlagsRunNothing()
    {
        chooseAutomatic(1);
        Reading().MinorArcanaOnly = Reading().MajorArcanaOnly = true;
        Reading().ManualPressed = true;
        auto& w = frmAuto();
        QVERIFY(!IsArrayDimmed(Reading().DrawnCards));
        QVERIFY(!w.p[0]->isVisibleTo(&w));
    }

    void clearPicBoxLeavesPlacesElevenOnward()
    {
        chooseAutomatic(9);
        auto& w = frmAuto();
        w.Clear_PicBox();
        for (int i = 0; i < 10; ++i)
            QVERIFY(w.p[i]->Picture().isNull());
        for (int i = 10; i < 21; ++i)
            QVERIFY(!w.p[i]->Picture().isNull());
        QVERIFY(w.p[0]->isVisibleTo(&w)); // places stay where they are
    }

    void missingPictureLeavesItsPlaceEmptyAndTheReadingGoesOn()
    {
        for (int c = 0; c < 78; ++c)
            QFile::remove(folder->file(QString("cards/r%1.jpg").arg(c)));
        chooseAutomatic(2);
        auto& w = frmAuto();
        QVERIFY(w.p[0]->Picture().isNull() && w.p[1]->Picture().isNull());
        QVERIFY(frmMDI().rtbDisp1->Text().contains("Thank You for using"));
    }

    void unknownSpreadLaysNothingOutButStillWritesTheClosing()
    {
        chooseAutomatic(0);
        Reading().SelectedSpreadName = "celtic cross";
        auto& w = frmAuto();
        QVERIFY(!w.p[0]->isVisibleTo(&w));
        QCOMPARE(Reading().DrawnCards.UBound(), 10);
        QVERIFY(frmMDI().rtbDisp1->Text().contains("Thank You for using"));
    }

    void endingTheProgramDuringTheDrawStopsTheLayoutCleanly_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Exit") << "exit";
        QTest::newRow("Start Again") << "restart";
    }
    void endingTheProgramDuringTheDrawStopsTheLayoutCleanly()
    {
        QFETCH(QString, button);
        chooseAutomatic(9);
        frmMDI().Show();
        // The user's click arrives while the draw handles pending events.
        QTimer::singleShot(0, [button] {
            if (button == "exit")
                frmMDI().cmdExit->click();
            else
                frmMDI().cmdRestart->click();
        });
        frmAuto().Show();
        TestSupport::settle();
        QVERIFY(!Forms::IsLoaded("frmAuto"));
        QVERIFY(!Forms::IsLoaded("frmMDI")); // not loaded again by the interrupted layout
        QCOMPARE(Reading().DrawnCards(0), 0);  // the draw stopped at its first card
        QCOMPARE(Forms::IsLoaded("frmOpen"), button == "restart");
    }
};

ARC_TEST(SpreadWindowTest)
#include "SpreadWindowTest.moc"
