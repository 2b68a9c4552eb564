#pragma once
#include "platform/SystemDialogs.h"
#include "platform/VbError.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QVariant>
#include <array>

class QPrinter;

// What a dialog hook notifies an event sink of, called by name.
class cdlgEventSink {
public:
    virtual ~cdlgEventSink() = default;
    virtual QVariant InitDialog(qint32& hDlg) = 0;
    virtual void DialogClose() = 0;
    virtual void TypeChange(qint32& hDlg) = 0;
    virtual bool ConfirmOK() = 0;
    virtual void FolderChange(qint32& hDlg) = 0;
    virtual void FileChange(qint32& hDlg) = 0;
};

// What a dialog hands its hook with a notification (message 0x4E): the
// header the hook dispatches on, and the dialog's message result, which the
// hook may set.
struct cdlgNotification {
    qint32 hwndFrom = 0;
    qint32 idFrom = 0;
    qint32 code = 0;
    qint32 messageResult = 0;
};

// An error raised with the name of its source.
class cdlgError : public VbError {
public:
    cdlgError(long number, const QString& source)
        : VbError(number, QStringLiteral("Application-defined or object-defined error")), m_source(source)
    {
    }
    const QString& Source() const { return m_source; }

private:
    QString m_source;
};

// The system's standard dialogs as methods with plain arguments: each shows
// its dialog through the desktop and copies the user's choice back into its
// in/out arguments. A dialog's result is in APIReturn (1 chosen, 0 cancelled
// or not shown); any other result is a failure. The cause of a failure, or of
// a dialog not shown, is in ExtendedError (0 after a cancel). Hook and
// EventSink are accepted and not used.
class cdlg {
public:
    // The printer chosen in the last successful print dialog.
    QString SelectedPrinterName;

    QVariant DialogHook(qint32 hDlg, qint32 Msg, qintptr wParam, qintptr lParam);

    qint32 APIReturn() const { return m_apiReturn; }
    qint32 ExtendedError() const { return m_extendedError; }

    // A Filename or FileTitle longer than 260 characters is refused: the
    // result is False, the arguments unchanged.
    bool VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist, bool MultiSelect,
                           bool& ReadOnly, bool HideReadOnly, QString& Filter, qint32& FilterIndex,
                           const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt, qint32 Owner,
                           qint32& flags, bool Hook, cdlgEventSink* EventSink);
    bool VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt, QString& Filter,
                           qint32& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                           const QString& DefaultExt, qint32 Owner, qint32& flags, bool Hook, cdlgEventSink* EventSink);
    // The file name part of a path; the empty text when it has none.
    QString VBGetFileTitle(const QString& sFIle);

    bool VBChooseColor(qint32& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, qint32 Owner, qint32 flags,
                       bool Hook, cdlgEventSink* EventSink);
    // Custom colour I (0 to 15) of the colour dialog; -1 for other indices,
    // where writing changes nothing.
    qint32 CustomColor(qint16 I);
    void CustomColor(qint16 I, qint32 iValue);

    bool VBChooseFont(QFont& CurFont, qint32& PrinterDC, qint32 Owner, qint32& Color, qint32 MinSize, qint32 MaxSize,
                      qint32& flags, bool Hook, cdlgEventSink* EventSink);

    // FromPage and ToPage must fit in 16 bits; a larger value raises the
    // overflow error before the dialog opens.
    bool VBPrintDlg(qint32& hdc, qint32& PrintRange, bool DisablePageNumbers, qint32& FromPage, qint32& ToPage,
                    bool DisableSelection, qint32& Copies, bool ShowPrintToFile, bool DisablePrintToFile,
                    bool& PrintToFile, bool& Collate, bool PreventWarning, qint32 Owner, QPrinter* Printer,
                    qint32 flags, bool Hook, cdlgEventSink* EventSink);

    // Margins in millimetres when Units, else in inches.
    bool VBPageSetupDlg2(qint32 Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                         bool DisablePrinter, float& LeftMargin, float& MinLeftMargin, float& RightMargin,
                         float& MinRightMargin, float& TopMargin, float& MinTopMargin, float& BottomMargin,
                         float& MinBottomMargin, qint32& PaperSize, qint32& Orientation, qint32& PrintQuality,
                         bool Units, QPrinter* Printer, qint32 flags, bool Hook, cdlgEventSink* EventSink);
    // The same with whole-number margins; the margin arguments are only written.
    bool VBPageSetupDlg(qint32 Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                        bool DisablePrinter, qint32& LeftMargin, qint32& MinLeftMargin, qint32& RightMargin,
                        qint32& MinRightMargin, qint32& TopMargin, qint32& MinTopMargin, qint32& BottomMargin,
                        qint32& MinBottomMargin, qint32& PaperSize, qint32& Orientation, qint32& PrintQuality,
                        bool Units, QPrinter* Printer, qint32 flags, bool Hook, cdlgEventSink* EventSink);

private:
    friend class CdlgTest;

    static qint32 PassThrough(qint32 value) { return value; }
    static QString TextBeforeNull(const QString& text);
    static QString SelectedFilter(const QString& filter, qint32 index);
    void InitCustomColors();
    SystemDialogs::DevMode StoredDevMode() const { return m_storedDevMode; }
    static void RaiseDialogError(qint32 number);
    static void TextToBytes(QByteArray& bytes, const QString& text);
    static QString BytesToText(const QByteArray& bytes);
    static qint32 DialogErrorNumber(qint32 number) { return number | static_cast<qint32>(0x80040000u); }
    static bool ArrayIsEmpty(const QByteArray& bytes) { return bytes.isEmpty(); }

    bool fileNameDialog(SystemDialogs::FileName& dialog, QString& Filename, QString& FileTitle, QString& Filter,
                        qint32& FilterIndex, qint32& flags, qint32 cancelledIndex);
    // Stores a dialog's result; whether it is the result of a choice.
    bool takeResult(int result, qint32 extendedError);

    std::array<qint32, 16> m_customColors{};
    bool m_customColorsReady = false;
    qint32 m_apiReturn = 0;
    qint32 m_extendedError = 0;
    SystemDialogs::DevMode m_storedDevMode;
    cdlgEventSink* m_eventSink = nullptr;
};
