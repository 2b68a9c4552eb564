#include "RotationOracle.h"
#include "TestMain.h"
#include "TestPictures.h"
#include "imaging/RotatePicture.h"

#include <QThread>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <vector>

using namespace TestPictures;

namespace {

struct ProgressCall {
    double progress;
    qint32 done;
    qint32 total;
};

// A progress procedure that writes down its calls and asks to stop at the
// given call (counting from 1; 0 never).
RotateProgress recorder(std::vector<ProgressCall>& calls, int stopAt = 0)
{
    return [&calls, stopAt](double progress, qint32 done, qint32 total) -> qint16 {
        calls.push_back({progress, done, total});
        return stopAt != 0 && int(calls.size()) == stopAt ? 1 : 0;
    };
}

const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);
const QRgb Blue = qRgb(0, 0, 255);

} // namespace

// What a turned picture looks like.
class RotationEngineTest : public QObject {
    Q_OBJECT
private slots:
    void zeroDegreesKeepsEveryPixel()
    {
        const QImage source = Random(7, 5, 1);
        const QImage turned = RotatePicture(source, 0, nullptr, Blue);
        QCOMPARE(turned.size(), QSize(7, 5));
        QCOMPARE(turned.format(), QImage::Format_RGB32);
        QVERIFY(Identical(turned, source));
    }

    void quarterTurnPutsTheTopLeftCornerBottomLeft()
    {
        const QImage source = Random(7, 5, 2);
        const QImage turned = RotatePicture(source, 90, nullptr, Blue);
        QCOMPARE(turned.size(), QSize(5, 7));
        for (int ty = 0; ty < 7; ++ty)
            for (int tx = 0; tx < 5; ++tx)
                QCOMPARE(At(turned, tx, ty), At(source, 6 - ty, tx));
        QCOMPARE(At(turned, 0, 6), At(source, 0, 0));
    }

    void halfTurnIsUpsideDown()
    {
        const QImage source = Random(7, 5, 3);
        const QImage turned = RotatePicture(source, 180, nullptr, Blue);
        QCOMPARE(turned.size(), QSize(7, 5));
        for (int ty = 0; ty < 5; ++ty)
            for (int tx = 0; tx < 7; ++tx)
                QCOMPARE(At(turned, tx, ty), At(source, 6 - tx, 4 - ty));
    }

    void threeQuarterTurnPutsTheTopLeftCornerTopRight()
    {
        const QImage source = Random(7, 5, 4);
        const QImage turned = RotatePicture(source, 270, nullptr, Blue);
        QCOMPARE(turned.size(), QSize(5, 7));
        for (int ty = 0; ty < 7; ++ty)
            for (int tx = 0; tx < 5; ++tx)
                QCOMPARE(At(turned, tx, ty), At(source, ty, 4 - tx));
        QCOMPARE(At(turned, 4, 0), At(source, 0, 0));
    }

    void minusNinetyAndFourHundredFiftyTurnLikeTheirTableAngles()
    {
        // These go through the general cosine, a hair away from the table's
        // values, and still land every pixel on one pixel.
        const QImage source = Random(13, 9, 5);
        QVERIFY(Identical(RotatePicture(source, -90, nullptr, Blue), RotatePicture(source, 270, nullptr, Blue)));
        QVERIFY(Identical(RotatePicture(source, 450, nullptr, Blue), RotatePicture(source, 90, nullptr, Blue)));
        QVERIFY(Identical(RotatePicture(source, 360, nullptr, Blue), source));
        QVERIFY(Identical(RotatePicture(source, -90, nullptr, Blue), Oracle::RotatePicture(source, -90, nullptr, Blue)));
        QVERIFY(Identical(RotatePicture(source, 450, nullptr, Blue), Oracle::RotatePicture(source, 450, nullptr, Blue)));
    }

