#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmOpen.h"
#include "common/PageLaunchers.h"
#include "common/UpdateReminder.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "reading/TextEncoding.h"
#include "tutor/frmMain.h"

#include <QMenuBar>
#include <QTabBar>
#include <QtTest>

namespace {
int ends() { return FormRegistry::instance().EndCount(); }

QStringList enabledTabs()
{
    QStringList out;
    for (int i = 0; i < 5; ++i)
        out << (frmMain().SSTab1->TabEnabled(i) ? "1" : "0");
    return out;
}

QStringList captionsOf(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? "-" : a->text());
    return out;
}
} // namespace

class TutorWindowTest : public SessionTest {
    Q_OBJECT

private slots:
    void windowHasItsCaptionTabsAndMenus()
    {
        auto& f = frmMain();
        QCOMPARE(f.Caption(), QString("Arcavell Pro Software v1.85"));
        const QStringList tabs{" My Personal Goal ", "     Settings       ", "  Memorize Cards  ",
                               "      Take Test     ", "       Results        "};
        QCOMPARE(f.SSTab1->count(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(f.SSTab1->tabText(i), tabs[i]);
        QCOMPARE(f.cmdBack->text(), QString("Back"));
        QCOMPARE(f.cmdNav->text(), QString("Exit"));
        QCOMPARE(f.cmdReset->text(), QString("Donate"));

        QStringList bar;
        for (QAction* a : f.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{"&File", "&Help", "Donate", "Make Money &Online"}));
        QCOMPARE(captionsOf(f.mnuFile), (QStringList{"&My Personal Goals", "Settings", "-", "&Back", "-", "&Exit"}));
        QCOMPARE(captionsOf(f.mnuHelp), (QStringList{"&Online Help", "&Visit Us Online", "-",
                                                     "Check for Software &Update", "-", "&About Software"}));
        QCOMPARE(captionsOf(f.mnuPopUp), (QStringList{"Show", "Exit"}));
    }

    void loadClosesTheMemorisingTestAndResultsTabs()
    {
        frmMain().Show();
        QCOMPARE(enabledTabs(), (QStringList{"1", "1", "0", "0", "0"}));
    }

    void tabRuleClosesTheTabsAfterTheOneChosen()
    {
        auto& tabs = *frmMain().SSTab1;
        for (int i = 2; i < 5; ++i)
            tabs.SetTabEnabled(i, true);
        tabs.SetTab(3);
        QCOMPARE(enabledTabs(), (QStringList{"1", "1", "1", "1", "0"}));
        tabs.SetTabEnabled(4, true);
        tabs.SetTab(4);
        QCOMPARE(enabledTabs(), (QStringList{"1", "1", "1", "0", "1"}));
        tabs.SetTabEnabled(3, true);
        tabs.SetTab(2);
        QCOMPARE(enabledTabs(), (QStringList{"1", "1", "1", "0", "0"}));
        frmMain().mnuTabSettings->trigger();
        QCOMPARE(tabs.Tab(), 1);
        QCOMPARE(enabledTabs(), (QStringList{"1", "1", "0", "0", "0"}));
        frmMain().mnuTabGoals->trigger();
        QCOMPARE(tabs.Tab(), 0);
        QCOMPARE(enabledTabs(), (QStringList{"1", "1", "0", "0", "0"}));
    }

    void closedTabCannotBeChosenByTheUser()
    {
        frmMain().Show();
        auto* bar = frmMain().SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
        QCOMPARE(frmMain().SSTab1->Tab(), 0);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(frmMain().SSTab1->Tab(), 1);
    }

    void backLeadsToTheOpeningChoice()
    {
        frmMain().Show();
        const int before = ends();
        QTest::mouseClick(frmMain().cmdBack, Qt::LeftButton);
        QVERIFY(!Forms::IsLoaded("frmMain"));
        QVERIFY(Forms::IsLoaded("frmOpen") && frmOpen().isVisible());
        TestSupport::settle();
        QCOMPARE(ends(), before);

        // choosing the tutor again loads a fresh window, reminder included
        SaveSetting(App::EXEName(), "Settings", UpdateReminderValueName(),
                    EncodeText(DateTimeToText(QDateTime::currentDateTime().addDays(-30))));
        QTest::mouseClick(frmOpen().cmdTutor, Qt::LeftButton);
        QVERIFY(Forms::IsLoaded("frmMain"));
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.startsWith("There maybe an update"));
    }

