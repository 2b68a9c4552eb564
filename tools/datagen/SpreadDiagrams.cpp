#include "SpreadDiagrams.h"
#include "Fonts.h"
#include "spread/SpreadLayoutTable.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <stdexcept>

namespace {

constexpr int Supersample = 3;
constexpr int JpegQuality = 92;
// A card place in layout units (twips): the size of a card picture.
constexpr double PlaceWidth = 1950;
constexpr double PlaceHeight = 3375;
constexpr double Margin = 9;      // pixels around the layout
constexpr double MaxScale = 0.018; // pixels per twip, so that small spreads keep small cards

// The Celtic Cross's second position lies across the first.
bool liesAcross(int spreadIndex, int position) { return spreadIndex == 0 && position == 1; }

QRectF placeRect(int spreadIndex, int position, const QPointF& leftTop)
{
    return liesAcross(spreadIndex, position) ? QRectF(leftTop, QSizeF(PlaceHeight, PlaceWidth))
                                             : QRectF(leftTop, QSizeF(PlaceWidth, PlaceHeight));
}

} // namespace

QImage drawSpreadDiagram(int spreadIndex)
{
    const SpreadLayout& layout = SpreadLayoutByIndex(spreadIndex);
    QList<QRectF> places;
    QRectF bounds;
    for (int i = 0; i < layout.positions.size(); ++i) {
        places << placeRect(spreadIndex, i, layout.positions[i]);
        bounds = bounds.isNull() ? places.last() : bounds.united(places.last());
    }
    const double scale = std::min({(DiagramWidth - 2 * Margin) / bounds.width(),
                                   (DiagramHeight - 2 * Margin) / bounds.height(), MaxScale});
    const QPointF offset((DiagramWidth - bounds.width() * scale) / 2 - bounds.left() * scale,
                         (DiagramHeight - bounds.height() * scale) / 2 - bounds.top() * scale);
    auto toPixels = [&](const QRectF& r) {
        return QRectF(offset + r.topLeft() * scale, r.size() * scale);
    };

    QImage big(DiagramWidth * Supersample, DiagramHeight * Supersample, QImage::Format_RGB32);
    {
        QPainter p(&big);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        p.scale(Supersample, Supersample);
        const QRectF whole(0, 0, DiagramWidth, DiagramHeight);
        QRadialGradient felt(whole.center(), DiagramHeight * 0.7);
        felt.setColorAt(0, QColor(0x2f, 0x7a, 0x52));
        felt.setColorAt(1, QColor(0x15, 0x48, 0x30));
        p.fillRect(whole, felt);
        p.setPen(QPen(QColor(0xd8, 0xb4, 0x5a), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(whole.adjusted(3, 3, -3, -3), 4, 4);

        QFont font = Fonts::sans(true);
        const double cardWidth = PlaceWidth * scale;
        font.setPixelSize(std::clamp(int(cardWidth * 0.5), 8, 16));
        const QFontMetricsF fm(font);
        p.setFont(font);

        for (int i = 0; i < places.size(); ++i) {
            const QRectF r = toPixels(places[i]).adjusted(0.5, 0.5, -0.5, -0.5);
            const double radius = std::min(r.width(), r.height()) * 0.1;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 70));
            p.drawRoundedRect(r.translated(1.2, 1.4), radius, radius);
            p.setPen(QPen(QColor(0x5a, 0x3e, 0x1c), 0.9));
            p.setBrush(liesAcross(spreadIndex, i) ? QColor(0xf6, 0xdc, 0x92) : QColor(0xfb, 0xf3, 0xdc));
            p.drawRoundedRect(r, radius, radius);
            p.setPen(QPen(QColor(0xc9, 0x9a, 0x3c), 0.6));
            p.setBrush(Qt::NoBrush);
            const double inset = std::min(r.width(), r.height()) * 0.12;
            p.drawRoundedRect(r.adjusted(inset, inset, -inset, -inset), radius * 0.6, radius * 0.6);

            // The number where no later place covers it: the centre, else a free strip.
            const QString label = QString::number(i + 1);
            const QSizeF size(fm.horizontalAdvance(label) + 2, fm.capHeight());
            const QList<QPointF> spots = {r.center(),
                                          QPointF(r.center().x(), r.bottom() - size.height() / 2 - 1.5),
                                          QPointF(r.center().x(), r.top() + size.height() / 2 + 1.5),
                                          QPointF(r.left() + size.width() / 2 + 1.5, r.center().y()),
                                          QPointF(r.right() - size.width() / 2 - 1.5, r.center().y())};
            QPointF at = spots.first();
            for (const QPointF& spot : spots) {
                const QRectF box(spot - QPointF(size.width() / 2, size.height() / 2), size);
                bool free = true;
                for (int j = i + 1; j < places.size(); ++j)
                    free = free && !toPixels(places[j]).intersects(box);
                if (free) {
                    at = spot;
                    break;
                }
            }
            p.setPen(QColor(0x8e, 0x1b, 0x1b));
            p.drawText(QPointF(at.x() - fm.horizontalAdvance(label) / 2, at.y() + fm.capHeight() / 2), label);
        }
    }
    return big.scaled(DiagramWidth, DiagramHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void writeSpreadDiagrams(const QString& programDir)
{
    QDir().mkpath(programDir + "/pic");
    for (int index = 0; index < SpreadLayoutCount; ++index) {
        const QString path = QString("%1/pic/c%2.jpg").arg(programDir).arg(index);
        QImageWriter writer(path, "jpeg");
        writer.setQuality(JpegQuality);
        if (!writer.write(drawSpreadDiagram(index)))
            throw std::runtime_error(("cannot write " + path + ": " + writer.errorString()).toStdString());
    }
}
