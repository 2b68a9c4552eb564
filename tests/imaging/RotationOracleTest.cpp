#include "RotationOracle.h"
#include "TestMain.h"
#include "TestPictures.h"
#include "imaging/ModAaform.h"

#include <QtTest>

using namespace TestPictures;

Q_DECLARE_METATYPE(Corners)

// The program's warp against the straightforward one, on pictures of random
// pixels: the same pixels for turns by multiples of 90 degrees, at most 1
// apart in any colour otherwise.
class RotationOracleTest : public QObject {
    Q_OBJECT
private slots:
    void turnsAgreeWithTheStraightforwardWarp_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("angle");
        QTest::addColumn<bool>("exact");
        const QList<QSize> sizes{{17, 23}, {40, 31}, {1, 1}, {2, 9}, {64, 64}};
        const QList<double> whole{0, 90, 180, 270, 360, -90, 450, -180, 720};
        const QList<double> other{45, 30, 60, 17.3, 123.4, 200, 315, -33.3, 0.001, 89.9999, 359.99, 1e-7};
        unsigned seed = 100;
        for (const QSize& size : sizes) {
            for (double angle : whole)
                QTest::addRow("%dx%d at %g", size.width(), size.height(), angle)
                    << size.width() << size.height() << angle << true;
            for (double angle : other)
                QTest::addRow("%dx%d at %g", size.width(), size.height(), angle)
                    << size.width() << size.height() << angle << false;
            ++seed;
        }
        QTest::addRow("130x225 at 45") << 130 << 225 << 45.0 << false;
        QTest::addRow("130x225 at 90") << 130 << 225 << 90.0 << true;
    }

    void turnsAgreeWithTheStraightforwardWarp()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, angle);
        QFETCH(bool, exact);
        for (QRgb back : {qRgb(0, 0, 0), qRgb(30, 140, 250)}) {
            const QImage source = Random(width, height, unsigned(width * 1000 + height + int(angle)));
            const QImage fast = RotatePicture(source, angle, nullptr, back);
            const QImage slow = Oracle::RotatePicture(source, angle, nullptr, back);
            QCOMPARE(fast.size(), slow.size());
            if (exact)
                QVERIFY(Identical(fast, slow));
            else
                QVERIFY2(MaxChannelDifference(fast, slow) <= 1,
                         qPrintable(QString("difference %1").arg(MaxChannelDifference(fast, slow))));
        }
    }

    void warpsOntoOtherQuadrilateralsAgree_data()
    {
        QTest::addColumn<Corners>("X");
        QTest::addColumn<Corners>("Y");
        // Parallelograms that scale and shear, mirrored ones, and general
        // convex quadrilaterals (the grid then bends).
        QTest::newRow("shear") << Corners{3.2, 20.7, 26.1, 8.6} << Corners{1.5, 4.25, 19.0, 16.25};
        QTest::newRow("enlarged") << Corners{0.5, 30.5, 30.5, 0.5} << Corners{0.25, 0.25, 40.75, 40.75};
        QTest::newRow("reduced") << Corners{0.3, 6.1, 6.1, 0.3} << Corners{0.7, 0.7, 5.2, 5.2};
        QTest::newRow("mirrored") << Corners{20.2, 2.1, 2.1, 20.2} << Corners{1.3, 1.3, 15.8, 15.8};
        QTest::newRow("mirrored turned") << Corners{12, 2, 9, 19} << Corners{1.5, 8, 18.5, 12};
        QTest::newRow("trapezoid") << Corners{5.5, 18.25, 25.0, 0.75} << Corners{2.0, 2.0, 21.5, 21.5};
        QTest::newRow("kite") << Corners{12.0, 24.5, 12.0, 1.5} << Corners{0.5, 9.0, 26.0, 9.0};
        QTest::newRow("general") << Corners{2.3, 21.9, 27.4, 5.1} << Corners{4.4, 1.2, 22.7, 17.9};
        QTest::newRow("partly outside") << Corners{-6.3, 15.9, 21.4, -1.1} << Corners{-4.4, -3.2, 20.7, 25.9};
    }

    void warpsOntoOtherQuadrilateralsAgree()
    {
        QFETCH(Corners, X);
        QFETCH(Corners, Y);
        const QImage source = Random(19, 14, 77);
        QImage fast = Random(24, 22, 78);
        QImage slow = fast;
        const bool fastDone = AAWarpBitmap(source, fast, X, Y, nullptr);
        const bool slowDone = Oracle::AAWarpBitmap(source, slow, X, Y, nullptr);
        QCOMPARE(fastDone, slowDone);
        QVERIFY(fastDone);
        QVERIFY2(MaxChannelDifference(fast, slow) <= 1,
                 qPrintable(QString("difference %1").arg(MaxChannelDifference(fast, slow))));
    }
};


ARC_TEST(RotationOracleTest)
#include "RotationOracleTest.moc"
