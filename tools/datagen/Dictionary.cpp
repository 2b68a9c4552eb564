#include "Dictionary.h"
#include "Records.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

const char* const pageStyle =
    "body { font-family: \"DejaVu Serif\", Georgia, serif; max-width: 40em; margin: 2em auto;"
    " padding: 0 1em; line-height: 1.5; color: #2b2333; background: #fdfaf3; }\n"
    "h1 { color: #5a2d82; font-weight: normal; border-bottom: 1px solid #d8c9a8; }\n"
    "a { color: #7a3b12; }\n"
    ".see, .back { font-family: \"DejaVu Sans\", sans-serif; font-size: 0.9em; }\n"
    "ul { columns: 2; }\n";

QString page(const QString& title, const QString& body)
{
    return QString("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                   "<title>%1</title>\n<style>\n%2</style>\n</head>\n<body>\n%3</body>\n</html>\n")
        .arg(title.toHtmlEscaped(), QString(pageStyle), body);
}

void writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        fail("cannot write " + path);
}

} // namespace

QString slugOf(const QString& key)
{
    QString slug = key.toLower();
    slug.replace(QRegularExpression("[^a-z0-9]+"), "-");
    return slug.remove(QRegularExpression("^-+|-+$"));
}

QList<DictionaryEntry> loadDictionary(const QString& dataDir)
{
    static const QSet<QString> known = {"key", "see", "text"};
    QList<DictionaryEntry> entries;
    QHash<QString, int> byKey; // case-folded key -> entry
    const QDir dir(dataDir + "/dictionary");
    for (const QString& name : dir.entryList({"*.txt"}, QDir::Files, QDir::Name)) {
        for (const Record& r : readRecords(dir.filePath(name))) {
            DictionaryEntry e;
            e.where = QString("%1:%2").arg(dir.filePath(name)).arg(r.line);
            for (const auto& f : r.fields)
                if (!known.contains(f.first))
                    fail(QString("%1: unknown field '%2'").arg(e.where, f.first));
            if (r.values("key").size() != 1 || r.value("key").isEmpty())
                fail(e.where + ": an entry needs exactly one non-empty 'key'");
            e.key = r.value("key");
            e.where += QString(" (entry '%1')").arg(e.key);
            for (const QString& see : r.values("see"))
                e.see << splitList(see);
            for (const QString& text : r.values("text"))
                if (!text.isEmpty())
                    e.texts << text;
            if (e.texts.isEmpty())
                fail(e.where + ": the entry has no text");
            const QString folded = e.key.toCaseFolded();
            if (byKey.contains(folded))
                fail(QString("%1: the key is also given at %2").arg(e.where, entries[byKey[folded]].where));
            byKey.insert(folded, entries.size());
            entries << e;
        }
    }

    // Resolve `see` keys (letter case aside) to the keys as written.
    for (DictionaryEntry& e : entries)
        for (QString& see : e.see) {
            const auto it = byKey.constFind(see.toCaseFolded());
            if (it == byKey.constEnd())
                fail(QString("%1: 'see' names '%2', which is no entry").arg(e.where, see));
            see = entries[*it].key;
        }

    // Page names: the slug, with -2, -3 … where two keys give the same one.
    QSet<QString> taken = {"index"};
    for (DictionaryEntry& e : entries) {
        const QString base = slugOf(e.key).isEmpty() ? QString("entry") : slugOf(e.key);
        e.slug = base;
        for (int n = 2; taken.contains(e.slug); ++n)
            e.slug = QString("%1-%2").arg(base).arg(n);
        taken.insert(e.slug);
    }
    return entries;
}

void writeEntryPages(const QString& programDir, const QList<DictionaryEntry>& entries)
{
    QDir pages(programDir + "/pages");
    if (!pages.mkpath("."))
        fail("cannot create " + pages.path());

    QHash<QString, QString> slugOfKey;
    for (const DictionaryEntry& e : entries)
        slugOfKey.insert(e.key, e.slug);

    QSet<QString> written = {"index.html"};
    for (const DictionaryEntry& e : entries) {
        QString body = "<h1>" + e.key.toHtmlEscaped() + "</h1>\n";
        for (const QString& text : e.texts)
            body += "<p>" + text.toHtmlEscaped() + "</p>\n";
        if (!e.see.isEmpty()) {
            QStringList links;
            for (const QString& see : e.see)
                links << QString("<a href=\"%1.html\">%2</a>").arg(slugOfKey.value(see), see.toHtmlEscaped());
            body += "<p class=\"see\">See also: " + links.join(", ") + ".</p>\n";
        }
        body += "<p class=\"back\"><a href=\"index.html\">All entries of the dictionary</a></p>\n";
        writeFile(pages.filePath(e.slug + ".html"), page(e.key, body));
        written.insert(e.slug + ".html");
    }

    QList<const DictionaryEntry*> sorted;
    for (const DictionaryEntry& e : entries)
        sorted << &e;
    std::stable_sort(sorted.begin(), sorted.end(), [](const DictionaryEntry* a, const DictionaryEntry* b) {
        return a->key.toCaseFolded() < b->key.toCaseFolded();
    });
    QString index = "<h1>Tarot dictionary</h1>\n<ul>\n";
    for (const DictionaryEntry* e : sorted)
        index += QString("<li><a href=\"%1.html\">%2</a></li>\n").arg(e->slug, e->key.toHtmlEscaped());
    index += "</ul>\n";
    writeFile(pages.filePath("index.html"), page("Tarot dictionary", index));

    for (const QString& old : pages.entryList({"*.html"}, QDir::Files, QDir::Name))
        if (!written.contains(old))
            pages.remove(old);
}
