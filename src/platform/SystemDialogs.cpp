// The real desktop's dialogs: the file dialog of the common dialog control
// and the system's standard dialogs, all Qt's own.
#include "CommonDialog.h"
#include "Desktop.h"
#include "Twips.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <limits>

namespace {
// Qt's own file dialog, with the checks of the dialog's flags that it does
// not make itself. Qt's dialog is used on every desktop so that the checks
// always run.
class CheckingFileDialog : public QFileDialog {
public:
    CheckingFileDialog(QWidget* parent, qint32 flags) : QFileDialog(parent), m_flags(flags) {}

    void accept() override
    {
        const QString name = selectedFiles().value(0);
        const QFileInfo info(name);
        if (name.isEmpty() || info.isDir()) {
            QFileDialog::accept(); // Qt opens a chosen folder
            return;
        }
        if ((m_flags & CommonDialog::PathMustExist) && !info.absoluteDir().exists()) {
            refuse(QStringLiteral("%1\nThe folder does not exist.\nCheck the name and try again.").arg(name));
            return;
        }
        if ((m_flags & CommonDialog::FileMustExist) && !info.exists()) {
            refuse(QStringLiteral("%1\nThe file does not exist.\nCheck the name and try again.").arg(name));
            return;
        }
        if ((m_flags & CommonDialog::NoReadOnlyReturn) && info.exists() && !info.isWritable()) {
            refuse(QStringLiteral("%1\nThe file is read-only.\nChoose another name.").arg(name));
            return;
        }
        QFileDialog::accept(); // asks before replacing a file unless told not to
    }

private:
    void refuse(const QString& message) { QMessageBox::warning(this, windowTitle(), message); }

    qint32 m_flags;
};

struct FileDialogSetUp {
    bool save = false;
    bool multiSelect = false;
    qint32 flags = 0;
    QString title;
    QStringList filters; // "description (patterns)"
    QString defaultExt;
    QString fileName;
    QString initialDir;
};

void setUp(CheckingFileDialog& box, const FileDialogSetUp& s)
{
    box.setOption(QFileDialog::DontUseNativeDialog);
    // The list shows each description as the program wrote it.
    box.setOption(QFileDialog::HideNameFilterDetails);
    box.setOption(QFileDialog::DontConfirmOverwrite, !(s.flags & CommonDialog::OverwritePrompt));
    box.setAcceptMode(s.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(s.multiSelect                                ? QFileDialog::ExistingFiles
                    : (s.flags & CommonDialog::FileMustExist) ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    box.setWindowTitle(!s.title.isEmpty() ? s.title
                       : s.save           ? QStringLiteral("Save As")
                                          : QStringLiteral("Open"));
    if (!s.filters.isEmpty())
        box.setNameFilters(s.filters);
    box.setDefaultSuffix(s.defaultExt);
    if (!s.initialDir.isEmpty())
        box.setDirectory(s.initialDir);
    if (!s.fileName.isEmpty())
        box.selectFile(s.fileName);
}

QString nameFilter(const QString& description, const QStringList& patterns)
{
    return QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
}

// The pairs of a filter text whose parts end with NUL characters; the list
// ends at the first empty part.
QStringList nameFiltersOf(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QChar(0));
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty() && !parts[i + 1].isEmpty(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';'))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        filters << nameFilter(parts[i].trimmed(), patterns);
    }
    return filters;
}

QString textBeforeNul(const QString& text) { return text.section(QChar(0), 0, 0); }

// What comes back in the name buffer: one full name, or the folder and the
// names of several, each followed by a NUL and the whole by one more.
QString chosenNames(const QStringList& files)
{
    if (files.size() == 1)
        return files.first();
    QString buffer = QFileInfo(files.first()).absolutePath() + QChar(0);
    for (const QString& f : files)
        buffer += QFileInfo(f).fileName() + QChar(0);
    return buffer + QChar(0);
}

// The printer the print and page set-up dialogs start from: the default
// printer, or else the first the system has; none when it has none.
std::unique_ptr<QPrinter> systemPrinter()
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().first();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

