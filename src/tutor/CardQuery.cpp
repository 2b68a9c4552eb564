#include "CardQuery.h"

QString CardQueryText(bool major, const std::array<bool, 4>& suits)
{
    std::array<QString, 5> parts;
    if (major)
        parts[0] = "(Group=0)";
    for (int i = 0; i < 4; ++i)
        if (suits[i])
            parts[i + 1] = QString("(Group=%1)").arg(i + 1);

    QString sql = "SELECT * FROM tblCards WHERE ";
    for (const QString& part : parts)
        if (!part.isEmpty())
            sql += " " + part + " OR ";
    sql.chop(4);
    sql += " ORDER BY ID";
    // one pass from the start, as a text replace does
    return sql.replace("  ", " ");
}
