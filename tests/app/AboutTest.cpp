#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmAbout.h"
#include "common/PageLaunchers.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include "tutor/frmMain.h"

#include <QtTest>

class AboutTest : public SessionTest {
    Q_OBJECT

private slots:
    void tutorShowsItModallyAsItsOwner()
    {
        frmMain().Show();
        bool checked = false;
        Scripted().onModal = [&](Form& f) {
            auto& about = static_cast<class frmAbout&>(f);
            QCOMPARE(about.Owner(), &frmMain());
            QVERIFY(about.IsModal());
            QCOMPARE(about.Caption(), QString("Arcavell Pro Software v1.85"));
            QCOMPARE(about.Label1->text(), QString("Arcavell Pro Software v1.85"));
            QVERIFY(about.Label1->font().bold());
            QCOMPARE(about.lblHomePage->text(), "Click here to visit " + PageAddress::Home);
            QCOMPARE(about.lblCoBrand->text(), QString("Click here for more details."));
            QCOMPARE(about.cmdOK->geometry(), Twips::rect(5745, 3900, 1260, 345));
            QVERIFY(about.Label4->text().contains("public domain"));
            QVERIFY(about.Label4->text().contains("1911"));
            checked = true;
            QTest::mouseClick(about.cmdOK, Qt::LeftButton);
            QVERIFY(!about.IsLoaded());
        };
        frmMain().mnuAbout->trigger();
        QVERIFY(checked);
        QCOMPARE(Scripted().modalForms, QStringList{"frmAbout"});
        QVERIFY(Forms::IsLoaded("frmMain"));
        QVERIFY(!Forms::IsLoaded("frmAbout"));
    }

    void linksOpenPagesAndTheBoxStays()
    {
        Scripted().onModal = [&](Form& f) {
            auto& about = static_cast<class frmAbout&>(f);
            QTest::mouseClick(about.lblHomePage, Qt::LeftButton);
            QTest::mouseClick(about.lblCoBrand, Qt::LeftButton);
            QVERIFY(about.IsLoaded());
            about.close(); // the close box
        };
        frmAbout().Show(vbModal);
        QCOMPARE(Scripted().opened, (QStringList{PageAddress::Home, PageAddress::FullBrand}));
        QVERIFY(!Forms::IsLoaded("frmAbout"));
    }

    void eachShowingStartsAfresh()
    {
        QList<Form*> seen;
        Scripted().onModal = [&](Form& f) { seen << &f; };
        frmAbout().Show(vbModal);
        TestSupport::settle();
        frmAbout().Show(vbModal);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(Scripted().modalForms.size(), 2);
    }
};

ARC_TEST(AboutTest)
#include "AboutTest.moc"
