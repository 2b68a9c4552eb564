#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "common/cdlg.h"
#include "platform/App.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPalette>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValidator>
#include <QtTest>

namespace {
const QChar NUL(0);
using Sd = SystemDialogs::FileName;

// What the next file dialog answers: a full name, its title and the filter pair.
std::function<int(Sd&)> choose(const QString& file, const QString& title, qint32 index, qint32 addFlags = 0)
{
    return [=](Sd& d) {
        d.file = file.leftJustified(d.maxFile, NUL);
        d.fileTitle = title.leftJustified(d.maxFileTitle, NUL);
        d.filterIndex = index;
        d.flags |= addFlags;
        return 1;
    };
}

// The number (and source) of the error a call raises; "none" when it raises none.
template <class F>
QString raised(F&& call)
{
    try {
        call();
    } catch (const cdlgError& e) {
        return QString("%1 %2").arg(e.Number()).arg(e.Source());
    } catch (const VbError& e) {
        return QString::number(e.Number());
    }
    return "none";
}

// Plays the user at the next real dialog of kind D once it is shown. One
// still open after five seconds is cancelled (gaveUp), so no test waits on it.
template <class D>
class UserAt {
public:
    explicit UserAt(std::function<void(D&)> act)
    {
        m_poll.callOnTimeout([this, act] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (dialog && dialog->isVisible()) {
                m_poll.stop();
                act(*dialog);
            }
        });
        m_guard.setSingleShot(true);
        m_guard.callOnTimeout([this] {
            gaveUp = true;
            for (int i = 0; i < 3 && QApplication::activeModalWidget(); ++i)
                QMetaObject::invokeMethod(QApplication::activeModalWidget(), "reject");
        });
        m_poll.start(10);
        m_guard.start(5000);
    }
    bool gaveUp = false;

private:
    QTimer m_poll;
    QTimer m_guard;
};

void clickAccept(QDialog& dialog)
{
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    for (QAbstractButton* b : buttons->buttons())
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole)
            return QTest::mouseClick(b, Qt::LeftButton);
}

struct Recorder : cdlgEventSink {
    QStringList calls;
    bool confirm = true;
    QVariant InitDialog(qint32& h) override { calls << QString("InitDialog %1").arg(h); return 42; }
    void DialogClose() override { calls << "DialogClose"; }
    void TypeChange(qint32& h) override { calls << QString("TypeChange %1").arg(h); }
    bool ConfirmOK() override { calls << "ConfirmOK"; return confirm; }
    void FolderChange(qint32& h) override { calls << QString("FolderChange %1").arg(h); }
    void FileChange(qint32& h) override { calls << QString("FileChange %1").arg(h); }
};
} // namespace

class CdlgTest : public QObject {
    Q_OBJECT

    struct Open {
        QString name, title, filter;
        qint32 index = 0, flags = 0;
        bool readOnly = false;
        bool run(cdlg& c)
        {
            return c.VBGetOpenFileName(name, title, true, true, readOnly, true, filter, index, "/start", "Pick",
                                       "qzv", -1, flags, true, nullptr);
        }
    };
    struct Save {
        QString name, title, filter;
        qint32 index = 0, flags = 0;
        bool run(cdlg& c)
        {
            return c.VBGetSaveFileName(name, title, true, filter, index, "", "", "", 5, flags, false, nullptr);
        }
    };
    // One dialog of each kind with the Boolean argument number "on" set
    // (-1: none; for the print dialog 7 and 8 ask for a range of pages and
    // for the selection); the record shown is the last of its script.
    struct AnyDialog {
        QString name, title, filter;
        qint32 index = 1, flags = 0, color = 5, hdc = 0, from = 1, to = 1, copies = 0, n = 0, dc = 0;
        float m = 0;
        QFont font;
        bool run(cdlg& c, const QString& dialog, int on)
        {
            bool readOnly = on == 2, toFile = on == 4, collate = on == 5;
            qint32 range = on - 6;
            if (dialog == "open")
                return c.VBGetOpenFileName(name, title, on == 0, on == 1, readOnly, on == 3, filter, index, "", "",
                                           "", 0, flags, false, nullptr);
            if (dialog == "save")
                return c.VBGetSaveFileName(name, title, on == 0, filter, index, "", "", "", 0, flags, false, nullptr);
            if (dialog == "colour")
                return c.VBChooseColor(color, on == 0, on == 1, on == 2, 0, 0, false, nullptr);
            if (dialog == "font")
                return c.VBChooseFont(font, dc, 0, color, 0, 0, flags, false, nullptr);
            if (dialog == "print")
                return c.VBPrintDlg(hdc, range, on == 0, from, to, on == 1, copies, on == 2, on == 3, toFile, collate,
                                    on == 6, 0, nullptr, 0, false, nullptr);
            return c.VBPageSetupDlg2(0, on == 0, on == 1, on == 2, on == 3, m, m, m, m, m, m, m, m, n, n, n, on == 4,
                                     nullptr, 0, false, nullptr);
        }
        static qint32 shownFlags(const QString& dialog)
        {
            ScriptedDesktop& d = Scripted();
            return dialog == "open" || dialog == "save" ? d.fileNameDialogs.shown.last().flags
                   : dialog == "colour"                 ? d.colorDialogs.shown.last().flags
                   : dialog == "print"                  ? d.printDialogs.shown.last().flags
                                                        : d.pageSetupDialogs.shown.last().flags;
        }
    };

private slots:
    void init() { TestSupport::resetSession(); }

