#include "Events.h"

#include "Desktop.h"
#include "Forms.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

int DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return Forms::Count();
}

void RepaintNow(QWidget* window)
{
    // repaint() only fills the backing store; the display server gets it,
    // and sends back what needs painting, when the requests are flushed.
    QPointer<QWidget> alive(window);
    window->repaint();
    QGuiApplication::sync();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!alive)
        return;
    window->repaint();
    QGuiApplication::sync();
}

void Sleep(int milliseconds) { desktop().Sleep(milliseconds); }

namespace {
class InputDropper : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!event->isInputEvent())
            return false;
        return !inModalWindow(watched);
    }

private:
    static bool inModalWindow(QObject* receiver)
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return false;
        if (auto* widget = qobject_cast<QWidget*>(receiver))
            return widget->window() == modal;
        if (auto* window = qobject_cast<QWindow*>(receiver))
            return window == modal->windowHandle();
        return false;
    }
};
} // namespace

UserInputBlock::UserInputBlock() : m_filter(new InputDropper) { QCoreApplication::instance()->installEventFilter(m_filter); }

UserInputBlock::~UserInputBlock()
{
    // What the user did meanwhile may still be on its way from the display
    // server: fetch it and let the filter drop it.
    QGuiApplication::sync();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    delete m_filter;
}
