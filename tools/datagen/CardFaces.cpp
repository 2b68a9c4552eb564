#include "CardFaces.h"
#include "Emblems.h"
#include "Fonts.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <stdexcept>

namespace {

constexpr int Supersample = 3; // drawn larger, then scaled down smoothly
constexpr int JpegQuality = 92;

const InkStyle brightInks = {
    {QColor(0xf5, 0xc2, 0x2b), QColor(0xdd, 0xe5, 0xee), QColor(0xe2, 0x3d, 0x3d), QColor(0x2f, 0x7d, 0xdb),
     QColor(0x3d, 0xb0, 0x5a), QColor(0xa8, 0x6a, 0x34), QColor(0xf7, 0xcf, 0xa6), QColor(0xff, 0xff, 0xff),
     QColor(0x32, 0x2c, 0x3c), QColor(0x93, 0x52, 0xd0), QColor(0x8f, 0xd0, 0xf6), QColor(0xf5, 0x8a, 0x1f)},
    true, false, 0.9};

const InkStyle woodcutInks = {
    {QColor(0xe9, 0xb5, 0x24), QColor(0x8d, 0xb6, 0xd6), QColor(0xc2, 0x30, 0x28), QColor(0x22, 0x4f, 0x9c),
     QColor(0x4c, 0x8c, 0x45), QColor(0xb8, 0x74, 0x3c), QColor(0xf0, 0xc6, 0x9c), QColor(0xf8, 0xf0, 0xda),
     QColor(0x1c, 0x18, 0x16), QColor(0x22, 0x4f, 0x9c), QColor(0x8d, 0xb6, 0xd6), QColor(0xe0, 0x7a, 0x22)},
    false, true, 1.5};

// The colour of each group in deck 'r': the frame and the banners.
QColor brightGroupColor(int group)
{
    switch (group) {
    case Cups: return QColor(0x1d, 0x6f, 0xc4);
    case Wands: return QColor(0xd8, 0x4f, 0x1c);
    case Pentacles: return QColor(0x2c, 0x8c, 0x3f);
    case Swords: return QColor(0x4d, 0x5d, 0x7a);
    default: return QColor(0x6a, 0x3c, 0xa4);
    }
}

QString roman(int n)
{
    if (n == 0)
        return "0";
    static const std::pair<int, const char*> digits[] = {
        {10, "X"}, {9, "IX"}, {5, "V"}, {4, "IV"}, {1, "I"}};
    QString out;
    for (const auto& [value, text] : digits)
        while (n >= value) {
            out += text;
            n -= value;
        }
    return out;
}

QString courtWord(int rank)
{
    switch (rank) {
    case Page: return "PAGE";
    case Knight: return "KNIGHT";
    case Queen: return "QUEEN";
    case King: return "KING";
    default: return {};
    }
}

// The text of the top banner.
QString rankText(const Card& card, char deck)
{
    if (card.group == MajorArcana)
        return roman(card.rank);
    if (card.rank >= Page)
        return courtWord(card.rank);
    if (deck == 'm')
        return roman(card.rank);
    return card.rank == 1 ? QString("ACE") : QString::number(card.rank);
}

// Draws text centred in r: on one line if it fits at singleMin pixels or more,
// else on two lines, shrinking down to minPx.
void fittedText(QPainter& p, const QRectF& r, const QString& text, QFont font, int maxPx, int singleMin,
                int minPx, const QColor& color)
{
    p.setPen(color);
    for (int size = maxPx; size >= singleMin; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= r.width()) {
            p.setFont(font);
            p.drawText(r, Qt::AlignCenter, text);
            return;
        }
    }
    const QStringList words = text.split(' ');
    for (int size = maxPx; size >= minPx; --size) {
        font.setPixelSize(size);
        const QFontMetricsF fm(font);
        if (2 * fm.height() > r.height() + 3)
            continue;
        int best = -1;
        double bestWidth = 1e9;
        for (int cut = 1; cut < words.size(); ++cut) {
            const double w = std::max(fm.horizontalAdvance(words.mid(0, cut).join(' ')),
                                      fm.horizontalAdvance(words.mid(cut).join(' ')));
            if (w < bestWidth) {
                bestWidth = w;
                best = cut;
            }
        }
        if (best > 0 && bestWidth <= r.width()) {
            p.setFont(font);
            const QString lines = words.mid(0, best).join(' ') + '\n' + words.mid(best).join(' ');
            p.drawText(r, Qt::AlignCenter, lines);
            return;
        }
    }
    font.setPixelSize(minPx);
    p.setFont(font);
    p.drawText(r, Qt::AlignCenter, QFontMetricsF(font).elidedText(text, Qt::ElideRight, r.width()));
}

