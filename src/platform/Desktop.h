#pragma once
#include "PageDialog.h"
#include "SystemDialogs.h"

#include <QString>
#include <memory>

class CommonDialog;
class Form;
class QPrinter;
class QWidget;

// Everything modal or outside the program goes through here: message boxes,
// the browser, sleeping, the online check and modal windows. The program
// installs the real desktop; tests install a scripted one.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a message box; buttons holds the button, icon and default-button
    // values of MsgBox. Returns the button pressed (vbOK, vbYes, ...).
    virtual int MessageBox(const QString& prompt, int buttons, const QString& title) = 0;

    // Opens a web page, or a file, in the user's default program for it.
    virtual void OpenDocument(const QString& address) = 0;

    // Waits; the program does nothing else meanwhile.
    virtual void Sleep(int milliseconds) = 0;

    // Whether the computer has a network connection, and its name.
    virtual bool IsOnline(QString* connectionName) = 0;

    // Runs a window that was shown modally until it is unloaded or hidden.
    virtual void RunModal(Form& form) = 0;

    // The default printer, or none when the system has none.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;

    // Shows a file dialog (an open dialog, or a save dialog when save is
    // true) set up from the dialog's Filter, DefaultExt, Flags, DialogTitle
    // and FileName. Returns true with the chosen full name in FileName, or
    // false when the user cancels, FileName unchanged.
    virtual bool ShowFileDialog(CommonDialog& dialog, bool save) = 0;

    // The system's standard dialogs, set up from their records
    // (SystemDialogs.h): each returns the dialog's result and writes the
    // user's choice into its record.
    virtual int ShowFileNameDialog(SystemDialogs::FileName& dialog) = 0;
    virtual int ShowColorDialog(SystemDialogs::Color& dialog) = 0;
    virtual int ShowFontDialog(SystemDialogs::Font& dialog) = 0;
    virtual int ShowPrintDialog(SystemDialogs::Print& dialog) = 0;
    virtual int ShowPageSetupDialog(SystemDialogs::PageSetup& dialog) = 0;
    // A device context of the default printer; 0 when the system has none.
    virtual qint32 DefaultPrinterDC() = 0;

    // Shows a web page's dialog over the view owner, while the rest of the
    // program goes on. True when the user pressed OK; false when the user
    // cancelled, or when owner was hidden or destroyed meanwhile (the
    // dialog then ends unanswered).
    virtual bool ShowPageDialog(PageDialog& dialog, QWidget* owner) = 0;
};

Desktop& desktop();
// Replaces the desktop; returns the one that was installed.
std::unique_ptr<Desktop> SetDesktop(std::unique_ptr<Desktop> replacement);

// The desktop of a real session.
class RealDesktop : public Desktop {
public:
    int MessageBox(const QString& prompt, int buttons, const QString& title) override;
    void OpenDocument(const QString& address) override;
    void Sleep(int milliseconds) override;
    bool IsOnline(QString* connectionName) override;
    void RunModal(Form& form) override;
    std::unique_ptr<QPrinter> DefaultPrinter() override;
    bool ShowFileDialog(CommonDialog& dialog, bool save) override;
    int ShowFileNameDialog(SystemDialogs::FileName& dialog) override;
    int ShowColorDialog(SystemDialogs::Color& dialog) override;
    int ShowFontDialog(SystemDialogs::Font& dialog) override;
    int ShowPrintDialog(SystemDialogs::Print& dialog) override;
    int ShowPageSetupDialog(SystemDialogs::PageSetup& dialog) override;
    qint32 DefaultPrinterDC() override;
    bool ShowPageDialog(PageDialog& dialog, QWidget* owner) override;
};