    void fortyFiveDegreesOnAHundredSquare()
    {
        const QImage source = Filled(100, 100, White);
        const QImage turned = RotatePicture(source, 45, nullptr, Blue);
        QCOMPARE(turned.size(), QSize(142, 142));
        // The four corner triangles are background.
        for (QPoint p : {QPoint(0, 0), QPoint(141, 0), QPoint(0, 141), QPoint(141, 141), QPoint(20, 20),
                         QPoint(120, 20), QPoint(20, 120), QPoint(120, 120)})
            QCOMPARE(At(turned, p.x(), p.y()), Blue);
        // The middle is the picture.
        QCOMPARE(At(turned, 71, 71), White);
        QCOMPARE(At(turned, 71, 5), White);
        // Along the border, blends of picture and background by coverage:
        // white over blue keeps blue at 255 and red equal to green.
        int blends = 0;
        for (int y = 0; y < 142; ++y) {
            for (int x = 0; x < 142; ++x) {
                const QRgb p = At(turned, x, y);
                QCOMPARE(qBlue(p), 255);
                QCOMPARE(qRed(p), qGreen(p));
                if (qRed(p) > 0 && qRed(p) < 255)
                    ++blends;
            }
        }
        QVERIFY(blends > 4 * 100);
        QVERIFY(MaxChannelDifference(turned, Oracle::RotatePicture(source, 45, nullptr, Blue)) <= 1);
    }

    void resultSizes()
    {
        QCOMPARE(RotatePicture(Random(100, 100, 6), 45, nullptr, 0).size(), QSize(142, 142));
        QCOMPARE(RotatePicture(Random(130, 225, 6), 90, nullptr, 0).size(), QSize(225, 130));
        QCOMPARE(RotatePicture(Random(130, 225, 6), 180, nullptr, 0).size(), QSize(130, 225));
        QCOMPARE(RotatePicture(Random(131, 225, 6), 270, nullptr, 0).size(), QSize(225, 131));
        // 30 degrees: width 130 cos 30 + 225 sin 30 = 225.08, height 130 sin 30 + 225 cos 30 = 259.86.
        QCOMPARE(RotatePicture(Random(130, 225, 6), 30, nullptr, 0).size(), QSize(226, 260));
        QCOMPARE(RotatePicture(Random(1, 1, 6), 45, nullptr, 0).size(), QSize(2, 2));
    }

    void aPictureWithoutPixelsGivesNoPicture()
    {
        QVERIFY(RotatePicture(QImage(), 90, nullptr, 0).isNull());
        QVERIFY(RotatePicture(QPixmap(), 90, nullptr, 0).isNull());
        QVERIFY(RotateBitmap(QImage(), 45, nullptr, 0).isNull());
    }

    void anAngleThatIsNoNumberGivesNoPicture()
    {
        const QImage source = Random(5, 5, 7);
        QVERIFY(RotatePicture(source, std::nan(""), nullptr, 0).isNull());
        QVERIFY(RotatePicture(source, INFINITY, nullptr, 0).isNull());
    }

    void picturesOfOtherFormatsAreTurnedToo()
    {
        const QImage source = Random(9, 6, 8);
        const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
        QVERIFY(Identical(RotatePicture(argb, 90, nullptr, 0), RotatePicture(source, 90, nullptr, 0)));
        const QPixmap pixmap = RotatePicture(QPixmap::fromImage(source), 180, nullptr, 0);
        QCOMPARE(pixmap.size(), QSize(9, 6));
    }

    void progressOncePerSourceColumn_data()
    {
        QTest::addColumn<double>("angle");
        QTest::newRow("0") << 0.0;
        QTest::newRow("90") << 90.0;
        QTest::newRow("45") << 45.0;
        QTest::newRow("30") << 30.0;
    }

    void progressOncePerSourceColumn()
    {
        QFETCH(double, angle);
        std::vector<ProgressCall> calls;
        const int W = 37;
        const QImage turned = RotatePicture(Random(W, 20, 9), angle, recorder(calls), 0);
        QVERIFY(!turned.isNull());
        QCOMPARE(int(calls.size()), W);
        for (int i = 0; i < W; ++i) {
            QCOMPARE(calls[size_t(i)].progress, double(i + 1) / W);
            QCOMPARE(calls[size_t(i)].done, i + 1);
            QCOMPARE(calls[size_t(i)].total, W);
        }
        QCOMPARE(calls.back().progress, 1.0);
    }

