#include "StartUp.h"

#include "common/Shutdown.h"
#include "platform/MsgBox.h"
#include "tutor/frmMain.h"

void StartUp(bool anotherCopyRunning)
{
    if (anotherCopyRunning) {
        MsgBox("Application is already running", vbInformation);
        CloseAllForms();
        return;
    }
    frmMain().Show();
}
