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

#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineScript>
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

// Waits until the view shows the page saying that nothing was found for text.
bool saysNotFound(WebBrowser* view, const QString& text)
{
    auto shown = std::make_shared<QString>();
    return QTest::qWaitFor(
        [&] {
            if (view->title() != "Not found" || view->page()->isLoading())
                return false;
            view->page()->toPlainText([shown](const QString& t) { *shown = t; });
            return shown->contains(QString("was found for \u201c%1\u201d.").arg(text));
        },
        Wait);
}

void writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size());
}

int px(double twips) { return Twips::toPixels(twips); }

// A page that calls a dialog count times in a loop as soon as it loads,
// then shows in its title what the calls gave, runs of equal results as
// "value*times".
QByteArray dialogLoop(const QString& call, int count)
{
    return QString("<!DOCTYPE html><title>waiting</title><script>"
                   "var runs = [];"
                   "for (var i = 0; i < %2; i++) {"
                   "  var r = String(%1);"
                   "  if (runs.length && runs[runs.length - 1][0] === r) runs[runs.length - 1][1]++;"
                   "  else runs.push([r, 1]);"
                   "}"
                   "document.title = 'done ' + runs.map(function (x) { return x[0] + '*' + x[1]; }).join(' ');"
                   "</script>")
        .arg(call)
        .arg(count)
        .toUtf8();
}

// The user's answer to a page's dialog: "ok", "cancel" or "text:<typed>",
// followed by " stop" when the stop box is ticked.
std::function<int(PageDialog&)> answerWith(const QString& answer)
{
    return [answer](PageDialog& dialog) {
        QString what = answer;
        dialog.stopped = what.endsWith(" stop");
        if (dialog.stopped)
            what.chop(5);
        if (what.startsWith("text:"))
            dialog.text = what.mid(5);
        return what == "cancel" ? 0 : 1;
    };
}