// Where the pips of a numbered card lie, as fractions of the picture panel.
QList<QPointF> pipPlaces(int n)
{
    const double l = 0.28, c = 0.5, r = 0.72;
    switch (n) {
    case 2: return {{c, 0.22}, {c, 0.78}};
    case 3: return {{c, 0.17}, {c, 0.5}, {c, 0.83}};
    case 4: return {{l, 0.22}, {r, 0.22}, {l, 0.78}, {r, 0.78}};
    case 5: return {{l, 0.2}, {r, 0.2}, {c, 0.5}, {l, 0.8}, {r, 0.8}};
    case 6: return {{l, 0.17}, {r, 0.17}, {l, 0.5}, {r, 0.5}, {l, 0.83}, {r, 0.83}};
    case 7: return {{l, 0.15}, {r, 0.15}, {c, 0.33}, {l, 0.5}, {r, 0.5}, {l, 0.85}, {r, 0.85}};
    case 8: return {{l, 0.15}, {r, 0.15}, {c, 0.33}, {l, 0.5}, {r, 0.5}, {c, 0.67}, {l, 0.85}, {r, 0.85}};
    case 9:
        return {{l, 0.13}, {r, 0.13}, {l, 0.377}, {r, 0.377}, {c, 0.5},
                {l, 0.623}, {r, 0.623}, {l, 0.87}, {r, 0.87}};
    case 10:
        return {{l, 0.13}, {r, 0.13}, {c, 0.255}, {l, 0.377}, {r, 0.377},
                {l, 0.623}, {r, 0.623}, {c, 0.745}, {l, 0.87}, {r, 0.87}};
    default: return {{c, 0.5}};
    }
}

double pipSize(int n)
{
    if (n == 2)
        return 50;
    if (n == 3)
        return 44;
    if (n <= 6)
        return 38;
    if (n <= 8)
        return 32;
    return 29;
}

// The emblems inside the picture panel: pips, court or arcanum.
void drawPicture(EmblemPainter& emblems, const Card& card, const QRectF& panel)
{
    if (card.group == MajorArcana) {
        const double side = panel.width() * 0.86;
        emblems.major(card.arcanum, QRectF(panel.center().x() - side / 2, panel.top() + 16, side, side));
        return;
    }
    if (card.rank >= Page) {
        const double top = panel.width() * 0.62;
        emblems.court(card.rank, QRectF(panel.center().x() - top / 2, panel.top() + 10, top, top));
        const double bottom = panel.width() * 0.5;
        emblems.suit(card.group, QRectF(panel.center().x() - bottom / 2, panel.top() + 16 + top, bottom, bottom));
        return;
    }
    if (card.rank == 1) {
        const double side = panel.width() * 0.78;
        emblems.suit(card.group, QRectF(panel.center().x() - side / 2, panel.center().y() - side / 2, side, side));
        return;
    }
    const double side = pipSize(card.rank);
    const QRectF inner = panel.adjusted(2, 4, -2, -4);
    for (const QPointF& f : pipPlaces(card.rank)) {
        const QPointF c(inner.left() + f.x() * inner.width(), inner.top() + f.y() * inner.height());
        emblems.suit(card.group, QRectF(c.x() - side / 2, c.y() - side / 2, side, side));
    }
}

bool isPictureCard(const Card& card) { return card.group == MajorArcana || card.rank >= Page; }

