#pragma once
#include <QString>
#include <array>

// The statement of a card set: the major arcana (group 0) when major is
// true, and suit i (group i + 1) when suits[i] is true (its box ticked and
// enabled), in ID order. At least one part must be chosen.
QString CardQueryText(bool major, const std::array<bool, 4>& suits);
