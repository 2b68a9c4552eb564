#include "App.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <filesystem>

namespace {
QString g_path;
bool g_pathUsable = true;
QString g_command;
QString g_exeName = "arcavell";
QString g_exeFile = "arcavell";
} // namespace

QString App::Path() { return g_path; }

void App::SetPath(const QString& path)
{
    g_path = path;
    g_pathUsable = true;
}

void App::SetPathFromSystem(const QByteArray& folder)
{
    g_path = QFile::decodeName(folder);
    g_pathUsable = QFile::encodeName(g_path) == folder;
}

bool App::PathIsUsable() { return g_pathUsable; }

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

namespace {
// The executable's folder as the system names it, byte for byte.
QByteArray executableFolder()
{
    std::error_code failed;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed || !exe.is_absolute())
        return QFile::encodeName(QCoreApplication::applicationDirPath());
    return QByteArray::fromStdString(exe.parent_path().native());
}
} // namespace

void App::InitFromProcess()
{
    SetPathFromSystem(executableFolder());
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