    void openDialogGetsTheFilterAndFlagsAndGivesTheChoiceBack()
    {
        cdlg c;
        Open o{"old.qzv", "", "Text: files|*.txt|All|*.*", 2, 0x20 | 0x40 | 0x8};
        Scripted().fileNameDialogs.answers << choose("/r/a.txt", "a.txt", 2, Sd::ReadOnly);
        QVERIFY(o.run(c));
        const Sd& d = Scripted().fileNameDialogs.shown.at(0);
        QVERIFY(!d.save);
        QCOMPARE(d.owner, 0);
        QCOMPARE(d.filter, QString("Text") + NUL + " files" + NUL + "*.txt" + NUL + "All" + NUL + "*.*" + NUL + NUL);
        QCOMPARE(d.flags, 0x8 | 0x200 | 0x4 | 0x1000);
        QCOMPARE(d.file, QString("old.qzv").leftJustified(260, NUL));
        QCOMPARE(d.maxFile, 260);
        QCOMPARE(d.maxFileTitle, 260);
        QCOMPARE(d.initialDir + d.title + d.defaultExt, QString("/startPickqzv"));
        QCOMPARE(o.name, QString("/r/a.txt"));
        QCOMPARE(o.title, QString("a.txt"));
        // The colon cut the first description, so pair 2 is "*.txt" and "All".
        QCOMPARE(o.filter, QString("*.txt") + NUL + "All");
        QCOMPARE(o.index, 2);
        QCOMPARE(o.flags, 0x8 | 0x200 | 0x4 | 0x1000 | 0x1);
        QVERIFY(o.readOnly);
        QCOMPARE(c.APIReturn(), 1);

        Open one{"", "", "Readings|*.qzv", 1};
        Scripted().fileNameDialogs.answers << choose("/r/b.qzv", "b.qzv", 1);
        QVERIFY(one.run(c));
        QCOMPARE(one.filter, QString("Readings") + NUL + "*.qzv");
        QVERIFY(!one.readOnly);
    }

    void cancelledAndFailedFileDialogsClearTheirOutputs()
    {
        cdlg c;
        Open o{"a", "b", "X|*.x", 1, 0x8};
        QVERIFY(!o.run(c)); // nothing queued: the user cancels
        QCOMPARE(o.name + o.title + o.filter, QString());
        QCOMPARE(o.index, -1);
        QCOMPARE(o.flags, 0);
        QCOMPARE(c.APIReturn(), 0);
        QCOMPARE(c.ExtendedError(), 0);

        Save s{"a", "b", "X|*.x", 1, 0x20 | 0x1};
        Scripted().fileNameDialogs.answers << [](Sd& d) {
            d.extendedError = SystemDialogs::BufferTooSmall;
            return int(SystemDialogs::Failed);
        };
        QVERIFY(!s.run(c));
        const Sd& d = Scripted().fileNameDialogs.shown.last();
        QVERIFY(d.save);
        QCOMPARE(d.owner, 5);
        QCOMPARE(d.flags, 0x1 | 0x2 | 0x4);
        QCOMPARE(s.name + s.title + s.filter, QString());
        QCOMPARE(s.index, 0);
        QCOMPARE(c.APIReturn(), -1);
        QCOMPARE(c.ExtendedError(), 0x3003);

        // The file title leaves both results alone.
        QCOMPARE(c.VBGetFileTitle("/home/u/readings/a.qzv"), QString("a.qzv"));
        QCOMPARE(c.VBGetFileTitle("C:\\cards\\b.txt"), QString("b.txt"));
        QCOMPARE(c.VBGetFileTitle("/home/u/"), QString());
        QCOMPARE(c.VBGetFileTitle("/" + QString(260, 'n')), QString());
        QCOMPARE(c.ExtendedError(), 0x3003);

        // The next dialog starts from clean results.
        Scripted().fileNameDialogs.answers << choose("/c", "c", 0);
        QVERIFY(s.run(c));
        QCOMPARE(c.ExtendedError(), 0);
    }

