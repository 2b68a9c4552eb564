#include "PositionMeanings.h"

#include "app/frmMDI.h"
#include "reading/ReadingState.h"
#include "reading/ReadingText.h"

using namespace ReadingText;

namespace {
// The spreads whose labels end in blanks: their meaning follows on the
// label's line. All others put it on the next line.
const char* const sameLineSpreads[] = {"One Card", "Two Cards", "The Line Spread"};

struct Row {
    const char* Spread;
    const char* Label;
    const char* Meaning;
};

// Spread by spread in the spread table's order, positions ascending.
const Row rows[] = {
    {"Celtic Cross", "Card 1: The Covering",
     "This represents the overall events, situations or influences surrounding the present question."},
    {"Celtic Cross", "Card 2: The Crossing",
     "This represents the current problems, challenges and negative influences that the querent has to face."},
    {"Celtic Cross", "Card 3: The Root",
     "This represents what was the actual reason for the problem to occur or how the querent feels about it subconsciously."},
    {"Celtic Cross", "Card 4: The Past",
     "This represents events that have occurred in the near past that are going away."},
    {"Celtic Cross", "Card 5: The Crown",
     "This signifies the querent's knowledge of the present situation and the influences affecting it."},
    {"Celtic Cross", "Card 6: The Future",
     "This represents events that will occur in the near future."},
    {"Celtic Cross", "Card 7: The Questioner",
     "This represents the attitude of the querent and the negative feelings he may have regarding the question."},
    {"Celtic Cross", "Card 8: The House",
     "This represents the opinions and influences of friends and family."},
    {"Celtic Cross", "Card 9: The Inside",
     "This represents the querent's hopes and fears regarding the situation."},
    {"Celtic Cross", "Card 10: The Outcome",
     "This represents the final outcome of the situation."},
    {"One Card", "Card 1:  ",
     "This represents the most important factor that affects the issue in hand."},
    {"Two Cards", "Card 1: ",
     "This card signifies what can happen if you carry out the solution that this card represents."},
    {"Two Cards", "Card 2: ",
     "This card signifies what can happen if you carry out the solution that this card represents."},
    {"Three Cards", "Card 1 - Past",
     "This represents certain events in the past which have influenced the present condition. These events are responsible for the current events surrounding the asked question or current situation."},
    {"Three Cards", "Card 2 - Present",
     "This card represents the present state surrounding some current event or situation. This may also be the problems and obstacles that the person may have to face."},
    {"Three Cards", "Card 3 - Future",
     "This card represents the future outcome of the present circumstances or events that may lead to the outcome."},
    {"Eliphas Levy Wheel Spread(Ferrow)", "Card 1 - The Present",
     "This card represents the current influences on the present situation or event."},
    {"Eliphas Levy Wheel Spread(Ferrow)", "Card 2 - Waning Influences",
     "This card represents the influences that have affected the event and have been overcome."},
    {"Eliphas Levy Wheel Spread(Ferrow)", "Card 3 - Hidden or Unconscious Influences",
     "This card represents hidden or unknown influences."},
    {"Eliphas Levy Wheel Spread(Ferrow)", "Card 4 - Emerging Influences",
     "This card represents new influences that may effect the situation."},
    {"Eliphas Levy Wheel Spread(Ferrow)", "Card 5 - Synthesis",
     "This represents the synthesis of the whole situation and the meaning of all the influences."},
    {"The Line Spread", "Card 1 - ",
     "This card represents the distant past."},
    {"The Line Spread", "Card 2 - ",
     "This card represents the recent past."},
    {"The Line Spread", "Card 3 - ",
     "This card represents the present."},
    {"The Line Spread", "Card 4 - ",
     "This card represents the near future."},
    {"The Line Spread", "Card 5 - ",
     "This card represents the distant future."},
    {"Seven Card Chakra Layout", "Card 1 - The Root",
     "This card is associated with the physical condition of the querent and how he feels about himself with respect to the material world in terms of work, power, passion, survival."},
    {"Seven Card Chakra Layout", "Card 2 - Sexual Center",
     "This card represents the querent's emotions, desire, sexual passion, pleasure and self love."},
    {"Seven Card Chakra Layout", "Card 3 - Power Center",
     "This card is associated with the querent's relation with honor, truth, ego, self confidence, power and energy levels."},
    {"Seven Card Chakra Layout", "Card 4 - The Heart",
     "This is related to feelings for others, compassion and relationship."},
    {"Seven Card Chakra Layout", "Card 5 - The Throat",
     "This relates to the querent's thirst to know 'who he is', 'what does he want' and 'who would he like to be'.  This shows how you can connect to your ideas and communicate."},
    {"Seven Card Chakra Layout", "Card 6 - The Third Eye",
     "This represents the intuition, spiritual awareness, imagination, visualization and perception."},
    {"Seven Card Chakra Layout", "Card 7 - The Crown",
     "This represents the querent's connection to a higher begin whom he reveres, final goals and aspirations."},
    {"Four Seasons Spread(Dalvomby)", "Card 1 - The Spring",
     "This card represents the new beginning of an idea, like the planting of a seed for a new venture."},
    {"Four Seasons Spread(Dalvomby)", "Card 2",
     "This card alters the next card (Card 3)"},
    {"Four Seasons Spread(Dalvomby)", "Card 3 - The Summer",
     "This card represents the flowering or progression of an idea."},
    {"Four Seasons Spread(Dalvomby)", "Card 4",
     "This card alters the next card (Card5)"},
    {"Four Seasons Spread(Dalvomby)", "Card 5 - Autumn",
     "This card signifies the finalization of the plan and how events will wind up."},
    {"Four Seasons Spread(Dalvomby)", "Card 6",
     "This card modifies the next card (Card 7)"},
    {"Four Seasons Spread(Dalvomby)", "Card 7 - Winter",
     "This represents the period of reflection as to what the querent may have learnt from the progression of the plan."},
    {"Four Seasons Spread(Dalvomby)", "Card 8",
     "This card alters Card 1."},
    {"Relationship Spread", "Card 1",
     "Represents your view of a partner i.e. it interprets your way of looking at your partner."},
    {"Relationship Spread", "Card 2",
     "Represents your partner's view towards you."},
    {"Relationship Spread", "Card 3",
     "Reflects you expressions, feelings, desires and sentiments."},
    {"Relationship Spread", "Card 4",
     "Represents your partner's expressions and sentiments."},
    {"Relationship Spread", "Card 5",
     "Represents your unconscious expressions."},
    {"Relationship Spread", "Card 6",
     "Represents your partner's unconscious expressions."},
    {"Relationship Spread", "Card 7",
     "Represents your inner desires and needs."},
    {"Relationship Spread", "Card 8",
     "Represents your partner's inner desires and needs."},
    {"Relationship Spread", "Card 9",
     "Tells you about ways of improving your relationship with your partner."},
    {"Relationship Spread", "Card 10",
     "Tells the ways your partner can improve your relationship."},
    {"The Romany/ Gypsy Spread", "Card 1", "Represent the past."},
    {"The Romany/ Gypsy Spread", "Card 2", "Represent the past."},
    {"The Romany/ Gypsy Spread", "Card 3", "Represent the past."},
    {"The Romany/ Gypsy Spread", "Card 4", "Represent the past."},
    {"The Romany/ Gypsy Spread", "Card 5", "Represent the past."},
    {"The Romany/ Gypsy Spread", "Card 6", "Represent the past."},
    {"The Romany/ Gypsy Spread", "Card 7", "Represent the past."},
    {"The Romany/ Gypsy Spread", "Card 8", "Represent the present."},
    {"The Romany/ Gypsy Spread", "Card 9", "Represent the present."},
    {"The Romany/ Gypsy Spread", "Card 10", "Represent the present."},
    {"The Romany/ Gypsy Spread", "Card 11", "Represent the present."},
    {"The Romany/ Gypsy Spread", "Card 12", "Represent the present."},
    {"The Romany/ Gypsy Spread", "Card 13", "Represent the present."},
    {"The Romany/ Gypsy Spread", "Card 14", "Represent the present."},
    {"The Romany/ Gypsy Spread", "Card 15", "Represent the future."},
    {"The Romany/ Gypsy Spread", "Card 16", "Represent the future."},
    {"The Romany/ Gypsy Spread", "Card 17", "Represent the future."},
    {"The Romany/ Gypsy Spread", "Card 18", "Represent the future."},
    {"The Romany/ Gypsy Spread", "Card 19", "Represent the future."},
    {"The Romany/ Gypsy Spread", "Card 20", "Represent the future."},
    {"The Romany/ Gypsy Spread", "Card 21", "Represent the future."},
    {"Zodiac Spread", "Card 1",
     "Related to Aries which represents your attitude and your basic personality."},
    {"Zodiac Spread", "Card 2",
     "Related to Taurus which represents your financial and business matters."},
    {"Zodiac Spread", "Card 3",
     "Related to Gemini which represents communication and education."},
    {"Zodiac Spread", "Card 4",
     "Related to Cancer which represents home, family and childhood concerns."},
    {"Zodiac Spread", "Card 5",
     "Related to Leo which represents the pleasures and leisure of life."},
    {"Zodiac Spread", "Card 6",
     "Related to Virgo which represents work and responsibility."},
    {"Zodiac Spread", "Card 7",
     "Related to Libra which represents close partnership and love."},
    {"Zodiac Spread", "Card 8",
     "Related to Scorpio which reveals all your hidden influences and desires."},
    {"Zodiac Spread", "Card 9",
     "Related to Sagittarius which represents you intimacy in religion and philosophy."},
    {"Zodiac Spread", "Card 10",
     "Related to Capricorn which represents your career and ambition."},
    {"Zodiac Spread", "Card 11",
     "Related to Aquarius which represents your social life and acquaintances."},
    {"Zodiac Spread", "Card 12",
     "Related to Pisces which represents your strengths and weaknesses."},
    {"Tree of Life", "Card 1 - Top card:",
     "Reveals the present situation and how we react to each of these situations."},
    {"Tree of Life", "Card 2 - Right temple:",
     "Reveals the basic emotions, feelings and intuitions."},
    {"Tree of Life", "Card 3 - Left temple:",
     "Reveals the level of practicality and rationality."},
    {"Tree of Life", "Card 4 - Right shoulder:",
     "Reveals our natural ability and common sense."},
    {"Tree of Life", "Card 5 - Left shoulder:",
     "Reveals our learning skills and our capacity to take up things."},
    {"Tree of Life", "Card 6 - Heart/ centre position:",
     "Related to how we tackle our emotions."},
    {"Tree of Life", "Card 7 - Right hip:",
     "Relates to our destiny - the path which we choose."},
    {"Tree of Life", "Card 8 - Left hip:",
     "Reveals our energy level."},
    {"Tree of Life", "Card 9 - Groin:",
     "Reveals the level of sexuality and sensuality."},
    {"Tree of Life", "Card 10 - feet:",
     "Reveals our basic nature."},
    {"Numerology Spread", "Card 1",
     "You see yourself as an Innovator."},
    {"Numerology Spread", "Card 2",
     "You see yourself as an Integrator."},
    {"Numerology Spread", "Card 3",
     "You see yourself as an Entertainer."},
    {"Numerology Spread", "Card 4",
     "You see yourself as a Builder."},
    {"Numerology Spread", "Card 5",
     "You see yourself as a Communicator."},
    {"Numerology Spread", "Card 6",
     "You see yourself as a Peacemaker."},
    {"Numerology Spread", "Card 7",
     "You see yourself as an Individualist."},
    {"Numerology Spread", "Card 8",
     "You see yourself as an Entrepreneur."},
    {"Numerology Spread", "Card 9",
     "You see yourself as a Crusader."},
};

QList<PositionMeaningEntry> buildTable()
{
    QList<PositionMeaningEntry> table;
    QString spread;
    int position = 0;
    for (const Row& row : rows) {
        const QString name = QString::fromUtf8(row.Spread);
        position = name == spread ? position + 1 : 0;
        spread = name;
        bool sameLine = false;
        for (const char* s : sameLineSpreads)
            sameLine = sameLine || name == QLatin1String(s);
        table.append({name, position, QString::fromUtf8(row.Label), sameLine ? QString() : CrLf,
                      QString::fromUtf8(row.Meaning)});
    }
    return table;
}
} // namespace

const QList<PositionMeaningEntry>& PositionMeaningTable()
{
    static const QList<PositionMeaningEntry> table = buildTable();
    return table;
}

const PositionMeaningEntry* FindPositionMeaning(const QString& spread, int position)
{
    for (const PositionMeaningEntry& entry : PositionMeaningTable())
        if (entry.Position == position && entry.Spread == spread)
            return &entry;
    return nullptr;
}

void WritePositionMeaning(qint16 position)
{
    RichTextBox& box = *frmMDI().rtbDisp1;
    const PositionMeaningEntry* entry = FindPositionMeaning(Reading().CurrentSpreadName, position);
    if (!entry)
        return;
    InsertBold(box, entry->Label);
    Insert(box, entry->Joiner + entry->Meaning);
}
