#include "Emblems.h"
#include "Cards.h"

#include <QPainterPathStroker>
#include <QTransform>
#include <QtMath>

namespace {

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    path.closeSubpath();
    return path;
}

QPainterPath line(QPointF a, QPointF b)
{
    QPainterPath path(a);
    path.lineTo(b);
    return path;
}

QPainterPath circle(QPointF c, double rx, double ry = -1)
{
    QPainterPath path;
    path.addEllipse(c, rx, ry < 0 ? rx : ry);
    return path;
}

QPainterPath rect(double x, double y, double w, double h, double radius = 0)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    else
        path.addRect(QRectF(x, y, w, h));
    return path;
}

// A leaf or blade: a lens between two points, `width` at its widest.
QPainterPath leaf(QPointF from, QPointF to, double width)
{
    const QPointF mid = (from + to) / 2;
    QPointF n(-(to - from).y(), (to - from).x());
    n /= std::hypot(n.x(), n.y());
    QPainterPath path(from);
    path.quadTo(mid + n * width, to);
    path.quadTo(mid - n * width, from);
    path.closeSubpath();
    return path;
}

// A heart whose lobes are `h` wide each side of c.x, tip down.
QPainterPath heart(QPointF c, double h)
{
    QPainterPath path(c + QPointF(0, 0.95 * h));
    path.cubicTo(c + QPointF(-1.15 * h, 0.15 * h), c + QPointF(-0.95 * h, -1.0 * h), c + QPointF(0, -0.45 * h));
    path.cubicTo(c + QPointF(0.95 * h, -1.0 * h), c + QPointF(1.15 * h, 0.15 * h), c + QPointF(0, 0.95 * h));
    path.closeSubpath();
    return path;
}

QPainterPath starPath(QPointF c, double outer, double inner, int points, double turn)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = qDegreesToRadians(-90.0 + turn + i * 180.0 / points);
        const double r = (i % 2) ? inner : outer;
        const QPointF pt = c + QPointF(r * std::cos(a), r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

// The king's crown; the tower card shows it again, falling.
QPainterPath crownPath()
{
    return polygon({{-40, 26}, {-44, -22}, {-33, -2}, {-22, -30}, {-11, -2}, {0, -40}, {11, -2},
                    {22, -30}, {33, -2}, {44, -22}, {40, 26}});
}

QPainterPath vasePath()
{
    QPainterPath v(QPointF(-8, -14));
    v.lineTo(8, -14);
    v.quadTo(4, -8, 12, 4);
    v.quadTo(14, 16, 0, 16);
    v.quadTo(-14, 16, -12, 4);
    v.quadTo(-4, -8, -8, -14);
    v.closeSubpath();
    return v;
}

QPainterPath moved(const QPainterPath& path, QPointF to, double degrees = 0, double scale = 1)
{
    QTransform t;
    t.translate(to.x(), to.y());
    t.rotate(degrees);
    t.scale(scale, scale);
    return t.map(path);
}

} // namespace

void EmblemPainter::begin(const QRectF& box)
{
    p.save();
    p.translate(box.center());
    m_scale = std::min(box.width(), box.height()) / 100.0;
    p.scale(m_scale, m_scale);
}

void EmblemPainter::end() { p.restore(); }

QBrush EmblemPainter::brush(Ink ink, const QRectF& bounds) const
{
    const QColor c = s.color(ink);
    if (!s.shaded)
        return c;
    QLinearGradient g(bounds.topLeft(), bounds.bottomRight());
    g.setColorAt(0, c.lighter(145));
    g.setColorAt(0.55, c);
    g.setColorAt(1, c.darker(125));
    return g;
}

void EmblemPainter::shape(const QPainterPath& path, Ink ink)
{
    QPen pen(s.blackOutline ? s.color(Ink::Black) : s.color(ink).darker(230), px(s.outlineWidth));
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(brush(ink, path.boundingRect()));
    p.drawPath(path);
}

void EmblemPainter::band(const QPainterPath& centre, double width, Ink ink)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    shape(stroker.createStroke(centre).simplified(), ink);
}

