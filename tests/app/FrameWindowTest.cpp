#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "app/frmOpen.h"
#include "common/PageLaunchers.h"
#include "common/UrlDetect.h"
#include "reading/SpreadHeader.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "reading/frmFront.h"
#include "reading/frmTarot.h"

#include <QFile>
#include <QHeaderView>
#include <QMenuBar>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

namespace {
int ends() { return FormRegistry::instance().EndCount(); }

QStringList dictionaryKeys(const QString& path)
{
    QStringList keys;
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", "frame-test");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q("SELECT Key FROM tarot", db);
        while (q.next())
            keys << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase("frame-test");
    return keys;
}

// The text a PDF shows, through pdftotext when it is there.
QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return QString();
    // ligatures such as "fi" come out as one character
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}
} // namespace

class FrameWindowTest : public SessionTest {
    Q_OBJECT

private slots:
    void nextOpensTheFrameInReadingModeWithTheQuerentsDetails()
    {
        auto& front = frmFront();
        front.Show();
        QTest::keyClicks(front.txtName, "Ada Lovelace");
        QTest::keyClicks(front.txtCountry, "England");
        front.txtQuestion->setPlainText("Will the engine run?");
        front.cmbMonth->setCurrentIndex(11);
        front.cmbDate->setCurrentIndex(9);
        front.cmbYear->setCurrentIndex(15);
        QTest::mouseClick(front.cmdNext, Qt::LeftButton);

        auto& frame = frmMDI();
        QCOMPARE(frame.txtName->text(), QString("Ada Lovelace"));
        QCOMPARE(frame.txtDOB->text(), QString("December 10, 1915"));
        QCOMPARE(frame.txtCountry->text(), QString("England"));
        QCOMPARE(frame.txtQ->text(), QString("Will the engine run?"));
        QVERIFY(!frame.TB->isVisibleTo(&frame) && !frame.picTop2->isVisibleTo(&frame));
        QVERIFY(!frame.picLeft->isVisibleTo(&frame));
        QVERIFY(frame.picTop->isVisibleTo(&frame) && frame.picRight->isVisibleTo(&frame));
        QVERIFY(!frame.mnuUpdateKey->isEnabled());
        QVERIFY(!Forms::IsLoaded("frmFront"));
    }

    void headerBoxesShowTheBeginningOfLongEntries()
    {
        auto& front = frmFront();
        const QString entry = "United Kingdom of Great Britain and Northern Ireland, and far beyond";
        front.strName = front.strDOB = front.strCountry = front.strQ = entry;
        auto& frame = frmMDI();
        frame.Show();
        for (QLineEdit* box : {frame.txtName, frame.txtDOB, frame.txtCountry, frame.txtQ}) {
            QCOMPARE(box->text(), entry);
            QCOMPARE(box->cursorPosition(), 0);
        }
    }

    void everyLoadListsEveryDictionaryKey()
    {
        auto& frame = frmMDI();
        const QStringList expected = dictionaryKeys(folder->file("tarot.dll"));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(frame.lstKeys->Items(), expected);
        QCOMPARE(frame.lstKeys->ColumnHeader(), QString("Keywords"));
        QCOMPARE(frame.txtName->text(), QString()); // no querent: empty header
    }

    void missingDictionaryLeavesTheListEmpty()
    {
        folder->remove("tarot.dll");
        auto& frame = frmMDI();
        QCOMPARE(frame.lstKeys->Count(), 0);
        QVERIFY(Forms::IsLoaded("frmMDI"));
        QVERIFY(!QFile::exists(folder->file("tarot.dll")));

        // A table without the field adds no blank item either.
        Unload(frame);
        TestSupport::settle();
        {
            auto db = QSqlDatabase::addDatabase("QSQLITE", "no-key");
            db.setDatabaseName(folder->file("tarot.dll"));
            QVERIFY(db.open());
            QSqlQuery(db).exec("CREATE TABLE tarot (Word TEXT)");
            QSqlQuery(db).exec("INSERT INTO tarot VALUES ('Ace')");
        }
        QSqlDatabase::removeDatabase("no-key");
        QCOMPARE(frmMDI().lstKeys->Count(), 0);
    }

    void readingBoxFitsItsPaneSoTheEndCanBeReached()
    {
        auto& frame = frmMDI();
        frame.TB->setVisible(false);
        frame.picTop2->setVisible(false);
        frame.picLeft->setVisible(false);
        frame.Show();
        QVERIFY(frame.picRight->rect().contains(frame.rtbDisp1->geometry()));
        frame.resize(frame.width(), Twips::toPixels(12000));
        QCOMPARE(frame.rtbDisp1->height(), Twips::toPixels(8875));
    }

    void everyWindowKeepsItsClientAreaBelowTheMenuBar()
    {
        const QList<QPair<Form*, QSize>> windows{{&frmFront(), {7100, 6500}},
                                                 {&frmTarot(), {8880, 5370}},
                                                 {&frmMDI(), {11880, 8490}}};
        for (const auto& [form, twips] : windows) {
            form->Show();
            QCOMPARE(form->centralWidget()->size(), QSize(Twips::toPixels(twips.width()), Twips::toPixels(twips.height())));
        }
        QVERIFY(frmFront().centralWidget()->rect().contains(frmFront().cmdOld->geometry()));
    }