    void overLongNamesAreRefusedBeforeTheDialog()
    {
        cdlg c;
        Save s{QString(261, 'a'), "t", "X|*.x", 1, 4};
        QVERIFY(!s.run(c));
        Open o{"n", QString(261, 'b'), "X|*.x", 1, 4};
        QVERIFY(!o.run(c));
        QVERIFY(Scripted().fileNameDialogs.shown.isEmpty());
        QCOMPARE(s.name, QString(261, 'a'));
        QCOMPARE(o.index, 1);
        Save full{QString(260, 'a'), "", "", 0, 0};
        full.run(c);
        QCOMPARE(Scripted().fileNameDialogs.shown.size(), 1);
    }

    void colourDialogAndCustomColours()
    {
        cdlg c;
        const QPalette palette = QGuiApplication::palette();
        QCOMPARE(c.CustomColor(0), SystemDialogs::RgbValue(palette.color(QPalette::Button)));
        QCOMPARE(c.CustomColor(5), SystemDialogs::RgbValue(palette.color(QPalette::Base)));
        QCOMPARE(c.CustomColor(16), -1);
        c.CustomColor(16, 0x123456);
        c.CustomColor(-1, 0x123456);
        c.CustomColor(15, 0x0000FF);
        QCOMPARE(c.CustomColor(15), 0x0000FF);

        qint32 color = 0x00FF00;
        Scripted().colorDialogs.answers << [](SystemDialogs::Color& d) {
            d.customColors[2] = 0x010203;
            d.rgbResult = 0x332211;
            return 1;
        };
        QVERIFY(c.VBChooseColor(color, true, true, true, -1, 0x7FFF, true, nullptr));
        const SystemDialogs::Color& d = Scripted().colorDialogs.shown.at(0);
        QCOMPARE(d.flags, 0x100 | 0x1 | 0x2 | 0x4);
        QCOMPARE(d.rgbResult, 0x00FF00);
        QCOMPARE(d.customColors[15], 0x0000FF);
        QCOMPARE(color, 0x332211);
        QCOMPARE(c.CustomColor(2), 0x010203);

        Scripted().colorDialogs.answers << [](SystemDialogs::Color& d) {
            d.customColors[3] = 0x0A0B0C; // edited, then cancelled
            return 0;
        };
        QVERIFY(!c.VBChooseColor(color, false, false, false, 9, 0, false, nullptr));
        QCOMPARE(Scripted().colorDialogs.shown.at(1).flags, 0x80 | 0x1);
        QCOMPARE(Scripted().colorDialogs.shown.at(1).owner, 9);
        QCOMPARE(color, -1);
        QCOMPARE(c.CustomColor(3), 0x0A0B0C);
    }

