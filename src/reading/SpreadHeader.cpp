#include "SpreadHeader.h"

#include "app/frmMDI.h"
#include "common/PageLaunchers.h"
#include "reading/ReadingText.h"
#include "reading/SpreadTable.h"

using namespace ReadingText;

namespace {
constexpr int AlignLeft = 0;
constexpr int AlignCentre = 2;

const SpreadHeaderEntry headers[] = {
    {"Celtic Cross", "Spread Type - Celtic Cross Spread", false, false},
    {"One Card", "Spread Type - One Card", false, true},
    {"Two Cards", "Spread Type - Two Cards", false, true},
    {"Three Cards", "Spread Type - Three Cards", false, true},
    {"Eliphas Levy Wheel Spread(Ferrow)", "Spread Type - Eliphas Levy Wheel Spread(Ferrow)", true, false},
    {"The Line Spread", "Spread Type - The Line Spread", false, false},
    {"Seven Card Chakra Layout", "Spread Type - Seven Card Chakra Spread", false, false},
    {"Four Seasons Spread(Dalvomby)", "Spread Type - Four Seasons Spread", false, false},
    {"Relationship Spread", "Spread Type - Relationship Spread", false, false},
    {"The Romany/ Gypsy Spread", "Spread Type - The Romany/ Gypsy Spread", false, false},
    {"Zodiac Spread", "Spread Type - Zodiac Spread", false, false},
    {"Tree of Life", "Spread Type - Tree of Life", false, false},
    {"Numerology Spread", "Spread Type - Numerology Spread", false, false},
};

const QString ForumLine = QStringLiteral(
    "Quennick the most popular online discussion forum. A place to learn, to share and to make new friends.");

QString DescriptionOf(const QString& spread)
{
    for (int i = 0; i < SpreadCount(); ++i)
        if (spread == QLatin1String(SpreadTable(i).Name))
            return QString::fromUtf8(SpreadTable(i).Description);
    return QString();
}
} // namespace

const SpreadHeaderEntry* FindSpreadHeader(const QString& spread)
{
    for (const SpreadHeaderEntry& entry : headers)
        if (spread == QLatin1String(entry.Spread))
            return &entry;
    return nullptr;
}

void WriteSpreadHeader(const QString& spread)
{
    RichTextBox& box = *frmMDI().rtbDisp1;

    box.SetSelStart(static_cast<int>(box.Text().size()));

    InsertBold(box, ForumLine + CrLf + CrLf);

    box.SetSelBold(true);
    box.SetSelAlignment(AlignCentre);
    Insert(box, "Visit " + CrLf);
    box.SetSelBold(false);

    InsertBold(box, PageAddress::Home + " " + CrLf);

    box.SetSelBold(true);
    Insert(box, "Now " + CrLf);
    box.SetSelAlignment(AlignLeft);
    box.SetSelBold(false);

    InsertRule(box, RuleBlanks() + CrLf);

    const SpreadHeaderEntry* header = FindSpreadHeader(spread);
    if (!header)
        return;

    InsertBold(box, QString::fromUtf8(header->Title));
    if (header->EmptyLineBeforeDescription)
        Insert(box, CrLf);
    Insert(box, CrLf + DescriptionOf(spread) + (header->EmptyLineAfterDescription ? CrLf : QString()));
    Insert(box, CrLf);
    InsertRule(box, RuleBlanks() + CrLf + CrLf);
}
