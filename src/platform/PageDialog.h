#pragma once
#include <QString>

// A dialog that a web page asks for: a message (alert), a question
// (confirm) or a question with a text to type (prompt). The caller fills
// it in, the desktop shows it (Desktop::ShowPageDialog) and writes the
// user's answer back into it.
struct PageDialog {
    enum Kind { Alert, Confirm, Prompt };
    Kind kind = Alert;
    QString title;
    QString message;
    QString text;             // a prompt's text: the one offered, then the one typed
    bool offerToStop = false; // shows the check box that stops the page's further dialogs
    bool stopped = false;     // the user ticked that check box
};

// The text of the check box that stops a page's further dialogs.
inline const QString StopPageDialogs = "Don't let this page show more dialogs";

class QWidget;
// Ends, unanswered, the dialogs that wait over owner (Desktop::ShowPageDialog).
void EndPageDialogs(QWidget* owner);
