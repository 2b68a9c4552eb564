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
    // for the selection; for the font dialog 0 to 2 give a colour, a least
    // and a largest size); the record shown is the last of its script.
    struct AnyDialog {
        QString name, title, filter;
        qint32 index = 1, flags = 0, color = 0, hdc = 0, from = 1, to = 1, copies = 0, n = 0, dc = 0;
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
            if (dialog == "font") {
                color = on == 0 ? 5 : 0;
                return c.VBChooseFont(font, dc, 0, color, on == 1 ? 6 : 0, on == 2 ? 40 : 0, flags, false, nullptr);
            }
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
                   : dialog == "font"                   ? d.fontDialogs.shown.last().flags
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

    // Each Boolean argument on its own, against the flag it adds to the record.
    void eachChoiceAddsItsFlag_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("on"); // the Boolean argument set, -1 none
        QTest::addColumn<qint32>("flags");
        QTest::newRow("open, none") << "open" << -1 << 0;
        QTest::newRow("open, file must exist") << "open" << 0 << 0x1000;
        QTest::newRow("open, multiselect") << "open" << 1 << 0x200;
        QTest::newRow("open, read-only") << "open" << 2 << 0x1;
        QTest::newRow("open, hide read-only") << "open" << 3 << 0x4;
        QTest::newRow("save, none") << "save" << -1 << 0x4;
        QTest::newRow("save, overwrite prompt") << "save" << 0 << 0x6;
        QTest::newRow("colour, none") << "colour" << -1 << 0x81;
        QTest::newRow("colour, any colour") << "colour" << 0 << 0x101;
        QTest::newRow("colour, full open") << "colour" << 1 << 0x83;
        QTest::newRow("colour, no full open") << "colour" << 2 << 0x85;
        QTest::newRow("font, none") << "font" << -1 << 0x42;
        QTest::newRow("font, a colour") << "font" << 0 << 0x142;
        QTest::newRow("font, a least size") << "font" << 1 << 0x2042;
        QTest::newRow("font, a largest size") << "font" << 2 << 0x2042;
        const qint32 print = 0x40000 | 0x100 | 0x100000;
        QTest::newRow("print, none") << "print" << -1 << print;
        QTest::newRow("print, no page numbers") << "print" << 0 << (print | 0x8);
        QTest::newRow("print, no selection") << "print" << 1 << (print | 0x4);
        QTest::newRow("print, show print to file") << "print" << 2 << (print & ~0x100000);
        QTest::newRow("print, no print to file") << "print" << 3 << (print | 0x80000);
        QTest::newRow("print, print to file") << "print" << 4 << (print | 0x20);
        QTest::newRow("print, collate") << "print" << 5 << (print | 0x10);
        QTest::newRow("print, no warning") << "print" << 6 << (print | 0x80);
        QTest::newRow("print, range of pages") << "print" << 7 << (print | 0x2);
        QTest::newRow("print, selection") << "print" << 8 << (print | 0x1);
        QTest::newRow("page set-up, none") << "setup" << -1 << 0x4;
        QTest::newRow("page set-up, no margins") << "setup" << 0 << 0x14;
        QTest::newRow("page set-up, no orientation") << "setup" << 1 << 0x104;
        QTest::newRow("page set-up, no paper") << "setup" << 2 << 0x204;
        QTest::newRow("page set-up, no printer") << "setup" << 3 << 0x24;
        QTest::newRow("page set-up, millimetres") << "setup" << 4 << 0x8;
    }
    void eachChoiceAddsItsFlag()
    {
        QFETCH(QString, dialog);
        QFETCH(int, on);
        cdlg c;
        AnyDialog().run(c, dialog, on);
        QTEST(AnyDialog::shownFlags(dialog), "flags");
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

    // Page set-up in both forms: only an answer of 1 is a choice; then the
    // margins, paper and printer take it.
    void pageSetupTakesOnlyAChoice_data()
    {
        QTest::addColumn<bool>("whole");
        QTest::addColumn<int>("result");
        for (bool whole : {false, true})
            for (int result : {-1, 0, 1})
                QTest::addRow("%s, %d", whole ? "whole numbers" : "fractions", result) << whole << result;
    }
    void pageSetupTakesOnlyAChoice()
    {
        QFETCH(bool, whole);
        QFETCH(int, result);
        Scripted().pageSetupDialogs.answers << [result](SystemDialogs::PageSetup& d) {
            d.margin = {1000, 2000, 3000, 4000};
            d.minMargin = {500, 600, 700, 800};
            d.devMode = {"P", 2, 8, 4, 300, 0};
            return result;
        };
        cdlg c;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        qint32 paper = -5, orientation = -5, quality = -5;
        QList<float> margins(8, 9.f);
        QList<qint32> wholeMargins(8, 9);
        auto& f = margins;
        auto& w = wholeMargins;
        const bool chosen =
            whole ? c.VBPageSetupDlg(0, false, false, false, false, w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7],
                                     paper, orientation, quality, false, &printer, 0, false, nullptr)
                  : c.VBPageSetupDlg2(0, false, false, false, false, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7],
                                      paper, orientation, quality, false, &printer, 0, false, nullptr);
        QCOMPARE(chosen, result == 1);
        QCOMPARE(c.APIReturn(), result);
        if (result == 1) {
            // left, its minimum, right, its minimum, top, ... in inches
            QCOMPARE(margins, whole ? QList<float>(8, 9.f) : QList<float>({1, .5f, 3, .7f, 2, .6f, 4, .8f}));
            QCOMPARE(wholeMargins, whole ? QList<qint32>({1, 0, 3, 1, 2, 1, 4, 1}) : QList<qint32>(8, 9));
            QCOMPARE(QList<qint32>({paper, orientation, quality}), QList<qint32>({8, 2, 300}));
        } else {
            // The whole-number form always writes back its own margins, 0 when nothing was chosen.
            QCOMPARE(margins, QList<float>(8, 9.f));
            QCOMPARE(wholeMargins, QList<qint32>(8, whole ? 0 : 9));
            QCOMPARE(QList<qint32>({paper, orientation, quality}), QList<qint32>({-5, -5, -5}));
        }
        QCOMPARE(printer.pageLayout().orientation() == QPageLayout::Landscape, result == 1);
        QCOMPARE(printer.copyCount(), result == 1 ? 4 : 1);
    }

    // What the print dialog gives back: the range, pages and print to file.
    void printDialogGivesBackTheRange_data()
    {
        QTest::addColumn<qint32>("returned");
        QTest::addColumn<qint32>("range");
        QTest::addColumn<bool>("toFile");
        QTest::newRow("all") << 0 << 0 << false;
        QTest::newRow("pages") << 0x2 << 1 << false;
        QTest::newRow("selection") << 0x1 << 2 << false;
        QTest::newRow("pages before selection") << 0x3 << 1 << false;
        QTest::newRow("pages to a file") << 0x22 << 1 << true;
    }
    void printDialogGivesBackTheRange()
    {
        QFETCH(qint32, returned);
        Scripted().printDialogs.answers << [returned](SystemDialogs::Print& d) {
            d.flags = returned;
            d.fromPage = 7;
            d.toPage = 9;
            return 1;
        };
        cdlg c;
        qint32 hdc = 0, range = 2, from = 1, to = 2, copies = 0;
        bool toFile = !(returned & 0x20), collate = false;
        QVERIFY(c.VBPrintDlg(hdc, range, false, from, to, false, copies, true, false, toFile, collate, false, 0,
                             nullptr, 0, false, nullptr));
        QTEST(range, "range");
        QTEST(toFile, "toFile");
        QCOMPARE(QList<qint32>({from, to}), QList<qint32>({7, 9}));
    }

    void pageNumbersMustFitIn16Bits_data()
    {
        QTest::addColumn<qint32>("from");
        QTest::addColumn<qint32>("to");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qsizetype>("shown");
        QTest::newRow("lowest") << -32768 << 1 << "none" << qsizetype(1);
        QTest::newRow("below the lowest") << -32769 << 1 << "6" << qsizetype(0);
        QTest::newRow("highest") << 1 << 32767 << "none" << qsizetype(1);
        QTest::newRow("beyond the highest") << 1 << 32768 << "6" << qsizetype(0);
        QTest::newRow("last page below the lowest") << 1 << -32769 << "6" << qsizetype(0);
    }
    void pageNumbersMustFitIn16Bits()
    {
        QFETCH(qint32, from);
        QFETCH(qint32, to);
        cdlg c;
        qint32 hdc = 0, range = 0, copies = 0;
        bool toFile = false, collate = false;
        QTEST(raised([&] {
                  c.VBPrintDlg(hdc, range, false, from, to, false, copies, true, false, toFile, collate, false, 0,
                               nullptr, 0, false, nullptr);
              }),
              "error");
        QTEST(Scripted().printDialogs.shown.size(), "shown");
    }

    // Each style of the chosen font from its own field; the weight comes
    // after bold and has the last word.
    void chosenFontStyle_data()
    {
        QTest::addColumn<quint8>("italic");
        QTest::addColumn<quint8>("underline");
        QTest::addColumn<quint8>("strikeOut");
        QTest::addColumn<qint32>("fontType");
        QTest::addColumn<qint32>("weight");
        QTest::addColumn<QString>("style"); // italic, underline, strike-out, bold, then the weight
        QTest::newRow("italic") << quint8(0xFF) << quint8(0) << quint8(0) << 0x400 << 400 << "i--- 400";
        QTest::newRow("underline") << quint8(0) << quint8(0xFF) << quint8(0) << 0x400 << 400 << "-u-- 400";
        QTest::newRow("strike-out") << quint8(0) << quint8(0) << quint8(0xFF) << 0x400 << 400 << "--s- 400";
        QTest::newRow("bold") << quint8(0) << quint8(0) << quint8(0) << 0x100 << 700 << "---b 700";
        QTest::newRow("bold type, light weight") << quint8(0) << quint8(0) << quint8(0) << 0x100 << 300 << "---- 300";
        QTest::newRow("heavy, not bold type") << quint8(0) << quint8(0) << quint8(0) << 0x400 << 900 << "---b 900";
    }
    void chosenFontStyle()
    {
        QFETCH(quint8, italic);
        QFETCH(quint8, underline);
        QFETCH(quint8, strikeOut);
        QFETCH(qint32, fontType);
        QFETCH(qint32, weight);
        Scripted().fontDialogs.answers << [=](SystemDialogs::Font& d) {
            d.italic = italic;
            d.underline = underline;
            d.strikeOut = strikeOut;
            d.fontType = fontType;
            d.weight = weight;
            return 1;
        };
        cdlg c;
        QFont font("DejaVu Sans");
        font.setPointSize(10);
        font.setItalic(!italic);
        font.setUnderline(!underline);
        font.setStrikeOut(!strikeOut);
        qint32 dc = 0, color = 0, flags = 0;
        QVERIFY(c.VBChooseFont(font, dc, 0, color, 0, 0, flags, false, nullptr));
        QTEST(QString("%1%2%3%4 %5")
                  .arg(font.italic() ? "i" : "-", font.underline() ? "u" : "-", font.strikeOut() ? "s" : "-",
                       font.bold() ? "b" : "-")
                  .arg(font.weight()),
              "style");
        // The font handed to the dialog, each style from its own flag.
        const SystemDialogs::Font& shown = Scripted().fontDialogs.shown.at(0);
        QCOMPARE(QList<quint8>({shown.italic, shown.underline, shown.strikeOut}),
                 QList<quint8>({quint8(italic ^ 0xFF), quint8(underline ^ 0xFF), quint8(strikeOut ^ 0xFF)}));
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
    // and a style left as shown come back as they were.
    void realFontDialogKeepsWhatIsLeftAsShown_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QString>("typed"); // into the size box; empty: left as shown
        QTest::addColumn<double>("chosen");
        QTest::newRow("10.5 left") << "DejaVu Sans" << 10.5 << false << "" << 10.5;
        QTest::newRow("11 italic left") << "DejaVu Serif" << 11.0 << true << "" << 11.0;
        QTest::newRow("10.5 made 14") << "DejaVu Serif" << 10.5 << false << "14" << 14.0;
    }
    void realFontDialogKeepsWhatIsLeftAsShown()
    {
        QFETCH(QString, family);
        QFETCH(double, size);
        QFETCH(bool, italic);
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
        QFont font(family);
        font.setPointSizeF(size);
        font.setItalic(italic);
        qint32 dc = 0, color = 0, flags = 0;
        const bool chosen = c.VBChooseFont(font, dc, 0, color, 0, 0, flags, false, nullptr);
        SetDesktop(std::move(previous));
        QVERIFY(!user.gaveUp);
        QVERIFY(chosen);
        QTEST(font.pointSizeF(), "chosen");
        QCOMPARE(QList<int>({font.italic(), font.weight()}), QList<int>({italic, QFont::Normal}));
        QCOMPARE(font.family(), family);
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
