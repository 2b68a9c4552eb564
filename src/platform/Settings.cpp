#include "Settings.h"

#include "MsgBox.h"
#include "SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool g_failureTold = false;

// One file per application name in the user's configuration folder,
// ~/.config/Arcavell/<appName>.ini, and no other file read besides it.
QString settingsFile(const QString& appName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Arcavell/" + appName +
           ".ini";
}

QString shown(const QString& file) { return QDir::toNativeSeparators(file); }

void tellOnce(const QString& text)
{
    if (g_failureTold)
        return;
    g_failureTold = true;
    MsgBox(text, vbExclamation);
}

void tellNotSaved(const QString& file, const QString& reason)
{
    tellOnce("Settings cannot be saved in " + shown(file) + ":\r" + reason +
             ".\rChanges to the settings will not be kept.");
}

// What lies at a path when it is neither a regular file nor missing: "a
// folder", "a named pipe", ...; empty otherwise. Links are followed when
// follow is set.
QString oddNodeAt(const QString& path, bool follow)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if ((follow ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info)) != 0 ||
        S_ISREG(info.st_mode))
        return {};
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return QStringLiteral("a device");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("a symbolic link");
    return QStringLiteral("a special file");
}

// The store opens its file without looking at what it is, and a named pipe
// or a device would keep it waiting: such a node is not read, nor replaced.
bool readable(const QString& file)
{
    const QString odd = oddNodeAt(file, true);
    if (odd.isEmpty())
        return true;
    tellOnce("Settings cannot be read from " + shown(file) + ":\rIt is " + odd +
             ", not a regular file.\rThe default settings are used, and changes to the settings will not be kept.");
    return false;
}

// The store's write waits for its lock file (the settings file's name with
// ".lock") for as long as it cannot make it there: with anything else than
// a regular file in the way, for ever.
bool writeLockPossible(const QString& file)
{
    const QString lock = file + ".lock";
    const QString odd = oddNodeAt(lock, false);
    if (odd.isEmpty())
        return true;
    tellNotSaved(file, "Its lock file " + shown(lock) + " is " + odd + ", not a regular file");
    return false;
}

// A regular file's bytes; nothing for anything else, which is not waited for.
QByteArray regularFileContents(const QString& path)
{
    QByteArray bytes;
    return ReadRegularFile(path, &bytes) ? bytes : QByteArray();
}

// Settings the store would not write back as they are: lines it cannot
// read (a section without its closing bracket, a line without "="), or
// bytes that are no text (control characters, broken UTF-8).
bool isDamaged(QSettings& s, const QByteArray& bytes)
{
    (void)s.allKeys(); // the store reads each section only when asked for
    if (s.status() == QSettings::FormatError)
        return true;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return true;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError();
}

// Keeps the damaged file's bytes beside it before the store rewrites it,
// once: a copy that holds them already is not made again.
bool keepAside(const QString& file, const QByteArray& bytes)
{
    QString reason;
    const KeptCopy copy = KeepCopyBeside(file, ".damaged", bytes, &reason);
    if (copy.path.isEmpty()) {
        tellNotSaved(file, reason);
        return false;
    }
    if (copy.made)
        MsgBox("The settings file " + shown(file) + " was damaged.\rA copy of it was kept as " + shown(copy.path) + ".",
               vbExclamation);
    return true;
}

// Why the settings file cannot be written, in the system's words: the store
// keeps no reason of its own, so the steps of its write are tried again
// (the file opened for writing, a new file made beside it for the swap).
QString whyNotWritten(const QString& file)
{
    QDir().mkpath(QFileInfo(file).path());
    const QByteArray name = QFile::encodeName(file);
    const bool existed = QFileInfo::exists(file);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    if (!existed)
        ::unlink(name.constData());
    QByteArray probe = QFile::encodeName(QFileInfo(file).path() + "/.settings-XXXXXX");
    const int tmp = ::mkstemp(probe.data());
    if (tmp < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::close(tmp);
    ::unlink(probe.constData());
    return QStringLiteral("The file could not be written");
}

// Makes a change in the store and writes it. A damaged file is kept aside
// first; a change that was not written is told once a run.
void change(const QString& appName, const std::function<void(QSettings&)>& edit)
{
    const QString file = settingsFile(appName);
    if (!readable(file) || !writeLockPossible(file))
        return;
    const QByteArray before = regularFileContents(file);
    QSettings s(file, QSettings::IniFormat);
    const bool damaged = isDamaged(s, before);
    if (damaged && !keepAside(file, before))
        return;
    edit(s);
    s.sync();
    // A store that read a format error keeps reporting it after a good
    // write: the file itself then tells whether it was rewritten.
    const bool written = damaged ? regularFileContents(file) != before : s.status() == QSettings::NoError;
    if (!written)
        tellNotSaved(file, whyNotWritten(file));
}
} // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    const QString file = settingsFile(appName);
    if (!readable(file))
        return defaultValue;
    QSettings s(file, QSettings::IniFormat);
    s.beginGroup(section);
    return s.value(key, defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    change(appName, [&](QSettings& s) {
        s.beginGroup(section);
        s.setValue(key, value);
        s.endGroup();
    });
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    change(appName, [&](QSettings& s) {
        s.beginGroup(section);
        s.remove(key);
        s.endGroup();
    });
}

void ResetSettingsFailureNotice() { g_failureTold = false; }
