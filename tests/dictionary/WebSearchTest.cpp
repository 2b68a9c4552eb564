#include "DictionaryFixture.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "app/frmMDI.h"
#include "app/frmOpen.h"
#include "common/ConnectionCheck.h"
#include "common/PageLaunchers.h"
#include "dictionary/frmBrowser.h"
#include "dictionary/frmMainDictionary.h"
#include "platform/Forms.h"

#include <QtTest>

namespace {
QStringList history(QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
} // namespace

// The web search window against a web server of the test's own.
class WebSearchTest : public SessionTest {
    Q_OBJECT
    std::unique_ptr<LocalWebServer> server;

    void goOnline()
    {
        Scripted().online = true;
        CheckConnection();
    }

    void searchFor(const QString& text)
    {
        auto& frame = frmMDI();
        frame.optGoogle->setChecked(true);
        frame.txtKey->setText(text);
        QTest::keyClick(frame.txtKey, Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        server = std::make_unique<LocalWebServer>();
        WebSearch::Action = server->address("/search");
        WebSearch::Home = server->address("/");
        WebSearch::Logo = server->address("/logo.png");
    }

    void submitsTheTypedTextAsItIs()
    {
        goOnline();
        const QString typed = "He said \"5 < 6\" & 'more'</form><script>x()</script>  ";
        searchFor(typed);
        auto& browser = frmBrowser();
        QVERIFY(!browser.brwWebBrowser->isHidden() && browser.lblCaption->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(server->lastQuery("/search"), typed, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(browser.Caption(), QString("Page /search"), 20000);
        const QString results = browser.brwWebBrowser->LocationURL();
        QVERIFY(results.startsWith(server->address("/search?q=")));
        QCOMPARE(history(browser.cboAddress), QStringList{results});

        browser.brwWebBrowser->Navigate2(server->address("/other"));
        QTRY_COMPARE_WITH_TIMEOUT(history(browser.cboAddress).size(), 2, 20000);
        browser.brwWebBrowser->GoBack();
        QTRY_COMPARE_WITH_TIMEOUT(history(browser.cboAddress), (QStringList{results, server->address("/other")}), 20000);
        QCOMPARE(server->targets.filter("/search").size(), 1); // submitted once

        searchFor("   "); // a fresh window: empty history, an empty query
        QTRY_COMPARE_WITH_TIMEOUT(server->targets.filter("/search").size(), 2, 20000);
        QCOMPARE(server->lastQuery("/search"), QString(""));
        QTRY_COMPARE_WITH_TIMEOUT(history(frmBrowser().cboAddress).size(), 1, 20000);

        QTest::mouseClick(frmBrowser().Label61, Qt::LeftButton);
        QCOMPARE(Scripted().opened, QStringList{PageAddress::Home});
    }

    void anEntryLinkedToTheSearchServiceSubmitsTheForm()
    {
        goOnline();
        writeDictionary(folder->file("tarot.dll"), {{"Crowley deck", WebSearch::Action, "tarot"}});
        auto& frame = frmMDI();
        frame.txtKey->setText("Crowley deck");
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton); // loads the entry view with that link
        QTRY_COMPARE_WITH_TIMEOUT(server->lastQuery("/search"), QString("Crowley deck"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(frmMainDictionary().WB->LocationURL().startsWith(server->address("/search?")), 20000);
    }
};

ARC_TEST(WebSearchTest)
#include "WebSearchTest.moc"
