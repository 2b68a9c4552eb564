#include "SpreadTable.h"

namespace {
// Name, positions, menu item (name, caption, the text it selects), description.
const SpreadInfo spreads[] = {
    {0, "Celtic Cross", 10, "mnuCeltic", "&Celtic Cross", "Celtic Cross",
     "This is one of the most common spreads. This is also known as the Grand Cross spread. This spread provides a very detailed reading of the past and present situation and the external influences. There are four cards in a row along the side with a cross in the centre. This is a somewhat complex spread and needs expertise."},
    {1, "One Card", 1, "mnuOne", "&One Card", "One Card",
     "This is the simplest spread of all. This is generally used for daily and quick readings. This spread is concise and good for a single issue. This can be highly exact depending on the situation."},
    {2, "Two Cards", 2, "mnuTwo", "&Two Cards", "Two Cards",
     "This spread needs certain knowledge before a reading is done. This may be used at times for a yes/no reading or to know which of the two solutions is better. In a yes/no reading the 'yes' card and the 'no' card are chosen in advance."},
    {3, "Three Cards", 3, "mnyThree", "T&hree Cards", "Three Cards",
     "This spread is good for someone who wants know how his/her life will be in general. If a specific question has been asked, then the cards will be interpreted with respect to the question."},
    {4, "Eliphas Levy Wheel Spread(Ferrow)", 5, "mnuEliphas", "&Eliphas Levy Wheel Spread(Ferrow)", "Eliphas Levy Wheel Spread(Ferrow)",
     "This layout is based on the Eliphas Levy Wheel. He did not invent this spread but this is based on his tarot wheel."},
    {5, "The Line Spread", 5, "mnuLine", "The &Line Spread", "The Line Spread",
     "All cards in this layout are in a straight horizontal line in a descending order. This spread represents the past, present and future and used for quick readings. This is a very simple and accurate spread which gives a very clear idea about the situation."},
    {6, "Seven Card Chakra Layout", 7, "mnuSeven", "&Seven card chakra layout", "Seven card chakra layout",
     "This is a more meditative spread. This gives a clear idea of what is flowing smoothly in the querent's body and which chakras are blocked or which need more attention. The layout is vertical representing the seven chakras in our body. It is read from bottom to top.  This spread is very useful for readings in which one wants to know more about oneself. Each card is associated with a chakra colour."},
    {7, "Four Seasons Spread(Dalvomby)", 8, "mnuFour", "F&our Seasons Spread(Dalvomby)", "Four Seasons Spread(Dalvomby)",
     "This spread can be used to look into the near future or coming year season by season. It gives a detailed description about what can be expected to happen in the four seasons of the year. A person gets an in depth knowledge of his plans from the conception to the execution stage. This is a spiritual spread."},
    {8, "Relationship Spread", 10, "", "", "",
     "As the name of the spread itself implies, this spread is used to answer question regarding your relationship with a person. In this case, cards are chosen to represent both the sides of a particular relationship. This spread uses 10 cards which the questioner has to select himself."},
    {9, "The Romany/ Gypsy Spread", 21, "", "", "",
     "This spread is being practiced by people for more than 200 years. This is one of the favorite spreads of the gypsies. Whenever you want to glance at your past, present as well as your future, use this particular spread. The Romany spread helps you by answering a whole lot of questions as per your specification, revels your past experiences, your present happenings as well as your future potentials. This spread uses 21 cards and the questioner has to select the cards himself."},
    {10, "Zodiac Spread", 12, "", "", "",
     "In the Zodiac spread, the cards are led out corresponding to the 12 houses of the zodiac. This spread helps you in exploring the twelve vital areas of your life some of which are your career, love, marriages, home and finances. This spread includes 12 cards which the questioner has to select himself."},
    {11, "Tree of Life", 10, "", "", "",
     "Among all the other spreads, the Qabalistic Tree of Life spread is one of the best spreads for the purpose of delving deep into one's own nature. It reveals everything about your past, present as well as your future. This spread uses 10 cards which the questioner has to select himself."},
    {12, "Numerology Spread", 9, "", "", "",
     "Numerology Spread is also one of the mostly used spread and it is based upon the Numerological meanings of the numbers ranging from 1 to 9. This spread is mostly used for the purpose of exploring yourself in all your forms. This spread uses 9 cards which the questioner has to select himself."},
};
} // namespace

const SpreadInfo& SpreadTable(int index) { return spreads[index]; }

int SpreadCount() { return static_cast<int>(std::size(spreads)); }

QString SpreadDiagramPath(int index) { return "\\pic\\c" + QString::number(index) + ".jpg"; }
