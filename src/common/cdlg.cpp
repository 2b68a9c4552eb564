#include "cdlg.h"

#include "platform/App.h"
#include "platform/Desktop.h"
#include "platform/Twips.h"
#include "reading/TextEncoding.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPalette>
#include <QPrinter>
#include <cmath>

namespace {
constexpr int NameBufferLength = 260;
constexpr long OverflowError = 6;

// Message numbers and notification codes a dialog hook is sent.
constexpr qint32 WM_NOTIFY = 0x4E;
constexpr qint32 WM_NCDESTROY = 0x82;
constexpr qint32 WM_INITDIALOG = 0x110;
constexpr qint32 CDN_SELCHANGE = -602;
constexpr qint32 CDN_FOLDERCHANGE = -603;
constexpr qint32 CDN_FILEOK = -606;
constexpr qint32 CDN_TYPECHANGE = -607;

qint32 ownerOrNone(qint32 owner) { return owner == -1 ? 0 : owner; }

// A whole number as a conversion to a whole-number type rounds: halves to even.
qint32 rounded(double value) { return static_cast<qint32>(std::nearbyint(value)); }

// The filter text a dialog lists: "|" and ":" end each part.
QString filterText(const QString& filter)
{
    QString text = filter;
    text.replace(QLatin1Char('|'), QChar(0)).replace(QLatin1Char(':'), QChar(0));
    return text + QChar(0) + QChar(0);
}

double pointSizeOf(const QFont& font)
{
    return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * Twips::PerPixel / 20.0;
}

// A printer object takes the chosen settings; a value it does not accept is
// passed over.
void applyToPrinter(QPrinter* printer, qint32 copies, const SystemDialogs::DevMode& mode)
{
    if (!printer)
        return;
    if (copies > 0)
        printer->setCopyCount(copies);
    if (mode.orientation == 1 || mode.orientation == 2)
        printer->setPageOrientation(mode.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QPageSize paper(QPageSize::id(mode.paperSize));
    if (mode.paperSize > 0 && paper.isValid())
        printer->setPageSize(paper);
    if (mode.printQuality > 0)
        printer->setResolution(mode.printQuality);
}
} // namespace

// ---- file dialogs ----

bool cdlg::VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist, bool MultiSelect,
                             bool& ReadOnly, bool HideReadOnly, QString& Filter, qint32& FilterIndex,
                             const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt, qint32 Owner,
                             qint32& flags, bool, cdlgEventSink*)
{
    using F = SystemDialogs::FileName;
    SystemDialogs::FileName dialog;
    dialog.owner = ownerOrNone(Owner);
    dialog.initialDir = InitDir;
    dialog.title = DlgTitle;
    dialog.defaultExt = DefaultExt;
    dialog.flags = flags & ~(F::EnableHook | F::EnableTemplate);
    if (MultiSelect)
        dialog.flags |= F::AllowMultiSelect;
    if (ReadOnly)
        dialog.flags |= F::ReadOnly;
    if (HideReadOnly)
        dialog.flags |= F::HideReadOnly;
    if (FileMustExist)
        dialog.flags |= F::FileMustExist;
    const bool chosen = fileNameDialog(dialog, Filename, FileTitle, Filter, FilterIndex, flags, -1);
    if (chosen)
        ReadOnly = flags & F::ReadOnly;
    return chosen;
}

bool cdlg::VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt, QString& Filter,
                             qint32& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                             const QString& DefaultExt, qint32 Owner, qint32& flags, bool, cdlgEventSink*)
{
    using F = SystemDialogs::FileName;
    SystemDialogs::FileName dialog;
    dialog.save = true;
    dialog.owner = ownerOrNone(Owner);
    dialog.initialDir = InitDir;
    dialog.title = DlgTitle;
    dialog.defaultExt = DefaultExt;
    dialog.flags = (flags & ~(F::EnableHook | F::EnableTemplate)) | F::HideReadOnly;
    if (OverWritePrompt)
        dialog.flags |= F::OverwritePrompt;
    return fileNameDialog(dialog, Filename, FileTitle, Filter, FilterIndex, flags, 0);
}

