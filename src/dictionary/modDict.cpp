#include "modDict.h"

#include "common/modDB.h"
#include "platform/App.h"

#include <QSqlQuery>

QString DictionaryLink;

QString StripWildcards(const QString& s)
{
    QString out = s;
    out.remove('*');
    return out;
}

QString DictionaryPath() { return App::FilePath("\\tarot.dll"); }

QList<DictionaryRow> ReadDictionary()
{
    // The two columns are read straight from the driver, forward only,
    // rather than through a recordset: every search reads the whole table,
    // and tables of tens of thousands of rows must list within a blink.
    ConnectionRef cn;
    OpenConnection(cn, DictionaryPath());
    QList<DictionaryRow> rows;
    ForEachRow(cn, "Select Key, Link from tarot", [&rows](const QSqlQuery& query) { // fails on a missing column too
        rows.append({query.value(0).toString(), query.value(1).toString()});
    });
    return rows;
}

bool PrefixMatch(const QString& key, const QString& s)
{
    // The key lower-cased as a whole, as the search text was: a letter may
    // lower-case to more than one character.
    return key.toLower().startsWith(s);
}

bool SubstringMatch(const QString& key, const QString& p)
{
    if (p.isEmpty())
        return !key.isEmpty();
    return key.toLower().contains(p);
}

QStringList MatchingKeys(const QList<DictionaryRow>& rows, bool (*matches)(const QString&, const QString&),
                         const QString& text)
{
    QStringList keys;
    for (const DictionaryRow& row : rows)
        if (matches(row.key, text))
            keys << row.key;
    return keys;
}

QStringList AllKeys(const QList<DictionaryRow>& rows)
{
    QStringList keys;
    keys.reserve(rows.size());
    for (const DictionaryRow& row : rows)
        keys << row.key;
    return keys;
}
