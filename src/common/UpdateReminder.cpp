#include "UpdateReminder.h"

#include "PageLaunchers.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "reading/TextEncoding.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
constexpr int ReminderDays = 14;

QString dateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    // A two-digit year would not read back into the right century.
    if (!format.contains("yyyy"))
        format.replace("yy", "yyyy");
    return format;
}

QString timeFormat()
{
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    // Time-zone names do not read back reliably; the reminder works in days.
    format.remove(QRegularExpression("\\s*t+"));
    return format.trimmed();
}

void storeNow()
{
    SaveSetting(App::EXEName(), "Settings", UpdateReminderValueName(),
                EncodeText(DateTimeToText(QDateTime::currentDateTime())));
}
} // namespace

QString UpdateReminderValueName() { return EncodeText("Duration"); }

QString DateTimeToText(const QDateTime& moment)
{
    return QLocale().toString(moment.date(), dateFormat()) + " " + QLocale().toString(moment.time(), timeFormat());
}

QDateTime DateTimeFromText(const QString& text)
{
    return QLocale().toDateTime(text, dateFormat() + " " + timeFormat());
}

void CheckUpdateReminder()
{
    const QString stored = DecodeText(GetSetting(App::EXEName(), "Settings", UpdateReminderValueName(), ""));
    const QDateTime last = DateTimeFromText(stored);
    // A value that does not read as a date counts as no value.
    if (stored.isEmpty() || !last.isValid()) {
        storeNow();
        return;
    }
    const qint64 days = QDate::currentDate().daysTo(last.date());
    if (days >= -ReminderDays && days <= ReminderDays)
        return;
    const int answer = MsgBox("There maybe an update to this software available\rDo you want to check for an update?",
                              vbYesNo | vbInformation);
    storeNow();
    if (answer == vbYes)
        OpenDownloadPage();
}
