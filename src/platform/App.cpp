#include "App.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace {
QString g_path;
QString g_command;
QString g_exeName = "arcavell";
QString g_exeFile = "arcavell";
} // namespace

QString App::Path() { return g_path; }
void App::SetPath(const QString& path) { g_path = path; }

QString App::FilePath(const QString& name)
{
    QString relative = name;
    relative.replace('\\', '/');
    while (relative.startsWith('/'))
        relative.remove(0, 1);
    return g_path + "/" + relative;
}

QString App::EXEName() { return g_exeName; }

QString App::ExeFile() { return g_exeFile; }
void App::SetExeFile(const QString& fileName) { g_exeFile = fileName; }

QString App::Title()
{
    QString title = g_exeName;
    if (!title.isEmpty())
        title[0] = title[0].toUpper();
    return title;
}

QString App::Command() { return g_command; }
void App::SetCommand(const QString& command) { g_command = command; }

void App::InitFromProcess()
{
    g_path = QCoreApplication::applicationDirPath();
    const QFileInfo file(QCoreApplication::applicationFilePath());
    if (!file.completeBaseName().isEmpty())
        g_exeName = file.completeBaseName();
    if (!file.fileName().isEmpty())
        g_exeFile = file.fileName();
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    g_command = args.join(' ');
}