bool cdlg::fileNameDialog(SystemDialogs::FileName& dialog, QString& Filename, QString& FileTitle, QString& Filter,
                          qint32& FilterIndex, qint32& flags, qint32 cancelledIndex)
{
    m_apiReturn = 0;
    m_extendedError = 0;
    // A name that leaves no room in its buffer is refused.
    if (Filename.size() > NameBufferLength || FileTitle.size() > NameBufferLength) {
        m_eventSink = nullptr;
        return false;
    }
    dialog.filter = filterText(Filter);
    dialog.filterIndex = FilterIndex;
    dialog.file = Filename.leftJustified(NameBufferLength, QChar(0));
    dialog.maxFile = NameBufferLength;
    dialog.fileTitle = FileTitle.leftJustified(NameBufferLength, QChar(0));
    dialog.maxFileTitle = NameBufferLength;
    const int result = desktop().ShowFileNameDialog(dialog);
    if (takeResult(result, dialog.extendedError)) {
        Filename = TextBeforeNull(dialog.file);
        FileTitle = TextBeforeNull(dialog.fileTitle);
        flags = dialog.flags;
        FilterIndex = dialog.filterIndex;
        Filter = SelectedFilter(dialog.filter, dialog.filterIndex);
        return true;
    }
    Filename.clear();
    FileTitle.clear();
    Filter.clear();
    flags = 0;
    FilterIndex = cancelledIndex;
    return false;
}

QString cdlg::VBGetFileTitle(const QString& sFIle)
{
    const QString path = TextBeforeNull(sFIle);
    const qsizetype folderEnd = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString title = path.mid(folderEnd + 1);
    // The title needs room for its closing NUL in the 260-character buffer.
    if (title.isEmpty() || title.size() >= NameBufferLength)
        return QString();
    return title;
}

// ---- colours ----

bool cdlg::VBChooseColor(qint32& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, qint32 Owner, qint32,
                         bool, cdlgEventSink*)
{
    using C = SystemDialogs::Color;
    if (!m_customColorsReady)
        InitCustomColors();
    SystemDialogs::Color dialog;
    dialog.owner = ownerOrNone(Owner);
    dialog.rgbResult = Color;
    dialog.customColors = m_customColors;
    dialog.flags = (AnyColor ? C::AnyColor : C::SolidColor) | C::RgbInit;
    if (FullOpen)
        dialog.flags |= C::FullOpen;
    if (DisableFullOpen)
        dialog.flags |= C::PreventFullOpen;
    dialog.flags &= ~(C::EnableHook | C::EnableTemplate);
    const int result = desktop().ShowColorDialog(dialog);
    m_extendedError = 0;
    m_customColors = dialog.customColors;
    if (takeResult(result, dialog.extendedError)) {
        Color = dialog.rgbResult;
        return true;
    }
    Color = -1;
    return false;
}

qint32 cdlg::CustomColor(qint16 I)
{
    if (!m_customColorsReady)
        InitCustomColors();
    return I >= 0 && I <= 15 ? m_customColors[I] : -1;
}

void cdlg::CustomColor(qint16 I, qint32 iValue)
{
    if (!m_customColorsReady)
        InitCustomColors();
    if (I >= 0 && I <= 15)
        m_customColors[I] = iValue;
}

// The desktop's colours in the order of the system's colour numbers 0 to 15:
// scroll bar (Button), desktop (Dark), active caption (Highlight), inactive
// caption (Mid), menu (Window), window (Base), window frame (Shadow), menu
// text (WindowText), window text (Text), caption text (HighlightedText),
// active border (Midlight), inactive border (Light), workspace (Dark),
// highlight (Highlight), highlighted text (HighlightedText), button face
// (Button).
void cdlg::InitCustomColors()
{
    static constexpr QPalette::ColorRole roles[16] = {
        QPalette::Button,   QPalette::Dark,       QPalette::Highlight, QPalette::Mid,
        QPalette::Window,   QPalette::Base,       QPalette::Shadow,    QPalette::WindowText,
        QPalette::Text,     QPalette::HighlightedText, QPalette::Midlight, QPalette::Light,
        QPalette::Dark,     QPalette::Highlight,  QPalette::HighlightedText, QPalette::Button,
    };
    const QPalette palette = QGuiApplication::palette();
    for (int i = 0; i < 16; ++i)
        m_customColors[i] = SystemDialogs::RgbValue(palette.color(QPalette::Active, roles[i]));
    m_customColorsReady = true;
}

