#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "platform/Forms.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QtTest>

namespace {
// A window that counts its loads and unloads and can refuse to go.
class frmProbe : public Form {
public:
    frmProbe() : Form("frmProbe") {}
    static inline int loads = 0;
    static inline int unloads = 0;
    static inline int lastMode = -1;
    static inline bool refuse = false;

protected:
    void Form_Load() override { ++loads; }
    void Form_QueryUnload(int& cancel, int mode) override
    {
        lastMode = mode;
        cancel = refuse ? 1 : 0;
    }
    void Form_Unload(int&) override { ++unloads; }
};
class frmProbe& frmProbe() { return Forms::Instance<class frmProbe>(); }

class frmOther : public Form {
public:
    frmOther() : Form("frmOther") {}
};
class frmOther& frmOther() { return Forms::Instance<class frmOther>(); }

// A window sized before its menus are built, as the program's windows are.
class frmMenus : public Form {
public:
    frmMenus() : Form("frmMenus")
    {
        setCentralWidget(new QWidget(this));
        SetClientSizeTwips(6000, 3000);
        menuBar()->addMenu("&File")->addAction("E&xit");
        menuBar()->addMenu("&Help")->addAction("&About");
    }
};
class frmMenus& frmMenus() { return Forms::Instance<class frmMenus>(); }

// A window whose load unloads every window, as the tutor does without its database.
class frmSelfEnding : public Form {
public:
    frmSelfEnding() : Form("frmSelfEnding") {}

protected:
    void Form_Load() override { FormRegistry::instance().UnloadAll(); }
};
class frmSelfEnding& frmSelfEnding() { return Forms::Instance<class frmSelfEnding>(); }
} // namespace

class FormsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        TestSupport::resetSession();
        frmProbe::loads = frmProbe::unloads = 0;
        frmProbe::lastMode = -1;
        frmProbe::refuse = false;
    }

    void firstReferenceLoadsOnce()
    {
        QVERIFY(!Forms::IsLoaded("frmProbe"));
        auto& a = frmProbe();
        auto& b = frmProbe();
        QCOMPARE(&a, &b);
        QCOMPARE(frmProbe::loads, 1);
        QVERIFY(Forms::IsLoaded("frmProbe"));
        QVERIFY(!a.isVisible()); // loading does not show
    }

    void unloadDestroysAndNextReferenceLoadsAfresh()
    {
        QPointer<Form> first = &frmProbe();
        first->Show();
        QVERIFY(Unload(*first));
        QCOMPARE(frmProbe::unloads, 1);
        QCOMPARE(frmProbe::lastMode, int(vbFormCode));
        QVERIFY(!Forms::IsLoaded("frmProbe"));
        TestSupport::settle();
        QVERIFY(first.isNull());
        frmProbe();
        QCOMPARE(frmProbe::loads, 2);
    }

    void closeBoxUnloadsWithItsOwnMode()
    {
        frmProbe().Show();
        frmProbe().close();
        QCOMPARE(frmProbe::lastMode, int(vbFormControlMenu));
        QVERIFY(!Forms::IsLoaded("frmProbe"));
    }

    void refusedUnloadKeepsTheWindow()
    {
        frmProbe().Show();
        frmProbe::refuse = true;
        QVERIFY(!Unload(frmProbe()));
        QVERIFY(Forms::IsLoaded("frmProbe"));
        FormRegistry::instance().UnloadAll(); // a window that refuses stays; the rest go
        QVERIFY(Forms::IsLoaded("frmProbe"));
        frmProbe::refuse = false;
    }

    void programEndsWhenTheLastWindowGoes()
    {
        frmProbe().Show();
        frmOther().Show();
        const int ends = FormRegistry::instance().EndCount();
        Unload(frmProbe());
        TestSupport::settle();
        QCOMPARE(FormRegistry::instance().EndCount(), ends); // one window still loaded
        frmOther().Hide(); // hidden windows keep the program running
        TestSupport::settle();
        QCOMPARE(FormRegistry::instance().EndCount(), ends);
        FormRegistry::instance().UnloadAll();
        TestSupport::settle();
        QCOMPARE(FormRegistry::instance().EndCount(), ends + 1);
        QCOMPARE(Forms::Count(), 0);
    }

    void showingAWindowAfterUnloadingAllKeepsTheProgramRunning()
    {
        frmProbe().Show();
        const int ends = FormRegistry::instance().EndCount();
        FormRegistry::instance().UnloadAll();
        frmOther().Show(); // the same handler goes on and shows a window
        TestSupport::settle();
        QCOMPARE(FormRegistry::instance().EndCount(), ends);
        QVERIFY(Forms::IsLoaded("frmOther"));
    }

    void windowUnloadedDuringItsLoadIsNotShown()
    {
        auto& f = frmSelfEnding();
        f.Show();
        QVERIFY(!f.IsLoaded());
        QVERIFY(!f.isVisible());
        QCOMPARE(Forms::Count(), 0);
    }

    void clientAreaLiesBelowTheMenuBarAtItsFullSize()
    {
        auto& f = frmMenus();
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.centralWidget()->size(), QSize(400, 200));
        QCOMPARE(f.centralWidget()->y(), f.menuBar()->geometry().bottom() + 1);
    }

    void modalWindowIsHandedToTheScriptAndNeverBlocks()
    {
        frmOther().Show();
        bool sawIt = false;
        Scripted().onModal = [&](Form& f) {
            sawIt = f.isVisible() && f.IsModal() && f.Owner() == &frmOther();
        };
        frmProbe().Show(vbModal, &frmOther());
        QVERIFY(sawIt);
        QCOMPARE(Scripted().modalForms, QStringList{"frmProbe"});
        QVERIFY(!Forms::IsLoaded("frmProbe"));
    }
};

ARC_TEST(FormsTest)
#include "FormsTest.moc"
