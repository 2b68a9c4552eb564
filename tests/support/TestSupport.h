#pragma once
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace TestSupport {
// Points HOME and the XDG folders at a temporary folder for the whole run;
// call before the application object exists.
void isolateUserFolders();
// Installs the scripted desktop (see ScriptedDesktop.h).
void installScriptedDesktop();

// Unloads every window, lets deferred deletions happen, and clears the
// scripted desktop, the stored settings and the reading state.
void resetSession();
// Handles pending events, deferred deletions included.
void settle();

// The user's settings file of the program, in the isolated home.
QString settingsFile();
} // namespace TestSupport

// A fresh copy of the built program folder in a temporary folder, made the
// program folder of the running code for the copy's lifetime.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // Removes a file or a folder of the copy.
    void remove(const QString& name);

private:
    QTemporaryDir m_dir;
    QString m_previousPath;
};
