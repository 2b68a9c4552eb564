#pragma once
#include <QString>
#include <QStringList>

// The common file dialog control of a window: the program sets its
// properties, then shows it as an open or a save dialog and reads the chosen
// name from FileName. The dialog itself is shown by the desktop (Desktop.h),
// so that tests can answer it.
class CommonDialog {
public:
    // Values of Flags; several are added together.
    enum : qint32 {
        OverwritePrompt = 0x2,     // ask before an existing file is replaced
        HideReadOnly = 0x4,        // show no read-only box (the dialog has none)
        PathMustExist = 0x800,     // only a name in an existing folder is accepted
        FileMustExist = 0x1000,    // only an existing file is accepted
        NoReadOnlyReturn = 0x8000, // an existing read-only file is not accepted
    };

    // The error raised by ShowOpen and ShowSave when the user cancels while
    // CancelError is true.
    static constexpr long CancelErrorNumber = 32755;

    // Pairs of description and pattern, all separated by "|"
    // ("Text files (*.txt)|*.txt|All files|*.*"); several patterns of one
    // pair are separated by ";".
    QString Filter;
    // Appended (after a dot) to a name the user types without an extension.
    QString DefaultExt;
    qint32 Flags = 0;
    // The dialog's caption; empty gives the dialog's own ("Open", "Save As").
    QString DialogTitle;
    // The name shown when the dialog opens; the full name chosen after it.
    QString FileName;
    // Whether cancelling raises an error (CancelErrorNumber); otherwise
    // cancelling leaves FileName as it was.
    bool CancelError = false;

    void ShowOpen();
    void ShowSave();

    // The filter as the pairs a dialog lists: each description with its
    // patterns, blanks around both trimmed. A pair without a pattern is left out.
    struct FilterEntry {
        QString description;
        QStringList patterns;
    };
    QList<FilterEntry> FilterEntries() const;

private:
    void show(bool save);
};