    void progressOfALargePictureOnSeveralThreads()
    {
        // Large enough for the work to be shared among threads; the calls
        // still come in order, one per source column, on this thread.
        const int W = 300;
        const QImage source = Random(W, 260, 30);
        std::vector<ProgressCall> calls;
        const Qt::HANDLE caller = QThread::currentThreadId();
        bool sameThread = true;
        const QImage turned = RotatePicture(
            source, 30,
            [&](double progress, qint32 done, qint32 total) -> qint16 {
                sameThread = sameThread && QThread::currentThreadId() == caller;
                calls.push_back({progress, done, total});
                return 0;
            },
            Blue);
        QVERIFY(sameThread);
        QCOMPARE(int(calls.size()), W);
        for (int i = 0; i < W; ++i) {
            QCOMPARE(calls[size_t(i)].progress, double(i + 1) / W);
            QCOMPARE(calls[size_t(i)].done, i + 1);
            QCOMPARE(calls[size_t(i)].total, W);
        }
        QVERIFY(Identical(turned, RotatePicture(source, 30, nullptr, Blue)));
        QVERIFY(MaxChannelDifference(turned, Oracle::RotatePicture(source, 30, nullptr, Blue)) <= 1);

        // Stopped half way: the background alone, whatever the threads had done.
        calls.clear();
        const QImage stopped = RotatePicture(source, 30, recorder(calls, 150), Blue);
        QCOMPARE(int(calls.size()), 150);
        QVERIFY(Identical(stopped, Filled(turned.width(), turned.height(), Blue)));
    }

    void rotateCallbackHandlesPendingEvents()
    {
        bool fired = false;
        QTimer::singleShot(0, [&] { fired = true; });
        const QImage turned = RotatePicture(Random(20, 30, 31), 45, RotateCallback, 0);
        QVERIFY(!turned.isNull());
        QVERIFY(fired);
    }

    void aTurnStartedFromTheProgressProcedure()
    {
        // Nothing in the program does this, but it must not disturb the turn
        // under way.
        const QImage outer = Random(200, 150, 32);
        const QImage inner = Random(60, 90, 33);
        QImage innerTurned;
        const QImage turned = RotatePicture(
            outer, 30,
            [&](double, qint32 done, qint32) -> qint16 {
                if (done == 40)
                    innerTurned = RotatePicture(inner, 45, nullptr, Blue);
                return 0;
            },
            Blue);
        QVERIFY(Identical(turned, RotatePicture(outer, 30, nullptr, Blue)));
        QVERIFY(Identical(innerTurned, RotatePicture(inner, 45, nullptr, Blue)));
    }

    void aQuadrilateralWhollyOutsideTheTarget()
    {
        const QImage source = Random(10, 10, 34);
        for (const auto& quad : {std::pair{Corners{-30, -20, -20, -30}, Corners{2, 2, 12, 12}},   // whole pixels
                                 std::pair{Corners{40, 50.5, 49, 39}, Corners{1.5, 3, 12, 11}},   // parallelogram
                                 std::pair{Corners{2, 9, 12, 3}, Corners{-40, -38, -30, -31}}}) { // general
            QImage target = Random(20, 20, 35);
            const QImage before = target.copy();
            std::vector<ProgressCall> calls;
            QVERIFY(AAWarpBitmap(source, target, quad.first, quad.second, recorder(calls)));
            QCOMPARE(int(calls.size()), 10);
            QVERIFY(Identical(target, before));
        }
    }

    void noProgressProcedureNoCalls()
    {
        // An empty procedure is simply not called; the turn still happens.
        const QImage source = Random(10, 10, 10);
        QVERIFY(Identical(RotatePicture(source, 180, RotateProgress(), 0), RotatePicture(source, 180, nullptr, 0)));
    }