void EmblemPainter::detail(const QPainterPath& path, double widthPx)
{
    QPen pen(s.blackOutline ? s.color(Ink::Black) : QColor(40, 34, 48), px(widthPx));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void EmblemPainter::dot(QPointF c, double r, Ink ink) { shape(circle(c, r), ink); }

void EmblemPainter::star(QPointF c, double outer, double inner, int points, Ink ink, double turn)
{
    shape(starPath(c, outer, inner, points, turn), ink);
}

void EmblemPainter::ornament(const QRectF& box)
{
    begin(box);
    star({0, 4}, 50, 21, 5, Ink::Gold);
    end();
}

// ---- suits ----

void EmblemPainter::cup()
{
    QPainterPath c(QPointF(-32, -36));
    c.lineTo(32, -36);
    c.cubicTo(32, -8, 18, 2, 6, 5);
    c.lineTo(6, 24);
    c.cubicTo(8, 32, 22, 36, 26, 44);
    c.lineTo(-26, 44);
    c.cubicTo(-22, 36, -8, 32, -6, 24);
    c.lineTo(-6, 5);
    c.cubicTo(-18, 2, -32, -8, -32, -36);
    c.closeSubpath();
    shape(c, Ink::Gold);
    shape(circle({0, -36}, 32, 7), Ink::Blue);
    shape(circle({0, 16}, 10, 4.5), Ink::Gold);
    dot({0, -16}, 6, Ink::Red);
}

void EmblemPainter::wand()
{
    QPainterPath staff(QPointF(-8, 48));
    staff.lineTo(8, 48);
    staff.lineTo(9, -36);
    staff.quadTo(0, -48, -9, -36);
    staff.closeSubpath();
    shape(leaf({-6, -20}, {-34, -42}, 9), Ink::Green);
    shape(leaf({7, 2}, {34, -18}, 9), Ink::Green);
    shape(leaf({-6, 22}, {-30, 8}, 8), Ink::Green);
    shape(staff, Ink::Brown);
    shape(leaf({0, -38}, {6, -54}, 5), Ink::Green);
    detail(line({-3, -20}, {-2, 36}), 0.6);
}

void EmblemPainter::pentacle()
{
    dot({0, 0}, 45, Ink::Gold);
    detail(circle({0, 0}, 37), 0.7);
    QPainterPath pent;
    for (int i = 0; i <= 5; ++i) {
        const double a = qDegreesToRadians(-90.0 + (i * 2 % 5) * 72.0);
        const QPointF pt(33 * std::cos(a), 33 * std::sin(a));
        if (i == 0)
            pent.moveTo(pt);
        else
            pent.lineTo(pt);
    }
    band(pent, 6, Ink::Red);
}

void EmblemPainter::sword()
{
    shape(polygon({{0, -54}, {10, -38}, {8, 16}, {-8, 16}, {-10, -38}}), Ink::Silver);
    detail(line({0, -38}, {0, 12}), 0.7);
    QPainterPath guard(QPointF(-26, 14));
    guard.quadTo(0, 20, 26, 14);
    guard.lineTo(24, 22);
    guard.quadTo(0, 27, -24, 22);
    guard.closeSubpath();
    shape(guard, Ink::Gold);
    shape(rect(-5, 24, 10, 16, 2), Ink::Red);
    dot({0, 44}, 7, Ink::Gold);
}

void EmblemPainter::suit(int group, const QRectF& box)
{
    begin(box);
    switch (group) {
    case Cups: cup(); break;
    case Wands: wand(); break;
    case Pentacles: pentacle(); break;
    case Swords: sword(); break;
    default: break;
    }
    end();
}

// ---- court ranks ----

void EmblemPainter::court(int rank, const QRectF& box)
{
    begin(box);
    switch (rank) {
    case King: {
        shape(crownPath(), Ink::Gold);
        shape(rect(-41, 12, 82, 15, 2), Ink::Gold);
        dot({-24, 19.5}, 4.5, Ink::Red);
        dot({0, 19.5}, 5, Ink::Blue);
        dot({24, 19.5}, 4.5, Ink::Red);
        for (QPointF pt : {QPointF(-44, -22), QPointF(-22, -30), QPointF(22, -30), QPointF(44, -22)})
            dot(pt, 4, Ink::White);
        QPainterPath cross = line({0, -40}, {0, -54});
        cross.addPath(line({-6, -48}, {6, -48}));
        band(cross, 4, Ink::Gold);
        break;
    }
    case Queen: {
        QPainterPath tiara(QPointF(-46, 22));
        tiara.quadTo(0, -58, 46, 22);
        tiara.quadTo(0, 2, -46, 22);
        tiara.closeSubpath();
        shape(tiara, Ink::Gold);
        for (int i = -3; i <= 3; ++i) {
            const double t = 0.5 + i * 0.13;
            const QPointF pt((1 - t) * (1 - t) * -46 + 2 * (1 - t) * t * 0 + t * t * 46,
                             (1 - t) * (1 - t) * 22 + 2 * (1 - t) * t * -58 + t * t * 22);
            dot(pt + QPointF(0, -3), i == 0 ? 0 : 3.5, Ink::White);
        }
        shape(heart({0, -6}, 10), Ink::Red);
        dot({-22, 4}, 3.5, Ink::Blue);
        dot({22, 4}, 3.5, Ink::Blue);
        dot({0, -27}, 4.5, Ink::White);
        break;
    }
    case Knight: {
        QPainterPath horse(QPointF(-24, 40));
        horse.lineTo(28, 40);
        horse.cubicTo(32, 10, 28, -22, 10, -36);
        horse.lineTo(9, -50);
        horse.lineTo(1, -40);
        horse.lineTo(-6, -48);
        horse.lineTo(-10, -35);
        horse.cubicTo(-24, -28, -36, -14, -42, -2);
        horse.cubicTo(-45, 6, -40, 13, -32, 12);
        horse.cubicTo(-24, 10, -18, 8, -12, 6);
        horse.cubicTo(-10, 16, -20, 26, -24, 40);
        horse.closeSubpath();
        shape(horse, Ink::White);
        QPainterPath mane(QPointF(8, -34));
        mane.cubicTo(24, -20, 26, 6, 24, 34);
        mane.lineTo(30, 34);
        mane.cubicTo(32, 6, 28, -22, 10, -36);
        mane.closeSubpath();
        shape(mane, Ink::Brown);
        band(polygon({{-32, 10}, {-12, -24}, {4, -20}}), 2.5, Ink::Red);
        dot({-14, -20}, 3.2, Ink::Black);
        dot({-37, 4}, 1.6, Ink::Black);
        shape(rect(-32, 38, 64, 10, 2), Ink::Red);
        break;
    }
    case Page: {
        shape(rect(-30, -32, 58, 62), Ink::White);
        shape(rect(-38, -42, 74, 11, 5.5), Ink::White);
        shape(rect(-38, 26, 74, 11, 5.5), Ink::White);
        detail(circle({-32, -36.5}, 2.5), 0.7);
        detail(circle({-32, 31.5}, 2.5), 0.7);
        for (int i = 0; i < 5; ++i)
            detail(line({-22, -20 + i * 9.0}, {i % 2 ? 10.0 : 16.0, -20 + i * 9.0}), 0.8);
        dot({14, 20}, 5, Ink::Red);
        shape(leaf({30, 44}, {46, -46}, 7), Ink::Sky);
        detail(line({31, 40}, {44, -36}), 0.6);
        break;
    }
    default: break;
    }
    end();
}

// ---- major arcana ----

void EmblemPainter::major(int arcanum, const QRectF& box)
{
    begin(box);
    switch (arcanum) {
    case Fool: { // the jester's cap
        auto horn = [](QPointF a, QPointF ca, QPointF tip, QPointF cb, QPointF b) {
            QPainterPath h(a);
            h.quadTo(ca, tip);
            h.quadTo(cb, b);
            h.closeSubpath();
            return h;
        };
        shape(horn({-34, 16}, {-48, 4}, {-46, -26}, {-20, -14}, {-8, 14}), Ink::Red);
        shape(horn({10, 14}, {22, -14}, {46, -26}, {48, 4}, {34, 16}), Ink::Blue);
        shape(horn({-12, 14}, {-14, -22}, {8, -46}, {14, -16}, {12, 14}), Ink::Gold);
        QPainterPath cap(QPointF(-38, 12));
        cap.quadTo(0, 4, 38, 12);
        cap.lineTo(36, 30);
        cap.quadTo(0, 22, -36, 30);
        cap.closeSubpath();
        shape(cap, Ink::Green);
        for (QPointF pt : {QPointF(-46, -26), QPointF(8, -46), QPointF(46, -26)})
            dot(pt, 5.5, Ink::Gold);
        for (double x : {-20.0, 0.0, 20.0})
            dot({x, 18 + std::abs(x) * 0.12}, 3, Ink::Red);
        break;
    }
    case Magician: {
        QPainterPath inf;
        for (int i = 0; i <= 96; ++i) {
            const double t = i * 2 * M_PI / 96;
            const double d = 1 + std::sin(t) * std::sin(t);
            const QPointF pt(42 * std::cos(t) / d, -22 + 42 * std::sin(t) * std::cos(t) / d);
            if (i == 0)
                inf.moveTo(pt);
            else
                inf.lineTo(pt);
        }
        band(inf, 7, Ink::Gold);
        band(line({-22, 44}, {18, 6}), 7, Ink::White);
        dot({18, 6}, 5, Ink::Gold);
        dot({-22, 44}, 5, Ink::Gold);
        break;
    }
    case HighPriestess: {
        shape(rect(-42, -30, 15, 72), Ink::Black);
        shape(rect(-46, -38, 23, 8, 1), Ink::Black);
        shape(rect(-46, 42, 23, 6, 1), Ink::Black);
        shape(rect(27, -30, 15, 72), Ink::White);
        shape(rect(23, -38, 23, 8, 1), Ink::White);
        shape(rect(23, 42, 23, 6, 1), Ink::White);
        shape(circle({0, -4}, 20).subtracted(circle({8, -10}, 17)), Ink::Sky);
        break;
    }
    case Empress: {
        QPainterPath venus = circle({0, -18}, 24);
        venus.addPath(line({0, 6}, {0, 46}));
        venus.addPath(line({-17, 28}, {17, 28}));
        band(venus, 9, Ink::Green);
        for (int i = 0; i < 5; ++i)
            star({-32 + i * 16.0, -48}, 5, 2.2, 5, Ink::Gold);
        break;
    }
    case Emperor: {
        QPainterPath cross = line({0, -16}, {0, -48});
        cross.addPath(line({-12, -36}, {12, -36}));
        band(cross, 7, Ink::Gold);
        const QPainterPath orb = circle({0, 14}, 30);
        shape(orb, Ink::Gold);
        shape(orb.intersected(rect(-32, 8, 64, 9)), Ink::Red);
        shape(orb.intersected(rect(-4.5, -18, 9, 26)), Ink::Red);
        dot({0, 12.5}, 3.5, Ink::Blue);
        break;
    }
    case Hierophant: {
        QPainterPath cross = line({0, -42}, {0, 48});
        cross.addPath(line({-10, -32}, {10, -32}));
        cross.addPath(line({-17, -18}, {17, -18}));
        cross.addPath(line({-24, -4}, {24, -4}));
        band(cross, 7, Ink::Gold);
        dot({0, -46}, 4.5, Ink::Gold);
        for (QPointF pt : {QPointF(-24, -4), QPointF(24, -4)})
            dot(pt, 3, Ink::Red);
        break;
    }
    case Lovers: {
        shape(heart({-13, -2}, 24), Ink::Red);
        shape(heart({15, 8}, 22), Ink::Purple);
        band(line({-44, 34}, {36, -30}), 3, Ink::Gold);
        shape(polygon({{44, -36}, {30, -32}, {40, -22}}), Ink::Gold);
        shape(leaf({-46, 36}, {-36, 26}, 6), Ink::White);
        break;
    }
    case Chariot: {
        QPainterPath canopy(QPointF(-42, -26));
        canopy.quadTo(0, -56, 42, -26);
        canopy.lineTo(42, -18);
        canopy.quadTo(0, -44, -42, -18);
        canopy.closeSubpath();
        band(line({-34, -24}, {-34, 6}), 4, Ink::Gold);
        band(line({34, -24}, {34, 6}), 4, Ink::Gold);
        shape(canopy, Ink::Blue);
        for (double x : {-22.0, 0.0, 22.0})
            star({x, x == 0 ? -37.0 : -34.0}, 4, 1.8, 5, Ink::Gold);
        for (double x : {-31.0, 31.0}) {
            dot({x, 36}, 12, Ink::Brown);
            detail(line({x - 10, 36}, {x + 10, 36}), 0.7);
            detail(line({x, 26}, {x, 46}), 0.7);
        }
        shape(rect(-38, 2, 76, 30, 3), Ink::Red);
        star({0, 17}, 11, 4.5, 5, Ink::Gold);
        break;
    }
    case Strength: {
        shape(starPath({0, 0}, 47, 36, 16, 0), Ink::Orange);
        dot({-20, -20}, 8, Ink::Gold);
        dot({20, -20}, 8, Ink::Gold);
        dot({0, 2}, 28, Ink::Gold);
        dot({-10, -4}, 3, Ink::Black);
        dot({10, -4}, 3, Ink::Black);
        shape(polygon({{-6, 6}, {6, 6}, {0, 13}}), Ink::Brown);
        QPainterPath mouth(QPointF(-8, 19));
        mouth.quadTo(-2, 22, 0, 13);
        mouth.quadTo(2, 22, 8, 19);
        detail(mouth, 0.8);
        break;
    }
    case Hermit: {
        detail(circle({0, -44}, 5), 1.4);
        shape(polygon({{-5, -39}, {5, -39}, {22, -24}, {-22, -24}}), Ink::Gold);
        shape(rect(-16, -24, 32, 44), Ink::White);
        star({0, -2}, 13, 7.5, 6, Ink::Gold);
        shape(rect(-21, 20, 42, 8, 1.5), Ink::Gold);
        shape(rect(-9, 28, 18, 6, 1.5), Ink::Gold);
        for (int i = 0; i < 6; ++i) {
            const double a = qDegreesToRadians(-150.0 + i * 60.0 + (i > 2 ? 60.0 : 0.0));
            detail(line({28 * std::cos(a), -2 + 28 * std::sin(a)}, {38 * std::cos(a), -2 + 38 * std::sin(a)}), 1.0);
        }
        break;
    }
    case WheelOfFortune: {
        QPainterPath spokes;
        for (int i = 0; i < 8; ++i) {
            const double a = qDegreesToRadians(i * 45.0 + 22.5);
            spokes.addPath(line({0, 0}, {38 * std::cos(a), 38 * std::sin(a)}));
        }
        band(spokes, 5, Ink::Brown);
        band(circle({0, 0}, 41), 9, Ink::Gold);
        detail(circle({0, 0}, 25), 0.8);
        dot({0, 0}, 9, Ink::Red);
        shape(polygon({{0, -44}, {-9, -56}, {9, -56}}), Ink::Blue);
        break;
    }
    case Justice: {
        QPainterPath frame = line({0, -36}, {0, 36});
        frame.addPath(line({-38, -28}, {38, -28}));
        band(frame, 5, Ink::Gold);
        shape(polygon({{-14, 34}, {14, 34}, {22, 46}, {-22, 46}}), Ink::Gold);
        dot({0, -40}, 5, Ink::Gold);
        for (double x : {-38.0, 38.0}) {
            detail(line({x, -28}, {x - 13, 6}), 0.8);
            detail(line({x, -28}, {x + 13, 6}), 0.8);
            QPainterPath pan(QPointF(x - 16, 6));
            pan.quadTo(x, 24, x + 16, 6);
            pan.closeSubpath();
            shape(pan, Ink::Silver);
        }
        break;
    }
    case HangedMan: {
        band(line({-34, -38}, {-34, 48}), 7, Ink::Green);
        band(line({34, -38}, {34, 48}), 7, Ink::Green);
        band(line({-42, -40}, {42, -40}), 7, Ink::Brown);
        detail(line({0, -38}, {0, -28}), 1.6);
        QPainterPath bent(QPointF(1, 2));
        bent.lineTo(15, -10);
        bent.lineTo(2, -21);
        band(bent, 7, Ink::Blue);
        band(line({0, -28}, {0, 4}), 8, Ink::Blue);
        shape(rect(-11, 0, 22, 26, 5), Ink::Red);
        band(circle({0, 36}, 13), 3, Ink::Gold);
        dot({0, 36}, 9, Ink::Flesh);
        break;
    }
    case Death: {
        QPainterPath bones = line({-40, 30}, {40, 46});
        bones.addPath(line({-40, 46}, {40, 30}));
        band(bones, 7, Ink::White);
        for (QPointF pt : {QPointF(-42, 28), QPointF(-42, 48), QPointF(42, 28), QPointF(42, 48)})
            dot(pt, 4.5, Ink::White);
        shape(circle({0, -12}, 31, 29).united(rect(-17, 0, 34, 32, 6)), Ink::White);
        shape(circle({-12, -8}, 8, 9), Ink::Black);
        shape(circle({12, -8}, 8, 9), Ink::Black);
        shape(polygon({{0, 4}, {5, 14}, {-5, 14}}), Ink::Black);
        QPainterPath teeth = line({-13, 24}, {13, 24});
        for (double x : {-8.0, -2.5, 2.5, 8.0})
            teeth.addPath(line({x, 19}, {x, 30}));
        detail(teeth, 0.8);
        break;
    }
    case Temperance: {
        band([] {
            QPainterPath stream(QPointF(-8, -30));
            stream.quadTo(20, -50, 22, 2);
            return stream;
        }(), 5, Ink::Sky);
        shape(moved(vasePath(), {-24, -16}, 50, 1.5), Ink::Gold);
        shape(moved(vasePath(), {22, 22}, 0, 1.5), Ink::Silver);
        star({-30, 36}, 7, 3, 5, Ink::Gold);
        break;
    }
    case Devil: {
        QPainterPath left(QPointF(-24, -18));
        left.quadTo(-44, -30, -36, -52);
        left.quadTo(-30, -32, -10, -22);
        left.closeSubpath();
        QPainterPath right(QPointF(24, -18));
        right.quadTo(44, -30, 36, -52);
        right.quadTo(30, -32, 10, -22);
        right.closeSubpath();
        shape(left, Ink::Black);
        shape(right, Ink::Black);
        QPainterPath face(QPointF(-28, -24));
        face.lineTo(28, -24);
        face.lineTo(24, 8);
        face.quadTo(14, 30, 0, 44);
        face.quadTo(-14, 30, -24, 8);
        face.closeSubpath();
        shape(face, Ink::Red);
        shape(polygon({{-20, -12}, {-5, -5}, {-17, -2}}), Ink::Gold);
        shape(polygon({{20, -12}, {5, -5}, {17, -2}}), Ink::Gold);
        QPainterPath grin(QPointF(-13, 14));
        grin.quadTo(0, 24, 13, 14);
        grin.addPath(line({-22, -18}, {-6, -12}));
        grin.addPath(line({22, -18}, {6, -12}));
        detail(grin, 1.2);
        break;
    }
    case Tower: {
        shape(polygon({{-19, 46}, {19, 46}, {15, -20}, {-15, -20}}), Ink::Silver);
        for (double x : {-17.0, -5.0, 7.0})
            shape(rect(x, -30, 10, 11), Ink::Silver);
        shape(rect(-5, -6, 10, 13, 4), Ink::Black);
        shape(rect(-7, 30, 14, 16, 6), Ink::Brown);
        shape(leaf({4, -2}, {18, -14}, 5), Ink::Orange);
        shape(leaf({-4, -2}, {-16, -12}, 5), Ink::Orange);
        shape(moved(crownPath(), {-30, -40}, -30, 0.32), Ink::Gold);
        shape(polygon({{48, -54}, {26, -36}, {34, -34}, {12, -18}, {18, -30}, {10, -32}, {30, -54}}), Ink::Gold);
        shape(rect(-40, 10, 7, 5), Ink::Silver);
        shape(rect(32, 20, 7, 5), Ink::Silver);
        break;
    }
    case Star: {
        QPainterPath water(QPointF(-50, 34));
        water.cubicTo(-30, 28, -20, 40, 0, 34);
        water.cubicTo(20, 28, 30, 40, 50, 34);
        water.lineTo(50, 48);
        water.lineTo(-50, 48);
        water.closeSubpath();
        shape(water, Ink::Blue);
        star({0, -10}, 36, 13, 8, Ink::Gold);
        for (QPointF pt : {QPointF(-36, -38), QPointF(36, -38), QPointF(-40, 2), QPointF(40, 2),
                           QPointF(-26, 22), QPointF(26, 22), QPointF(0, -50)})
            star(pt, 7, 2.8, 8, Ink::White);
        break;
    }
    case Moon: {
        for (double x : {-44.0, 30.0}) {
            shape(rect(x, 14, 14, 32), Ink::Silver);
            shape(rect(x - 2, 10, 18, 6), Ink::Silver);
            shape(rect(x + 4, 22, 6, 8, 3), Ink::Black);
        }
        shape(circle({-2, -16}, 30).subtracted(circle({12, -24}, 26)), Ink::Gold);
        for (QPointF pt : {QPointF(-6, 22), QPointF(6, 32), QPointF(16, 18)})
            shape(leaf(pt + QPointF(0, -5), pt + QPointF(0, 4), 3.5), Ink::Red);
        break;
    }
    case Sun: {
        for (int i = 0; i < 16; ++i) {
            const double a = qDegreesToRadians(i * 22.5 - 90);
            const double r = i % 2 ? 38 : 48;
            const double w = qDegreesToRadians(8.0);
            shape(polygon({{22 * std::cos(a - w), 22 * std::sin(a - w)},
                           {r * std::cos(a), r * std::sin(a)},
                           {22 * std::cos(a + w), 22 * std::sin(a + w)}}),
                  i % 2 ? Ink::Gold : Ink::Orange);
        }
        dot({0, 0}, 25, Ink::Gold);
        dot({-9, -5}, 2.8, Ink::Brown);
        dot({9, -5}, 2.8, Ink::Brown);
        QPainterPath smile(QPointF(-10, 7));
        smile.quadTo(0, 15, 10, 7);
        detail(smile, 1.1);
        break;
    }
    case Judgement: {
        shape(polygon({{-26, -28}, {-6, -12}, {-6, 24}, {-26, 8}}), Ink::White);
        QPainterPath cross = line({-16, -10}, {-16, 14});
        cross.addPath(line({-24, -2}, {-8, 10}));
        band(cross, 3, Ink::Red);
        band(line({-42, -42}, {16, 4}), 5, Ink::Gold);
        const QPointF d(0.78, 0.62), n(-0.62, 0.78);
        const QPointF a(14, 2), b = a + d * 26;
        QPainterPath bell(a + n * 3);
        bell.quadTo(a + d * 18 + n * 5, b + n * 15);
        bell.lineTo(b - n * 15);
        bell.quadTo(a + d * 18 - n * 5, a - n * 3);
        bell.closeSubpath();
        shape(bell, Ink::Gold);
        dot({-44, -44}, 4, Ink::Gold);
        for (int i = 1; i <= 2; ++i) {
            QPainterPath wave(b + d * (6.0 * i) + n * (10.0 + 4 * i));
            wave.quadTo(b + d * (10.0 * i + 2), b + d * (6.0 * i) - n * (10.0 + 4 * i));
            detail(wave, 1.0);
        }
        break;
    }
    case World: {
        shape(circle({0, 0}, 26, 38), Ink::Sky);
        band(circle({0, 0}, 31, 43), 5, Ink::Green);
        for (int i = 0; i < 22; ++i) {
            const double t = i * 2 * M_PI / 22 + 0.12;
            const QPointF pt(31 * std::cos(t), 43 * std::sin(t));
            const QPointF tan(-31 * std::sin(t), 43 * std::cos(t));
            const QPointF out(43 * std::cos(t), 31 * std::sin(t));
            const double tl = std::hypot(tan.x(), tan.y()), ol = std::hypot(out.x(), out.y());
            const double side = i % 2 ? 1 : -1;
            shape(leaf(pt, pt + tan / tl * 11 + out / ol * 6 * side, 4), Ink::Green);
        }
        for (double y : {-44.0, 44.0}) {
            QPainterPath ribbon = line({-8, y - 7}, {8, y + 7});
            ribbon.addPath(line({8, y - 7}, {-8, y + 7}));
            band(ribbon, 4.5, Ink::Red);
        }
        star({0, -2}, 14, 5.5, 5, Ink::Gold);
        break;
    }
    default: break;
    }
    end();
}
