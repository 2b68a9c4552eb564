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
#include "platform/Twips.h"
#include "reading/frmFront.h"
#include "reading/frmTarot.h"

#include <QtTest>

namespace {
constexpr int Wait = 20000;

// Waits until the view has finished loading url.
bool landsOn(WebBrowser* view, const QUrl& url)
{
    return QTest::qWaitFor([&] { return view->url() == url && !view->page()->isLoading(); }, Wait);
}

void clickToolbar(const QString& key)
{
    QToolBar* bar = frmMDI().TB;
    QTest::mouseClick(bar->widgetForAction(bar->findChild<QAction*>(key)), Qt::LeftButton);
}

// A double click as the window system delivers it: press, release, double click, release.
void doubleClick(QWidget* widget, const QPoint& at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &dbl);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

int px(double twips) { return Twips::toPixels(twips); }
} // namespace

// The entry view and the web search window; the web search service is a
// server of the test's own.
class WebViewsTest : public SessionTest {
    Q_OBJECT
    std::unique_ptr<LocalWebServer> server;

    QUrl page(const QString& name) const { return QUrl::fromLocalFile(folder->file("pages/" + name)); }
    void openDictionary(bool online)
    {
        DictionaryLink.clear();
        server->targets.clear();
        Scripted().online = online;
        frmOpen().Show();
        QTest::mouseClick(frmOpen().cmdDictionary, Qt::LeftButton);
    }
    void searchTheWeb(const QString& text)
    {
        frmMDI().optGoogle->setChecked(true);
        frmMDI().txtKey->setText(text);
        QTest::keyClick(frmMDI().txtKey, Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        server = std::make_unique<LocalWebServer>();
        WebSearch::Action = server->address("/search");
        WebSearch::Home = server->address("/");
        WebSearch::Logo = server->address("/logo.png");
    }

    void displayDoubleClickAndToolbar()
    {
        openDictionary(true);
        auto& frame = frmMDI();
        WebBrowser* view = frmMainDictionary().WB;
        QVERIFY(!view->isHidden() && frmMainDictionary().lblCaption->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl(PageAddress::Home), Wait); // no entry asked for yet
        QVERIFY(DictionaryLink.isEmpty());

        frame.txtKey->setText("THE FOOL "); // letter case aside, blanks trimmed
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton);
        QVERIFY(landsOn(view, page("the-fool.html")));
        QCOMPARE(view->title(), QString("The Fool"));
        const QModelIndex ace = frame.lstKeys->model()->index(frame.lstKeys->Items().indexOf("Ace of Cups"), 0);
        frame.lstKeys->scrollTo(ace);
        doubleClick(frame.lstKeys->viewport(), frame.lstKeys->visualRect(ace).center());
        QCOMPARE(frame.txtKey->text(), QString("Ace of Cups"));
        QVERIFY(landsOn(view, page("ace-of-cups.html")));

        clickToolbar("Back");
        QVERIFY(landsOn(view, page("the-fool.html")));
        clickToolbar("Forward");
        QVERIFY(landsOn(view, page("ace-of-cups.html")));
        clickToolbar("Search");
        QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl(WebSearch::Home), Wait);