    void fontDialogSizesFlagsAndChosenFont()
    {
        cdlg c;
        QFont font("DejaVu Sans");
        font.setPointSizeF(11);
        font.setItalic(true);
        qint32 dc = -1, color = 0xFF, flags = 0x2 | 0x8 | 0x10 | 0x200;
        Scripted().printerDC = 77;
        Scripted().fontDialogs.answers << [](SystemDialogs::Font& d) {
            d.faceName = QByteArray("Serif").leftJustified(32, '\0');
            d.pointSize = 125;
            d.weight = 700;
            d.fontType = SystemDialogs::Font::BoldFontType;
            d.italic = 0;
            d.underline = 0xFF;
            d.rgbColors = 0xABCDEF;
            d.flags |= 0x10000;
            return 1;
        };
        QVERIFY(c.VBChooseFont(font, dc, -1, color, 6, 40, flags, false, nullptr));
        const SystemDialogs::Font& d = Scripted().fontDialogs.shown.at(0);
        QCOMPARE(d.printerDC, 77);
        QCOMPARE(d.flags, 0x2 | 0x100 | 0x2000 | 0x40);
        QCOMPARE(d.height, -15); // 11 points are 220 twips, 14.67 pixels
        QCOMPARE(d.pointSize, 110);
        QCOMPARE(d.italic, quint8(0xFF));
        QCOMPARE(d.faceName, QByteArray("DejaVu Sans").leftJustified(32, '\0'));
        QCOMPARE(d.sizeMin * 100 + d.sizeMax, 640);
        QCOMPARE(dc, 77);
        QCOMPARE(flags, 0x2 | 0x100 | 0x2000 | 0x40 | 0x10000);
        QCOMPARE(color, 0xABCDEF);
        QCOMPARE(font.family(), QString("Serif"));
        QCOMPARE(font.pointSizeF(), 12.5);
        QVERIFY(font.bold() && !font.italic() && font.underline() && !font.strikeOut());

        // Cancelled: the computed flags and device context stay, the font does not change.
        qint32 dc2 = -1, noColor = 0, flags2 = 0;
        QVERIFY(!c.VBChooseFont(font, dc2, 0, noColor, 0, 0, flags2, false, nullptr));
        QCOMPARE(dc2, 0);
        QCOMPARE(flags2, 0x1 | 0x40);
        qint32 dc3 = 12, flags3 = 0;
        QVERIFY(!c.VBChooseFont(font, dc3, 0, noColor, 0, 0, flags3, false, nullptr));
        QCOMPARE(dc3, 12);
        QCOMPARE(flags3, 0x2 | 0x40);
        QCOMPARE(font.family(), QString("Serif"));
    }

    void printDialogPagesCopiesAndPrinter()
    {
        cdlg c;
        qint32 hdc = 0, range = 1, from = 2, to = 32767, copies = 0;
        bool toFile = true, collate = false;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        Scripted().printDialogs.answers << [](SystemDialogs::Print& d) {
            d.flags = (d.flags & ~0x22) | 0x1;
            d.hDC = 99;
            d.fromPage = 3;
            d.toPage = 4;
            d.printerName = "A printer whose name is longer than thirty-one characters";
            d.devMode = {"A printer whose name is longer", 2, 8 /* A3 */, 3, 300, 1};
            return 1;
        };
        QVERIFY(c.VBPrintDlg(hdc, range, true, from, to, true, copies, false, true, toFile, collate, true, -1,
                             &printer, 0x1000 | 0x8000 | 0x400000, false, nullptr));
        const SystemDialogs::Print& d = Scripted().printDialogs.shown.at(0);
        QCOMPARE(d.flags, 0x400000 | 0x8 | 0x80000 | 0x4 | 0x20 | 0x100000 | 0x80 | 0x40000 | 0x100 | 0x2);
        QCOMPARE(d.owner, -1);
        QCOMPARE(QList<qint32>({d.fromPage, d.toPage, d.minPage, d.maxPage}), QList<qint32>({2, 32767, 1, 0xFFFF}));
        QCOMPARE(QList<qint32>({hdc, range, from, to, copies}), QList<qint32>({99, 2, 3, 4, 3}));
        QVERIFY(!toFile && collate);
        QCOMPARE(c.SelectedPrinterName, QString("A printer whose name is longer than thirty-one characters"));
        QCOMPARE(c.StoredDevMode().paperSize, qint16(8));
        QCOMPARE(printer.copyCount(), 3);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A3);

        // Collated copies the printer cannot make itself come from the dialog.
        Scripted().printDialogs.answers << [](SystemDialogs::Print& d) {
            d.flags = 0x10;
            d.copies = 5;
            d.devMode.copies = 1;
            return 1;
        };
        range = 0;
        QVERIFY(c.VBPrintDlg(hdc, range, false, from, to, false, copies, true, false, toFile, collate, false, 0,
                             nullptr, 0, false, nullptr));
        QCOMPARE(Scripted().printDialogs.shown.at(1).flags, 0x40000 | 0x100 | 0x10); // collated before
        QVERIFY(collate);
        QCOMPARE(copies, 5);
        QCOMPARE(range, 0);

