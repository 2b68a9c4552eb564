#include "Controls.h"

#include <QImageReader>
#include <QMouseEvent>

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setWordWrap(true);
}

void LinkLabel::ShowAsLink()
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

TabControl::TabControl(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = m_previous;
        m_previous = index;
        emit Click(previous);
    });
}

QFont VerdanaFont(double pointSize, bool bold)
{
    QFont f("Verdana");
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

PictureBox::PictureBox(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::SetPicture(const QImage& picture)
{
    m_picture = picture;
    if (picture.isNull()) {
        clear();
        return;
    }
    setPixmap(QPixmap::fromImage(picture));
    if (m_autoSize)
        resize(picture.size());
}

QImage LoadPicture(const QString& path)
{
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

QAction* AddMenuItem(QMenu* menu, const QString& caption, QObject* context, const std::function<void()>& handler)
{
    QAction* a = menu->addAction(caption);
    QObject::connect(a, &QAction::triggered, context, handler);
    return a;
}

QAction* AddMenuBarItem(QMenuBar* bar, const QString& caption, QObject* context, const std::function<void()>& handler)
{
    QAction* a = bar->addAction(caption);
    QObject::connect(a, &QAction::triggered, context, handler);
    return a;
}

HelpMenuItems AddHelpMenu(QMenuBar* bar, QObject* context, const std::function<void()>& online,
                          const std::function<void()>& visit, const std::function<void()>& update,
                          const std::function<void()>& about)
{
    HelpMenuItems items;
    items.menu = bar->addMenu("&Help");
    items.online = AddMenuItem(items.menu, "&Online Help", context, online);
    items.visit = AddMenuItem(items.menu, "&Visit Us Online", context, visit);
    items.menu->addSeparator();
    items.update = AddMenuItem(items.menu, "Check for Software &Update", context, update);
    items.menu->addSeparator();
    items.about = AddMenuItem(items.menu, "&About Software", context, about);
    return items;
}

void SetColor(QWidget* w, QPalette::ColorRole role, const QColor& color)
{
    QPalette p = w->palette();
    p.setColor(role, color);
    w->setPalette(p);
}

void SetBackground(QWidget* w, const QColor& color)
{
    SetColor(w, QPalette::Window, color);
    w->setAutoFillBackground(true);
}
