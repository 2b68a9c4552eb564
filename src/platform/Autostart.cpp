#include "Autostart.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString folder() { return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart"; }

// mkdir -p, keeping the error number of the first step that fails.
int makeFolder(const QString& path)
{
    const QStringList parts = path.split('/', Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current += "/" + part;
        const QByteArray native = QFile::encodeName(current);
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

// Writes a new file beside the entry and renames it into place, so that an
// entry is never left half-written.
int writeWhole(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".new";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    qsizetype done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += n;
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.constData());
    return error;
}

// One argument of an Exec line: quoted, with the characters that a quoted
// argument must escape, then the backslashes doubled as a desktop entry's
// string values require; "%" is doubled so it is no field code.
QString quotedArgument(const QString& argument)
{
    QString escaped;
    for (QChar c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    escaped = '"' + escaped + '"';
    escaped.replace('\\', "\\\\");
    escaped.replace('%', "%%");
    return escaped;
}
} // namespace

QString Autostart::EntryPath(const QString& name) { return folder() + "/" + name + ".desktop"; }

bool Autostart::EntryExists(const QString& name) { return QFileInfo::exists(EntryPath(name)); }

QString Autostart::ExecCommand(const QString& program, const QString& arguments)
{
    return quotedArgument(program) + (arguments.isEmpty() ? QString() : " " + arguments);
}

Autostart::Result Autostart::Write(const QString& name, const QString& programFolder, const QString& arguments)
{
    if (const int error = makeFolder(folder()))
        return {error, true};
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Exec=%2\n"
                                         "Terminal=false\n")
                              .arg(name, ExecCommand(programFolder + "/" + name, arguments));
    return {writeWhole(EntryPath(name), entry.toUtf8()), false};
}

Autostart::Result Autostart::Remove(const QString& name)
{
    // No entry, or no folder to hold one: nothing to remove.
    if (::unlink(QFile::encodeName(EntryPath(name)).constData()) != 0 && errno != ENOENT && errno != ENOTDIR)
        return {errno, false};
    return {};
}
