#include "Cards.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

// How the reading part numbers its cards: 0..21 the major arcana in this
// order, then the minor arcana rank by rank.
const Arcanum readingMajors[22] = {
    Death, Hermit, Judgement, Justice, Strength, Temperance, Fool, Chariot, Devil, Emperor, Empress,
    HangedMan, Hierophant, HighPriestess, Lovers, Magician, Moon, Star, Sun, Tower, World,
    WheelOfFortune};
const char* const arcanumNames[22] = {
    "fool", "magician", "high priestess", "empress", "emperor", "hierophant", "lovers",
    "chariot", "strength", "hermit", "wheel fortune", "justice", "hanged man", "death",
    "temperance", "devil", "tower", "star", "moon", "sun", "judgement", "world"};

struct MinorIdentity {
    int group;
    int rank;
};

// The suit and rank that a reading number 22..77 names.
MinorIdentity readingMinor(int number)
{
    // Within a rank the reading part orders the suits Cups, Pentacles, Swords, Wands.
    static const int suitOrder[4] = {Cups, Pentacles, Swords, Wands};
    if (number == 22)
        return {Cups, 2};
    if (number == 23)
        return {Swords, 2};
    if (number == 24)
        return {Wands, 2};
    if (number == 77)
        return {Pentacles, 2};
    if (number <= 56)
        return {suitOrder[(number - 25) % 4], 3 + (number - 25) / 4};
    static const int courtOrder[5] = {1, King, Knight, Page, Queen};
    return {suitOrder[(number - 57) % 4], courtOrder[(number - 57) / 4]};
}

// "The Wheel of Fortune" -> "wheel fortune": the words that identify a major card.
QString nameWords(const QString& name)
{
    QStringList words;
    for (const QString& w : name.toLower().split(QRegularExpression("[^a-z]+"), Qt::SkipEmptyParts))
        if (w != "the" && w != "of")
            words << (w == "judgment" ? QString("judgement") : w);
    return words.join(' ');
}

int intField(const Record& r, const QString& where, const char* field, int low, int high)
{
    bool ok = false;
    const int v = r.value(field).toInt(&ok);
    if (!ok || v < low || v > high)
        fail(QString("%1: '%2' must be a whole number from %3 to %4, not '%5'")
                 .arg(where, field).arg(low).arg(high).arg(r.value(field)));
    return v;
}

} // namespace

QList<Card> loadCards(const QString& path)
{
    static const QSet<QString> known = {"id", "group", "name", "number", "upright", "reversed", "keywords"};
    const QList<Record> records = readRecords(path);

    QList<Card> cards(78);
    QList<bool> seenId(79, false), seenNumber(78, false);
    QHash<QString, QString> keywordOwner; // folded keyword -> card name
    for (const Record& r : records) {
        QString where = QString("%1:%2").arg(path).arg(r.line);
        for (const auto& f : r.fields) {
            if (!known.contains(f.first))
                fail(QString("%1: unknown field '%2'").arg(where, f.first));
            if (r.values(f.first).size() > 1)
                fail(QString("%1: field '%2' given twice").arg(where, f.first));
        }
        Card c;
        c.id = intField(r, where, "id", 1, 78);
        where += QString(" (card %1)").arg(c.id);
        if (seenId[c.id])
            fail(QString("%1: id %2 is used twice").arg(where).arg(c.id));
        seenId[c.id] = true;

        c.group = intField(r, where, "group", 0, 4);
        c.number = intField(r, where, "number", 0, 77);
        c.name = r.value("name");
        c.upright = r.value("upright");
        c.reversed = r.value("reversed");
        if (c.name.isEmpty())
            fail(where + ": the name is empty");
        where = QString("%1:%2 (card %3, %4)").arg(path).arg(r.line).arg(c.id).arg(c.name);
        if (c.upright.isEmpty())
            fail(where + ": the upright meaning is empty");
        if (c.reversed.isEmpty())
            fail(where + ": the reversed meaning is empty");

        // The tutor's order: the major arcana, then Cups, Wands, Pentacles,
        // Swords, each from the Ace to the King.
        const int expectedGroup = c.id <= 22 ? MajorArcana : 1 + (c.id - 23) / 14;
        c.rank = c.id <= 22 ? c.id - 1 : 1 + (c.id - 23) % 14;
        if (c.group != expectedGroup)
            fail(QString("%1: id %2 belongs to group %3, not %4").arg(where).arg(c.id).arg(expectedGroup).arg(c.group));

        if (seenNumber[c.number])
            fail(QString("%1: card number %2 is used twice").arg(where).arg(c.number));
        seenNumber[c.number] = true;
        if (c.group == MajorArcana) {
            if (c.number > 21)
                fail(QString("%1: number %2 is not one of the major arcana 0..21").arg(where).arg(c.number));
            c.arcanum = readingMajors[c.number];
            if (nameWords(c.name) != arcanumNames[c.arcanum])
                fail(QString("%1: number %2 names another card (%3)")
                         .arg(where).arg(c.number).arg(arcanumNames[c.arcanum]));
        } else {
            if (c.number < 22)
                fail(QString("%1: number %2 is one of the major arcana").arg(where).arg(c.number));
            const MinorIdentity m = readingMinor(c.number);
            if (m.group != c.group || m.rank != c.rank)
                fail(QString("%1: number %2 names another card (group %3, rank %4)")
                         .arg(where).arg(c.number).arg(m.group).arg(m.rank));
        }

        c.keywords = splitList(r.value("keywords"));
        QSet<QString> own;
        for (const QString& k : c.keywords) {
            const QString folded = k.simplified().toCaseFolded();
            if (own.contains(folded))
                fail(QString("%1: keyword '%2' is listed twice").arg(where, k));
            own.insert(folded);
            if (keywordOwner.contains(folded))
                fail(QString("%1: keyword '%2' also belongs to %3").arg(where, k, keywordOwner.value(folded)));
            keywordOwner.insert(folded, c.name);
        }
        if (c.keywords.size() < 7)
            fail(QString("%1: %2 keywords, at least 7 are needed").arg(where).arg(c.keywords.size()));
        cards[c.id - 1] = c;
    }
    for (int id = 1; id <= 78; ++id)
        if (!seenId[id])
            fail(QString("%1: no card with id %2 (78 cards, ids 1 to 78, are needed)").arg(path).arg(id));
    return cards;
}
