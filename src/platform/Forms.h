#pragma once
#include "Form.h"

#include <QList>
#include <QObject>
#include <QPointer>

// The collection of loaded windows. A window is loaded by the first reference
// through its accessor and stays in the collection until it is unloaded; the
// program ends when the collection becomes empty (and stays empty until the
// current event has been handled).
class FormRegistry : public QObject {
    Q_OBJECT
public:
    static FormRegistry& instance();

    // Loads a new window: puts it into the collection, then runs Form_Load.
    void Load(Form* form);
    // Unloads a loaded window; false when it refused (cancel in its handlers).
    bool Unload(Form* form, int unloadMode);
    // Unloads every loaded window, ignoring refusals and errors.
    void UnloadAll();

    QList<Form*> Loaded() const;
    Form* Find(const QString& name) const;
    int Count() const { return static_cast<int>(m_loaded.size()); }

    // How often the program has ended (every window gone) in this process.
    int EndCount() const { return m_endCount; }

signals:
    void ProgramEnded();

private:
    void scheduleEndCheck();
    QList<QPointer<Form>> m_loaded;
    int m_endCount = 0;
    bool m_endCheckPending = false;
};

namespace Forms {
// The loaded window of type T, loading it when it is not loaded.
template <class T>
T& Instance()
{
    static QPointer<T> current;
    if (current.isNull() || !current->IsLoaded()) {
        T* form = new T();
        current = form;
        FormRegistry::instance().Load(form);
        return *form;
    }
    return *current;
}

inline bool IsLoaded(const QString& name) { return FormRegistry::instance().Find(name) != nullptr; }
inline int Count() { return FormRegistry::instance().Count(); }
} // namespace Forms

// Unload form: runs its unload handlers and destroys it.
bool Unload(Form& form);
