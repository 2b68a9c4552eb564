#pragma once
#include "ModAaform.h"

// The exact-area warp behind AAWarpBitmap. The target pixel (i, j) receives
// the colour of the warped source over the cell [i, i+1] x [j, j+1]: with
// coverage the area of the cell that the warped source covers and sum the
// integral of its colour over the cell, a fully covered pixel becomes
// sum / coverage and an edge pixel keeps the share 1 - coverage of its own
// colour and adds sum. Three ways, by the shape of the quadrilateral:
// whole pixels (WholePixelWarp.cpp), a parallelogram (AffineWarp.cpp), any
// other (GridWarp.cpp).
namespace AreaWarp {

// The target pixels a warp may write: [left, right) x [top, bottom), all in
// the target.
struct Region {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A parallelogram warp: source pixel corner (x, y) lands at
// (x0 + x * ax + y * bx, y0 + x * ay + y * by).
struct Affine {
    double x0 = 0, y0 = 0;
    double ax = 0, ay = 0;
    double bx = 0, by = 0;
};

// True when the affine grid falls on whole pixels (within the snap
// tolerance) with unit steps along the axes; steps gets the rounded ax, ay,
// bx, by.
bool WholePixelSteps(const Affine& m, int W, int H, int steps[4]);

// Each of the warps below leaves target unchanged and answers false when
// the progress procedure asks to stop; src is Format_RGB32, target too.

// Moves every source pixel onto its one target pixel. background, when
// given, is the colour the whole target stands for: its pixels may not be
// set yet, and after a failed or stopped warp the caller fills it.
bool WarpWholePixels(const QImage& src, QImage& target, const Affine& m, const int steps[4],
                     const RotateProgress& callback, const QRgb* background);

// A parallelogram warp; (X, Y) are its corners in target coordinates.
// background, when given, is the one colour of the whole target (already
// filled with it), which is then written in place.
bool WarpAffine(const QImage& src, QImage& target, const Affine& m, const Corners& X, const Corners& Y,
                const Region& region, const RotateProgress& callback, const QRgb* background);

// A warp onto any convex quadrilateral (X, Y), through its grid of mapped
// pixel corners, (W + 1) * (H + 1) points. It writes the target only once
// it has run to the end.
bool WarpGrid(const QImage& src, QImage& target, const std::vector<PointD>& grid, const Corners& X,
              const Corners& Y, const Region& region, const RotateProgress& callback);

} // namespace AreaWarp
