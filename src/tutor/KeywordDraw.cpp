#include "KeywordDraw.h"

#include "platform/Rnd.h"

#include <cmath>

namespace {
bool takeable(const QString& keyword, const QStringList& drawn, const QStringList& excluded)
{
    return !keyword.isEmpty() && !drawn.contains(keyword, Qt::CaseSensitive)
           && !excluded.contains(keyword, Qt::CaseSensitive);
}

bool anyTakeable(const QStringList& rows, const QStringList& drawn, const QStringList& excluded)
{
    for (const QString& keyword : rows)
        if (takeable(keyword, drawn, excluded))
            return true;
    return false;
}
} // namespace

int RndBelow(int n) { return static_cast<int>(std::floor(static_cast<double>(Rnd()) * n)); }

QStringList DrawDistinctKeywords(const QStringList& rows, int count, const QStringList& excluded)
{
    QStringList drawn;
    while (drawn.size() < count && anyTakeable(rows, drawn, excluded)) {
        // The generator runs through every value of its cycle, so a row that
        // can be taken comes up within one cycle: the loop ends.
        QString keyword;
        do
            keyword = rows.at(RndBelow(static_cast<int>(rows.size())));
        while (!takeable(keyword, drawn, excluded));
        drawn << keyword;
    }
    return drawn;
}
