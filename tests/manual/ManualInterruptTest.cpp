#include "ManualFlow.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "common/ArrayRoutines.h"
#include "platform/Forms.h"
#include "spread/frmAuto.h"

#include <QTimer>
#include <QtTest>

using namespace ManualFlow;

namespace {
int ends() { return FormRegistry::instance().EndCount(); }

int occurrences(const QString& text, const QString& part)
{
    int n = 0;
    for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + 1))
        ++n;
    return n;
}

// Runs action once the draw has let window events run `ticks` times.
class DuringTheDraw {
public:
    DuringTheDraw(int ticks, std::function<void()> action) : m_ticks(ticks), m_action(std::move(action))
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (--m_ticks > 0)
                return;
            m_timer.stop();
            // Only a draw in progress counts: its wait panel is up.
            m_duringDraw = Forms::IsLoaded("frmManual") && frmManual().picMessage->isVisible();
            if (m_duringDraw)
                m_action();
        });
        m_timer.start();
    }
    bool ranDuringDraw() const { return m_duringDraw; }

private:
    QTimer m_timer;
    int m_ticks;
    std::function<void()> m_action;
    bool m_duringDraw = false;
};

// A user's double click: press, release, the second press (a double click)
// and its release.
void doubleClick(QWidget* w)
{
    QTest::mousePress(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
    QTest::mouseDClick(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
}

void pickAllButOne(class frmManual& m, int n)
{
    for (int k = 0; k < n - 1; ++k)
        clickBack(m, k);
}
} // namespace

class ManualInterruptTest : public SessionTest {
    Q_OBJECT

private slots:
    void aPickedBackCannotBePickedAgain()
    {
        openManualReading(0);
        auto& m = frmManual();
        clickBack(m, 7);
        clickBack(m, 7); // hidden and disabled now
        m.p_Click(7);    // even when its handler is reached
        QCOMPARE(m.PickCount, qint16(1));
        QCOMPARE(m.txtDisp->Text(), prompt(0, 1));
        doubleClick(m.p[8]);
        QCOMPARE(m.PickCount, qint16(2));
        QCOMPARE(m.PickedCards(1), 8);
        QCOMPARE(m.txtDisp->Text(), prompt(0, 2));
    }

    void backsOutsideTheCardSetCannotBePicked()
    {
        Options options;
        options.major = true;
        openManualReading(3, options);
        auto& m = frmManual();
        m.p_Click(40);
        m.p_Click(77);
        m.p_Click(-1);
        m.p_Click(78);
        QCOMPARE(m.PickCount, qint16(0));
    }

    void doubleClickOnTheLastBackDrawsOnce()
    {
        openManualReading(2);
        auto& m = frmManual();
        clickBack(m, 0);
        doubleClick(m.p[1]);
        TestSupport::settle();
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QCOMPARE(Reading().DrawnCards.UBound(), 1);
        QCOMPARE(occurrences(frmMDI().rtbDisp1->Text(), "Thank You for using"), 1);
    }

    // Clicks on the remaining backs while the draw runs are ignored: one
    // reading, written once.
    void clicksDuringTheDrawAreIgnored_data()
    {
        QTest::addColumn<int>("spread");
        QTest::addColumn<bool>("reversed");
        QTest::newRow("Celtic Cross, reversed") << 0 << true;
        QTest::newRow("Romany") << 9 << false;
        QTest::newRow("Romany, reversed") << 9 << true;
        QTest::newRow("One Card, reversed") << 1 << true;
    }
    void clicksDuringTheDrawAreIgnored()
    {
        QFETCH(int, spread);
        QFETCH(bool, reversed);
        Options options;
        options.reversed = reversed;
        openManualReading(spread, options);
        const int n = SpreadTable(spread).Cards;
        QPointer<class frmManual> m(&frmManual());
        pickAllButOne(*m, n);
        int clicks = 0;
        QTimer clicker;
        clicker.setInterval(0);
        QObject::connect(&clicker, &QTimer::timeout, [&] {
            if (!m || !m->IsLoaded())
                return;
            for (int b = 60; b < 78; ++b) {
                if (m->p[b]->isVisible()) {
                    QTest::mouseClick(m->p[b], Qt::LeftButton);
                    ++clicks;
                    if (!m || !m->IsLoaded())
                        return;
                }
            }
            m->p_Click(70);
        });
        clicker.start();
        RndState::SetFixedTimer(1234.5f);
        const Draw expected = expectedDraw(n, options);
        clickBack(*m, n - 1);
        clicker.stop();
        TestSupport::settle();
        QVERIFY(clicks > 0);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        const ReadingState& r = Reading();
        QCOMPARE(r.DrawnCards.UBound(), n - 1);
        QCOMPARE(QList<int>(r.DrawnCards.Items().begin(), r.DrawnCards.Items().end()), expected.cards);
        const QString text = frmMDI().rtbDisp1->Text();
        QCOMPARE(occurrences(text, "Thank You for using"), 1);
        QCOMPARE(occurrences(text, "Spread Type - "), 1);
        QVERIFY(frmMDI().isVisible());
    }

    // "Back", "&Start Again" or "Exit" while the cards are being drawn,
    // turned and placed: the draw stops, nothing of it is left behind, and
    // a new reading afterwards is whole.
    void leavingDuringTheDraw_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<bool>("inEventLoop");
        for (const char* how : {"back", "start", "exit", "close"}) {
            for (int ticks : {1, 2, 5, 20, 120, 400, 600}) {
                for (bool inEventLoop : {false, true}) {
                    if (inEventLoop && ticks != 2 && ticks != 120 && ticks != 400)
                        continue;
                    QTest::newRow(qPrintable(QString("%1 after %2%3")
                                                 .arg(how)
                                                 .arg(ticks)
                                                 .arg(inEventLoop ? ", in the event loop" : "")))
                        << QString(how) << ticks << inEventLoop;
                }
            }
        }
    }
    void leavingDuringTheDraw()
    {
        QFETCH(QString, how);
        QFETCH(int, ticks);
        QFETCH(bool, inEventLoop);
        Options options;
        options.reversed = true;
        openManualReading(0, options); // Celtic Cross: reversed cards and the crossing card are turned
        QPointer<class frmManual> m(&frmManual());
        pickAllButOne(*m, 10);
        const int before = ends();
        RndState::SetFixedTimer(2024.75f);
        DuringTheDraw leave(ticks, [how] {
            auto& w = frmManual();
            if (how == "back")
                QTest::mouseClick(w.cmdBack, Qt::LeftButton);
            else if (how == "start")
                w.mnuStart->trigger();
            else if (how == "exit")
                QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
            else
                w.close();
        });
        if (inEventLoop) {
            // As in the running program: the click comes from the event
            // loop, and a window unloaded during the draw can be deleted
            // before the draw has returned.
            QEventLoop loop;
            QTimer::singleShot(0, &loop, [&] {
                clickBack(*m, 50);
                loop.quit();
            });
            loop.exec();
        } else {
            clickBack(*m, 50);
        }
        TestSupport::settle();
        if (!leave.ranDuringDraw())
            QSKIP("the draw ended before the interruption came");

        QVERIFY(!m);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QVERIFY(!Forms::IsLoaded("frmAuto"));
        QVERIFY(!IsArrayDimmed(Reading().DrawnCards));
        QVERIFY(!IsArrayDimmed(Reading().ReversedCards));
        if (how == "exit" || how == "close") {
            QCOMPARE(Forms::Count(), 0);
            QCOMPARE(ends(), before + 1);
            return;
        }
        QCOMPARE(ends(), before);
        QVERIFY(Forms::IsLoaded("frmFront") && frmFront().isVisible());
        QVERIFY(Forms::IsLoaded("frmMDI") && !frmMDI().isVisible());
        QVERIFY(frmMDI().rtbDisp1->Text().isEmpty());

        // The next reading is whole: its own header, its own cards, no others.
        openManualReading(3);
        auto& again = frmManual();
        RndState::SetFixedTimer(77.5f);
        const Draw expected = expectedDraw(3, Options());
        clickBack(again, 0);
        clickBack(again, 1);
        clickBack(again, 2);
        QCOMPARE(QList<int>(Reading().DrawnCards.Items().begin(), Reading().DrawnCards.Items().end()),
                 expected.cards);
        const QString text = frmMDI().rtbDisp1->Text();
        QCOMPARE(occurrences(text, "Spread Type - "), 1);
        QVERIFY(text.contains("Spread Type - Three Cards"));
        QCOMPARE(occurrences(text, "Thank You for using"), 1);
        auto& w = frmAuto();
        for (int i = 0; i < frmAuto::PlaceCount; ++i)
            QCOMPARE(w.p[i]->isVisibleTo(&w), i < 3);
    }

    void aboutBoxDuringTheDrawLetsItFinish()
    {
        openManualReading(0);
        auto& m = frmManual();
        pickAllButOne(m, 10);
        DuringTheDraw about(3, [] { frmManual().mnuAbout->trigger(); });
        clickBack(m, 60);
        TestSupport::settle();
        QVERIFY(about.ranDuringDraw());
        QCOMPARE(Scripted().modalForms, QStringList{"frmAbout"});
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QCOMPARE(Reading().DrawnCards.UBound(), 9);
        QVERIFY(frmMDI().isVisible());
    }
};

ARC_TEST(ManualInterruptTest)
#include "ManualInterruptTest.moc"
