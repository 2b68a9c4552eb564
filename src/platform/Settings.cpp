#include "Settings.h"

#include <QSettings>

namespace {
// One file per application name in the user's configuration folder:
// ~/.config/Arcavell/<appName>.ini
QSettings store(const QString& appName)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Arcavell", appName);
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
    s.sync();
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    QSettings s = store(appName);
    s.beginGroup(section);
    s.remove(key);
    s.endGroup();
    s.sync();
}