SystemDialogs::DevMode devModeOf(const QPrinter& printer)
{
    SystemDialogs::DevMode mode;
    mode.deviceName = printer.printerName();
    mode.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    mode.paperSize = static_cast<qint16>(printer.pageLayout().pageSize().windowsId());
    mode.copies = static_cast<qint16>(printer.copyCount());
    mode.printQuality = static_cast<qint16>(printer.resolution());
    mode.collate = printer.collateCopies() ? 1 : 0;
    return mode;
}

// Greys out the parts of Qt's page set-up dialog the flags disable; the
// dialog has no printer button.
void disableParts(QPageSetupDialog& box, qint32 flags)
{
    using S = SystemDialogs::PageSetup;
    const auto disable = [&box](const char* name, bool itsGroup) {
        if (auto* w = box.findChild<QWidget*>(QLatin1String(name)))
            (itsGroup && w->parentWidget() ? w->parentWidget() : w)->setEnabled(false);
    };
    if (flags & S::DisableMargins)
        disable("topMargin", true);
    if (flags & S::DisableOrientation)
        disable("portrait", true);
    if (flags & S::DisablePaper) {
        for (const char* name : {"pageSizeCombo", "pageWidth", "pageHeight", "paperSource"})
            disable(name, false);
    }
}

// Device contexts are numbers handed out in turn.
qint32 newPrinterDC()
{
    static qint32 last = 0;
    return ++last;
}

// Qt's font dialog, refusing a size outside the limits when it has them.
class LimitedFontDialog : public QFontDialog {
public:
    LimitedFontDialog(const QFont& initial, QWidget* parent, int minSize, int maxSize)
        : QFontDialog(initial, parent), m_min(minSize), m_max(maxSize)
    {
    }

    void accept() override
    {
        const double size = currentFont().pointSizeF();
        if (m_max > 0 && (size < m_min || size > m_max)) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("Size must be between %1 and %2 points.").arg(m_min).arg(m_max));
            return;
        }
        QFontDialog::accept();
    }

private:
    int m_min;
    int m_max;
};

