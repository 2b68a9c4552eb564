#include "MsgBox.h"

#include "App.h"
#include "Desktop.h"

int MsgBox(const QString& prompt, int buttons, const QString& title)
{
    return desktop().MessageBox(prompt, buttons, title.isEmpty() ? App::Title() : title);
}

int DefaultAnswer(int buttons)
{
    static const int answers[6][3] = {
        {vbOK, vbOK, vbOK},
        {vbOK, vbCancel, vbCancel},
        {vbAbort, vbRetry, vbIgnore},
        {vbYes, vbNo, vbCancel},
        {vbYes, vbNo, vbNo},
        {vbRetry, vbCancel, vbCancel},
    };
    const int kind = buttons & 7;
    const int which = (buttons >> 8) & 3;
    return answers[kind <= 5 ? kind : 0][which <= 2 ? which : 0];
}
