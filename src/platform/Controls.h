#pragma once
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <functional>

// A label that acts on a click (the program's link and advertisement labels).
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text = QString(), QWidget* parent = nullptr);
    // Blue, underlined, with a pointing hand: how the program shows a web link.
    void ShowAsLink();

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A tab control whose current tab can be set from code like a click, and
// whose tabs can be closed (disabled) and opened.
class TabControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);
    int Tab() const { return currentIndex(); }
    void SetTab(int tab) { setCurrentIndex(tab); }
    bool TabEnabled(int tab) const { return isTabEnabled(tab); }
    void SetTabEnabled(int tab, bool enabled) { setTabEnabled(tab, enabled); }

signals:
    // The current tab changed, by the user or from code.
    void Click(int previousTab);

private:
    int m_previous = -1;
};

// A picture box: shows a picture at its natural size from its top left
// corner and, with AutoSize (the default), sizes itself to it; without
// AutoSize it keeps its size and shows what fits.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    QImage Picture() const { return m_picture; }
    // An empty picture clears the box; the box keeps its size then.
    void SetPicture(const QImage& picture);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize) { m_autoSize = autoSize; }

private:
    QImage m_picture;
    bool m_autoSize = true;
};

// LoadPicture: a JPEG, BMP or GIF file as a picture; an empty picture when
// the file is missing or unreadable.
QImage LoadPicture(const QString& path);

// Adds a menu item whose click runs handler while context lives.
QAction* AddMenuItem(QMenu* menu, const QString& caption, QObject* context, const std::function<void()>& handler);

// An item of the menu bar itself that acts on a click.
QAction* AddMenuBarItem(QMenuBar* bar, const QString& caption, QObject* context, const std::function<void()>& handler);

// The "&Help" menu the main windows share: online help, the maker's site,
// the check for an update and the about box, each running its handler.
struct HelpMenuItems {
    QMenu* menu;
    QAction* online;
    QAction* visit;
    QAction* update;
    QAction* about;
};
HelpMenuItems AddHelpMenu(QMenuBar* bar, QObject* context, const std::function<void()>& online,
                          const std::function<void()>& visit, const std::function<void()>& update,
                          const std::function<void()>& about);

// Colours of a control: one colour role, or the filled background.
void SetColor(QWidget* w, QPalette::ColorRole role, const QColor& color);
void SetBackground(QWidget* w, const QColor& color);

// The program's standard font: Verdana where it is installed, a sans serif otherwise.
QFont VerdanaFont(double pointSize = 8.25, bool bold = false);