        // A page number beyond 16 bits overflows before the dialog opens.
        to = 32768;
        QCOMPARE(raised([&] {
                     c.VBPrintDlg(hdc, range, false, from, to, false, copies, true, false, toFile, collate, false,
                                  0, nullptr, 0, false, nullptr);
                 }),
                 QString("6"));
        QCOMPARE(Scripted().printDialogs.shown.size(), 2);
    }

    void pageSetupMarginsAndUnits()
    {
        cdlg c;
        float l = 12.7f, ml = 1, r = 0.004f, mr = 0, t = 20, mt = 0, b = 3.333f, mb = 0;
        qint32 paper = 0, orientation = 0, quality = 0;
        Scripted().pageSetupDialogs.answers << [](SystemDialogs::PageSetup& d) {
            d.margin = {1250, 2000, 1351, 25};
            d.minMargin = {500, 500, 500, 500};
            d.devMode = {"P", 1, 9, 1, 600, 0};
            return 1;
        };
        QVERIFY(c.VBPageSetupDlg2(3, true, true, false, true, l, ml, r, mr, t, mt, b, mb, paper, orientation, quality,
                                  true, nullptr, 0x3, false, nullptr));
        const SystemDialogs::PageSetup& d = Scripted().pageSetupDialogs.shown.at(0);
        QCOMPARE(d.flags, 0x10 | 0x100 | 0x20 | 0x8);
        QCOMPARE(QList<qint32>({d.margin.left, d.margin.top, d.margin.right, d.margin.bottom, d.minMargin.left}),
                 QList<qint32>({1270, 2000, 0, 333, 100}));
        QCOMPARE(QList<float>({l, t, r, b, ml}), QList<float>({12.5f, 20, 13.51f, 0.25f, 5}));
        QCOMPARE(QList<qint32>({paper, orientation, quality}), QList<qint32>({9, 1, 600}));

        // Whole numbers in inches, halves to even; the margins given are not read.
        qint32 wl = 99, wml = 99, wr = 99, wmr = 99, wt = 99, wmt = 99, wb = 99, wmb = 99;
        Scripted().pageSetupDialogs.answers << [](SystemDialogs::PageSetup& d) {
            d.margin = {1500, 2500, 1499, 0};
            return 1;
        };
        QVERIFY(c.VBPageSetupDlg(0, false, false, false, false, wl, wml, wr, wmr, wt, wmt, wb, wmb, paper,
                                 orientation, quality, false, nullptr, 0, false, nullptr));
        QCOMPARE(Scripted().pageSetupDialogs.shown.at(1).flags, 0x4);
        QCOMPARE(Scripted().pageSetupDialogs.shown.at(1).margin.left, 0);
        QCOMPARE(QList<qint32>({wl, wt, wr, wb, wml}), QList<qint32>({2, 2, 1, 0, 0}));

        // Cancelled: the single-precision margins stay as they were.
        QVERIFY(!c.VBPageSetupDlg2(0, false, false, false, false, l, ml, r, mr, t, mt, b, mb, paper, orientation,
                                   quality, true, nullptr, 0, false, nullptr));
        QCOMPARE(l, 12.5f);
    }

    void withoutAPrinterThePrintDialogsAnswerFalse()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has a printer, whose real dialog would wait for a user");
        auto previous = SetDesktop(std::make_unique<RealDesktop>());
        cdlg c;
        qint32 hdc = 0, range = 0, from = 1, to = 1, copies = 0;
        bool toFile = false, collate = false;
        const bool printed = c.VBPrintDlg(hdc, range, false, from, to, false, copies, true, false, toFile, collate,
                                          false, 0, nullptr, 0, false, nullptr);
        const QList<qint32> printResult{c.APIReturn(), c.ExtendedError()};
        float m[8] = {};
        qint32 paper = 0, orientation = 0, quality = 0;
        const bool setUp = c.VBPageSetupDlg2(0, false, false, false, false, m[0], m[1], m[2], m[3], m[4], m[5], m[6],
                                             m[7], paper, orientation, quality, true, nullptr, 0, false, nullptr);
        SetDesktop(std::move(previous));
        QVERIFY(!printed && !setUp);
        // Answered as a cancel, with the cause that tells the two apart.
        QCOMPARE(printResult, QList<qint32>({0, 0x1008}));
        QCOMPARE(QList<qint32>({c.APIReturn(), c.ExtendedError()}), QList<qint32>({0, 0x1008}));
        QCOMPARE(c.SelectedPrinterName, QString());
    }

    void hookDispatchesToTheEventSinkUntilADialogClearsIt()
    {
        cdlg c;
        Recorder sink;
        QVERIFY(!c.DialogHook(1, 0x110, 0, 0).isValid()); // no sink: nothing happens
        c.m_eventSink = &sink;
        QCOMPARE(c.DialogHook(8, 0x110, 0, 0).toInt(), 42);
        cdlgNotification n;
        for (qint32 code : {-607, -603, -602, -601}) {
            n.code = code;
            QVERIFY(!c.DialogHook(8, 0x4E, 0, reinterpret_cast<qintptr>(&n)).isValid());
        }
        n.code = -606;
        n.messageResult = 7;
        QVERIFY(!c.DialogHook(8, 0x4E, 0, reinterpret_cast<qintptr>(&n)).isValid());
        QCOMPARE(n.messageResult, 0);
        sink.confirm = false;
        QCOMPARE(c.DialogHook(8, 0x4E, 0, reinterpret_cast<qintptr>(&n)).toInt(), 1);
        QCOMPARE(n.messageResult, 1);
        c.DialogHook(8, 0x82, 0, 0);
        QCOMPARE(sink.calls, QStringList({"InitDialog 8", "TypeChange 8", "FolderChange 8", "FileChange 8",
                                          "ConfirmOK", "ConfirmOK", "DialogClose"}));
        qint32 color = 0;
        c.VBChooseColor(color, false, false, false, 0, 0, false, nullptr);
        QVERIFY(!c.DialogHook(8, 0x110, 0, 0).isValid());
    }

    // A cancel answers 0 with no cause; a dialog not shown answers 0 with
    // its cause; a failure answers something else with its cause.
    void resultsAndCauses_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("result");
        QTest::addColumn<qint32>("cause");
        for (const char* dialog : {"open", "save", "colour", "font", "print", "setup"}) {
            QTest::addRow("%s cancelled", dialog) << dialog << 0 << 0;
            QTest::addRow("%s, no printer", dialog) << dialog << 0 << 0x1008;
            QTest::addRow("%s failed", dialog) << dialog << -1 << 0x3003;
        }
    }
    void resultsAndCauses()
    {
        QFETCH(QString, dialog);
        QFETCH(int, result);
        QFETCH(qint32, cause);
        auto answer = [result, cause](auto& d) {
            d.extendedError = cause;
            return result;
        };
        Scripted().fileNameDialogs.answers << answer;
        Scripted().colorDialogs.answers << answer;
        Scripted().fontDialogs.answers << answer;
        Scripted().printDialogs.answers << answer;
        Scripted().pageSetupDialogs.answers << answer;
        cdlg c;
        QVERIFY(!AnyDialog().run(c, dialog, -1));
        QCOMPARE(c.APIReturn(), result);
        QCOMPARE(c.ExtendedError(), cause);
    }

    // Through Qt's own file dialog: the user switches the file type and
    // types a name; the type chosen comes back by its place in the list,
    // even where two types share a description.
    void realFileDialogGivesBackTheTypeChosen_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<qint32>("index");
        QTest::addColumn<QString>("chosenFilter");
        QTest::addColumn<qint32>("chosenIndex");
        const QString types = "Text|*.txt|Readings|*.qzv|All|*.*";
        QTest::newRow("open") << false << types << 1 << QString("Readings") + NUL + "*.qzv" << 2;
        QTest::newRow("save") << true << types << 2 << QString("All") + NUL + "*.*" << 3;
        QTest::newRow("same descriptions") << false << "Cards|*.txt|Cards|*.qzv" << 1 << QString("Cards") + NUL + "*.qzv"
                                           << 2;
    }
    void realFileDialogGivesBackTheTypeChosen()
    {
        QFETCH(bool, save);
        QFETCH(QString, filter);
        QFETCH(qint32, index);
        QTemporaryDir dir;
        QFile file(dir.filePath("b.qzv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        auto previous = SetDesktop(std::make_unique<RealDesktop>());
        UserAt<QFileDialog> user([](QFileDialog& d) {
            QTest::keyClick(d.findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
            // The user waits for the file to be listed.
            const auto* list = d.findChild<QAbstractItemView*>("listView");
            if (QTest::qWaitFor([list] { return list->model()->rowCount(list->rootIndex()) > 0; })) {
                QTest::keyClicks(d.findChild<QLineEdit*>("fileNameEdit"), "b.qzv");
                clickAccept(d);
            }
        });
        cdlg c;
        QString name, title;
        qint32 flags = 0;
        bool readOnly = false;
        const bool chosen =
            save ? c.VBGetSaveFileName(name, title, false, filter, index, dir.path(), "", "", 0, flags, false, nullptr)
                 : c.VBGetOpenFileName(name, title, true, false, readOnly, true, filter, index, dir.path(), "", "",
                                       0, flags, false, nullptr);
        SetDesktop(std::move(previous));
        QVERIFY(!user.gaveUp);
        QVERIFY(chosen);
        QCOMPARE(name, dir.filePath("b.qzv"));
        QCOMPARE(title, QString("b.qzv"));
        QTEST(filter, "chosenFilter");
        QTEST(index, "chosenIndex");
    }

    // Through Qt's own font dialog, which offers whole sizes only: a size
    // left as shown keeps its fraction.
    void realFontDialogKeepsTheSizeLeftAsShown_data()
    {
        QTest::addColumn<double>("size");
        QTest::addColumn<QString>("typed"); // into the size box; empty: left as shown
        QTest::addColumn<double>("chosen");
        QTest::newRow("10.5 left") << 10.5 << "" << 10.5;
        QTest::newRow("11 left") << 11.0 << "" << 11.0;
        QTest::newRow("10.5 made 14") << 10.5 << "14" << 14.0;
    }
    void realFontDialogKeepsTheSizeLeftAsShown()
    {
        QFETCH(double, size);
        QFETCH(QString, typed);
        auto previous = SetDesktop(std::make_unique<RealDesktop>());
        UserAt<QFontDialog> user([typed](QFontDialog& d) {
            for (QLineEdit* edit : d.findChildren<QLineEdit*>())
                if (!typed.isEmpty() && qobject_cast<const QIntValidator*>(edit->validator())) {
                    edit->selectAll();
                    QTest::keyClicks(edit, typed);
                }
            clickAccept(d);
        });
        cdlg c;
        QFont font("DejaVu Sans");
        font.setPointSizeF(size);
        qint32 dc = 0, color = 0, flags = 0;
        const bool chosen = c.VBChooseFont(font, dc, 0, color, 0, 0, flags, false, nullptr);
        SetDesktop(std::move(previous));
        QVERIFY(!user.gaveUp);
        QVERIFY(chosen);
        QTEST(font.pointSizeF(), "chosen");
    }

    void dialogErrorsAndSmallHelpers()
    {
        QCOMPARE(cdlg::DialogErrorNumber(0x3003), qint32(0x80043003u));
        QCOMPARE(cdlg::PassThrough(-5), -5);
        QCOMPARE(raised([] { cdlg::RaiseDialogError(1000); }), "1000 " + App::EXEName() + ".VBError");
        QCOMPARE(raised([] { cdlg::RaiseDialogError(0x1008); }),
                 QString::number(qint32(0x80041008u)) + " " + App::EXEName() + ".CommonDialog");
        QByteArray none;
        cdlg::TextToBytes(none, "Ab");
        QCOMPARE(none, QByteArray("Ab"));
        QByteArray four(4, 'x');
        cdlg::TextToBytes(four, "Abcdef");
        QCOMPARE(four, QByteArray("Abcd"));
        cdlg::TextToBytes(four, "\u00e9");
        QCOMPARE(cdlg::BytesToText(four), QString("\u00e9") + NUL + NUL + NUL);
        QCOMPARE(cdlg::TextBeforeNull(QString("ab") + NUL + "cd"), QString("ab"));
        QCOMPARE(cdlg::SelectedFilter(QString("a") + NUL + "b" + NUL + NUL, 2), QString());
        QCOMPARE(cdlg::SelectedFilter("", 1), QString());
        QCOMPARE(cdlg::SelectedFilter(QString("a") + NUL + "b" + NUL + NUL, 0), QString());
    }
};

ARC_TEST(CdlgTest)
#include "CdlgTest.moc"
