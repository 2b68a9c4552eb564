#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The address the entry view is to open next (see frmMainDictionary).
extern QString DictionaryLink;

// s with every "*" removed.
QString StripWildcards(const QString& s);

// The dictionary database in the program folder.
QString DictionaryPath();

// One row of the table tarot, as the searches and the display read it.
struct DictionaryRow {
    QString key;
    QString link;
};

// Every row of the dictionary, in table order. Raises a VbError when the file
// cannot be opened or read.
QList<DictionaryRow> ReadDictionary();

// Prefix match: s is the trimmed, lower-cased search text; the key matches
// when, lower-cased the same way, it begins with s.
bool PrefixMatch(const QString& key, const QString& s);
// Substring match: p is the lower-cased pattern without asterisks, blanks
// kept. An empty pattern matches every key of at least one character.
bool SubstringMatch(const QString& key, const QString& p);

// The keys of the rows that match text by one of the matches above, in table order.
QStringList MatchingKeys(const QList<DictionaryRow>& rows, bool (*matches)(const QString&, const QString&),
                         const QString& text);
QStringList AllKeys(const QList<DictionaryRow>& rows);