// ---- fonts ----

bool cdlg::VBChooseFont(QFont& CurFont, qint32& PrinterDC, qint32 Owner, qint32& Color, qint32 MinSize,
                        qint32 MaxSize, qint32& flags, bool, cdlgEventSink*)
{
    using F = SystemDialogs::Font;
    m_apiReturn = 0;
    m_extendedError = 0;
    if (PrinterDC == -1) {
        PrinterDC = 0;
        if (flags & F::PrinterFonts)
            PrinterDC = desktop().DefaultPrinterDC();
    } else {
        flags |= F::PrinterFonts;
    }
    if (!(flags & F::PrinterFonts))
        flags |= F::ScreenFonts;
    if (Color != 0)
        flags |= F::Effects;
    if (MinSize != 0 || MaxSize != 0)
        flags |= F::LimitSize;
    flags = (flags & ~(F::EnableHook | F::EnableTemplate | F::Apply)) | F::InitToLogFontStruct;

    const double size = pointSizeOf(CurFont);
    SystemDialogs::Font dialog;
    dialog.height = -rounded(size * 20.0 / Twips::PerPixel);
    dialog.weight = CurFont.weight();
    dialog.italic = CurFont.italic() ? 0xFF : 0;
    dialog.underline = CurFont.underline() ? 0xFF : 0;
    dialog.strikeOut = CurFont.strikeOut() ? 0xFF : 0;
    TextToBytes(dialog.faceName, CurFont.family());
    dialog.owner = ownerOrNone(Owner);
    dialog.printerDC = PrinterDC;
    dialog.pointSize = rounded(size * 10);
    dialog.flags = flags;
    dialog.rgbColors = Color;
    dialog.sizeMin = MinSize;
    dialog.sizeMax = MaxSize;
    const int result = desktop().ShowFontDialog(dialog);
    if (!takeResult(result, dialog.extendedError))
        return false;
    flags = dialog.flags;
    Color = dialog.rgbColors;
    CurFont.setBold(dialog.fontType & F::BoldFontType);
    CurFont.setItalic(dialog.italic != 0);
    CurFont.setStrikeOut(dialog.strikeOut != 0);
    CurFont.setUnderline(dialog.underline != 0);
    if (dialog.weight >= 1 && dialog.weight <= 1000)
        CurFont.setWeight(static_cast<QFont::Weight>(dialog.weight));
    if (dialog.pointSize > 0)
        CurFont.setPointSizeF(dialog.pointSize / 10.0);
    // A font's name ends at its first NUL byte.
    CurFont.setFamily(TextBeforeNull(BytesToText(dialog.faceName)));
    return true;
}

// ---- printing ----

