#include "CommonDialog.h"

#include "Desktop.h"
#include "VbError.h"

void CommonDialog::ShowOpen() { show(false); }

void CommonDialog::ShowSave() { show(true); }

void CommonDialog::show(bool save)
{
    if (desktop().ShowFileDialog(*this, save))
        return;
    if (CancelError)
        throw VbError(CancelErrorNumber, "Cancel was selected.");
}

QList<CommonDialog::FilterEntry> CommonDialog::FilterEntries() const
{
    QList<FilterEntry> entries;
    const QStringList parts = Filter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        FilterEntry entry;
        entry.description = parts.at(i).trimmed();
        for (const QString& pattern : parts.at(i + 1).split(';')) {
            if (!pattern.trimmed().isEmpty())
                entry.patterns << pattern.trimmed();
        }
        if (!entry.patterns.isEmpty())
            entries << entry;
    }
    return entries;
}
