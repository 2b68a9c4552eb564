// Writes the C++ source of the reading's card meaning texts from the card
// records of data/cards.txt, and refuses texts the reading cannot use.
//
// Usage: arcavell-cardtable <cards.txt> <output.cpp>

#include "Records.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace {
constexpr int DeckSize = 78;
constexpr int ShortestText = 122;
constexpr int LongestText = 344;
// 78 upright and 78 reversed texts, two of the reversed ones shared.
constexpr int DistinctTexts = 154;

// Reversed texts the reading shares between two cards: the first card takes
// the reversed text of the second.
struct SharedReversed {
    int card;
    int from;
};
constexpr SharedReversed sharedReversed[] = {
    {20, 11}, // The World reversed reads as The Hanged Man reversed
    {27, 26}, // Three of Swords reversed reads as Three of Pentacles reversed
};

struct Texts {
    QString upright;
    QString reversed;
    int line = 0;
    bool present = false;
};

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

void checkText(const QString& where, const QString& text)
{
    if (text.size() < ShortestText || text.size() > LongestText)
        fail(QString("%1: %2 characters; a meaning has %3 to %4").arg(where).arg(text.size()).arg(ShortestText).arg(LongestText));
    for (const QChar c : text)
        if (c == '\r' || c == '\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == '\t')
            fail(where + ": a meaning is one paragraph without line breaks or tabs");
    if (!text.endsWith('.'))
        fail(where + ": a meaning ends with a full stop");
}

// A C++ string literal of the text's UTF-8 bytes.
QString literal(const QString& text)
{
    QString out = "\"";
    for (const unsigned char b : text.toUtf8()) {
        if (b == '"' || b == '\\') {
            out += QChar('\\');
            out += QChar(b);
        } else if (b < 0x20 || b >= 0x7f)
            out += QString("\\%1").arg(b, 3, 8, QChar('0'));
        else
            out += QChar(b);
    }
    return out + "\"";
}

std::array<Texts, DeckSize> readTexts(const QString& path)
{
    std::array<Texts, DeckSize> cards;
    for (const Record& record : readRecords(path)) {
        const QString where = QString("%1:%2").arg(path).arg(record.line);
        bool ok = false;
        const int number = record.value("number").toInt(&ok);
        if (!ok || number < 0 || number >= DeckSize)
            fail(where + ": number must be 0..77");
        if (cards[number].present)
            fail(QString("%1: card number %2 already given at line %3").arg(where).arg(number).arg(cards[number].line));
        cards[number] = {record.value("upright"), record.value("reversed"), record.line, true};
    }
    for (int number = 0; number < DeckSize; ++number)
        if (!cards[number].present)
            fail(QString("%1: no card with number %2").arg(path).arg(number));
    return cards;
}

QString generate(const QString& cardsPath)
{
    std::array<Texts, DeckSize> cards = readTexts(cardsPath);
    for (const SharedReversed& s : sharedReversed)
        cards[s.card].reversed = cards[s.from].reversed;

    QSet<QString> distinct;
    for (int number = 0; number < DeckSize; ++number) {
        const QString where = QString("%1:%2 (number %3)").arg(cardsPath).arg(cards[number].line).arg(number);
        checkText(where + " upright", cards[number].upright);
        checkText(where + " reversed", cards[number].reversed);
        distinct << cards[number].upright << cards[number].reversed;
    }
    if (distinct.size() != DistinctTexts)
        fail(QString("%1: %2 distinct meanings; the reading needs %3 (every text its own, apart from the two "
                     "shared reversed texts)")
                 .arg(cardsPath)
                 .arg(distinct.size())
                 .arg(DistinctTexts));

    QString out;
    QTextStream s(&out);
    s << "// Generated from data/cards.txt by tools/cardtable. Do not edit.\n"
      << "#include \"reading/CardMeaningTexts.h\"\n\n"
      << "const CardMeaningText CardMeaningTexts[78] = {\n";
    for (int number = 0; number < DeckSize; ++number)
        s << "    /* " << number << " */ {" << literal(cards[number].upright) << ",\n"
          << "        " << literal(cards[number].reversed) << "},\n";
    s << "};\n";
    return out;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: arcavell-cardtable <cards.txt> <output.cpp>\n");
        return 2;
    }
    try {
        const QByteArray source = generate(args[1]).toUtf8();
        QSaveFile file(args[2]);
        if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size() || !file.commit())
            fail("cannot write " + args[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arcavell-cardtable: %s\n", e.what());
        return 1;
    }
    return 0;
}