bool cdlg::VBPrintDlg(qint32& hdc, qint32& PrintRange, bool DisablePageNumbers, qint32& FromPage, qint32& ToPage,
                      bool DisableSelection, qint32& Copies, bool ShowPrintToFile, bool DisablePrintToFile,
                      bool& PrintToFile, bool& Collate, bool PreventWarning, qint32 Owner, QPrinter* Printer,
                      qint32 flags, bool, cdlgEventSink*)
{
    using P = SystemDialogs::Print;
    m_apiReturn = 0;
    m_extendedError = 0;
    // The page numbers travel as 16-bit numbers.
    for (qint32 page : {FromPage, ToPage})
        if (page < -32768 || page > 32767)
            throw VbError(OverflowError, QStringLiteral("Overflow"));

    SystemDialogs::Print dialog;
    dialog.flags = flags | P::UseDevModeCopiesAndCollate | P::ReturnDC;
    if (DisablePageNumbers)
        dialog.flags |= P::NoPageNums;
    if (DisablePrintToFile)
        dialog.flags |= P::DisablePrintToFile;
    if (DisableSelection)
        dialog.flags |= P::NoSelection;
    if (PrintToFile)
        dialog.flags |= P::PrintToFile;
    if (!ShowPrintToFile)
        dialog.flags |= P::HidePrintToFile;
    if (PreventWarning)
        dialog.flags |= P::NoWarning;
    if (Collate)
        dialog.flags |= P::Collate;
    if (PrintRange == 1)
        dialog.flags |= P::PageNums;
    else if (PrintRange == 2)
        dialog.flags |= P::Selection;
    dialog.flags &= ~(P::EnablePrintHook | P::EnablePrintTemplate | P::EnableSetupHook | P::EnableSetupTemplate);
    dialog.owner = Owner;
    dialog.fromPage = FromPage;
    dialog.toPage = ToPage;
    dialog.minPage = 1;
    dialog.maxPage = 0xFFFF;
    const int result = desktop().ShowPrintDialog(dialog);
    if (!takeResult(result, dialog.extendedError))
        return false;

    hdc = dialog.hDC;
    PrintRange = (dialog.flags & P::PageNums) ? 1 : (dialog.flags & P::Selection) ? 2 : 0;
    FromPage = dialog.fromPage;
    ToPage = dialog.toPage;
    PrintToFile = dialog.flags & P::PrintToFile;
    m_storedDevMode = dialog.devMode;
    SelectedPrinterName = dialog.printerName;
    if (dialog.flags & P::Collate) {
        Collate = true;
        Copies = dialog.copies;
    } else {
        Collate = dialog.devMode.collate == 1;
        Copies = dialog.devMode.copies;
    }
    applyToPrinter(Printer, Copies, dialog.devMode);
    return true;
}

bool cdlg::VBPageSetupDlg2(qint32 Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                           bool DisablePrinter, float& LeftMargin, float& MinLeftMargin, float& RightMargin,
                           float& MinRightMargin, float& TopMargin, float& MinTopMargin, float& BottomMargin,
                           float& MinBottomMargin, qint32& PaperSize, qint32& Orientation, qint32& PrintQuality,
                           bool Units, QPrinter* Printer, qint32, bool, cdlgEventSink*)
{
    using S = SystemDialogs::PageSetup;
    m_apiReturn = 0;
    m_extendedError = 0;
    SystemDialogs::PageSetup dialog;
    if (DisableMargins)
        dialog.flags |= S::DisableMargins;
    if (DisableOrientation)
        dialog.flags |= S::DisableOrientation;
    if (DisablePaper)
        dialog.flags |= S::DisablePaper;
    if (DisablePrinter)
        dialog.flags |= S::DisablePrinter;
    dialog.flags |= Units ? S::InHundredthsOfMillimeters : S::InThousandthsOfInches;
    const double factor = Units ? 100.0 : 1000.0;
    dialog.owner = Owner;
    dialog.margin = {rounded(LeftMargin * factor), rounded(TopMargin * factor), rounded(RightMargin * factor),
                     rounded(BottomMargin * factor)};
    dialog.minMargin = {rounded(MinLeftMargin * factor), rounded(MinTopMargin * factor),
                        rounded(MinRightMargin * factor), rounded(MinBottomMargin * factor)};
    const int result = desktop().ShowPageSetupDialog(dialog);
    if (!takeResult(result, dialog.extendedError))
        return false;

    const auto inUnits = [factor](qint32 value) { return static_cast<float>(value / factor); };
    LeftMargin = inUnits(dialog.margin.left);
    TopMargin = inUnits(dialog.margin.top);
    RightMargin = inUnits(dialog.margin.right);
    BottomMargin = inUnits(dialog.margin.bottom);
    MinLeftMargin = inUnits(dialog.minMargin.left);
    MinTopMargin = inUnits(dialog.minMargin.top);
    MinRightMargin = inUnits(dialog.minMargin.right);
    MinBottomMargin = inUnits(dialog.minMargin.bottom);
    PaperSize = dialog.devMode.paperSize;
    Orientation = dialog.devMode.orientation;
    PrintQuality = dialog.devMode.printQuality;
    applyToPrinter(Printer, dialog.devMode.copies, dialog.devMode);
    return true;
}

