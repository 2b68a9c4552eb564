#include "TestMain.h"
#include "imaging/ModAaform.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {
void setQuad(std::initializer_list<PointD> corners)
{
    size_t i = 0;
    for (const PointD& p : corners)
        QuadRel[i++] = p;
}
} // namespace

// The numeric and geometry routines of the rotation engine.
class RotationRoutinesTest : public QObject {
    Q_OBJECT
private slots:
    void cosineTableAtMultiplesOfThirty()
    {
        QCOMPARE(CosDeg(0), 1.0);
        QCOMPARE(CosDeg(360), 1.0);
        QCOMPARE(CosDeg(30), 0.866025403784439);
        QCOMPARE(CosDeg(330), 0.866025403784439);
        QCOMPARE(CosDeg(60), 0.5);
        QCOMPARE(CosDeg(300), 0.5);
        QCOMPARE(CosDeg(90), 0.0);
        QCOMPARE(CosDeg(270), 0.0);
        QCOMPARE(CosDeg(120), -0.5);
        QCOMPARE(CosDeg(240), -0.5);
        QCOMPARE(CosDeg(150), -0.866025403784439);
        QCOMPARE(CosDeg(210), -0.866025403784439);
        QCOMPARE(CosDeg(180), -1.0);
        // Within 1E-9 of a multiple of 30 (as a multiple of 30) counts as it.
        QCOMPARE(CosDeg(90.00000001), 0.0);
    }

    void otherAnglesUseTheWrittenConstant()
    {
        const double k = 3.14159265358979 / 180;
        QCOMPARE(CosDeg(45), std::cos(45 * k));
        QCOMPARE(CosDeg(17.25), std::cos(17.25 * k));
        // Multiples of 30 outside 0..360 are not looked up.
        QCOMPARE(CosDeg(-90), std::cos(-90 * k));
        QCOMPARE(CosDeg(450), std::cos(450 * k));
        QCOMPARE(CosDeg(390), std::cos(390 * k));
        QVERIFY(CosDeg(-90) != 0.0);
        QVERIFY(CosDeg(450) != 0.0);
        // The constant is not full-precision pi.
        QVERIFY(std::cos(45 * k) != std::cos(45 * M_PI / 180));
    }

    void negatedSineIsTheCosineAQuarterOn()
    {
        QCOMPARE(SinDegNeg(0), 0.0);
        QCOMPARE(SinDegNeg(90), -1.0);
        QCOMPARE(SinDegNeg(180), 0.0);
        QCOMPARE(SinDegNeg(270), 1.0);
        QCOMPARE(SinDegNeg(30), -0.5);
        QCOMPARE(SinDegNeg(-90), 1.0);
        QCOMPARE(SinDegNeg(45), CosDeg(135));
    }

    void floorAndCeilingSnapToWholeNumbers()
    {
        QCOMPARE(FloorL(2.5), 2);
        QCOMPARE(CeilL(2.5), 3);
        QCOMPARE(FloorL(-2.5), -3);
        QCOMPARE(CeilL(-2.5), -2);
        QCOMPARE(FloorL(3.0), 3);
        QCOMPARE(CeilL(3.0), 3);
        QCOMPARE(FloorL(2.9999999999), 3);
        QCOMPARE(CeilL(3.0000000001), 3);
        QCOMPARE(FloorL(-0.0000000001), 0);
        QCOMPARE(FloorL(2.999999), 2);
        QCOMPARE(CeilL(3.000001), 4);
        // Out of range values are bounded rather than wrapped.
        QCOMPARE(CeilL(1e12), std::numeric_limits<qint32>::max());
        QCOMPARE(FloorL(std::nan("")), 0);
    }

    void clampByteRoundsHalvesToEven()
    {
        QCOMPARE(ClampByte(63.75), quint8(64));
        QCOMPARE(ClampByte(0.5), quint8(0));
        QCOMPARE(ClampByte(1.5), quint8(2));
        QCOMPARE(ClampByte(2.5), quint8(2));
        QCOMPARE(ClampByte(254.5), quint8(254));
        QCOMPARE(ClampByte(254.6), quint8(255));
        QCOMPARE(ClampByte(-3), quint8(0));
        QCOMPARE(ClampByte(300), quint8(255));
        QCOMPARE(ClampByte(std::nan("")), quint8(0));
    }

    void minAndMaxGiveTheSecondOnATie()
    {
        QCOMPARE(MinVar(1, 2), 1.0);
        QCOMPARE(MinVar(2, 1), 1.0);
        QCOMPARE(MaxVar(1, 2), 2.0);
        QVERIFY(std::signbit(MinVar(0.0, -0.0)));
        QVERIFY(!std::signbit(MinVar(-0.0, 0.0)));
        QVERIFY(std::signbit(MaxVar(0.0, -0.0)));
    }

