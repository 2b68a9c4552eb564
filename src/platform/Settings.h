#pragma once
#include <QString>

// The per-user settings store: values by application name, section and key.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
void DeleteSetting(const QString& appName, const QString& section, const QString& key);
// A store that cannot be written or read (no regular file) is told to the
// user once a run, with the reason; this starts a new run's count (a fresh
// session). A damaged store is kept aside before it is rewritten.
void ResetSettingsFailureNotice();
