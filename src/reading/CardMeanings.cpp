#include "CardMeanings.h"

#include "app/frmMDI.h"
#include "common/ArrayRoutines.h"
#include "common/PageLaunchers.h"
#include "reading/CardMeaningTexts.h"
#include "reading/PositionMeanings.h"
#include "reading/ReadingState.h"
#include "reading/ReadingText.h"

#include <array>

using namespace ReadingText;

namespace {
constexpr int DeckSize = LastCard + 1;

// The names as the reading writes them, by card number.
const char* const cardNames[DeckSize] = {
    "Death", "The Hermit", "Judgement", "Justice",
    "Strength", "Temperance", "The Fool", "The Chariot",
    "The Devil", "The Emperor", "The Empress", "The Hanged Man",
    "The Hierophant", "The High Priestess", "The Lovers", "The Magician",
    "The Moon", "The Star", "The Sun", "The Tower",
    "The World", "Wheel Fortune", "Two of Cups", "Two of Swords",
    "Two of Wands", "Three of Cups", "Three of Pentacles", "Three of Swords",
    "Three of Wands", "Four of Cups", "Four of Pentacles", "Four of Swords",
    "Four of Wands", "Five of Cups", "Five of Pentacles", "Five of Swords",
    "Five of Wands", "Six of Cups", "Six of Pentacles", "Six of Swords",
    "Six of Wands", "Seven of Cups", "Seven of Pentacles", "Seven of Swords",
    "Seven of Wands", "Eight of Cups", "Eight of Pentacles", "Eight of Swords",
    "Eight of Wands", "Nine of Cups", "Nine of Pentacles", "Nine of Swords",
    "Nine of Wands", "Ten of Cups", "Ten of Pentacles", "Ten of Swords",
    "Ten of Wands", "Ace of Cups", "Ace of Pentacles", "Ace of Swords",
    "Ace of Wands", "King of Cups", "King of Pentacles", "King of Swords",
    "King of Wands", "Knight of Cups", "Knight of Pentacles", "Knight of Swords",
    "Knight of Wands", "Page of Cups", "Page of Pentacles", "Page of Swords",
    "Page of Wands", "Queen of Cups", "Queen of Pentacles", "Queen of Swords",
    "Queen of Wands", "Two of Pentacles",
};

std::array<CardMeaningRow, DeckSize> buildTable()
{
    std::array<CardMeaningRow, DeckSize> table;
    for (int card = 0; card < DeckSize; ++card) {
        CardMeaningRow& row = table[card];
        row.Name = QString::fromUtf8(cardNames[card]);
        row.ReversedHeading = row.Name + " - Reversed";
        // Death's reversed heading follows its position text on the next line.
        row.BreaksBeforeReversedHeading = card == 0 ? CrLf : CrLf + CrLf;
        row.Upright = QString::fromUtf8(CardMeaningTexts[card].Upright);
        row.Reversed = QString::fromUtf8(CardMeaningTexts[card].Reversed);
    }
    return table;
}

QString ClosingText()
{
    return "Thank You for using Arcavell Reading Software. Come spend some time with us online at " + PageAddress::Home
           + ". The best online discussion forum for every esoteric.";
}
} // namespace

const CardMeaningRow* CardMeaningTable(CardNumber card)
{
    static const std::array<CardMeaningRow, DeckSize> table = buildTable();
    if (card < FirstCard || card > LastCard)
        return nullptr;
    return &table[card];
}

void WriteCardMeanings(const IntArray& cards, const IntArray& reversedCards)
{
    ReadingState& reading = Reading();
    reading.CurrentSpreadName = reading.SelectedSpreadName;
    if (reading.CurrentSpreadName.isEmpty())
        reading.CurrentSpreadName = reading.FileSpreadName;

    // An automatic layout dimensions cards with one element more than the
    // spread has positions; a manual reading has exactly one per position.
    const int lastPosition = reading.IsManualReading ? cards.UBound() : cards.UBound() - 1;

    RichTextBox& box = *frmMDI().rtbDisp1;
    for (int i = 0; i <= lastPosition; ++i) {
        const CardNumber card = cards(i);
        if (const CardMeaningRow* row = CardMeaningTable(card)) {
            const bool reversed = IsInArray(card, reversedCards);
            WritePositionMeaning(static_cast<qint16>(i));
            InsertBold(box, reversed ? row->BreaksBeforeReversedHeading + row->ReversedHeading
                                     : CrLf + CrLf + row->Name);
            Insert(box, CrLf + (reversed ? row->Reversed : row->Upright));
        }
        InsertRule(box, CrLf + RuleBlanks() + CrLf);
    }
    InsertBold(box, CrLf + ClosingText() + CrLf);
}
