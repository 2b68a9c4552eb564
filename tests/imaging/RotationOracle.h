#pragma once
#include "imaging/ModAaform.h"

// The area-weighted warp done the straightforward way: every source pixel is
// clipped against every target cell of its bounding box (QuadCellOverlap) and
// the overlaps are summed per target pixel. Slow; the reference that the
// program's warp is checked against.
namespace Oracle {

bool AAWarpBitmap(const QImage& source, QImage& target, const Corners& X, const Corners& Y,
                  const RotateProgress& callback);
QImage WarpToNewBitmap(const QImage& source, Corners X, Corners Y, const RotateProgress& callback, QRgb backColour);
QImage RotatePicture(const QImage& pic, double angle, const RotateProgress& callback, QRgb backColour);

} // namespace Oracle
