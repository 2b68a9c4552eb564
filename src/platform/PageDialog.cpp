#include "Desktop.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {
const QEvent::Type EndDialogs = QEvent::Type(QEvent::registerEventType());

// Ends a dialog's run when the widget it belongs to is hidden or its
// dialogs are ended.
class EndsWithOwner : public QObject {
public:
    EndsWithOwner(QWidget* owner, QEventLoop* run) : m_run(run) { owner->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide || event->type() == EndDialogs)
            m_run->quit();
        return false;
    }

private:
    QEventLoop* m_run;
};

struct PageDialogBox {
    QDialog* box;
    QLineEdit* text = nullptr;
    QCheckBox* stop = nullptr;
};

PageDialogBox makeBox(const PageDialog& dialog, QWidget* parent)
{
    PageDialogBox made{new QDialog(parent)};
    QDialog* box = made.box;
    box->setWindowTitle(dialog.title);
    auto* column = new QVBoxLayout(box);
    // The page's text is shown as text, never as markup.
    auto* message = new QLabel(box);
    message->setTextFormat(Qt::PlainText);
    message->setText(dialog.message);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(message);
    if (dialog.kind == PageDialog::Prompt) {
        made.text = new QLineEdit(dialog.text, box);
        column->addWidget(made.text);
    }
    if (dialog.offerToStop) {
        made.stop = new QCheckBox(StopPageDialogs, box);
        column->addWidget(made.stop);
    }
    auto* buttons = new QDialogButtonBox(dialog.kind == PageDialog::Alert
                                             ? QDialogButtonBox::Ok
                                             : QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                         box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::reject);
    column->addWidget(buttons);
    return made;
}
} // namespace

void EndPageDialogs(QWidget* owner)
{
    QEvent end(EndDialogs);
    QCoreApplication::sendEvent(owner, &end);
}

bool RealDesktop::ShowPageDialog(PageDialog& dialog, QWidget* owner)
{
    if (!owner || !owner->isVisible())
        return false;
    const QPointer<QWidget> view(owner);
    const PageDialogBox made = makeBox(dialog, owner->window());
    const QPointer<QDialog> box(made.box);
    // Not modal: every window, the page's own included, can be closed while
    // the box waits for its answer.
    QEventLoop run;
    QObject::connect(made.box, &QDialog::finished, &run, &QEventLoop::quit);
    QObject::connect(made.box, &QObject::destroyed, &run, &QEventLoop::quit);
    QObject::connect(owner, &QObject::destroyed, &run, &QEventLoop::quit);
    const EndsWithOwner watch(owner, &run);
    made.box->show();
    run.exec();
    if (!box)
        return false;
    const bool answered = view && view->isVisible() && box->result() == QDialog::Accepted;
    if (made.stop)
        dialog.stopped = made.stop->isChecked();
    if (answered && made.text)
        dialog.text = made.text->text();
    delete box;
    return answered;
}
