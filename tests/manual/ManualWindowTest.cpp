#include "ManualFlow.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "common/ArrayRoutines.h"
#include "common/PageLaunchers.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include "spread/frmAuto.h"

#include <QMenuBar>
#include <QtTest>

using namespace ManualFlow;

namespace {
int ends() { return FormRegistry::instance().EndCount(); }

QStringList captionsOf(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? "-" : a->text());
    return out;
}

bool shows(const PictureBox* box, const QString& file)
{
    const QImage expected = LoadPicture(file);
    return !expected.isNull() && box->Picture() == expected;
}
} // namespace

class ManualWindowTest : public SessionTest {
    Q_OBJECT

private slots:
    void designOfTheWindow()
    {
        openManualReading(0);
        auto& m = frmManual();
        QCOMPARE(m.Caption(), QString("Arcavell Pro Software v1.85"));
        QVERIFY(m.isVisible());
        QVERIFY(m.parentWidget() == nullptr); // a top-level window, not a child of the frame
        QCOMPARE(m.centralWidget()->size(), QSize(Twips::toPixels(7560), Twips::toPixels(6360)));
        QCOMPARE(m.fraPictures->geometry(), Twips::rect(2520, 540, 5055, 4035));
        QCOMPARE(m.txtDisp->geometry(), Twips::rect(90, 4620, 7395, 1245));
        QCOMPARE(m.cmdCancel->geometry(), Twips::rect(5370, 5940, 1095, 375));
        QCOMPARE(m.cmdBack->geometry(), Twips::rect(6510, 5940, 975, 375));
        QCOMPARE(m.picManual->geometry(), Twips::rect(90, 480, 2415, 4095));
        QCOMPARE(m.cmdCancel->text(), QString("Exit"));
        QCOMPARE(m.cmdBack->text(), QString("Back"));
        QVERIFY(m.txtDisp->font().bold());
        QCOMPARE(m.txtDisp->font().pointSizeF(), 9.75);

        // 13 backs to a row, numbered left to right, then top to bottom.
        for (int i : {0, 1, 12, 13, 40, 77})
            QCOMPARE(m.p[i]->geometry(), Twips::rect(90 + 375 * (i % 13), 180 + 630 * (i / 13), 350, 600));
        const QImage back = m.p[0]->Picture();
        QVERIFY(!back.isNull());
        for (const CardBack* b : m.p)
            QCOMPARE(b->Picture(), back);

        // The wait panel and the carriers are hidden.
        QVERIFY(!m.picMessage->isVisible());
        QCOMPARE(m.Label1->text(), QString("Please Wait ..."));
        QCOMPARE(m.Label2->text(), QString("Arcavell Reading Software is generating the Tarot result...."));
        QCOMPARE(m.Label3->text(), QString("Arcavell Reading Software is generating the Tarot result...."));
        QVERIFY(!m.picTmp->isVisible());
        QVERIFY(!m.Img->isVisible());

        QList<QMenu*> menus;
        QStringList bar;
        for (QAction* a : m.menuBar()->actions()) {
            bar << a->text();
            if (a->menu())
                menus << a->menu();
        }
        QCOMPARE(bar, (QStringList{"&File", "&Help", "Donate", "Make Money &Online"}));
        QCOMPARE(captionsOf(menus[0]), (QStringList{"&Start Again", "-", "&Exit"}));
        QCOMPARE(captionsOf(menus[1]), (QStringList{"&Online Help", "&Visit Us Online", "-",
                                                    "Check for Software &Update", "-", "&About Software"}));
    }

    void backsOfTheCardSet_data()
    {
        QTest::addColumn<bool>("major");
        QTest::addColumn<bool>("minor");
        QTest::addColumn<int>("shown");
        QTest::newRow("whole deck") << false << false << 78;
        QTest::newRow("major arcana") << true << false << 22;
        QTest::newRow("minor arcana") << false << true << 56;
    }
    void backsOfTheCardSet()
    {
        QFETCH(bool, major);
        QFETCH(bool, minor);
        QFETCH(int, shown);
        Options options;
        options.major = major;
        options.minor = minor;
        openManualReading(3, options);
        auto& m = frmManual();
        // always the first backs of the grid
        for (int i = 0; i < 78; ++i) {
            QCOMPARE(m.p[i]->isVisibleTo(&m), i < shown);
            QCOMPARE(m.p[i]->isEnabled(), i < shown);
        }
        QCOMPARE(m.MajorOnly, major);
        QCOMPARE(m.MinorOnly, minor);
    }

