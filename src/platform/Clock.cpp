#include "Clock.h"

namespace {
QDate g_fixedToday;
} // namespace

QDate Today() { return g_fixedToday.isValid() ? g_fixedToday : QDate::currentDate(); }

void SetToday(const QDate& fixed) { g_fixedToday = fixed; }