// Right-clicks the view at a point; true once the context menu is open for
// a link to linkUrl there.
bool rightClickOpensTheMenuOf(WebBrowser* view, const QPoint& at, const QString& linkUrl)
{
    if (QApplication::activePopupWidget())
        QApplication::activePopupWidget()->close();
    QTest::mouseClick(view->focusProxy(), Qt::RightButton, {}, at);
    QTest::qWait(200);
    const QWebEngineContextMenuRequest* request = view->lastContextMenuRequest();
    return request && request->linkUrl() == QUrl(linkUrl) && QApplication::activePopupWidget();
}
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
        view->page()->runJavaScript("document.querySelector('.back a').click()", QWebEngineScript::ApplicationWorld); // a link to another page
        QVERIFY(landsOn(view, page("index.html")));
        QCOMPARE(view->title(), QString("Tarot dictionary"));
        clickToolbar("Search");
        QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl(WebSearch::Home), Wait);

        frame.lstKeys->clearSelection();
        frame.txtKey->setText("No Such Key");
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton); // not a page
        QCOMPARE(DictionaryLink, QString("no such key"));
        QVERIFY(saysNotFound(view, "no such key"));
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
        QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton); // a page of the program shows offline
        QVERIFY(landsOn(view.WB, page("death.html")));
        QVERIFY(!view.WB->isHidden() && view.lblCaption->isHidden());
        clickToolbar("Home"); // a page from the web does not
        QTRY_VERIFY_WITH_TIMEOUT(view.WB->isHidden() && !view.lblCaption->isHidden(), Wait);

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

    // Links are addresses relative to the program folder; "%1" stands for
    // that folder.
    void linksOpenOnlyPagesOfTheProgramFolder_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("shown"); // empty: the not-found page
        QTest::newRow("fragment") << "pages/death.html#part" << "file://%1/pages/death.html#part";
        QTest::newRow("query") << "pages/death.html?a=1" << "file://%1/pages/death.html?a=1";
        QTest::newRow("escaped blanks") << "pages/three%20of%20cups.html" << "file://%1/pages/three%20of%20cups.html";
        QTest::newRow("backslashes") << "\\pages\\death.html" << "file://%1/pages/death.html";
        QTest::newRow("file address") << "file://%1/pages/death.html" << "file://%1/pages/death.html";
        QTest::newRow("climbs out") << "../../../../../../../etc/passwd" << "";
        QTest::newRow("climbs out of pages") << "pages/../secret.html" << "";
        QTest::newRow("escaped climb") << "pages/%2e%2e/secret.html" << "";
        QTest::newRow("file address outside pages") << "file://%1/secret.html" << "";
        QTest::newRow("file of the program folder") << "tarot.dll" << "";
        QTest::newRow("link out of pages") << "pages/out.html" << "";
        QTest::newRow("the pages folder") << "pages/" << "";
    }
    void linksOpenOnlyPagesOfTheProgramFolder()
    {
        QFETCH(QString, link);
        QFETCH(QString, shown);
        link.replace("%1", folder->path());
        shown.replace("%1", folder->path());
        writeFile(folder->file("secret.html"), "<title>Secret</title>");
        writeFile(folder->file("pages/three of cups.html"), "<title>Three</title>");
        QVERIFY(QFile::link(folder->file("secret.html"), folder->file("pages/out.html")));
        writeDictionary(folder->file("tarot.dll"), {{"Probe", link, "tarot"}});
        openDictionary(false); // no web page to wait for
        frmMDI().txtKey->setText("Probe");
        QTest::mouseClick(frmMDI().cmdDisplay, Qt::LeftButton);
        WebBrowser* view = frmMainDictionary().WB;
        if (shown.isEmpty())
            QVERIFY(saysNotFound(view, link));
        else
            QVERIFY(landsOn(view, QUrl(shown)));
    }

    void textsThatAreNoPageSayNothingWasFound()
    {
        openDictionary(true);
        auto& frame = frmMDI();
        const QList<std::pair<QString, QString>> typedAndShown{
            {"<b>Tower</b> & 'Star' \"x\"", "<b>tower</b> & 'star' \"x\""}, // as text, never as markup
            {QString(5000, 'x'), QString(200, 'x') + QChar(0x2026)},
        };
        for (const auto& [typed, shownText] : typedAndShown) {
            frame.txtKey->setText(typed);
            QTest::mouseClick(frame.cmdDisplay, Qt::LeftButton);
            QVERIFY(saysNotFound(frmMainDictionary().WB, shownText));
        }
        // A wildcard search leaves its pattern for the next entry view to open.
        Unload(frmMainDictionary());
        QTest::mouseClick(frame.optWildCard, Qt::LeftButton);
        frame.txtKey->setText("of");
        QTest::keyClick(frame.txtKey, Qt::Key_Return);
        QVERIFY(saysNotFound(frmMainDictionary().WB, "of"));
    }

    // A page of the program folder tries to read a file outside its pages
    // folder or to reach a server; it records what it got in its title.
    void aLocalPageReadsAndSendsNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("attempt");
        const QString fetch = "fetch(target).then(function (r) { return r.text(); }).then(got, done);";
        const QString xhr = "var x = new XMLHttpRequest(); x.onload = function () { got(x.responseText); };"
                            " x.onerror = done; x.open('GET', target); x.send();";
        const QString frame = "window.f = document.createElement('iframe'); f.src = target; document.body.appendChild(f);";
        const QString socket = "var s = new WebSocket(target.replace(/^http/, 'ws'));"
                               " s.onopen = function () { s.send('x'); got('open'); }; s.onerror = done;";
        for (const char* target : {"file", "server"}) {
            QTest::addRow("fetch %s", target) << target << fetch;
            QTest::addRow("XHR %s", target) << target << xhr;
            QTest::addRow("iframe %s", target) << target << frame;
        }
        QTest::addRow("WebSocket server") << "server" << socket;
    }
    void aLocalPageReadsAndSendsNothing()
    {
        QFETCH(QString, target);
        QFETCH(QString, attempt);
        openDictionary(true);
        writeFile(folder->file("secret.txt"), "secret words");
        const QString address = target == "file" ? QUrl::fromLocalFile(folder->file("secret.txt")).toString()
                                                 : server->address("/leak");
        // The page's own scripts do not run: the probe runs beside them, as
        // the page, to show that the filter holds even for a script there.
        writeFile(folder->file("pages/probe.html"), "<!DOCTYPE html><title>waiting</title><body></body>");
        WebBrowser* view = frmMainDictionary().WB;
        view->Navigate2("pages/probe.html");
        QVERIFY(landsOn(view, page("probe.html")));
        view->page()->runJavaScript(QString("var target = '%1';"
                                            "function got(text) { if (text) document.title = 'got ' + text; }"
                                            "function done() { if (document.title == 'waiting') document.title = 'nothing'; }"
                                            "%2")
                                        .arg(address, attempt),
                                    QWebEngineScript::ApplicationWorld);
        QTest::qWait(3000);
        view->page()->runJavaScript("try { if (window.f) got(f.contentDocument.body.innerText); } catch (e) {} done();",
                                    QWebEngineScript::ApplicationWorld);
        QTRY_VERIFY2_WITH_TIMEOUT(view->title() == "nothing" || view->title().startsWith("got "), qPrintable(view->title()), Wait);
        QCOMPARE(view->title(), QString("nothing"));
        QTest::qWait(300);
        QCOMPARE(server->targets, QStringList());
    }



    // A page asks for a dialog in a loop and records what each gave; the
    // user answers the first ones from the script ("ok", "cancel",
    // "text:<typed>", each with " stop" when the stop box is ticked).
    void aPageCanBeStoppedFromShowingDialogs_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("results");
        QTest::addColumn<int>("boxes");
        const QString alert = "alert('Hello ' + i)";
        QTest::newRow("alert") << "server" << alert << QStringList{"ok", "ok stop"} << "Javascript Alert"
                               << "undefined*300" << 2;
        QTest::newRow("alert of a local page, which runs no script") << "local" << alert << QStringList{} << ""
                                                                     << "" << 0;
        QTest::newRow("alert of a page not on screen") << "offline" << alert << QStringList{} << "" << "undefined*300" << 0;
        QTest::newRow("alert never stopped") << "server" << alert << QStringList{} << "Javascript Alert"
                                             << "undefined*300" << 300;
        QTest::newRow("confirm") << "server" << "confirm('Sure ' + i)" << QStringList{"ok", "ok stop"}
                                 << "Javascript Confirm" << "true*2 false*298" << 2;
        QTest::newRow("confirm cancelled") << "server" << "confirm('Sure ' + i)" << QStringList{"ok", "cancel stop"}
                                           << "Javascript Confirm" << "true*1 false*299" << 2;
        QTest::newRow("prompt") << "server" << "prompt('Name ' + i, 'x')"
                                << QStringList{"text:a", "ok", "text:b stop"} << "Javascript Prompt"
                                << "a*1 x*1 b*1 null*297" << 3;
    }
    void aPageCanBeStoppedFromShowingDialogs()
    {
        QFETCH(QString, where);
        QFETCH(QString, call);
        QFETCH(QStringList, answers);
        QFETCH(QString, caption);
        QFETCH(QString, results);
        QFETCH(int, boxes);
        openDictionary(where != "offline"); // offline, the caption stands in for a web page
        const QByteArray page = dialogLoop(call, 300);
        server->pages["/dialogs"] = page;
        writeFile(folder->file("pages/dialogs.html"), QString::fromUtf8(page));
        const QString address = where == "local" ? QString("pages/dialogs.html") : server->address("/dialogs");
        const QString origin = where == "local" ? QString("file:") : QUrl(server->address("/")).toString();
        WebBrowser* view = frmMainDictionary().WB;
        auto& shown = Scripted().pageDialogs.shown;
        for (const int run : {1, 2}) { // a page loaded again may show dialogs again
            for (const QString& answer : answers)
                Scripted().pageDialogs.answers << answerWith(answer);
            const QString loaded = address + (run == 2 ? "?again" : "");
            view->Navigate2(loaded);
            QVERIFY(landsOn(view, WebBrowser::AddressOf(loaded)));
            if (results.isEmpty()) { // the loop never starts
                QTest::qWait(1000);
                QVERIFY2(!view->title().startsWith("done"), qPrintable(view->title()));
            } else {
                QTRY_COMPARE_WITH_TIMEOUT(view->title(), "done " + results, Wait);
            }
            QCOMPARE(shown.size(), boxes * run);
        }
        for (int i = 0; i < shown.size(); ++i) {
            const PageDialog& box = shown[i];
            QVERIFY2(box.title.startsWith(caption + " - " + origin), qPrintable(box.title));
            QCOMPARE(box.message, QString(call.section('\'', 1, 1) + QString::number(i % boxes)));
            QCOMPARE(box.offerToStop, i % boxes > 0); // from the second dialog of a page on
        }
        QVERIFY(Scripted().boxes.isEmpty());
    }

    // The message of a page's dialog as its box shows it.
    void aPagesDialogShowsAShortenedMessage_data()
    {
        QTest::addColumn<QString>("message"); // a script expression
        QTest::addColumn<QString>("shown");
        QStringList lines;
        for (int i = 1; i <= 20; ++i)
            lines << QString::number(i);
        QTest::newRow("short") << "'a < b & \"c\"'" << "a < b & \"c\"";
        QTest::newRow("1000 characters") << "'y'.repeat(1000)" << QString(1000, 'y');
        QTest::newRow("5000 characters") << "'y'.repeat(5000)" << QString(1000, 'y') + QChar(0x2026);
        QTest::newRow("20 lines") << "'" + lines.join("\\n") + "'" << lines.join('\n');
        QTest::newRow("30 lines") << "'" + lines.join("\\n") + "\\n21\\n22'" << lines.join('\n') + QChar(0x2026);
    }
    void aPagesDialogShowsAShortenedMessage()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        openDictionary(true);
        server->pages["/message"] = dialogLoop("alert(" + message + ")", 1);
        frmMainDictionary().WB->Navigate2(server->address("/message"));
        QTRY_COMPARE_WITH_TIMEOUT(frmMainDictionary().WB->title(), QString("done undefined*1"), Wait);
        QCOMPARE(Scripted().pageDialogs.shown.size(), 1);
        QCOMPARE(Scripted().pageDialogs.shown[0].message, shown);
    }

    // While its page shows its third dialog, the user closes the window or
    // has its view load another page.
    void closingOrLoadingWinsOverAPagesDialogs_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("action");
        QTest::newRow("entry view closed") << "frmMainDictionary" << "close";
        QTest::newRow("entry view closed and deleted") << "frmMainDictionary" << "delete";
        QTest::newRow("web search window closed") << "frmBrowser" << "close";
        QTest::newRow("web search window closed and deleted") << "frmBrowser" << "delete";
        QTest::newRow("entry view loading another page") << "frmMainDictionary" << "load";
        QTest::newRow("entry view going back") << "frmMainDictionary" << "back";
    }
    void closingOrLoadingWinsOverAPagesDialogs()
    {
        QFETCH(QString, window);
        QFETCH(QString, action);
        openDictionary(true);
        server->pages["/search"] = dialogLoop("alert('Hello ' + i)", 300);
        WebBrowser* view = nullptr;
        if (window == "frmBrowser") {
            searchTheWeb("loop");
            view = frmBrowser().brwWebBrowser;
        } else {
            view = frmMainDictionary().WB;
            view->Navigate2(server->address("/before"));
            QVERIFY(landsOn(view, QUrl(server->address("/before"))));
            view->Navigate2(server->address("/search"));
        }
        const QPointer<WebBrowser> viewAlive(view);
        const QPointer<QWebEnginePage> pageAlive(view->page());
        bool goneDuringTheDialog = false;
        auto& script = Scripted().pageDialogs;
        script.answers << answerWith("ok") << answerWith("ok");
        script.answers << [&](PageDialog&) {
            if (action == "load")
                view->Navigate2(server->address("/after"));
            else if (action == "back")
                view->GoBack();
            else
                Unload(*FormRegistry::instance().Find(window));
            if (action == "delete") {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                goneDuringTheDialog = !viewAlive;
            }
            return 1;
        };
        if (action == "load" || action == "back") {
            const QString shown = server->address(action == "load" ? "/after" : "/before");
            QVERIFY(landsOn(view, QUrl(shown)));
            QTRY_COMPARE_WITH_TIMEOUT(view->title(), "Page " + QUrl(shown).path(), Wait);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!Forms::IsLoaded(window), Wait);
            QCOMPARE(goneDuringTheDialog, action == "delete");
            QTRY_VERIFY_WITH_TIMEOUT(!viewAlive && !pageAlive, Wait);
        }
        QTest::qWait(500);
        QCOMPARE(script.shown.size(), 3); // none after the third
        // The program goes on: the entry view shows a page again.
        openDictionary(false);
        frmMainDictionary().WB->Navigate2("pages/death.html");
        QVERIFY(landsOn(frmMainDictionary().WB, page("death.html")));
    }

    // "Save link" and the other link actions of the context menu, on a
    // link of a page of the program folder to a web site.
    void aLocalPagesLinkActionsSendNothing_data()
    {
        QTest::addColumn<int>("action");
        QTest::newRow("save link") << int(QWebEnginePage::DownloadLinkToDisk);
        QTest::newRow("open in new window") << int(QWebEnginePage::OpenLinkInNewWindow);
        QTest::newRow("open in new tab") << int(QWebEnginePage::OpenLinkInNewTab);
    }
    void aLocalPagesLinkActionsSendNothing()
    {
        QFETCH(int, action);
        openDictionary(true);
        writeFile(folder->file("pages/probe.html"),
                  QString("<!DOCTYPE html><title>probe</title><body style='margin:0'>"
                          "<a href='%1' style='display:block;width:300px;height:100px'>link</a></body>")
                      .arg(server->address("/saved")));
        WebBrowser* view = frmMainDictionary().WB;
        view->Navigate2("pages/probe.html");
        QVERIFY(landsOn(view, page("probe.html")));
        QTRY_VERIFY_WITH_TIMEOUT(rightClickOpensTheMenuOf(view, QPoint(50, 50), server->address("/saved")), Wait);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* chosen = view->pageAction(QWebEnginePage::WebAction(action));
        QVERIFY(menu->actions().contains(chosen) && chosen->isEnabled());
        chosen->trigger();
        menu->close();
        QTest::qWait(1500);
        QCOMPARE(server->targets, QStringList());
        QCOMPARE(view->url(), page("probe.html"));
        // The program's own loads and the history buttons still reach the web.
        view->Navigate2(server->address("/web"));
        QVERIFY(landsOn(view, QUrl(server->address("/web"))));
        view->GoBack();
        QVERIFY(landsOn(view, page("probe.html")));
        view->GoForward();
        QVERIFY(landsOn(view, QUrl(server->address("/web"))));
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), QString("Page /web"), Wait);
    }

    // Links that once left the view blank; the working folder is the
    // program folder's pages folder.
    void linksShowTheirPageOrNotFound_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("shown"); // empty: the not-found page
        const QString huge(3 << 20, 'a');
        QTest::newRow("relative file address") << "file:pages/death.html" << "file://%1/pages/death.html";
        QTest::newRow("relative file address with a part") << "file:pages/death.html#part"
                                                           << "file://%1/pages/death.html#part";
        QTest::newRow("relative file address of no page") << "file:pages/none.html" << "";
        QTest::newRow("relative file address of the working folder") << "file:death.html" << "";
        QTest::newRow("relative file address climbing out") << "file:../x" << "";
        QTest::newRow("3 MB web address") << "%2/" + huge << "";
        QTest::newRow("3 MB text") << huge << "";
        QTest::newRow("3 MB page address") << "pages/death.html?" + huge << "";
    }
    void linksShowTheirPageOrNotFound()
    {
        QFETCH(QString, link);
        QFETCH(QString, shown);
        link.replace("%2", server->address(""));
        shown.replace("%1", folder->path());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder->file("pages")));
        writeDictionary(folder->file("tarot.dll"), {{"Probe", link, "tarot"}});
        openDictionary(false); // no web page to wait for
        frmMDI().txtKey->setText("Probe");
        QTest::mouseClick(frmMDI().cmdDisplay, Qt::LeftButton);
        WebBrowser* view = frmMainDictionary().WB;
        const bool ok = shown.isEmpty() ? saysNotFound(view, link.size() > 200 ? link.left(200) + QChar(0x2026) : link)
                                        : landsOn(view, QUrl(shown));
        QDir::setCurrent(before);
        QVERIFY(ok);
        QCOMPARE(server->targets, QStringList());
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
