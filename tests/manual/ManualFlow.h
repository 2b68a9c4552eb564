#pragma once
// Driving a manual reading the way a user does, and what it should give.
#include "ScriptedDesktop.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "manual/ManualTexts.h"
#include "manual/frmManual.h"
#include "platform/Controls.h"
#include "platform/Rnd.h"
#include "reading/ReadingState.h"
#include "reading/SpreadTable.h"
#include "reading/TextEncoding.h"
#include "reading/frmFront.h"
#include "reading/frmTarot.h"
#include "spread/CardPicturePath.h"

#include <QFile>
#include <QListWidget>
#include <QTest>

#include <cmath>

namespace ManualFlow {

struct Options {
    bool major = false;
    bool minor = false;
    bool reversed = false;
    int deck = 0; // 0 Rider Waite ("r"), 1 Marseilles ("m")
    bool viaMenu = false;
};

inline void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

// The querent window, "&Next", the spread and options chosen, then "Manual".
inline void openManualReading(int spread, const Options& options = {})
{
    auto& front = frmFront();
    front.Show();
    QTest::keyClicks(front.txtName, "Ann");
    QTest::mouseClick(front.cmdNext, Qt::LeftButton);

    auto& t = frmTarot();
    QListWidget* list = t.lstOption;
    QListWidgetItem* entry = list->item(spread);
    list->scrollToItem(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(entry).center());
    if (options.deck != 0)
        t.cboCards->setCurrentIndex(options.deck);
    if (options.major)
        tick(t.chkHA);
    if (options.minor)
        tick(t.chkLA);
    if (options.reversed)
        tick(t.chkRev);
    if (options.viaMenu)
        t.mnuManual->trigger();
    else
        QTest::mouseClick(t.cmdManual, Qt::LeftButton);
}

inline int backsShown(const class frmManual& m)
{
    int shown = 0;
    for (const CardBack* back : m.p)
        shown += back->isVisibleTo(&m) && back->isEnabled() ? 1 : 0;
    return shown;
}

inline void clickBack(class frmManual& m, int index) { QTest::mouseClick(m.p[index], Qt::LeftButton); }

// What the draw should give: the cards by position and which lie reversed.
struct Draw {
    QList<int> cards;
    QList<bool> reversed;
    QList<int> reversedCards() const
    {
        QList<int> out;
        for (int k = 0; k < cards.size(); ++k)
            if (reversed[k])
                out << cards[k];
        return out;
    }
};

// The draw of n positions from the generator's present state, the timer
// giving every card's seed: each card reseeded, drawn from the set until new,
// then, with reversed cards allowed, reversed when the rounded r * 10 is odd.
// The generator is left as it was.
inline Draw expectedDraw(int n, const Options& options)
{
    const std::uint32_t before = RndState::Seed();
    const int first = options.minor && !options.major ? 22 : 0;
    const int count = options.major ? 22 : options.minor ? 56 : 78;
    Draw d;
    for (int i = 0; i < n; ++i) {
        Randomize();
        int card;
        do {
            card = first + static_cast<int>(std::floor(double(Rnd()) * count));
        } while (d.cards.contains(card));
        d.cards << card;
        bool reversed = false;
        if (options.reversed) {
            const double tenths = double(Rnd()) * 10.0;
            reversed = static_cast<long>(std::nearbyint(tenths)) % 2 != 0;
        }
        d.reversed << reversed;
    }
    RndState::SetSeed(before);
    return d;
}

inline QImage cardImage(int card, const QString& deck) { return LoadPicture(CardPicturePath(card, deck)); }

// The lines of a saved reading, decoded.
inline QStringList savedLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        QByteArray l = line;
        if (l.endsWith('\r'))
            l.chop(1);
        if (!l.isEmpty())
            out << DecodeText(FromSingleByte(l));
    }
    return out;
}

inline QString prompt(int spread, int position)
{
    return PositionPrompt(QString::fromUtf8(SpreadTable(spread).Name), position).value_or("<none>");
}

} // namespace ManualFlow