bool cdlg::VBPageSetupDlg(qint32 Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                          bool DisablePrinter, qint32& LeftMargin, qint32& MinLeftMargin, qint32& RightMargin,
                          qint32& MinRightMargin, qint32& TopMargin, qint32& MinTopMargin, qint32& BottomMargin,
                          qint32& MinBottomMargin, qint32& PaperSize, qint32& Orientation, qint32& PrintQuality,
                          bool Units, QPrinter* Printer, qint32 flags, bool Hook, cdlgEventSink* EventSink)
{
    float left = 0, minLeft = 0, right = 0, minRight = 0, top = 0, minTop = 0, bottom = 0, minBottom = 0;
    const bool chosen = VBPageSetupDlg2(Owner, DisableMargins, DisableOrientation, DisablePaper, DisablePrinter, left,
                                        minLeft, right, minRight, top, minTop, bottom, minBottom, PaperSize,
                                        Orientation, PrintQuality, Units, Printer, flags, Hook, EventSink);
    LeftMargin = rounded(left);
    MinLeftMargin = rounded(minLeft);
    RightMargin = rounded(right);
    MinRightMargin = rounded(minRight);
    TopMargin = rounded(top);
    MinTopMargin = rounded(minTop);
    BottomMargin = rounded(bottom);
    MinBottomMargin = rounded(minBottom);
    return chosen;
}

bool cdlg::takeResult(int result, qint32 extendedError)
{
    m_apiReturn = result;
    m_eventSink = nullptr;
    if (result == SystemDialogs::Chosen)
        return true;
    // A dialog that could not be shown answers as a cancel does; only its
    // cause (no printer) tells the two apart.
    m_extendedError = extendedError;
    return false;
}

// ---- the hook ----

QVariant cdlg::DialogHook(qint32 hDlg, qint32 Msg, qintptr, qintptr lParam)
{
    if (!m_eventSink)
        return {};
    switch (Msg) {
    case WM_NOTIFY: {
        auto* notification = reinterpret_cast<cdlgNotification*>(lParam);
        switch (notification->code) {
        case CDN_TYPECHANGE:
            m_eventSink->TypeChange(hDlg);
            break;
        case CDN_FILEOK:
            if (!m_eventSink->ConfirmOK()) {
                notification->messageResult = 1;
                return 1;
            }
            notification->messageResult = 0;
            break;
        case CDN_FOLDERCHANGE:
            m_eventSink->FolderChange(hDlg);
            break;
        case CDN_SELCHANGE:
            m_eventSink->FileChange(hDlg);
            break;
        default:
            break;
        }
        break;
    }
    case WM_NCDESTROY:
        m_eventSink->DialogClose();
        break;
    case WM_INITDIALOG:
        return m_eventSink->InitDialog(hDlg);
    default:
        break;
    }
    return {};
}

// ---- helpers ----

QString cdlg::TextBeforeNull(const QString& text)
{
    const QByteArray bytes = ToSingleByte(text);
    const qsizetype length = bytes.indexOf('\0');
    return text.left(length < 0 ? bytes.size() : length);
}

QString cdlg::SelectedFilter(const QString& filter, qint32 index)
{
    if (filter.isEmpty() || index < 1)
        return QString();
    const QStringList parts = filter.split(QChar(0));
    // Pairs of description and pattern; an empty description ends the list.
    qint32 pair = 0;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        if (++pair == index)
            return parts[i] + QChar(0) + parts[i + 1];
    }
    return QString();
}

void cdlg::RaiseDialogError(qint32 number)
{
    if (number < 1001)
        throw cdlgError(number, App::EXEName() + QStringLiteral(".VBError"));
    throw cdlgError(DialogErrorNumber(number), App::EXEName() + QStringLiteral(".CommonDialog"));
}

void cdlg::TextToBytes(QByteArray& bytes, const QString& text)
{
    if (ArrayIsEmpty(bytes)) {
        bytes = ToSingleByte(text);
        return;
    }
    const QByteArray padded = ToSingleByte(text.leftJustified(bytes.size(), QChar(0)));
    bytes = padded.left(bytes.size());
}

QString cdlg::BytesToText(const QByteArray& bytes) { return FromSingleByte(bytes); }