        frame.lstKeys->clearSelection();
        frame.txtKey->setText("No Such Key");
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton); // not a page: the view stays
        QCOMPARE(DictionaryLink, QString("no such key"));
        QTest::qWait(200);
        QCOMPARE(view->url(), QUrl(WebSearch::Home));
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void offlineStartUpAndLayout()
    {
        openDictionary(false);
        auto& frame = frmMDI();
        auto& view = frmMainDictionary();
        QVERIFY(view.WB->isHidden() && !view.lblCaption->isHidden());
        QCOMPARE(view.lblCaption->text(), QString("You must be connected to the internet in order to use this software."));
        frame.txtKey->setText("death");
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton); // the hidden view still goes there
        QVERIFY(landsOn(view.WB, page("death.html")));

        frame.picLeft->setFixedWidth(px(3000));
        frame.picTop->setFixedHeight(px(1500));
        frame.picBottom->setFixedHeight(px(600));
        frame.TB->setFixedHeight(px(400));
        frame.resize(QSize(px(12000), px(9000)) - (frame.frameGeometry().size() - frame.size()));
        view.Form_Resize();
        QCOMPARE(view.MdiSubWindow()->size(), QSize(px(8750), px(6400)));
        frame.optGoogle->setChecked(true);
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton); // the web search window instead
        QCOMPARE(frmBrowser().MdiSubWindow()->geometry(), QRect(px(-75), px(-75), px(9000), px(9100)));
        QCOMPARE(frmBrowser().brwWebBrowser->height(), px(5850));
        QVERIFY(frmBrowser().brwWebBrowser->isHidden() && !frmBrowser().lblCaption->isHidden());
    }

    void webSearchSubmitsTheTypedTextAsItIs()
    {
        openDictionary(true);
        const QString typed = "He said \"5 < 6\" & 'more'</form><script>x()</script>  ";
        searchTheWeb(typed);
        auto& browser = frmBrowser();
        QTRY_COMPARE_WITH_TIMEOUT(server->lastQuery("/search"), typed, Wait);
        QTRY_COMPARE_WITH_TIMEOUT(browser.Caption(), QString("Page /search"), Wait);
        // The title can arrive before the load ends; the address list follows the load.
        QTRY_COMPARE_WITH_TIMEOUT(browser.cboAddress->count(), 1, Wait);
        const QString results = browser.brwWebBrowser->LocationURL();
        browser.brwWebBrowser->Navigate2(server->address("/other"));
        QTRY_COMPARE_WITH_TIMEOUT(browser.cboAddress->itemText(0), server->address("/other"), Wait);
        browser.brwWebBrowser->GoBack(); // an address shown before moves to the top
        QTRY_COMPARE_WITH_TIMEOUT(browser.cboAddress->itemText(0), results, Wait);
        QCOMPARE(browser.cboAddress->count(), 2);
        QCOMPARE(server->targets.filter("/search").size(), 1); // submitted once

        searchTheWeb("   "); // a fresh window: a new history, an empty query
        QTRY_COMPARE_WITH_TIMEOUT(server->targets.filter("/search").size(), 2, Wait);
        QCOMPARE(server->lastQuery("/search"), QString(""));
        QTRY_COMPARE_WITH_TIMEOUT(frmBrowser().cboAddress->count(), 1, Wait);
        QTest::mouseClick(frmBrowser().Label61, Qt::LeftButton);
        QCOMPARE(Scripted().opened, QStringList{PageAddress::Home});
    }

    void anEntryLinkedToTheSearchServiceSubmitsTheForm()
    {
        writeDictionary(folder->file("tarot.dll"), {{"Crowley deck", WebSearch::Action, "tarot"}});
        openDictionary(true);
        Unload(frmMainDictionary()); // closed by the user
        frmMDI().txtKey->setText("Crowley deck");
        QTest::mouseClick(frmMDI().cmdDisplay, Qt::LeftButton); // loads the entry view with that link
        QTRY_COMPARE_WITH_TIMEOUT(server->lastQuery("/search"), QString("Crowley deck"), Wait);
        QTRY_VERIFY_WITH_TIMEOUT(frmMainDictionary().WB->LocationURL().startsWith(server->address("/search?")), Wait);
    }

    void dictionaryAfterAGivenUpReadingShowsItsPanes()
    {
        frmFront().Show();
        QTest::mouseClick(frmFront().cmdNext, Qt::LeftButton);
        QTest::mouseClick(frmTarot().cmdBack, Qt::LeftButton);
        QTest::mouseClick(frmFront().cmdBack, Qt::LeftButton);
        openDictionary(false);
        auto& frame = frmMDI();
        for (QWidget* pane : {static_cast<QWidget*>(frame.TB), frame.picTop2, frame.picLeft})
            QVERIFY(pane->isVisible());
        QVERIFY(!frame.picTop->isVisible() && !frame.picRight->isVisible() && frame.mnuUpdateKey->isEnabled());
    }
};

ARC_TEST(WebViewsTest)
#include "WebViewsTest.moc"
