#include "StartUp.h"

#include "common/Shutdown.h"
#include "platform/MsgBox.h"
#include "platform/App.h"
#include "tutor/frmMain.h"
#include "tutor/frmPicEntry.h"

void StartUp(bool anotherCopyRunning)
{
    if (anotherCopyRunning) {
        MsgBox("Application is already running", vbInformation);
        CloseAllForms();
        return;
    }
    // The card maintenance window is reached only by its own switch.
    if (App::Command().split(' ').contains("/PICENTRY")) {
        frmPicEntry().Show();
        return;
    }
    frmMain().Show();
}
