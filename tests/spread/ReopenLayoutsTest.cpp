#include "LayoutTesting.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "platform/Forms.h"
#include "reading/frmFront.h"
#include "spread/frmAuto.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace LayoutTesting;

namespace {
struct Shown {
    QList<QImage> pictures;
    QList<QPoint> places;
    QString text;
};

Shown shownReading(int positions)
{
    Shown s;
    auto& w = frmAuto();
    for (int i = 0; i < positions; ++i) {
        s.pictures << w.p[i]->Picture();
        s.places << (w.p[i]->isVisibleTo(&w) ? w.p[i]->pos() : QPoint(-1, -1));
    }
    s.text = frmMDI().rtbDisp1->Text();
    return s;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

// A reading laid out by any layout of the family, saved, reopens in another
// run of the program as it was: the same pictures, upside down and across
// where they were, at the same places, and the same text.
class ReopenLayoutsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;
    QTemporaryDir dir;

private slots:
    void initTestCase() { folder = std::make_unique<ProgramFolder>(); }
    void cleanupTestCase() { folder.reset(); }
    void init() { TestSupport::resetSession(); }
    void cleanup() { TestSupport::resetSession(); }

    void savedReadingReopensAsItWas_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("spread");
        QTest::addColumn<QString>("deck");
        QTest::addColumn<float>("timer");
        QTest::addColumn<int>("reversedCount");
        QTest::newRow("DONE1 Three Cards") << 1 << ThreeCards << "r" << 31.5f << 0;
        QTest::newRow("DONE2 The Line Spread, Marseilles") << 2 << LineSpread << "m" << 2222.0f << 0;
        QTest::newRow("DONE3 Zodiac") << 3 << Zodiac << "r" << 3333.0f << 0;
        QTest::newRow("DONE4 Celtic Cross") << 4 << CelticCross << "r" << 4321.5f << 5;
        QTest::newRow("DONE4 Four Seasons, Marseilles") << 4 << FourSeasons << "m" << 1000.75f << 2;
        QTest::newRow("DONE5 Relationship") << 5 << Relationship << "r" << 1000.25f << 4;
        QTest::newRow("DONE5 Celtic Cross, nine reversed, Marseilles") << 5 << CelticCross << "m" << 1072.5f << 9;
        QTest::newRow("DONE6 One Card, reversed") << 6 << OneCard << "r" << 1000.25f << 1;
        QTest::newRow("DONE6 Romany") << 6 << Romany << "r" << 1000.0f << 8;
    }
    void savedReadingReopensAsItWas()
    {
        QFETCH(int, procedure);
        QFETCH(int, spread);
        QFETCH(QString, deck);
        QFETCH(float, timer);
        QFETCH(int, reversedCount);
        const int n = SpreadTable(spread).Cards;
        ChooseAutomatic(procedure, spread, deck);
        RndState::SetFixedTimer(timer);
        frmAuto().Show();
        const Shown before = shownReading(n);
        const IntArray reversedBefore = Reading().ReversedCards;
        QCOMPARE(reversedBefore.HasBounds() ? reversedBefore.UBound() + 1 : 0, reversedCount);
        QCOMPARE(before.text.count(" - Reversed"), reversedCount);

        const QString file = dir.filePath(QString("reading%1.qzv").arg(QTest::currentDataTag()).remove(' '));
        Scripted().fileAnswers.enqueue(file);
        frmMDI().cmdSave_Click();
        const QByteArray bytes = fileBytes(file);
        QCOMPARE(bytes.count("\r\n"), 2 + n + reversedCount); // spread, deck, cards, reversed cards

        TestSupport::resetSession(); // a new run of the program
        Scripted().fileAnswers.enqueue(file);
        frmFront().Show();
        QTest::mouseClick(frmFront().cmdOpen, Qt::LeftButton);
        QVERIFY(frmMDI().isVisible());
        const Shown after = shownReading(n);
        for (int i = 0; i < n; ++i) {
            const QString at = QString("position %1").arg(i + 1);
            QVERIFY2(after.pictures[i] == before.pictures[i], qPrintable(at));
            QVERIFY2(after.places[i] == before.places[i], qPrintable(at));
        }
        QCOMPARE(after.text, before.text);
        QCOMPARE(Reading().ReversedCards.Items(), reversedBefore.Items());

        const QString again = dir.filePath("again.qzv");
        Scripted().fileAnswers.enqueue(again);
        frmMDI().cmdSave_Click();
        QCOMPARE(fileBytes(again), bytes);
    }
};

ARC_TEST(ReopenLayoutsTest)
#include "ReopenLayoutsTest.moc"