    void resizeKeepsTheButtonsAtTheRightEdge()
    {
        auto& frame = frmMDI();
        frame.Show();
        for (int width : {900, 1200}) {
            frame.resize(width, 700);
            QCoreApplication::processEvents();
            const double W = frame.WidthTwips();
            QVERIFY(qAbs(Twips::fromPixels(frame.cmdRestart->geometry().right() + 1) - (W - 300)) <= 30);
            QVERIFY(qAbs(Twips::fromPixels(frame.cmdRestart->x() - frame.cmdDonate->geometry().right() - 1) - 100) <= 30);
            QVERIFY(qAbs(Twips::fromPixels(frame.cmdDonate->x() - frame.cmdExit->geometry().right() - 1) - 100) <= 30);
            QVERIFY(qAbs(Twips::fromPixels(frame.cmdPrint->geometry().right() + 1) - (W - 300)) <= 30);
            QVERIFY(qAbs(Twips::fromPixels(frame.cmdPrint->x() - frame.cmdSave->geometry().right() - 1) - 100) <= 30);
            QCOMPARE(frame.rtbDisp1->height(), qMin(Twips::toPixels(8875), frame.picRight->height()));
            QCOMPARE(frame.lstKeys->height(), Twips::toPixels(frame.HeightTwips() - 5000));
            QCOMPARE(frame.cmdDisplay->y(), frame.lstKeys->geometry().bottom() + 1);
        }
    }

    void startAgainUnloadsEverythingAndShowsTheOpeningChoice()
    {
        frmFront().Show();
        frmFront().cmdNext_Click();
        frmMDI().rtbDisp1->SetText("old reading");
        const int before = ends();
        frmMDI().mnuStart->trigger();
        QVERIFY(!Forms::IsLoaded("frmMDI"));
        QVERIFY(Forms::IsLoaded("frmOpen") && frmOpen().isVisible());
        TestSupport::settle();
        QCOMPARE(ends(), before);
        QCOMPARE(Forms::Count(), 1);
        // a new reading gets a fresh frame
        QCOMPARE(frmMDI().rtbDisp1->Text(), QString());
        QVERIFY(frmMDI().TB->isVisibleTo(&frmMDI()));
    }

    void exitAndTheCloseBoxEndTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit button") << "button";
        QTest::newRow("E&xit menu") << "menu";
        QTest::newRow("close box") << "close";
    }
    void exitAndTheCloseBoxEndTheProgram()
    {
        QFETCH(QString, how);
        frmFront().Hide(); // a window hidden behind the frame goes too
        frmMDI().Show();
        const int before = ends();
        if (how == "button")
            QTest::mouseClick(frmMDI().cmdExit, Qt::LeftButton);
        else if (how == "menu")
            frmMDI().mnuExit->trigger();
        else
            frmMDI().close();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
        QVERIFY(!UrlDetectActive());
    }

    void printingWritesTheReadingToTheDefaultPrinter()
    {
        QTemporaryDir dir;
        Scripted().printerPdf = dir.filePath("reading.pdf");
        auto& frame = frmMDI();
        frame.rtbDisp1->SetText("");
        WriteSpreadHeader("One Card");
        frame.rtbDisp1->SetSelBold(true);
        frame.rtbDisp1->SetSelText("Spread Type - One Card\r\n");
        frame.rtbDisp1->SetSelBold(false);
        frame.rtbDisp1->SetSelText("The querent will find the lost key.");
        frame.rtbDisp1->SetSelStart(0);
        frame.rtbDisp1->SetSelLength(6); // a selection does not limit the print
        QTest::mouseClick(frame.cmdPrint, Qt::LeftButton);
        QCOMPARE(Scripted().printJobs, 1);
        QVERIFY(QFile(Scripted().printerPdf).size() > 0);
        const QString text = pdfText(Scripted().printerPdf);
        if (!text.isEmpty()) {
            QVERIFY(text.contains("Spread Type - One Card"));
            QVERIFY(text.contains("The querent will find the lost key."));
        }
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void printingWithoutAPrinterSaysSo()
    {
        frmMDI().rtbDisp1->SetText("a reading");
        QTest::mouseClick(frmMDI().cmdPrint, Qt::LeftButton);
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.contains("No printer is set up"));
        QCOMPARE(Scripted().boxes[0].icon(), int(vbInformation));
        QCOMPARE(Scripted().boxes[0].buttonSet(), int(vbOKOnly));
        QCOMPARE(Scripted().printJobs, 0);
        QVERIFY(frmMDI().RTB->Text().contains("Report Generated By " + PageAddress::Home));
    }

    void webAddressesInTheReadingOpenOnAPress()
    {
        auto& frame = frmMDI();
        frame.Show();
        frame.rtbDisp1->SetText("Come and see https://forum.example.org/tarot. And also www.cards.example.");
        QVERIFY(UrlDetectActive());
        const int inside = frame.rtbDisp1->toPlainText().indexOf("forum") + 2;
        QCOMPARE(UrlAt(frame.rtbDisp1, inside), QString("https://forum.example.org/tarot"));
        QCOMPARE(UrlAt(frame.rtbDisp1, frame.rtbDisp1->toPlainText().indexOf("cards.example") + 1),
                 QString("www.cards.example"));
        QCOMPARE(UrlAt(frame.rtbDisp1, 2), QString());

        QTextCursor c(frame.rtbDisp1->document());
        c.setPosition(inside);
        const QPoint at = frame.rtbDisp1->cursorRect(c).center();
        QWidget* view = frame.rtbDisp1->viewport();
        QTest::mouseMove(view, at);
        QTest::mouseRelease(view, Qt::LeftButton, {}, at);
        QVERIFY(Scripted().opened.isEmpty()); // moving or releasing opens nothing
        QTest::mousePress(view, Qt::LeftButton, {}, at);
        QTest::mouseRelease(view, Qt::LeftButton, {}, at);
        QCOMPARE(Scripted().opened, QStringList{"https://forum.example.org/tarot"});
        QTest::mousePress(view, Qt::RightButton, {}, at);
        QCOMPARE(Scripted().opened.size(), 1);

        // The right half of a character is that character: the link's last
        // one opens it, the blank before it does not.
        const QString text = frame.rtbDisp1->toPlainText();
        const auto rightHalfOf = [&](int position) {
            QTextCursor from(frame.rtbDisp1->document());
            from.setPosition(position);
            QTextCursor to = from;
            to.setPosition(position + 1);
            const QRect a = frame.rtbDisp1->cursorRect(from);
            return QPoint((a.x() + 3 * frame.rtbDisp1->cursorRect(to).x()) / 4, a.center().y());
        };
        QTest::mousePress(view, Qt::LeftButton, {}, rightHalfOf(text.indexOf("https") - 1));
        QCOMPARE(Scripted().opened.size(), 1);
        QTest::mousePress(view, Qt::LeftButton, {}, rightHalfOf(text.indexOf("/tarot") + 5));
        QCOMPARE(Scripted().opened.size(), 2);
    }

    void overlongAddressIsCutTo1023Characters()
    {
        auto& frame = frmMDI();
        frame.rtbDisp1->SetText("http://x.example/" + QString(3000, 'a'));
        QCOMPARE(UrlAt(frame.rtbDisp1, 5).size(), 1023);
    }

    // An address alone on its line opens where it is drawn, from its first
    // character to its last, and not beside them, whatever the alignment.
    void linkOpensWhereItIsDrawn_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << 0;
        QTest::newRow("right") << 1;
        QTest::newRow("centred") << 2;
    }

    void linkOpensWhereItIsDrawn()
    {
        QFETCH(int, alignment);
        auto& frame = frmMDI();
        frame.Show();
        RichTextBox* box = frame.rtbDisp1;
        box->SetText("A reading\r\n");
        box->SetSelStart(box->Text().size());
        box->SetSelAlignment(alignment);
        box->SetSelText("www.cards.example.org \r\n");
        box->SetSelAlignment(0);
        box->SetSelText("The end");
        const int first = box->toPlainText().indexOf("www");
        const int last = box->toPlainText().indexOf("org") + 2;
        const auto cursorAt = [box](int position) {
            QTextCursor c(box->document());
            c.setPosition(position);
            return box->cursorRect(c);
        };
        const auto xOf = [&](int position) { return cursorAt(position).x(); };
        const int y = cursorAt(first).center().y();
        const struct {
            int x;
            bool opens;
        } presses[] = {
            {xOf(first) - 4, false},
            {(xOf(first) + xOf(first + 1)) / 2, true},
            {(xOf(last) + xOf(last + 1)) / 2, true},
            {xOf(last + 1) + 4, false},
        };
        for (const auto& press : presses) {
            Scripted().opened.clear();
            QTest::mousePress(box->viewport(), Qt::LeftButton, {}, QPoint(press.x, y));
            QTest::mouseRelease(box->viewport(), Qt::LeftButton, {}, QPoint(press.x, y));
            QCOMPARE(Scripted().opened, press.opens ? QStringList{"www.cards.example.org"} : QStringList{});
        }
    }

    void menusAndLinks()
    {
        auto& frame = frmMDI();
        QStringList bar;
        for (QAction* a : frame.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{"&File", "&Help", "&Donate", "Make Money &Online"}));
        frame.mnuOnline->trigger();
        frame.mnuVisit->trigger();
        frame.mnuUpdate->trigger();
        frame.mnuDonate->trigger();
        frame.mnuMakeMoney->trigger();
        QCOMPARE(Scripted().opened, (QStringList{PageAddress::Help, PageAddress::Home, PageAddress::Download,
                                                 PageAddress::Donate, PageAddress::FullBrand}));
        frame.mnuAbout->trigger();
        QCOMPARE(Scripted().modalForms, QStringList{"frmAbout"});
    }
};

ARC_TEST(FrameWindowTest)
#include "FrameWindowTest.moc"