    void backFromTheMenuToo()
    {
        frmMain().Show();
        frmMain().mnuBack->trigger();
        QVERIFY(!Forms::IsLoaded("frmMain"));
        QVERIFY(Forms::IsLoaded("frmOpen"));
    }

    void exitEndsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit button") << "button";
        QTest::newRow("File menu Exit") << "menu";
        QTest::newRow("tray menu Exit") << "tray";
        QTest::newRow("close box") << "close";
    }
    void exitEndsTheProgram()
    {
        QFETCH(QString, how);
        frmOpen().Hide(); // a hidden window goes too
        frmMain().Show();
        const int before = ends();
        if (how == "button")
            QTest::mouseClick(frmMain().cmdNav, Qt::LeftButton);
        else if (how == "menu")
            frmMain().mnuExit1->trigger();
        else if (how == "tray")
            frmMain().mnuExit->trigger();
        else
            frmMain().close();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void missingDatabaseEndsTheProgramAfterTheReminder()
    {
        folder->remove("learn.dll");
        SaveSetting(App::EXEName(), "Settings", UpdateReminderValueName(),
                    EncodeText(DateTimeToText(QDateTime::currentDateTime().addDays(-20))));
        Scripted().answers << vbNo;
        const int before = ends();
        frmMain().Show();
        QCOMPARE(Scripted().boxes.size(), 2);
        QVERIFY(Scripted().boxes[0].prompt.startsWith("There maybe an update"));
        const auto& error = Scripted().boxes[1];
        QCOMPARE(error.prompt, "Required files missing. Please reinstall " + App::Title());
        QCOMPARE(error.title, QString("ERROR !"));
        QCOMPARE(error.icon(), int(vbCritical));
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    // However small the user makes the window, every control of every page
    // and the buttons below the pages stay whole.
    void everyControlStaysWhole_data()
    {
        QTest::addColumn<QSize>("size"); // pixels; empty: as the window opens
        QTest::newRow("as opened") << QSize();
        QTest::newRow("shrunk") << QSize(1, 1);
        QTest::newRow("narrow") << QSize(300, 900);
        QTest::newRow("low") << QSize(1200, 200);
    }

    void everyControlStaysWhole()
    {
        QFETCH(QSize, size);
        auto& f = frmMain();
        f.Show();
        if (size.isEmpty())
            QCOMPARE(f.centralWidget()->size(), QSize(Twips::toPixels(11700), Twips::toPixels(8400)));
        else
            f.resize(size);
        TestSupport::settle();
        const QRect page = f.SSTab1->currentWidget()->rect();
        for (int t = 0; t < f.SSTab1->count(); ++t)
            for (QWidget* control : f.SSTab1->widget(t)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY2(page.contains(control->geometry()), control->metaObject()->className());
        const QRect client = f.centralWidget()->rect();
        for (QWidget* w : {static_cast<QWidget*>(f.SSTab1), static_cast<QWidget*>(f.cmdBack),
                           static_cast<QWidget*>(f.cmdNav), static_cast<QWidget*>(f.cmdReset)})
            QVERIFY(client.contains(QRect(w->mapTo(f.centralWidget(), QPoint()), w->size())));
    }

    void menusAndLabelsOpenTheirPages()
    {
        auto& f = frmMain();
        f.mnuOnline->trigger();
        f.mnuVisit->trigger();
        f.mnuUpdate->trigger();
        f.mnuDonate->trigger();
        QTest::mouseClick(f.cmdReset, Qt::LeftButton);
        f.mnuMakeMoney->trigger();
        f.Show();
        QTest::mouseClick(f.lblFullBrand, Qt::LeftButton);
        QTest::mouseClick(f.lblCobrand, Qt::LeftButton);
        QTest::mouseClick(f.Label6, Qt::LeftButton);
        QCOMPARE(Scripted().opened,
                 (QStringList{PageAddress::Help, PageAddress::Home, PageAddress::Download, PageAddress::Donate,
                              PageAddress::Donate, PageAddress::FullBrand, PageAddress::FullBrand,
                              PageAddress::CoBrand, PageAddress::Home}));
    }
};

ARC_TEST(TutorWindowTest)
#include "TutorWindowTest.moc"
