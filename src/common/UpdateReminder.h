#pragma once
#include <QDateTime>
#include <QString>

// Once in every 15 days of use, offers to look for an update. The date of
// the last reminder is kept, encoded, in the settings store.
void CheckUpdateReminder();

// The date-and-time text of the stored value: the regional short date with
// a four-digit year, a blank, the regional long time.
QString DateTimeToText(const QDateTime& moment);
// Reads such a text back; an invalid QDateTime when it is not one.
QDateTime DateTimeFromText(const QString& text);

// Where the reminder keeps its value: section "Settings" of the program's
// settings, under EncodeText("Duration").
QString UpdateReminderValueName();
