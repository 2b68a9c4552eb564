#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "platform/Forms.h"
#include "platform/Rnd.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"
#include "reading/TextEncoding.h"
#include "reading/frmFront.h"
#include "spread/CardPicturePath.h"
#include "spread/frmAuto.h"

#include <QApplication>
#include <QFile>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QImage cardImage(int card, const QString& deck) { return LoadPicture(CardPicturePath(card, deck)); }

// A saved reading file written byte for byte as the program writes them.
void writeFile(const QString& path, const QStringList& lines)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const QString& line : lines)
        f.write(ToSingleByte(EncodeText(line)) + "\r\n");
}

struct Shown {
    QList<QImage> pictures;
    QString text;
};

Shown shownReading(int positions)
{
    Shown s;
    for (int i = 0; i < positions; ++i)
        s.pictures << frmAuto().p[i]->Picture();
    s.text = frmMDI().rtbDisp1->Text();
    return s;
}

void openThroughTheQuerentWindow(const QString& path)
{
    Scripted().fileAnswers.enqueue(path);
    frmFront().Show();
    QTest::mouseClick(frmFront().cmdOpen, Qt::LeftButton);
}
} // namespace

class ReopenReadingTest : public SessionTest {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // A reading saved in one run reopens in another with the same cards,
    // pictures and text, and saves again to the same bytes.
    void savedReadingReopensAsItWas_data()
    {
        QTest::addColumn<int>("spread");
        QTest::addColumn<QString>("deck");
        QTest::newRow("Celtic Cross, Marseilles") << 0 << "m";
        QTest::newRow("One Card") << 1 << "r";
        QTest::newRow("Romany") << 9 << "r";
    }
    void savedReadingReopensAsItWas()
    {
        QFETCH(int, spread);
        QFETCH(QString, deck);
        const int n = SpreadTable(spread).Cards;
        ReadingState& r = Reading();
        r.DeckLetter = deck;
        r.SelectedSpreadName = SpreadTable(spread).Name;
        r.CardCount = n;
        r.AutoCastPressed = true;
        RndState::SetFixedTimer(777.75f);
        frmAuto().Show();
        const Shown before = shownReading(n);
        const QString file = dir.filePath("reading.qzv");
        Scripted().fileAnswers.enqueue(file);
        QTest::mouseClick(frmMDI().cmdSave, Qt::LeftButton);
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QCOMPARE(bytes.count("\r\n"), 2 + n);

        TestSupport::resetSession(); // a new run of the program
        openThroughTheQuerentWindow(file);
        QVERIFY(frmMDI().isVisible());
        QVERIFY(!frmMDI().TB->isVisibleTo(&frmMDI()) && !frmMDI().picLeft->isVisibleTo(&frmMDI()));
        QVERIFY(Forms::IsLoaded("frmFront") && !frmFront().isVisible());
        const Shown after = shownReading(n);
        QCOMPARE(after.pictures.size(), before.pictures.size());
        for (int i = 0; i < n; ++i)
            QVERIFY2(after.pictures[i] == before.pictures[i], qPrintable(QString("position %1").arg(i + 1)));
        QCOMPARE(after.text, before.text);
        QVERIFY(!Reading().IsReadingFromFile);

        const QString again = dir.filePath("again.qzv");
        Scripted().fileAnswers.enqueue(again);
        frmMDI().cmdSave_Click();
        QFile second(again);
        QVERIFY(second.open(QIODevice::ReadOnly));
        QCOMPARE(second.readAll(), bytes);
    }

    void reversedCardsComeBackUpsideDown()
    {
        const QString file = dir.filePath("reversed.qzv");
        writeFile(file, {"r40", "sThree Cards", "dr", "c12", "c40", "c0"});
        openThroughTheQuerentWindow(file);
        auto& w = frmAuto();
        QVERIFY(w.MdiSubWindow()->isVisible()); // the cards show in the frame
        QCOMPARE(w.MdiSubWindow()->pos(), QPoint(0, 0));
        QCOMPARE(w.p[0]->Picture(), cardImage(12, "r"));
        QCOMPARE(w.p[1]->Picture(), cardImage(40, "r").mirrored(true, true));
        QCOMPARE(w.p[2]->Picture(), cardImage(0, "r"));
        const QString text = frmMDI().rtbDisp1->Text();
        QVERIFY(text.contains("Six of Wands - Reversed"));
        QVERIFY(!text.contains("Three of Pentacles - Reversed"));
        QVERIFY(text.contains("Death\r\n") && !text.contains("Death - Reversed"));
    }

    void flagsOfAnEarlierReadingDoNotStopTheRestore()
    {
        Reading().AllowReversed = true;
        Reading().IsManualReading = true;
        Reading().AutoCastPressed = true;
        const QString file = dir.filePath("one.qzv");
        writeFile(file, {"sOne Card", "dm", "c7"});
        openThroughTheQuerentWindow(file);
        QCOMPARE(frmAuto().p[0]->Picture(), cardImage(7, "m"));
        QCOMPARE(Reading().DrawnCards.UBound(), 1);
        QCOMPARE(Reading().DrawnCards(0), 7);
    }

    void spreadWithoutATableIsWrittenWithoutPictures()
    {
        const QString file = dir.filePath("odd.qzv");
        writeFile(file, {"sNo Such Spread", "dr", "c3", "c4", "c5", "c8", "c9"});
        openThroughTheQuerentWindow(file);
        QVERIFY(!frmAuto().p[0]->isVisibleTo(&frmAuto()));
        const QString text = frmMDI().rtbDisp1->Text();
        QVERIFY(text.contains("Justice") && text.contains("The Emperor"));
        QVERIFY(text.contains("Thank You for using"));
    }

    void reopenedReadingsLeaveNothingBehind()
    {
        const QString file = dir.filePath("cross.qzv");
        writeFile(file, {"sCeltic Cross", "dr", "c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9", "c10", "r5"});
        QList<int> live;
        for (int cycle = 0; cycle < 6; ++cycle) {
            openThroughTheQuerentWindow(file);
            QVERIFY(frmAuto().MdiSubWindow()->isVisible());
            // stands for the control pictures the style cached while the reading was painted
            const QPixmapCache::Key painted = QPixmapCache::insert(frmMDI().grab());
            frmMDI().cmdRestart_Click();
            TestSupport::settle();
            QPixmap kept;
            QVERIFY(!QPixmapCache::find(painted, &kept));
            live << QApplication::allWidgets().size() << qApp->findChildren<QObject*>().size();
        }
        QCOMPARE(live.mid(2, 2), live.mid(10, 2));
    }

    void cancelledOpenChangesNothing()
    {
        frmFront().Show();
        QTest::mouseClick(frmFront().cmdOpen, Qt::LeftButton); // no answer queued: cancel
        QVERIFY(frmFront().isVisible());
        QVERIFY(!Forms::IsLoaded("frmMDI") && !Forms::IsLoaded("frmAuto"));
        QVERIFY(Scripted().boxes.isEmpty());
    }
};

ARC_TEST(ReopenReadingTest)
#include "ReopenReadingTest.moc"
