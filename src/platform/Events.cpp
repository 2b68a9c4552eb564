#include "Events.h"

#include "Desktop.h"
#include "Forms.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

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
