#include "UpsideDownCopy.h"

#include <QPainter>

namespace {
QImage blankDrawing(const QSize& box, const QColor& back)
{
    QImage drawing(box, QImage::Format_RGB32);
    drawing.fill(back);
    return drawing;
}
} // namespace

QImage UpsideDownInBox(const QImage& picture, const QSize& box, const QColor& back)
{
    if (picture.isNull() || box.isEmpty())
        return QImage();

    // top to bottom: from (0, H), the picture's own width, height -H
    QImage first = blankDrawing(box, back);
    {
        QPainter p(&first);
        p.drawImage(QRect(0, 0, picture.width(), box.height()), picture.mirrored(false, true));
    }
    // left to right: from (W, 0), width -W, the drawing's own height
    QImage second = blankDrawing(box, back);
    {
        QPainter p(&second);
        p.drawImage(QRect(0, 0, box.width(), first.height()), first.mirrored(true, false));
    }
    return second;
}