    void pointInQuadCountsTheBorder()
    {
        setQuad({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
        QVERIFY(PointInQuad({1, 1}));
        QVERIFY(PointInQuad({0, 1}));
        QVERIFY(PointInQuad({2, 2}));
        QVERIFY(!PointInQuad({2.5, 1}));
        // Either winding.
        setQuad({{0, 0}, {0, 2}, {2, 2}, {2, 0}});
        QVERIFY(PointInQuad({1, 1}));
        QVERIFY(!PointInQuad({-1, 1}));
    }

    void overlapOfTheCellItselfIsOne()
    {
        setQuad({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
        QCOMPARE(QuadCellOverlap(), 1.0);
        setQuad({{1, 1}, {0, 1}, {0, 0}, {1, 0}}); // turned half round
        QCOMPARE(QuadCellOverlap(), 1.0);
        setQuad({{0, 1}, {0, 0}, {1, 0}, {1, 1}}); // turned a quarter
        QCOMPARE(QuadCellOverlap(), 1.0);
    }

    void quarterAndPartialOverlaps()
    {
        setQuad({{0.5, 0.5}, {1.5, 0.5}, {1.5, 1.5}, {0.5, 1.5}});
        QCOMPARE(QuadCellOverlap(), 0.25);
        setQuad({{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}});
        QCOMPARE(QuadCellOverlap(), 0.25);
        setQuad({{2, 2}, {3, 2}, {3, 3}, {2, 3}});
        QCOMPARE(QuadCellOverlap(), 0.0);
        // A diamond centred in the cell, corners on the cell's sides.
        setQuad({{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}});
        QVERIFY(std::abs(QuadCellOverlap() - 0.5) < 1e-12);
        // A large square holding the cell.
        setQuad({{-3, -3}, {4, -3}, {4, 4}, {-3, 4}});
        QCOMPARE(QuadCellOverlap(), 1.0);
    }

    void cornerOnACellCornerKeepsTheWholeArea()
    {
        // A turned unit square whose first corner lies on the cell's top-right
        // corner: that point is found again later as a cell corner, and must
        // not split the polygon's fan (it would halve the area to 0.25).
        setQuad({{1, 0}, {0.2, 0.6}, {0.8, 1.4}, {1.6, 0.8}});
        QVERIFY(std::abs(QuadCellOverlap() - 0.5) < 1e-12);
        setQuad({{1, 1}, {1.8911981392011987, 0.546385762255724}, {1.4375839014569227, -0.34481237694547484},
                 {0.546385762255724, 0.10880186079880116}});
        QVERIFY(std::abs(QuadCellOverlap() - 0.2398554801539054) < 1e-12);
    }

    void sortedAreaOfAFan()
    {
        PolyPts[0] = {0, 0};
        PolyPts[1] = {1, 0};
        PolyPts[2] = {1, 1};
        PolyPts[3] = {0, 1};
        PolyCount = 4;
        SortPolyByAngle();
        QCOMPARE(SortedCount, 3);
        QCOMPARE(SortedPolyArea(), 1.0);
        PolyCount = 2;
        SortPolyByAngle();
        QCOMPARE(SortedCount, 0);
        QCOMPARE(SortedPolyArea(), 0.0);
    }

    void gridOfARectangleIsItsPixelCorners()
    {
        const Corners X{0, 4, 4, 0}, Y{0, 0, 3, 3};
        QVERIFY(BuildWarpGrid(4, 3, X, Y));
        QCOMPARE(int(WarpGrid.size()), 5 * 4);
        for (int y = 0; y <= 3; ++y)
            for (int x = 0; x <= 4; ++x) {
                QVERIFY(std::abs(WarpGrid[size_t(5 * y + x)].X - x) < 1e-12);
                QVERIFY(std::abs(WarpGrid[size_t(5 * y + x)].Y - y) < 1e-12);
            }
    }

    void degenerateQuadrilateralsHaveNoGrid()
    {
        // All four corners on one line.
        QVERIFY(!BuildWarpGrid(4, 3, {0, 10, 20, 30}, {0, 10, 20, 30}));
        // Two corners in one place (an edge without a direction).
        QVERIFY(!BuildWarpGrid(4, 3, {0, 0, 5, 0}, {0, 0, 5, 5}));
        // Not numbers.
        QVERIFY(!BuildWarpGrid(4, 3, {0, std::nan(""), 5, 0}, {0, 0, 5, 5}));
        // No pixels.
        QVERIFY(!BuildWarpGrid(0, 3, {0, 4, 4, 0}, {0, 0, 3, 3}));
    }
};

ARC_TEST(RotationRoutinesTest)
#include "RotationRoutinesTest.moc"
