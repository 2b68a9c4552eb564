#include "ManualTexts.h"

#include "reading/PositionMeanings.h"
#include "reading/ReadingText.h"
#include "reading/SpreadTable.h"

using ReadingText::CrLf;

namespace {
enum Spread : int {
    CelticCross = 0,
    OneCard = 1,
    TwoCards = 2,
    FourSeasons = 7,
    Relationship = 8,
    Romany = 9,
    Zodiac = 10,
    TreeOfLife = 11,
    Numerology = 12,
};

QString cardNumber(int position) { return "Card " + QString::number(position + 1); }

const PositionMeaningEntry& entryOf(int spreadIndex, int position)
{
    return *FindPositionMeaning(QString::fromUtf8(SpreadTable(spreadIndex).Name), position);
}

QString celticCrossNote(int placed)
{
    switch (placed) {
    case 0:
        return "Card 2" + CrLf + CrLf + "The Crossing";
    case 1:
        return "Card 3: The Root";
    case 2:
        return "Card 4: The Past";
    case 3:
        return "Card 5: The Crown";
    case 4:
        return "Card 6: The Future";
    case 5:
        return "Card 7: The Questioner";
    case 6:
        return "Card 8: The House";
    default: // after the 8th and after the 9th card alike
        return "Card 9: The Inside" + CrLf + "Card 10: The Outcome";
    }
}

QString romanyNote(int placed)
{
    const QString card = cardNumber(placed + 1);
    if (placed <= 5)
        return card + " represents the past";
    if (placed <= 12)
        return card + " represents the present";
    return card + " reflects the future";
}
} // namespace

std::optional<QString> PositionPrompt(const QString& spreadName, int position)
{
    const PositionMeaningEntry* entry = FindPositionMeaning(spreadName, position);
    if (!entry)
        return std::nullopt;
    // The same line break, or none, as the reading text has between the two.
    return entry->Label + entry->Joiner + entry->Meaning;
}

std::optional<QString> PlacementNote(int spreadIndex, int placed)
{
    if (spreadIndex < 0 || spreadIndex >= SpreadCount())
        return std::nullopt;
    const int count = SpreadTable(spreadIndex).Cards;
    if (placed < 0 || placed >= count)
        return std::nullopt;
    const bool last = placed == count - 1;

    switch (spreadIndex) {
    case CelticCross:
        return last ? std::nullopt : std::optional<QString>(celticCrossNote(placed));
    case OneCard:
        return std::nullopt;
    case Relationship: {
        if (last)
            return std::nullopt;
        QString meaning = entryOf(spreadIndex, placed + 1).Meaning;
        if (!meaning.isEmpty())
            meaning[0] = meaning[0].toLower();
        return cardNumber(placed + 1) + " " + meaning;
    }
    case Romany:
        return last ? QString() : romanyNote(placed);
    case Zodiac:
        if (last)
            return std::nullopt;
        return cardNumber(placed + 1) + " is " + entryOf(spreadIndex, placed + 1).Meaning;
    case TreeOfLife: {
        if (last)
            return std::nullopt;
        const PositionMeaningEntry& next = entryOf(spreadIndex, placed + 1);
        return next.Label + " " + next.Meaning;
    }
    case Numerology:
        return last ? std::nullopt : std::optional<QString>(QString());
    default:
        // Two Cards to Four Seasons: the prompt of the next position.
        Q_ASSERT(spreadIndex >= TwoCards && spreadIndex <= FourSeasons);
        if (last)
            return std::nullopt;
        return PositionPrompt(QString::fromUtf8(SpreadTable(spreadIndex).Name), placed + 1);
    }
}
