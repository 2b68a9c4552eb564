#include "Settings.h"

#include "MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
bool g_failureTold = false;

// One file per application name in the user's configuration folder:
// ~/.config/Arcavell/<appName>.ini
QSettings store(const QString& appName)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Arcavell", appName);
}

// Why the settings file cannot be written, in the system's words: the store
// keeps no reason of its own, so the steps of its write are tried again
// (the file opened for writing, a new file made beside it for the swap).
QString whyNotWritten(const QString& file)
{
    QDir().mkpath(QFileInfo(file).path());
    const QByteArray name = QFile::encodeName(file);
    const bool existed = QFileInfo::exists(file);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
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

// Tells the user, once a run, that a change was not stored.
void check(QSettings& s)
{
    s.sync();
    if (s.status() == QSettings::NoError || g_failureTold)
        return;
    g_failureTold = true;
    MsgBox("Settings cannot be saved in " + QDir::toNativeSeparators(s.fileName()) + ":\r" +
               whyNotWritten(s.fileName()) + ".\rChanges to the settings will not be kept.",
           vbExclamation);
}
} // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings s = store(appName);
    s.beginGroup(section);
    return s.value(key, defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    QSettings s = store(appName);
    s.beginGroup(section);
    s.setValue(key, value);
    s.endGroup();
    check(s);
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    QSettings s = store(appName);
    s.beginGroup(section);
    s.remove(key);
    s.endGroup();
    check(s);
}

void ResetSettingsFailureNotice() { g_failureTold = false; }
