#pragma once
#include "platform/Desktop.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The desktop of the tests: message boxes are answered from a script and
// recorded, nothing opens a browser, nothing sleeps, modal windows are
// handed to a script and never block.
class ScriptedDesktop : public Desktop {
public:
    struct Box {
        QString prompt;
        int buttons = 0;
        QString title;
        int icon() const { return buttons & 0x70; }
        int buttonSet() const { return buttons & 7; }
    };

    // Answers to give, in order; when none is queued a box gets its default answer.
    QQueue<int> answers;
    QList<Box> boxes;
    // Runs while a message box is "shown", before it is answered.
    std::function<void(const Box&)> onBox;

    QStringList opened;   // addresses handed to the browser
    QList<int> sleeps;    // requested pauses, in milliseconds
    bool online = false;
    QString connectionName = "eth0";
    int onlineChecks = 0;

    // Runs while a modal window is shown; whatever it leaves loaded is unloaded.
    std::function<void(Form&)> onModal;
    QStringList modalForms; // names of the windows shown modally, in order

    // Where the "default printer" writes its pages (a PDF); none when empty.
    QString printerPdf;
    int printJobs = 0;

    // A file dialog as the program set it up when it was shown.
    struct FileDialog {
        bool save = false;
        QString filter;
        QString defaultExt;
        qint32 flags = 0;
        QString title;
        QString fileName; // the name it opened with
        bool cancelError = false;
    };
    // What the user does in the next file dialogs, in order: the full name
    // chosen, or std::nullopt to cancel. When none is queued the dialog is
    // cancelled.
    QQueue<std::optional<QString>> fileAnswers;
    QList<FileDialog> fileDialogs;

    // The system's standard dialogs: each as the program set it up when it
    // was shown, and what the user does in the next ones, in order. An
    // answer writes the user's choice into the dialog's record and returns
    // the dialog's result (SystemDialogs::Result). When none is queued the
    // dialog is cancelled.
    template <class Record>
    struct DialogScript {
        QList<Record> shown;
        QQueue<std::function<int(Record&)>> answers;
        int run(Record& dialog)
        {
            shown << dialog;
            return answers.isEmpty() ? SystemDialogs::Cancelled : answers.dequeue()(dialog);
        }
        void clear()
        {
            shown.clear();
            answers.clear();
        }
    };
    DialogScript<SystemDialogs::FileName> fileNameDialogs;
    DialogScript<SystemDialogs::Color> colorDialogs;
    DialogScript<SystemDialogs::Font> fontDialogs;
    DialogScript<SystemDialogs::Print> printDialogs;
    DialogScript<SystemDialogs::PageSetup> pageSetupDialogs;
    qint32 printerDC = 0; // the default printer's device context; 0: no printer
    // Web pages' dialogs, in the same way: an answer writes the user's text
    // and stop choice into the dialog and returns 1 for OK, 0 for Cancel.
    DialogScript<PageDialog> pageDialogs;

    void Reset();

    int MessageBox(const QString& prompt, int buttons, const QString& title) override;
    void OpenDocument(const QString& address) override { opened << address; }
    void Sleep(int milliseconds) override { sleeps << milliseconds; }
    bool IsOnline(QString* name) override;
    void RunModal(Form& form) override;
    std::unique_ptr<QPrinter> DefaultPrinter() override;
    bool ShowFileDialog(CommonDialog& dialog, bool save) override;
    int ShowFileNameDialog(SystemDialogs::FileName& dialog) override { return fileNameDialogs.run(dialog); }
    int ShowColorDialog(SystemDialogs::Color& dialog) override { return colorDialogs.run(dialog); }
    int ShowFontDialog(SystemDialogs::Font& dialog) override { return fontDialogs.run(dialog); }
    int ShowPrintDialog(SystemDialogs::Print& dialog) override { return printDialogs.run(dialog); }
    int ShowPageSetupDialog(SystemDialogs::PageSetup& dialog) override { return pageSetupDialogs.run(dialog); }
    qint32 DefaultPrinterDC() override { return printerDC; }
    bool ShowPageDialog(PageDialog& dialog, QWidget*) override { return pageDialogs.run(dialog) == 1; }
};

// The scripted desktop the test main installed.
ScriptedDesktop& Scripted();