// Deck 'r': a bright, rounded modern frame in the colour of the card's group.
void drawBright(QPainter& p, const Card& card)
{
    const QColor accent = brightGroupColor(card.group);
    const QRectF whole(0, 0, CardWidth, CardHeight);
    p.fillRect(whole, Qt::white);

    QLinearGradient frameFill(0, 0, CardWidth, CardHeight);
    frameFill.setColorAt(0, accent.lighter(125));
    frameFill.setColorAt(1, accent.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(frameFill);
    p.drawRoundedRect(whole.adjusted(2, 2, -2, -2), 10, 10);
    p.setBrush(QColor(0xff, 0xfd, 0xf7));
    p.drawRoundedRect(whole.adjusted(6, 6, -6, -6), 7, 7);

    // The picture panel: sky above, and for picture cards a hill below.
    const QRectF panel(10, 35, 110, 150);
    QPainterPath panelPath;
    panelPath.addRoundedRect(panel, 6, 6);
    QLinearGradient sky(0, panel.top(), 0, panel.bottom());
    sky.setColorAt(0, accent.lighter(165));
    sky.setColorAt(0.7, QColor(0xfb, 0xfa, 0xff));
    sky.setColorAt(1, QColor(0xff, 0xff, 0xff));
    p.fillPath(panelPath, sky);
    if (isPictureCard(card)) {
        QPainterPath hill(QPointF(panel.left(), panel.bottom() - 18));
        hill.cubicTo(panel.left() + 40, panel.bottom() - 30, panel.right() - 40, panel.bottom() - 12,
                     panel.right(), panel.bottom() - 24);
        hill.lineTo(panel.bottomRight());
        hill.lineTo(panel.bottomLeft());
        hill.closeSubpath();
        QLinearGradient grass(0, panel.bottom() - 30, 0, panel.bottom());
        grass.setColorAt(0, QColor(0xa6, 0xdb, 0x84));
        grass.setColorAt(1, QColor(0x62, 0xa8, 0x4e));
        p.fillPath(hill.intersected(panelPath), grass);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(accent, 1.2));
    p.drawPath(panelPath);

    p.setRenderHint(QPainter::Antialiasing);
    EmblemPainter emblems(p, brightInks);
    p.save();
    p.setClipPath(panelPath);
    drawPicture(emblems, card, panel);
    p.restore();

    // Top banner: the number or rank, white on the group colour.
    const QRectF top(12, 9, 106, 22);
    QLinearGradient banner(0, top.top(), 0, top.bottom());
    banner.setColorAt(0, accent.lighter(120));
    banner.setColorAt(1, accent.darker(110));
    p.setPen(QPen(accent.darker(150), 1));
    p.setBrush(banner);
    p.drawRoundedRect(top, 11, 11);
    fittedText(p, top.adjusted(23, 0, -23, 0), rankText(card, 'r'), Fonts::sans(true), 15, 10, 10, Qt::white);
    if (card.group == MajorArcana) {
        for (double x : {top.left() + 13, top.right() - 13})
            emblems.ornament(QRectF(x - 7, top.center().y() - 7, 14, 14));
    } else {
        for (double x : {top.left() + 13, top.right() - 13})
            emblems.suit(card.group, QRectF(x - 8, top.center().y() - 8, 16, 16));
    }

    // Bottom banner: the name on a white plate.
    const QRectF bottom(12, 189, 106, 28);
    p.setPen(QPen(accent, 1.4));
    p.setBrush(Qt::white);
    p.drawRoundedRect(bottom, 6, 6);
    fittedText(p, bottom.adjusted(4, 1, -4, -1), card.name, Fonts::sans(true, true), 12, 10, 9,
               QColor(0x26, 0x22, 0x30));
}

// Deck 'm': cream paper, black outlines, flat red, blue and yellow, Roman numerals.
void drawWoodcut(QPainter& p, const Card& card)
{
    const QColor paper(0xf1, 0xe3, 0xc0);
    const QColor ink(0x1c, 0x18, 0x16);
    const QRectF whole(0, 0, CardWidth, CardHeight);
    p.fillRect(whole, paper);

    // Paper grain: a fixed pattern of faint specks.
    quint32 seed = 0x2545F491u + quint32(card.number) * 2654435761u;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) & 0xffff;
    };
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        const double x = next() * CardWidth / 65536.0, y = next() * CardHeight / 65536.0;
        p.setBrush(QColor(0x8a, 0x6a, 0x3a, 18 + next() % 22));
        p.drawEllipse(QPointF(x, y), 0.5 + (next() % 8) / 10.0, 0.4 + (next() % 6) / 10.0);
    }

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.2));
    p.drawRect(whole.adjusted(3, 3, -3, -3));
    p.setPen(QPen(ink, 0.8));
    p.drawRect(whole.adjusted(6, 6, -6, -6));

    const QRectF top(8, 8, 114, 21);
    const QRectF panel(8, 29, 114, 158);
    const QRectF bottom(8, 187, 114, 30);

    if (isPictureCard(card)) {
        // Ground: ochre earth with woodcut hatching.
        QPainterPath ground(QPointF(panel.left(), panel.bottom() - 16));
        ground.cubicTo(panel.left() + 30, panel.bottom() - 24, panel.right() - 36, panel.bottom() - 10,
                       panel.right(), panel.bottom() - 20);
        ground.lineTo(panel.bottomRight());
        ground.lineTo(panel.bottomLeft());
        ground.closeSubpath();
        p.setPen(QPen(ink, 1.1));
        p.setBrush(QColor(0xd9, 0xa4, 0x3a));
        p.drawPath(ground);
        p.save();
        p.setClipPath(ground);
        p.setPen(QPen(ink, 0.6));
        for (double x = panel.left() - 20; x < panel.right(); x += 5)
            p.drawLine(QPointF(x, panel.bottom()), QPointF(x + 14, panel.bottom() - 26));
        p.restore();
    }

    EmblemPainter emblems(p, woodcutInks);
    p.save();
    p.setClipRect(panel.adjusted(1, 1, -1, -1));
    drawPicture(emblems, card, panel.adjusted(2, 0, -2, -2));
    p.restore();

    // The numeral's cartouche is yellow, the name's plain: the top shows at a glance.
    p.setPen(QPen(ink, 1.1));
    p.setBrush(QColor(0xf0, 0xc8, 0x5c));
    p.drawRect(top);
    p.setBrush(paper);
    p.drawRect(bottom);
    p.setBrush(Qt::NoBrush);
    p.drawRect(panel);
    // Little corner notches of the numeral's cartouche.
    const bool court = card.group != MajorArcana && card.rank >= Page;
    const double tick = court ? 16 : 30;
    for (double x : {top.left() + tick, top.right() - tick})
        p.drawLine(QPointF(x, top.top() + 4), QPointF(x, top.bottom() - 4));
    fittedText(p, top.adjusted(tick + 2, 0, -tick - 2, 1), rankText(card, 'm'), Fonts::serif(true), 15, 10, 10, ink);
    fittedText(p, bottom.adjusted(3, 1, -3, 0), card.name.toUpper(), Fonts::serif(true, true), 11, 9, 8, ink);
}

} // namespace

QImage drawCardFace(const Card& card, char deck)
{
    QImage big(CardWidth * Supersample, CardHeight * Supersample, QImage::Format_RGB32);
    big.fill(Qt::white);
    {
        QPainter p(&big);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        p.scale(Supersample, Supersample);
        if (deck == 'm')
            drawWoodcut(p, card);
        else
            drawBright(p, card);
    }
    return big.scaled(CardWidth, CardHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void writeCardPictures(const QString& programDir, const QList<Card>& cards)
{
    QDir().mkpath(programDir + "/cards");
    for (const Card& card : cards)
        for (char deck : {'r', 'm'}) {
            const QString path = QString("%1/cards/%2%3.jpg").arg(programDir).arg(deck).arg(card.number);
            QImageWriter writer(path, "jpeg");
            writer.setQuality(JpegQuality);
            if (!writer.write(drawCardFace(card, deck)))
                throw std::runtime_error(("cannot write " + path + ": " + writer.errorString()).toStdString());
        }
}
