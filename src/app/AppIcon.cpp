#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

QPixmap AppIconPixmap(int size)
{
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF card(s * 0.2, s * 0.06, s * 0.6, s * 0.88);
    p.setPen(QPen(QColor(70, 40, 110), s * 0.04));
    p.setBrush(QColor(40, 24, 80));
    p.drawRoundedRect(card, s * 0.06, s * 0.06);

    QPainterPath star;
    const QPointF c = card.center();
    const double outer = s * 0.22, inner = outer * 0.42;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 80));
    p.drawPath(star);
    return pix;
}

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(AppIconPixmap(size));
    return icon;
}
