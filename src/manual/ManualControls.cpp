#include "ManualControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

void CardBack::mousePressEvent(QMouseEvent* event) { event->accept(); }

void CardBack::mouseReleaseEvent(QMouseEvent* event)
{
    // Accepted here, so the event does not travel on to a parent that the
    // handler may already have taken away.
    event->accept();
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()) || !Click)
        return;
    const std::function<void()> handler = Click; // outlives this card
    handler();
}

QImage CardBackPicture(int width, int height)
{
    QImage back(width, height, QImage::Format_RGB32);
    back.fill(QColor(245, 236, 214));
    QPainter painter(&back);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF field(1.5, 1.5, width - 3.0, height - 3.0);
    painter.setPen(QPen(QColor(122, 92, 38), 1.0));
    painter.setBrush(QColor(38, 44, 102));
    painter.drawRoundedRect(field, 2.0, 2.0);

    // A gold diamond with a small star in its middle.
    const QPointF centre(width / 2.0, height / 2.0);
    const double w = width * 0.32, h = height * 0.3;
    QPainterPath diamond;
    diamond.moveTo(centre.x(), centre.y() - h);
    diamond.lineTo(centre.x() + w, centre.y());
    diamond.lineTo(centre.x(), centre.y() + h);
    diamond.lineTo(centre.x() - w, centre.y());
    diamond.closeSubpath();
    painter.setPen(QPen(QColor(222, 186, 92), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(diamond);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(222, 186, 92));
    painter.drawEllipse(centre, width * 0.08, width * 0.08);
    painter.end();
    return back;
}

QString PromptBox::Text() const
{
    return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void PromptBox::SetText(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(plain);
}
