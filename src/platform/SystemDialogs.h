#pragma once
#include <QByteArray>
#include <QColor>
#include <QString>
#include <array>

// The records of the system's standard dialogs (open and save, colour, font,
// print, page set-up) as the desktop shows them (Desktop.h). The caller
// fills a record, the desktop shows the dialog and writes the user's choice
// back into it. Each dialog's result is 1 when the user chose, 0 when the
// user cancelled or the dialog could not be shown, and anything else when
// the dialog failed. extendedError says why a dialog failed or was not
// shown; it stays 0 when the user cancelled.
namespace SystemDialogs {

enum Result : int { Cancelled = 0, Chosen = 1, Failed = -1 };

// Why a dialog failed or was not shown.
enum ExtendedErrors : qint32 {
    NoDefaultPrinter = 0x1008,
    BufferTooSmall = 0x3003, // the chosen name does not fit in maxFile characters
};

struct FileName {
    bool save = false;
    qint32 owner = 0;
    // Pairs of description and pattern (several patterns separated by ";"),
    // each part followed by a NUL character, the whole by one more NUL.
    QString filter;
    qint32 filterIndex = 0; // the chosen pair, from 1
    // The name the dialog starts from, then the chosen full name, padded
    // with NUL characters. Several names chosen at once come back as the
    // folder and the names, each followed by a NUL, and one more NUL.
    QString file;
    qint32 maxFile = 0;
    QString fileTitle; // the chosen name without its folder
    qint32 maxFileTitle = 0;
    QString initialDir;
    QString title;
    QString defaultExt;
    qint32 flags = 0;
    qint32 extendedError = 0;

    enum : qint32 {
        ReadOnly = 0x1,
        OverwritePrompt = 0x2,
        HideReadOnly = 0x4,
        EnableHook = 0x20,
        EnableTemplate = 0x40,
        AllowMultiSelect = 0x200,
        PathMustExist = 0x800,
        FileMustExist = 0x1000,
        NoReadOnlyReturn = 0x8000,
    };
};

// Colours are RGB values: red + green × 256 + blue × 65536.
inline qint32 RgbValue(const QColor& color) { return color.red() | color.green() << 8 | color.blue() << 16; }
inline QColor ColorOfRgb(qint32 rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

struct Color {
    qint32 owner = 0;
    qint32 rgbResult = 0;
    std::array<qint32, 16> customColors{};
    qint32 flags = 0;
    qint32 extendedError = 0;

    enum : qint32 {
        RgbInit = 0x1,
        FullOpen = 0x2,
        PreventFullOpen = 0x4,
        EnableHook = 0x10,
        EnableTemplate = 0x20,
        SolidColor = 0x80,
        AnyColor = 0x100,
    };
};

struct Font {
    qint32 owner = 0;
    qint32 printerDC = 0;
    // The font the dialog starts from and the chosen one.
    qint32 height = 0; // negative: the characters' height in pixels
    qint32 weight = 0; // 100 to 900, 400 regular, 700 bold
    quint8 italic = 0; // 0xFF for true
    quint8 underline = 0;
    quint8 strikeOut = 0;
    QByteArray faceName = QByteArray(32, '\0'); // single-byte text padded with NUL bytes
    qint32 pointSize = 0; // tenths of a point
    qint32 flags = 0;
    qint32 rgbColors = 0;
    qint32 sizeMin = 0; // points
    qint32 sizeMax = 0;
    qint32 fontType = 0; // of the chosen font
    qint32 extendedError = 0;

    enum : qint32 {
        ScreenFonts = 0x1,
        PrinterFonts = 0x2,
        EnableHook = 0x8,
        EnableTemplate = 0x10,
        InitToLogFontStruct = 0x40,
        Effects = 0x100,
        Apply = 0x200,
        LimitSize = 0x2000,
    };
    enum : qint32 { BoldFontType = 0x100, ItalicFontType = 0x200, RegularFontType = 0x400 };
};

// A printer's settings as a dialog hands them back.
struct DevMode {
    QString deviceName;
    qint16 orientation = 0; // 1 portrait, 2 landscape
    qint16 paperSize = 0;   // the system's paper number (9 is A4)
    qint16 copies = 0;
    qint16 printQuality = 0; // dots per inch, or a negative quality level
    qint16 collate = 0;      // 1 when copies are collated
};

struct Print {
    qint32 owner = 0;
    qint32 flags = 0;
    qint32 fromPage = 0;
    qint32 toPage = 0;
    qint32 minPage = 0;
    qint32 maxPage = 0;
    // What the user chose.
    qint32 hDC = 0;
    qint32 copies = 0;
    QString printerName;
    DevMode devMode;
    qint32 extendedError = 0;

    enum : qint32 {
        Selection = 0x1,
        PageNums = 0x2,
        NoSelection = 0x4,
        NoPageNums = 0x8,
        Collate = 0x10,
        PrintToFile = 0x20,
        NoWarning = 0x80,
        ReturnDC = 0x100,
        EnablePrintHook = 0x1000,
        EnableSetupHook = 0x2000,
        EnablePrintTemplate = 0x4000,
        EnableSetupTemplate = 0x8000,
        UseDevModeCopiesAndCollate = 0x40000,
        DisablePrintToFile = 0x80000,
        HidePrintToFile = 0x100000,
    };
};

struct Margins {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
};

struct PageSetup {
    qint32 owner = 0;
    qint32 flags = 0;
    Margins margin;    // in the unit of the flags
    Margins minMargin;
    DevMode devMode;   // what the user chose
    qint32 extendedError = 0;

    enum : qint32 {
        MinMargins = 0x1,
        SetMargins = 0x2,
        InThousandthsOfInches = 0x4,
        InHundredthsOfMillimeters = 0x8,
        DisableMargins = 0x10,
        DisablePrinter = 0x20,
        DisableOrientation = 0x100,
        DisablePaper = 0x200,
    };
};

} // namespace SystemDialogs