    void diagramOfTheSpreadIsLoadedOnEveryVisit()
    {
        for (int spread : {9, 4}) {
            openManualReading(spread);
            auto& m = frmManual();
            QVERIFY(shows(m.picManual, folder->file(QString("pic/c%1.jpg").arg(spread))));
            QCOMPARE(m.picManual->geometry(), Twips::rect(90, 480, 2415, 4095));
            QTest::mouseClick(m.cmdBack, Qt::LeftButton);
            TestSupport::settle();
        }
    }

    void missingDiagramLeavesTheBoxEmpty()
    {
        folder->remove("pic/c5.jpg");
        openManualReading(5);
        auto& m = frmManual();
        QVERIFY(m.picManual->Picture().isNull());
        QCOMPARE(m.txtDisp->Text(), QString("Card 1 - This card represents the distant past."));
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void firstPromptOfEachSpread()
    {
        for (int spread = 0; spread < 13; ++spread) {
            openManualReading(spread);
            QCOMPARE(frmManual().txtDisp->Text(), prompt(spread, 0));
            QCOMPARE(frmManual().PickedCards.UBound(), SpreadTable(spread).Cards - 1);
            QTest::mouseClick(frmManual().cmdBack, Qt::LeftButton);
            TestSupport::settle();
        }
    }

    void promptsForNamesOutsideTheTableLeaveTheBox()
    {
        openManualReading(0);
        auto& m = frmManual();
        const QString first = m.txtDisp->Text();
        m.SpreadName = "celtic cross";
        m.ShowCardInfo("1");
        QCOMPARE(m.txtDisp->Text(), first);
        m.SpreadName = "Celtic Cross ";
        m.ShowCardInfo("1");
        QCOMPARE(m.txtDisp->Text(), first);
        m.SpreadName = "Celtic Cross";
        m.ShowCardInfo("10"); // one past the last position
        QCOMPARE(m.txtDisp->Text(), first);
        m.ShowCardInfo("9");
        QCOMPARE(m.txtDisp->Text(), prompt(0, 9));
    }

    void romanyAndZodiacPromptsToTheirLastPosition()
    {
        openManualReading(9);
        auto& m = frmManual();
        for (int k = 1; k <= 20; ++k) {
            clickBack(m, k);
            QCOMPARE(m.txtDisp->Text(), prompt(9, k));
        }
        QTest::mouseClick(m.cmdBack, Qt::LeftButton);
        TestSupport::settle();
        openManualReading(10);
        auto& z = frmManual();
        for (int k = 1; k <= 11; ++k) {
            clickBack(z, 77 - k);
            QCOMPARE(z.txtDisp->Text(), prompt(10, k));
        }
    }

    // The card place of a position the spread does not have is only shown.
    void placingBeyondTheSpreadOnlyShowsThePlace()
    {
        openManualReading(1);
        auto& m = frmManual();
        const QString before = m.txtDisp->Text();
        auto& w = frmAuto();
        const QPoint designed = w.p[5]->pos();
        QVERIFY(m.SetPicPlacement(1, 5));
        QCOMPARE(w.p[5]->pos(), designed);
        QVERIFY(w.p[5]->isVisibleTo(&w) && w.p[5]->isEnabled());
        QVERIFY(w.lbl[5]->isVisibleTo(&w) && w.lbl[5]->isEnabled());
        QCOMPARE(m.txtDisp->Text(), before);
    }

    void backLeadsToAFreshQuerentWindow_data()
    {
        QTest::addColumn<bool>("menu");
        QTest::newRow("Back") << false;
        QTest::newRow("Start Again") << true;
    }
    void backLeadsToAFreshQuerentWindow()
    {
        QFETCH(bool, menu);
        openManualReading(0);
        auto& m = frmManual();
        clickBack(m, 3);
        clickBack(m, 4);
        const int before = ends();
        if (menu)
            m.mnuStart->trigger();
        else
            QTest::mouseClick(m.cmdBack, Qt::LeftButton);
        QVERIFY(!Forms::IsLoaded("frmManual"));
        QVERIFY(Forms::IsLoaded("frmFront") && frmFront().isVisible());
        QVERIFY(frmFront().txtName->text().isEmpty());
        QVERIFY(!Forms::IsLoaded("frmOpen"));
        QVERIFY(Forms::IsLoaded("frmMDI") && !frmMDI().isVisible());
        QVERIFY(!Forms::IsLoaded("frmAuto"));
        QVERIFY(!IsArrayDimmed(Reading().DrawnCards));
        TestSupport::settle();
        QCOMPARE(ends(), before);

        // and a new reading from there is whole
        openManualReading(2);
        auto& again = frmManual();
        QCOMPARE(again.PickCount, qint16(0));
        QVERIFY(again.p[3]->isVisibleTo(&again));
        clickBack(again, 3);
        clickBack(again, 4);
        QCOMPARE(Reading().DrawnCards.UBound(), 1);
        QVERIFY(frmMDI().isVisible());
    }

    void newReadingAfterBackShowsTheNewQuerent()
    {
        openManualReading(1); // the querent "Ann"
        QTest::mouseClick(frmManual().cmdBack, Qt::LeftButton);
        QTest::keyClicks(frmFront().txtName, "Bo");
        QTest::mouseClick(frmFront().cmdNext, Qt::LeftButton);
        QCOMPARE(frmMDI().txtName->text(), QString("Bo"));
    }

    void exitEndsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit") << "button";
        QTest::newRow("&Exit") << "menu";
        QTest::newRow("close box") << "close";
    }
    void exitEndsTheProgram()
    {
        QFETCH(QString, how);
        openManualReading(0);
        auto& m = frmManual();
        clickBack(m, 0);
        const int before = ends();
        if (how == "button")
            QTest::mouseClick(m.cmdCancel, Qt::LeftButton);
        else if (how == "menu")
            m.mnuExit->trigger();
        else
            m.close();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void pagesAndAboutBox()
    {
        openManualReading(0);
        auto& m = frmManual();
        m.mnuOnline->trigger();
        m.mnuVisit->trigger();
        QTest::mouseClick(m.Label6, Qt::LeftButton);
        m.mnuUpdate->trigger();
        m.mnuDona->trigger();
        m.mnuMakeMoney->trigger();
        QCOMPARE(Scripted().opened, (QStringList{PageAddress::Help, PageAddress::Home, PageAddress::Home,
                                                 PageAddress::Download, PageAddress::Donate, PageAddress::FullBrand}));
        m.mnuAbout->trigger();
        QCOMPARE(Scripted().modalForms, QStringList{"frmAbout"});
        QVERIFY(Forms::IsLoaded("frmManual"));
        QCOMPARE(m.PickCount, qint16(0));
    }

    // A spread window still loaded when the draw begins is not built upon:
    // the reading gets a fresh one, with its own header only.
    void theDrawStartsFromAFreshSpreadWindow()
    {
        openManualReading(2);
        auto& m = frmManual();
        auto& stale = frmAuto();
        for (int i = 0; i < 5; ++i)
            stale.p[i]->show();
        frmMDI().rtbDisp1->SetText("an unfinished reading");
        clickBack(m, 0);
        clickBack(m, 1);
        TestSupport::settle();
        auto& w = frmAuto();
        for (int i = 0; i < frmAuto::PlaceCount; ++i)
            QCOMPARE(w.p[i]->isVisibleTo(&w), i < 2);
        const QString text = frmMDI().rtbDisp1->Text();
        QVERIFY(!text.contains("an unfinished reading"));
        QVERIFY(text.contains("Spread Type - Two Cards"));
    }

    void frameWindowIsHiddenWhilePicking()
    {
        frmMDI().Show(); // shown by an earlier step
        openManualReading(3);
        QVERIFY(!frmMDI().isVisible());
        auto& m = frmManual();
        clickBack(m, 0);
        clickBack(m, 1);
        QVERIFY(!frmMDI().isVisible());
        clickBack(m, 2);
        QVERIFY(frmMDI().isVisible());
    }
};

ARC_TEST(ManualWindowTest)
#include "ManualWindowTest.moc"
