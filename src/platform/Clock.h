#pragma once
#include <QDate>

// Today's date, as the program reads it everywhere it counts days. Tests fix
// it with SetToday; an invalid date returns to the computer's clock.
QDate Today();
void SetToday(const QDate& fixed);
