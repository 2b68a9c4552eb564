#include "StartUp.h"

#include "common/Shutdown.h"
#include "platform/MsgBox.h"
#include "platform/App.h"
#include "tutor/frmMain.h"
#include "tutor/frmPicEntry.h"

namespace {
QString unusableFolderMessage()
{
    return "The name of the folder " + App::Path() + " cannot be used, as it is not valid UTF-8.\rPlease move " +
           App::Title() + " to a folder whose name is valid UTF-8.";
}
} // namespace

void StartUp(bool anotherCopyRunning)
{
    // Not one of the program's files could be found by its name.
    if (!App::PathIsUsable()) {
        MsgBox(unusableFolderMessage(), vbCritical);
        CloseAllForms();
        return;
    }
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
