#pragma once
// The fonts of the generated pictures: DejaVu Sans and DejaVu Serif (Debian's
// fonts-dejavu-core), so that every build draws the same pixels.
#include <QFont>

namespace Fonts {
// Warns on stderr when the DejaVu families are not installed.
void check();
QFont sans(bool bold, bool condensed = false);
QFont serif(bool bold, bool condensed = false);
} // namespace Fonts
