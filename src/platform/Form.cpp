#include "Form.h"

#include "Desktop.h"
#include "Forms.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QScopedValueRollback>

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
    if (m_subWindow) {
        show();
        m_subWindow->show();
        m_subWindow->raise();
        if (QWidget* frame = m_subWindow->window())
            frame->show();
        return;
    }
    show();
    raise();
    activateWindow();
}

void Form::Hide()
{
    if (m_subWindow)
        m_subWindow->hide();
    else
        hide();
}

void Form::MakeMdiChild(QMdiArea* area)
{
    m_subWindow = area->addSubWindow(this);
    m_subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    m_subWindow->hide();
}

void Form::MoveTwips(double left, double top)
{
    QWidget* target = m_subWindow ? static_cast<QWidget*>(m_subWindow) : this;
    target->move(Twips::toPixels(left), Twips::toPixels(top));
}

void Form::SetChildSizeTwips(double width, double height)
{
    if (!m_subWindow || !m_subWindow->mdiArea())
        return;
    m_childSize = QSize(Twips::toPixels(width), Twips::toPixels(height));
    m_subWindow->mdiArea()->viewport()->installEventFilter(this);
    m_subWindow->installEventFilter(this);
    fitChildInArea();
}

void Form::fitChildInArea()
{
    QMdiArea* area = m_subWindow ? m_subWindow->mdiArea() : nullptr;
    if (!area || m_subWindow->isMaximized() || m_subWindow->isMinimized())
        return;
    const QSize room = area->viewport()->size();
    if (room.isEmpty())
        return;
    QRect frame(m_subWindow->pos(), m_childSize.boundedTo(room));
    frame.moveLeft(qBound(0, frame.left(), room.width() - frame.width()));
    frame.moveTop(qBound(0, frame.top(), room.height() - frame.height()));
    const QScopedValueRollback fitting(m_fittingChild, true);
    m_subWindow->setGeometry(frame);
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && m_subWindow) {
        if (m_subWindow->mdiArea() && watched == m_subWindow->mdiArea()->viewport())
            fitChildInArea();
        else if (watched == m_subWindow && !m_fittingChild && m_subWindow->isVisible() && !m_subWindow->isMaximized()
                 && !m_subWindow->isMinimized())
            m_childSize = m_subWindow->size();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form::SetVisible(bool visible)
{
    if (visible)
        Show();
    else
        Hide();
}

void Form::SetClientSizeTwips(double width, double height)
{
    m_clientSize = QSize(Twips::toPixels(width), Twips::toPixels(height));
    m_clientSizePending = !isVisible();
    applyClientSize();
}

void Form::applyClientSize()
{
    int menuHeight = 0;
    if (QWidget* bar = menuWidget(); bar && !bar->isHidden()) {
        bar->ensurePolished();
        menuHeight = bar->heightForWidth(m_clientSize.width());
        if (menuHeight < 0)
            menuHeight = bar->sizeHint().height();
    }
    resize(m_clientSize.width(), m_clientSize.height() + menuHeight);
}

void Form::setVisible(bool visible)
{
    if (visible && m_clientSizePending) {
        m_clientSizePending = false;
        applyClientSize();
    }
    QMainWindow::setVisible(visible);
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
