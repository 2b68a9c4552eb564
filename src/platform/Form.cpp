#include "Form.h"

#include "Desktop.h"
#include "Forms.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QEventLoop>

Form::Form(const QString& name, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() = default;

void Form::Show(int modal, Form* owner)
{
    if (!IsLoaded())
        return;
    if (modal == vbModal) {
        m_owner = owner;
        m_modal = true;
        if (owner)
            setParent(owner, windowFlags() | Qt::Dialog);
        setWindowModality(Qt::ApplicationModal);
        show();
        raise();
        desktop().RunModal(*this);
        return;
    }
    show();
    raise();
    activateWindow();
}

void Form::Hide() { hide(); }

void Form::SetVisible(bool visible)
{
    if (visible)
        Show();
    else
        Hide();
}

void Form::SetClientSizeTwips(double width, double height)
{
    resize(Twips::toPixels(width), Twips::toPixels(height));
}

void Form::closeEvent(QCloseEvent* event)
{
    if (IsLoaded()) {
        // The close box: the window's unload handlers decide.
        event->ignore();
        FormRegistry::instance().Unload(this, vbFormControlMenu);
        return;
    }
    event->accept();
}

void Form::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (m_modal)
        LeaveModalLoop();
}

void Form::LeaveModalLoop()
{
    if (m_modalLoop)
        m_modalLoop->quit();
}
