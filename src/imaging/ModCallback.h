#pragma once
#include <QtGlobal>

#include <functional>

// The progress procedure of a rotation. The engine calls it once per source
// column with the fraction done, the columns done and the columns in all; a
// non-zero answer stops the rotation. An empty procedure means no progress
// calls.
using RotateProgress = std::function<qint16(double progress, qint32 done, qint32 total)>;

// 0 lets a running rotation go on; any other value asks it to stop.
extern qint16 RotateAbort;

// Handles the pending window events, then answers RotateAbort. Its arguments
// are not used.
qint16 RotateCallback(double progress, qint32 done, qint32 total);
