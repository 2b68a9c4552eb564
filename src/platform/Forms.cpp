#include "Forms.h"

#include <QPixmapCache>
#include <QTimer>

FormRegistry& FormRegistry::instance()
{
    static FormRegistry registry;
    return registry;
}

void FormRegistry::Load(Form* form)
{
    m_loaded.append(form);
    form->m_state = Form::State::Loading;
    form->Form_Load();
    if (form->m_state == Form::State::Loading)
        form->m_state = Form::State::Loaded;
}

bool FormRegistry::Unload(Form* form, int unloadMode)
{
    if (!form || !form->IsLoaded())
        return true;
    const Form::State before = form->m_state;
    form->m_state = Form::State::Unloading;
    int cancel = 0;
    form->Form_QueryUnload(cancel, unloadMode);
    if (cancel == 0)
        form->Form_Unload(cancel);
    if (cancel != 0) {
        form->m_state = before;
        return false;
    }
    form->m_state = Form::State::Unloaded;
    m_loaded.removeAll(QPointer<Form>(form));
    form->LeaveModalLoop();
    form->hide();
    if (QMdiSubWindow* sub = form->MdiSubWindow()) {
        sub->hide();
        sub->deleteLater(); // takes the window with it
    } else {
        form->deleteLater();
    }
    // The style caches its control pictures under the palettes of the
    // window's controls, which go with it: without this, every window
    // loaded afresh would leave its own set behind.
    QPixmapCache::clear();
    if (m_loaded.isEmpty())
        scheduleEndCheck();
    return true;
}

void FormRegistry::UnloadAll()
{
    const QList<QPointer<Form>> snapshot = m_loaded;
    for (const QPointer<Form>& form : snapshot) {
        if (form && form->IsLoaded()) {
            try {
                Unload(form, vbFormCode);
            } catch (...) {
                // A window that cannot be unloaded stays; go on with the next.
            }
        }
    }
    if (m_loaded.isEmpty())
        scheduleEndCheck();
}

QList<Form*> FormRegistry::Loaded() const
{
    QList<Form*> out;
    for (const QPointer<Form>& f : m_loaded)
        if (f)
            out << f.data();
    return out;
}

Form* FormRegistry::Find(const QString& name) const
{
    for (const QPointer<Form>& f : m_loaded)
        if (f && f->Name() == name && f->IsLoaded())
            return f.data();
    return nullptr;
}

void FormRegistry::scheduleEndCheck()
{
    if (m_endCheckPending)
        return;
    m_endCheckPending = true;
    // The program ends only if no window is loaded once the current handler
    // has finished: a handler may unload everything and then show a window.
    QTimer::singleShot(0, this, [this] {
        m_endCheckPending = false;
        if (m_loaded.isEmpty()) {
            ++m_endCount;
            emit ProgramEnded();
        }
    });
}

bool Unload(Form& form) { return FormRegistry::instance().Unload(&form, vbFormCode); }
