#pragma once
#include <QString>
#include <QStringList>

// Draws up to count keywords from rows (the Keyword of each row of a
// recordset, in its order). Each draw takes row Int(Rnd * M + 1) of the M
// rows and is drawn again while its keyword is empty, already drawn or one
// of excluded (compared case-sensitively). When no row is left that could
// be taken the draw stops, so fewer than count keywords may come back.
QStringList DrawDistinctKeywords(const QStringList& rows, int count, const QStringList& excluded = {});

// A whole number 0..n-1 from the random generator: Int(Rnd * n).
int RndBelow(int n);