// Qt's font dialog opens on the family's first style when none bears the
// font's style name ("Normal" where the family says "Book"), which turned a
// plain font oblique and condensed. The font is given the family's style
// with its slant and the nearest weight; of equals, the shortest name (not
// "Condensed ...").
void nameStyle(QFont& font)
{
    QString best;
    int bestDistance = std::numeric_limits<int>::max();
    for (const QString& style : QFontDatabase::styles(font.family())) {
        const bool slanted = QFontInfo(QFontDatabase::font(font.family(), style, 10)).style() != QFont::StyleNormal;
        const int distance = (slanted != font.italic()) * 1000000 +
                             std::abs(QFontDatabase::weight(font.family(), style) - font.weight()) * 100 +
                             static_cast<int>(style.size());
        if (distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    if (!best.isEmpty())
        font.setStyleName(best);
}

QFont initialFont(const SystemDialogs::Font& d)
{
    QFont font;
    const QString face = textBeforeNul(QString::fromLatin1(d.faceName));
    if (!face.isEmpty())
        font.setFamily(face);
    if (d.pointSize > 0)
        font.setPointSizeF(d.pointSize / 10.0);
    else if (d.height != 0)
        font.setPointSizeF(std::abs(d.height) * Twips::PerPixel / 20.0);
    if (d.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(qBound(1, d.weight, 1000)));
    font.setItalic(d.italic != 0);
    font.setUnderline(d.underline != 0);
    font.setStrikeOut(d.strikeOut != 0);
    nameStyle(font);
    return font;
}

void storeFont(SystemDialogs::Font& d, const QFont& font)
{
    using F = SystemDialogs::Font;
    d.height = -static_cast<qint32>(std::nearbyint(font.pointSizeF() * 20.0 / Twips::PerPixel));
    d.weight = font.weight();
    d.italic = font.italic() ? 0xFF : 0;
    d.underline = font.underline() ? 0xFF : 0;
    d.strikeOut = font.strikeOut() ? 0xFF : 0;
    d.faceName = font.family().left(31).toLatin1().leftJustified(32, '\0');
    d.pointSize = static_cast<qint32>(std::nearbyint(font.pointSizeF() * 10));
    d.fontType = (font.bold() ? F::BoldFontType : F::RegularFontType) | (font.italic() ? F::ItalicFontType : 0);
}
} // namespace

bool RealDesktop::ShowFileDialog(CommonDialog& dialog, bool save)
{
    CheckingFileDialog box(QApplication::activeWindow(), dialog.Flags);
    FileDialogSetUp s;
    s.save = save;
    s.flags = dialog.Flags;
    s.title = dialog.DialogTitle;
    for (const CommonDialog::FilterEntry& entry : dialog.FilterEntries())
        s.filters << nameFilter(entry.description, entry.patterns);
    s.defaultExt = dialog.DefaultExt;
    s.fileName = dialog.FileName;
    setUp(box, s);
    if (box.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = box.selectedFiles();
    if (chosen.isEmpty())
        return false;
    dialog.FileName = chosen.first();
    return true;
}

int RealDesktop::ShowFileNameDialog(SystemDialogs::FileName& d)
{
    using F = SystemDialogs::FileName;
    CheckingFileDialog box(QApplication::activeWindow(), d.flags);
    FileDialogSetUp s;
    s.save = d.save;
    s.multiSelect = !d.save && (d.flags & F::AllowMultiSelect);
    s.flags = d.flags;
    s.title = d.title;
    s.filters = nameFiltersOf(d.filter);
    s.defaultExt = d.defaultExt;
    s.fileName = textBeforeNul(d.file);
    s.initialDir = d.initialDir;
    setUp(box, s);
    if (d.filterIndex >= 1 && d.filterIndex <= s.filters.size())
        box.selectNameFilter(s.filters[d.filterIndex - 1]);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return SystemDialogs::Cancelled;
    const QString names = chosenNames(box.selectedFiles());
    const QString title = box.selectedFiles().size() == 1 ? QFileInfo(names).fileName() : QString();
    // Each text needs room for its closing NUL.
    if (names.size() >= d.maxFile || title.size() >= d.maxFileTitle) {
        d.extendedError = SystemDialogs::BufferTooSmall;
        return SystemDialogs::Failed;
    }
    d.file = names.leftJustified(d.maxFile, QChar(0));
    d.fileTitle = title.leftJustified(d.maxFileTitle, QChar(0));
    // The list shows only the descriptions, which need not differ, so the
    // chosen filter is known by its place in the list.
    const auto* types = box.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (types && types->currentIndex() >= 0 && types->count() == s.filters.size())
        d.filterIndex = types->currentIndex() + 1;
    return SystemDialogs::Chosen;
}

int RealDesktop::ShowColorDialog(SystemDialogs::Color& d)
{
    for (int i = 0; i < qMin<int>(QColorDialog::customCount(), 16); ++i)
        QColorDialog::setCustomColor(i, SystemDialogs::ColorOfRgb(d.customColors[i]));
    QColorDialog box(QApplication::activeWindow());
    box.setOption(QColorDialog::DontUseNativeDialog);
    if (d.flags & SystemDialogs::Color::RgbInit)
        box.setCurrentColor(SystemDialogs::ColorOfRgb(d.rgbResult));
    const bool chosen = box.exec() == QDialog::Accepted;
    // The custom colours the user edited stay, chosen or not.
    for (int i = 0; i < qMin<int>(QColorDialog::customCount(), 16); ++i)
        d.customColors[i] = SystemDialogs::RgbValue(QColorDialog::customColor(i));
    if (!chosen)
        return SystemDialogs::Cancelled;
    d.rgbResult = SystemDialogs::RgbValue(box.selectedColor());
    return SystemDialogs::Chosen;
}

int RealDesktop::ShowFontDialog(SystemDialogs::Font& d)
{
    const bool limited = d.flags & SystemDialogs::Font::LimitSize;
    const QFont initial = initialFont(d);
    LimitedFontDialog box(initial, QApplication::activeWindow(), limited ? d.sizeMin : 0,
                          limited ? d.sizeMax : 0);
    box.setOption(QFontDialog::DontUseNativeDialog);
    if (box.exec() != QDialog::Accepted)
        return SystemDialogs::Cancelled;
    // Qt's dialog shows and offers whole sizes only: a size the user left as
    // shown keeps its fraction.
    QFont chosen = box.selectedFont();
    if (chosen.pointSize() == initial.pointSize())
        chosen.setPointSizeF(initial.pointSizeF());
    storeFont(d, chosen);
    return SystemDialogs::Chosen;
}

int RealDesktop::ShowPrintDialog(SystemDialogs::Print& d)
{
    using P = SystemDialogs::Print;
    std::unique_ptr<QPrinter> printer = systemPrinter();
    if (!printer) {
        d.extendedError = SystemDialogs::NoDefaultPrinter;
        return SystemDialogs::Cancelled;
    }
    QPrintDialog box(printer.get(), QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
    if (!(d.flags & P::NoPageNums))
        options |= QAbstractPrintDialog::PrintPageRange;
    if (!(d.flags & P::NoSelection))
        options |= QAbstractPrintDialog::PrintSelection;
    if (!(d.flags & (P::HidePrintToFile | P::DisablePrintToFile)))
        options |= QAbstractPrintDialog::PrintToFile;
    box.setOptions(options);
    box.setMinMax(d.minPage, d.maxPage);
    if (d.minPage <= d.fromPage && d.fromPage <= d.toPage && d.toPage <= d.maxPage)
        box.setFromTo(d.fromPage, d.toPage);
    if (d.flags & P::PageNums)
        box.setPrintRange(QAbstractPrintDialog::PageRange);
    else if (d.flags & P::Selection)
        box.setPrintRange(QAbstractPrintDialog::Selection);
    printer->setCollateCopies(d.flags & P::Collate);
    if ((d.flags & P::PrintToFile) && (options & QAbstractPrintDialog::PrintToFile))
        printer->setOutputFormat(QPrinter::PdfFormat);
    if (box.exec() != QDialog::Accepted)
        return SystemDialogs::Cancelled;

    qint32 flags = d.flags & ~(P::PageNums | P::Selection | P::Collate | P::PrintToFile);
    if (box.printRange() == QAbstractPrintDialog::PageRange) {
        flags |= P::PageNums;
        d.fromPage = printer->fromPage();
        d.toPage = printer->toPage();
    } else if (box.printRange() == QAbstractPrintDialog::Selection) {
        flags |= P::Selection;
    }
    if (printer->outputFormat() == QPrinter::PdfFormat)
        flags |= P::PrintToFile;
    // Copies and collation come back in the printer's settings when asked.
    const bool inDevMode = d.flags & P::UseDevModeCopiesAndCollate;
    if (!inDevMode && printer->collateCopies())
        flags |= P::Collate;
    d.copies = inDevMode ? 1 : printer->copyCount();
    d.flags = flags;
    d.devMode = devModeOf(*printer);
    d.printerName = printer->printerName();
    if (d.flags & P::ReturnDC)
        d.hDC = newPrinterDC();
    return SystemDialogs::Chosen;
}

int RealDesktop::ShowPageSetupDialog(SystemDialogs::PageSetup& d)
{
    using S = SystemDialogs::PageSetup;
    std::unique_ptr<QPrinter> printer = systemPrinter();
    if (!printer) {
        d.extendedError = SystemDialogs::NoDefaultPrinter;
        return SystemDialogs::Cancelled;
    }
    const bool metric = d.flags & S::InHundredthsOfMillimeters;
    const QPageLayout::Unit unit = metric ? QPageLayout::Millimeter : QPageLayout::Inch;
    const double factor = metric ? 100.0 : 1000.0;
    if (d.flags & S::SetMargins)
        printer->setPageMargins(QMarginsF(d.margin.left / factor, d.margin.top / factor, d.margin.right / factor,
                                          d.margin.bottom / factor),
                                unit);
    QPageSetupDialog box(printer.get(), QApplication::activeWindow());
    disableParts(box, d.flags);
    if (box.exec() != QDialog::Accepted)
        return SystemDialogs::Cancelled;
    QPageLayout layout = printer->pageLayout();
    layout.setUnits(unit);
    const auto inUnits = [factor](const QMarginsF& m) {
        return SystemDialogs::Margins{static_cast<qint32>(std::lround(m.left() * factor)),
                                      static_cast<qint32>(std::lround(m.top() * factor)),
                                      static_cast<qint32>(std::lround(m.right() * factor)),
                                      static_cast<qint32>(std::lround(m.bottom() * factor))};
    };
    d.margin = inUnits(layout.margins());
    d.minMargin = inUnits(layout.minimumMargins());
    d.devMode = devModeOf(*printer);
    return SystemDialogs::Chosen;
}

qint32 RealDesktop::DefaultPrinterDC() { return systemPrinter() ? newPrinterDC() : 0; }
