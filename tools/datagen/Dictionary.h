#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// One entry of the dictionary sources, checked, with its page's file name.
struct DictionaryEntry {
    QString key;
    QStringList see;   // keys of related entries, each naming an entry
    QStringList texts; // the paragraphs of its page
    QString slug;      // its page is pages/<slug>.html
    QString where;     // file and line, for messages

    QString link() const { return "pages/" + slug + ".html"; }
};

// Reads <dataDir>/dictionary/*.txt in name order. Throws std::runtime_error on
// an unknown field, an empty key or text, a key given twice (letter case
// aside) or a `see` that names no entry.
QList<DictionaryEntry> loadDictionary(const QString& dataDir);

// The key in lower case with every run of characters other than letters and
// digits turned into one '-' (none at either end).
QString slugOf(const QString& key);

// Writes pages/<slug>.html for every entry and pages/index.html listing them
// all; removes pages that no entry has any more.
void writeEntryPages(const QString& programDir, const QList<DictionaryEntry>& entries);