    void aStopLeavesTheBackground_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("stopAt");
        QTest::newRow("90 at once") << 90.0 << 1;
        QTest::newRow("90 half way") << 90.0 << 20;
        QTest::newRow("90 at the end") << 90.0 << 40;
        QTest::newRow("45 half way") << 45.0 << 20;
        QTest::newRow("45 at the end") << 45.0 << 40;
        QTest::newRow("30 at once") << 30.0 << 1;
    }

    void aStopLeavesTheBackground()
    {
        QFETCH(double, angle);
        QFETCH(int, stopAt);
        std::vector<ProgressCall> calls;
        const QImage source = Random(40, 25, 11);
        const QImage turned = RotatePicture(source, angle, recorder(calls, stopAt), Blue);
        QCOMPARE(int(calls.size()), stopAt);
        QCOMPARE(turned.size(), RotatePicture(source, angle, nullptr, Blue).size());
        QVERIFY(Identical(turned, Filled(turned.width(), turned.height(), Blue)));
    }

    void rotateCallbackAnswersTheAbortFlag()
    {
        const QImage source = Random(12, 8, 12);
        RotateAbort = 1;
        const QImage stopped = RotatePicture(source, 90, RotateCallback, Blue);
        RotateAbort = 0;
        QVERIFY(Identical(stopped, Filled(8, 12, Blue)));
        QCOMPARE(RotateCallback(0.5, 1, 2), qint16(0));
        QVERIFY(Identical(RotatePicture(source, 90, RotateCallback, Blue), RotatePicture(source, 90, nullptr, Blue)));
    }

    void aWarpStoppedOnItsOwnTargetLeavesItAlone()
    {
        const QImage source = Random(10, 10, 13);
        QImage target = Random(20, 20, 14);
        const QImage before = target.copy();
        std::vector<ProgressCall> calls;
        // Whole pixels, a parallelogram, a general quadrilateral.
        for (const auto& quad : {std::pair{Corners{2, 12, 12, 2}, Corners{3, 3, 13, 13}},
                                 std::pair{Corners{2, 11, 12, 3}, Corners{3, 4, 13, 12}},
                                 std::pair{Corners{2, 11, 13, 3}, Corners{3, 4, 14, 12}}}) {
            calls.clear();
            QVERIFY(!AAWarpBitmap(source, target, quad.first, quad.second, recorder(calls, 5)));
            QCOMPARE(int(calls.size()), 5);
            QVERIFY(Identical(target, before));
        }
    }

    void aQuarterCoveredPixelOfWhiteOverBlack()
    {
        // One white source pixel over a quarter of a black target pixel:
        // 0.25 * 255 = 63.75, which rounds to 64.
        const QImage white = Filled(1, 1, White);
        QImage target = Filled(1, 1, Black);
        QVERIFY(AAWarpBitmap(white, target, {0.5, 1.5, 1.5, 0.5}, {0.5, 0.5, 1.5, 1.5}, nullptr));
        QCOMPARE(At(target, 0, 0), qRgb(64, 64, 64));
        QImage reference = Filled(1, 1, Black);
        QVERIFY(Oracle::AAWarpBitmap(white, reference, {0.5, 1.5, 1.5, 0.5}, {0.5, 0.5, 1.5, 1.5}, nullptr));
        QCOMPARE(At(reference, 0, 0), qRgb(64, 64, 64));
    }

    void aFullyCoveredPixelTakesTheSourceColour()
    {
        const QImage source = Filled(1, 1, qRgb(10, 200, 77));
        QImage target = Filled(3, 3, Black);
        QVERIFY(AAWarpBitmap(source, target, {1, 2, 2, 1}, {1, 1, 2, 2}, nullptr));
        QCOMPARE(At(target, 1, 1), qRgb(10, 200, 77));
        QCOMPARE(At(target, 0, 0), Black);
        QCOMPARE(At(target, 2, 2), Black);
    }

    void edgePixelsKeepTheirShareOfTheTarget()
    {
        // A red pixel over a quarter of one grey pixel and three quarters of
        // the next: (1 - A) * 100 + A * 255 in red, (1 - A) * 100 in green and blue.
        const QImage red = Filled(1, 1, qRgb(255, 0, 0));
        QImage target = Filled(3, 1, qRgb(100, 100, 100));
        QVERIFY(AAWarpBitmap(red, target, {0.75, 1.75, 1.75, 0.75}, {0, 0, 1, 1}, nullptr));
        QCOMPARE(At(target, 0, 0), qRgb(139, 75, 75)); // 138.75
        QCOMPARE(At(target, 1, 0), qRgb(216, 25, 25)); // 216.25
        QCOMPARE(At(target, 2, 0), qRgb(100, 100, 100));
    }

    void aDegenerateQuadrilateralDrawsNothing()
    {
        const QImage source = Random(6, 4, 15);
        // All four corners on one line.
        Corners X{0, 10, 20, 30}, Y{0, 10, 20, 30};
        const QImage result = WarpToNewBitmap(source, X, Y, nullptr, Blue);
        QCOMPARE(result.size(), QSize(30, 30));
        QVERIFY(Identical(result, Filled(30, 30, Blue)));
        QImage target = Filled(30, 30, Blue);
        QVERIFY(!AAWarpBitmap(source, target, {0, 10, 20, 30}, {0, 10, 20, 30}, nullptr));
        // A flat parallelogram and one with two corners in one place.
        QVERIFY(!AAWarpBitmap(source, target, {0, 10, 10, 0}, {5, 5, 5, 5}, nullptr));
        QVERIFY(!AAWarpBitmap(source, target, {0, 0, 10, 0}, {0, 0, 10, 10}, nullptr));
        QVERIFY(Identical(target, Filled(30, 30, Blue)));
        // No progress calls are made for a quadrilateral that cannot be drawn.
        std::vector<ProgressCall> calls;
        QVERIFY(!AAWarpBitmap(source, target, {0, 10, 20, 30}, {0, 10, 20, 30}, recorder(calls)));
        QVERIFY(calls.empty());
    }

    void cornersThatAreNoNumbersDrawNothing()
    {
        const QImage source = Random(6, 4, 16);
        QImage target = Filled(10, 10, Blue);
        QVERIFY(!AAWarpBitmap(source, target, {0, std::nan(""), 5, 0}, {0, 0, 5, 5}, nullptr));
        QVERIFY(!AAWarpBitmap(source, target, {0, INFINITY, 5, 0}, {0, 0, 5, 5}, nullptr));
        QVERIFY(Identical(target, Filled(10, 10, Blue)));
        Corners X{0, std::nan(""), 5, 0}, Y{0, 0, 5, 5};
        QVERIFY(WarpToNewBitmap(source, X, Y, nullptr, Blue).isNull());
    }

    void warpToNewBitmapMovesTheQuadrilateralFlush()
    {
        Corners X{-3.5, 6.5, 6.5, -3.5}, Y{10, 10, 14, 14};
        const QImage source = Random(10, 4, 17);
        const QImage result = WarpToNewBitmap(source, X, Y, nullptr, Blue);
        QCOMPARE(X, (Corners{0, 10, 10, 0}));
        QCOMPARE(Y, (Corners{0, 0, 4, 4}));
        QVERIFY(Identical(result, source));
    }

    void aQuadrilateralPartlyOutsideTheTarget()
    {
        // Only the part inside the target is written; no pixel outside it is touched.
        const QImage source = Random(10, 10, 18);
        for (const auto& quad : {std::pair{Corners{-5, 5, 5, -5}, Corners{-5, -5, 5, 5}},
                                 std::pair{Corners{-5, 6, 8, -3}, Corners{-4, -6, 6, 8}},
                                 std::pair{Corners{5, 15, 15, 5}, Corners{5, 5, 15, 15}}}) {
            QImage target = Filled(8, 8, Blue);
            QImage reference = target;
            const bool fast = AAWarpBitmap(source, target, quad.first, quad.second, nullptr);
            const bool slow = Oracle::AAWarpBitmap(source, reference, quad.first, quad.second, nullptr);
            QCOMPARE(fast, slow);
            QVERIFY(MaxChannelDifference(target, reference) <= 1);
        }
    }
};

ARC_TEST(RotationEngineTest)
#include "RotationEngineTest.moc"
