#pragma once
#include "ModCallback.h"

#include <QImage>
#include <QPixmap>
#include <QRgb>

#include <array>
#include <vector>

// The picture rotation engine. A picture is turned by mapping the whole
// source onto a turned quadrilateral of a new picture; every target pixel
// takes the colour of the source pixels that cover it, weighted by the exact
// area of overlap, so edges come out anti-aliased and turns by multiples of
// 90 degrees move every pixel unchanged.
//
// Pixels are handled as 32-bit RGB values (QImage::Format_RGB32); the byte
// that the format does not use for colour is written as 0xFF, as Qt requires
// of that format. Quadrilaterals are given as four x and four y coordinates,
// corner 0 being the image of the source's top-left corner, 1 of its
// top-right, 2 of its bottom-right and 3 of its bottom-left.

// A point in pixel units; x grows to the right and y downwards.
struct PointD {
    double X = 0;
    double Y = 0;
};

using Corners = std::array<double, 4>;

// Working state of QuadCellOverlap and BuildWarpGrid (module-wide, not
// re-entrant), reset by every AAWarpBitmap call. The warps keep their own
// working state to themselves, so a turn started while another one reports
// its progress disturbs neither.
extern std::array<PointD, 16> PolyPts; // candidate vertices of the overlap polygon
extern qint32 PolyCount;
extern std::array<PointD, 16> SortedPts; // vertices but the first, relative to it, in angular order
extern qint32 SortedCount;
extern std::array<PointD, 4> QuadRel; // the current source pixel relative to the current target cell
extern std::vector<PointD> WarpGrid;  // from BuildWarpGrid: corner (x, y) of a W x H source at (W + 1) * y + x
extern std::array<PointD, 4> UnitCell;   // (0,0), (1,0), (1,1), (0,1)
extern std::array<qint32, 4> NextCorner; // 1, 2, 3, 0

// Turns pic by angle degrees (counter-clockwise on the screen) about its
// centre and returns the new picture, just large enough to hold the turned
// one, its corners filled with backColour. Returns a null image when pic is
// null or the angle is not a finite number.
QImage RotatePicture(const QImage& pic, double angle, const RotateProgress& callback, QRgb backColour);
QPixmap RotatePicture(const QPixmap& pic, double angle, const RotateProgress& callback, QRgb backColour);

// The corners of the turned picture and the warp onto a new bitmap; a null
// image when the source is null.
QImage RotateBitmap(const QImage& bitmap, double angle, const RotateProgress& callback, QRgb backColour);

// Moves the quadrilateral flush with the top and left edges (X and Y are
// changed), makes a bitmap just large enough for it filled with backColour and
// warps the source onto it. The bitmap is returned even when the warp fails or
// is stopped; it then holds only the background. A null image when a corner
// is not a finite number or the bitmap cannot be made.
QImage WarpToNewBitmap(const QImage& source, Corners& X, Corners& Y, const RotateProgress& callback,
                       QRgb backColour);

// The area-weighted warp of source onto the quadrilateral (X, Y) inside
// target. False, with target unchanged, when the source or target is null,
// the quadrilateral is degenerate or the callback asks to stop.
bool AAWarpBitmap(const QImage& source, QImage& target, const Corners& X, const Corners& Y,
                  const RotateProgress& callback);

// Fills WarpGrid with the target position of every pixel corner of a
// width x height source warped onto (X, Y). False on a degenerate
// quadrilateral (two grid lines through a corner parallel, or an edge of
// length 0).
bool BuildWarpGrid(qint32 width, qint32 height, const Corners& X, const Corners& Y);

// The exact area of the overlap of QuadRel with the unit cell.
double QuadCellOverlap();
// True when p lies inside QuadRel or on its border.
bool PointInQuad(const PointD& p);
// Orders PolyPts (relative to the first) into SortedPts.
void SortPolyByAngle();
// The area of the fan of SortedPts about the origin.
double SortedPolyArea();

// Cosine and negated sine of an angle in degrees, exact at multiples of 30
// degrees from 0 to 360.
double CosDeg(double a);
double SinDegNeg(double a);
// Floor and ceiling, a value within 1E-9 of a whole number counting as that number.
qint32 FloorL(double v);
qint32 CeilL(double v);
// The nearest whole number (halves to even) within 0..255.
quint8 ClampByte(double v);
// The smaller (larger) value; on a tie the second.
double MinVar(double a, double b);
double MaxVar(double a, double b);
