#include "ScriptedDesktop.h"

#include "platform/CommonDialog.h"
#include "platform/Form.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"

#include <QPointer>
#include <QPrinter>

void ScriptedDesktop::Reset()
{
    answers.clear();
    boxes.clear();
    onBox = nullptr;
    opened.clear();
    sleeps.clear();
    online = false;
    connectionName = "eth0";
    onlineChecks = 0;
    onModal = nullptr;
    modalForms.clear();
    printerPdf.clear();
    printJobs = 0;
    fileAnswers.clear();
    fileDialogs.clear();
    fileNameDialogs.clear();
    colorDialogs.clear();
    fontDialogs.clear();
    printDialogs.clear();
    pageSetupDialogs.clear();
    pageDialogs.clear();
    printerDC = 0;
}

int ScriptedDesktop::MessageBox(const QString& prompt, int buttons, const QString& title)
{
    const Box box{prompt, buttons, title};
    boxes << box;
    if (onBox)
        onBox(box);
    return answers.isEmpty() ? DefaultAnswer(buttons) : answers.dequeue();
}

bool ScriptedDesktop::IsOnline(QString* name)
{
    ++onlineChecks;
    if (name)
        *name = online ? connectionName : QString();
    return online;
}

void ScriptedDesktop::RunModal(Form& form)
{
    modalForms << form.Name();
    // The script may unload the window and let it be deleted (a progress
    // window that closes itself once it has run).
    const QPointer<Form> shown(&form);
    if (onModal)
        onModal(form);
    if (shown && shown->IsLoaded())
        Unload(*shown);
}

std::unique_ptr<QPrinter> ScriptedDesktop::DefaultPrinter()
{
    if (printerPdf.isEmpty())
        return nullptr;
    ++printJobs;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printerPdf);
    return printer;
}

bool ScriptedDesktop::ShowFileDialog(CommonDialog& dialog, bool save)
{
    FileDialog shown;
    shown.save = save;
    shown.filter = dialog.Filter;
    shown.defaultExt = dialog.DefaultExt;
    shown.flags = dialog.Flags;
    shown.title = dialog.DialogTitle;
    shown.fileName = dialog.FileName;
    shown.cancelError = dialog.CancelError;
    fileDialogs << shown;
    const std::optional<QString> answer = fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    if (!answer)
        return false;
    dialog.FileName = *answer;
    return true;
}
