#include "Autostart.h"

#include "SaveFile.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <cerrno>
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

// Whether the text is what some path's bytes say in UTF-8.
bool isUtf8Path(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = strict.decode(bytes);
    return !strict.hasError() && decoded == path;
}

// Why an entry cannot name this program, or empty when it can: an entry's
// values hold no control characters.
QString unwritable(const QString& program)
{
    for (QChar c : program)
        if (c.category() == QChar::Other_Control)
            return "The program's path holds a line break or another control character, "
                   "which a start-up entry cannot hold.";
    if (!isUtf8Path(program))
        return "The program's path is not valid UTF-8 text, which a start-up entry requires.";
    return {};
}

// The entry's [Desktop Entry] group switches it off.
bool switchedOff(const QByteArray& text)
{
    bool inGroup = false;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!inGroup || eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        if ((key == "Hidden" && (value == "true" || value == "1")) ||
            (key == "X-GNOME-Autostart-enabled" && (value == "false" || value == "0")))
            return true;
    }
    return false;
}

enum class Entry { Absent, On, Off };

// What the entry at path, its links followed, is. Anything but a regular
// file counts as switched off, and so does one that cannot be read: it is
// left as it is. Nothing here waits on a pipe or a device.
Entry entryState(const QString& path, int* error = nullptr)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        const int failure = errno;
        if (error && failure != ENOENT && failure != ENOTDIR && failure != ELOOP)
            *error = failure;
        // A link that leads nowhere, or round in a loop, is left alone too.
        struct stat link {};
        return ::lstat(native.constData(), &link) == 0 ? Entry::Off : Entry::Absent;
    }
    // An entry is a few lines; more is not read.
    QByteArray text;
    if (!ReadRegularFile(path, &text, 64 * 1024))
        return Entry::Off;
    return switchedOff(text) ? Entry::Off : Entry::On;
}

// One argument of an Exec line: quoted, with the characters that a quoted
// argument must escape, then the backslashes doubled as a desktop entry's
// string values require and "%" doubled so that it is no field code.
QString quotedArgument(const QString& argument)
{
    QString escaped;
    for (QChar c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    escaped = '"' + escaped + '"';
    return escaped.replace('\\', "\\\\").replace('%', "%%");
}

// GLib's launcher looks for the Exec line's first word as it stands, before
// "%%" is read as "%", so a program whose path holds a "%" is started by the
// shell, which gets the path as an argument ($0), never as command text.
const QString ThroughTheShell = R"(/bin/sh -c "exec \\"\\$0\\" \\"\\$@\\"" )";
} // namespace

QString Autostart::EntryPath(const QString& name) { return folder() + "/" + name + ".desktop"; }

bool Autostart::EntryExists(const QString& name)
{
    return entryState(EntryPath(name)) == Entry::On;
}

QString Autostart::ExecCommand(const QString& program, const QString& arguments)
{
    const QString command = quotedArgument(program) + (arguments.isEmpty() ? QString() : " " + arguments);
    return program.contains('%') ? ThroughTheShell + command : command;
}

Autostart::Result Autostart::Write(const QString& name, const QString& program, const QString& arguments)
{
    if (const QString why = unwritable(program); !why.isEmpty())
        return {EINVAL, false, why};
    if (const int error = makeFolder(folder()))
        return {error, true, {}};
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Exec=%2\n"
                                         "Terminal=false\n")
                              .arg(QString(name).replace('\\', "\\\\"), ExecCommand(program, arguments));
    int error = 0;
    QString reason;
    if (WriteFileAtomically(EntryPath(name), entry.toUtf8(), &reason, &error))
        return {};
    // The system's number says why, but for an entry the writer refuses
    // (no regular file), which is left as it is.
    if (error == EINVAL)
        return {error, false, "The start-up entry " + EntryPath(name) + " cannot be written. " + reason};
    return {error, false, {}};
}

Autostart::Result Autostart::Remove(const QString& name)
{
    const QString path = EntryPath(name);
    int error = 0;
    // No entry, or no folder to hold one: nothing to remove.
    if (entryState(path, &error) != Entry::On)
        return {error, false, {}};
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT && errno != ENOTDIR)
        return {errno, false, {}};
    return {};
}
