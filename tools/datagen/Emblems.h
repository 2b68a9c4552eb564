#pragma once
// The symbolic drawings on the card faces: suit emblems, court emblems and one
// emblem per major arcanum. Each is drawn upright in a box, in the colours and
// line style of a deck, so that the same drawing serves both decks.
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

enum class Ink { Gold, Silver, Red, Blue, Green, Brown, Flesh, White, Black, Purple, Sky, Orange };

struct InkStyle {
    QColor colors[12];        // by Ink
    bool shaded = false;      // fill with a soft gradient instead of flat colour
    bool blackOutline = false; // outline every shape in black (else a darker tone of its fill)
    double outlineWidth = 1;  // in card pixels
    QColor color(Ink ink) const { return colors[static_cast<int>(ink)]; }
};

class EmblemPainter {
public:
    EmblemPainter(QPainter& painter, const InkStyle& style) : p(painter), s(style) {}

    // The emblem of a suit (CardGroup 1..4), point or mouth upwards.
    void suit(int group, const QRectF& box);
    // The emblem of a court rank (Page, Knight, Queen, King).
    void court(int rank, const QRectF& box);
    // The emblem of a major arcanum (Arcanum).
    void major(int arcanum, const QRectF& box);
    // A small five-pointed star, the ornament of the major arcana's banner.
    void ornament(const QRectF& box);

private:
    // Every drawing works in a 100 × 100 unit square centred on (0, 0), y down.
    void begin(const QRectF& box);
    void end();
    void shape(const QPainterPath& path, Ink ink);
    void band(const QPainterPath& line, double width, Ink ink);
    void detail(const QPainterPath& path, double widthPx = 0.8);
    void dot(QPointF c, double r, Ink ink);
    QBrush brush(Ink ink, const QRectF& bounds) const;
    double px(double cardPixels) const { return cardPixels / m_scale; }

    void cup();
    void wand();
    void pentacle();
    void sword();
    void star(QPointF c, double outer, double inner, int points, Ink ink, double turn = 0);

    QPainter& p;
    const InkStyle& s;
    double m_scale = 1;
};
