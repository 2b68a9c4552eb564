#include "DictionaryFixture.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "app/frmMDI.h"
#include "app/frmOpen.h"
#include "common/PageLaunchers.h"
#include "dictionary/frmBrowser.h"
#include "dictionary/frmMainDictionary.h"
#include "dictionary/modDict.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "reading/frmFront.h"
#include "reading/frmTarot.h"

#include <QtTest>

namespace {
QUrl pageUrl(const ProgramFolder& folder, const QString& page) { return QUrl::fromLocalFile(folder.file("pages/" + page)); }

// Waits until the view has finished loading url.
bool landsOn(WebBrowser* view, const QUrl& url)
{
    return QTest::qWaitFor([&] { return view->url() == url && !view->page()->isLoading(); }, 20000);
}

void openDictionary(bool online)
{
    Scripted().online = online;
    frmOpen().Show();
    QTest::mouseClick(frmOpen().cmdDictionary, Qt::LeftButton);
}

void clickToolbar(const QString& key)
{
    auto& frame = frmMDI();
    QTest::mouseClick(frame.TB->widgetForAction(frame.TB->findChild<QAction*>(key)), Qt::LeftButton);
}

// A double click as the window system delivers it: press, release, double
// click, release.
void doubleClick(QWidget* widget, const QPoint& at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(widget, &dbl);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

int px(double twips) { return Twips::toPixels(twips); }
} // namespace

class EntryViewTest : public SessionTest {
    Q_OBJECT

private slots:
    void displayDoubleClickAndToolbar()
    {
        openDictionary(true);
        auto& frame = frmMDI();
        WebBrowser* view = frmMainDictionary().WB;
        QVERIFY(!view->isHidden() && frmMainDictionary().lblCaption->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl(PageAddress::Home), 20000); // no entry asked for yet
        QVERIFY(DictionaryLink.isEmpty());

        frame.txtKey->setText("THE FOOL "); // letter case aside, blanks trimmed
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton);
        QVERIFY(landsOn(view, pageUrl(*folder, "the-fool.html")));
        QCOMPARE(view->title(), QString("The Fool"));

        const QModelIndex ace = frame.lstKeys->model()->index(frame.lstKeys->Items().indexOf("Ace of Cups"), 0);
        frame.lstKeys->scrollTo(ace);
        doubleClick(frame.lstKeys->viewport(), frame.lstKeys->visualRect(ace).center());
        QCOMPARE(frame.txtKey->text(), QString("Ace of Cups"));
        QVERIFY(landsOn(view, pageUrl(*folder, "ace-of-cups.html")));

        clickToolbar("Back");
        QVERIFY(landsOn(view, pageUrl(*folder, "the-fool.html")));
        clickToolbar("Forward");
        QVERIFY(landsOn(view, pageUrl(*folder, "ace-of-cups.html")));
        clickToolbar("Home");
        QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl(PageAddress::Home), 20000);

        frame.lstKeys->clearSelection();
        frame.txtKey->setText("no such key");
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton); // not a page: the view stays
        QCOMPARE(DictionaryLink, QString("no such key"));
        QTest::qWait(200);
        QCOMPARE(view->url(), QUrl(PageAddress::Home));
        QVERIFY(Scripted().boxes.isEmpty());

        frame.optGoogle->setChecked(true);
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton);
        QVERIFY(Forms::IsLoaded("frmBrowser") && !frmBrowser().MdiSubWindow()->isHidden());
    }

    void offlineStartUpShowsTheCaption()
    {
        openDictionary(false);
        auto& view = frmMainDictionary();
        QVERIFY(view.WB->isHidden() && !view.lblCaption->isHidden());
        QCOMPARE(view.lblCaption->text(), QString("You must be connected to the internet in order to use this software."));
        frmMDI().txtKey->setText("death");
        QTest::mouseClick(frmMDI().cmdDisplay, Qt::LeftButton); // the hidden view still goes there
        QVERIFY(landsOn(view.WB, pageUrl(*folder, "death.html")));
        QVERIFY(view.WB->isHidden());
    }

    void windowsFitTheFrame()
    {
        openDictionary(false);
        auto& frame = frmMDI();
        frame.picLeft->setFixedWidth(px(3000));
        frame.picTop->setFixedHeight(px(1500));
        frame.picBottom->setFixedHeight(px(600));
        frame.TB->setFixedHeight(px(400));
        const QSize margins = frame.frameGeometry().size() - frame.size();
        frame.resize(QSize(px(12000), px(9000)) - margins);
        QCoreApplication::processEvents();
        frmMainDictionary().Form_Resize();
        QCOMPARE(frmMainDictionary().MdiSubWindow()->size(), QSize(px(8750), px(6400)));

        frmBrowser().Show();
        const QRect browser = frmBrowser().MdiSubWindow()->geometry();
        QCOMPARE(browser, QRect(px(-75), px(-75), px(9000), px(9100)));
        QCOMPARE(frmBrowser().brwWebBrowser->height(), px(5850));
    }

    void dictionaryAfterAGivenUpReadingShowsItsPanes()
    {
        frmFront().Show();
        QTest::mouseClick(frmFront().cmdNext, Qt::LeftButton);
        QTest::mouseClick(frmTarot().cmdBack, Qt::LeftButton);
        QTest::mouseClick(frmFront().cmdBack, Qt::LeftButton);
        openDictionary(false);
        auto& frame = frmMDI();
        QVERIFY(frame.isVisible());
        for (QWidget* pane : {static_cast<QWidget*>(frame.TB), frame.picTop2, frame.picLeft})
            QVERIFY(pane->isVisible());
        QVERIFY(!frame.picTop->isVisible() && !frame.picRight->isVisible());
        QVERIFY(frame.mnuUpdateKey->isEnabled());
    }
};

ARC_TEST(EntryViewTest)
#include "EntryViewTest.moc"
