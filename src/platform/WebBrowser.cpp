#include "WebBrowser.h"

#include "App.h"
#include "WebChannels.h"
#include "common/PageLaunchers.h"

#include <QFileInfo>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace {
const QStringList PageSchemes = {"http", "https", "file", "about"};

// The longest text the not-found page repeats; a longer one is cut short.
constexpr qsizetype ShownTextLength = 200;

// A file address naming a file of the program folder's pages folder, links
// resolved: the only local files a view opens.
bool isProgramPage(const QUrl& url)
{
    if (!url.isLocalFile())
        return false;
    const QString folder = QFileInfo(App::FilePath("pages")).canonicalFilePath();
    const QFileInfo file(url.toLocalFile());
    return !folder.isEmpty() && file.isFile() && file.canonicalFilePath().startsWith(folder + '/');
}

// Pages of the program folder keep to themselves: such a page (or a frame
// inside it) requests only other files of the pages folder, so no page of
// its folder can reach a server or a WebSocket, and no page at all reads a
// local file outside it. The program's own loads and the history buttons
// have no initiator and go wherever the view is sent.
class LocalPagesStayLocal : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const bool programLoad = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame &&
                                 info.initiator().isEmpty();
        const bool fromLocalPage = !programLoad && (info.firstPartyUrl().isLocalFile() || info.initiator().isLocalFile());
        const QUrl& target = info.requestUrl();
        if (target.isLocalFile() ? !isProgramPage(target) : fromLocalPage)
            info.block(true);
    }
};

// A page that may only go to pages: every other kind of address (mail,
// programs registered for a scheme) is refused instead of being handed to
// the desktop.
class PageOnly : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (!url.isLocalFile())
            return PageSchemes.contains(url.scheme().toLower()) || url.scheme() == "data";
        if (!isProgramPage(url))
            return false;
        // A local page may not open another local file itself, so a link
        // from one page of the folder to another is followed by the view.
        if (isMainFrame && this->url().isLocalFile() && type != NavigationTypeTyped &&
            type != NavigationTypeBackForward && type != NavigationTypeReload) {
            QTimer::singleShot(0, this, [this, url] { load(url); });
            return false;
        }
        return true;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

// The text as a script expression that rebuilds it from its UTF-16 code
// units: whatever the text holds, it stays data.
QString asScriptData(const QString& text)
{
    QString codes;
    codes.reserve(text.size() * 4);
    for (const QChar c : text) {
        if (!codes.isEmpty())
            codes += ',';
        codes += QString::number(c.unicode());
    }
    return "[" + codes + "].map(function (c) { return String.fromCharCode(c); }).join('')";
}

// What a view shows for a text that is no page: a page of its own that says
// so, the text shown as text.
QString notFoundPage(const QString& text)
{
    QString shown = text;
    if (shown.size() > ShownTextLength) {
        shown.truncate(ShownTextLength);
        if (shown.back().isHighSurrogate())
            shown.chop(1);
        shown += QChar(0x2026);
    }
    return QString("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Not found</title>\n"
                   "<style>body { font-family: sans-serif; margin: 2em; color: #333; }"
                   " h1 { font-weight: normal; font-size: 1.4em; }</style>\n</head>\n<body>\n"
                   "<h1>Not found</h1>\n<p>No dictionary entry or page was found for \u201c%1\u201d.</p>\n"
                   "</body>\n</html>\n")
        .arg(shown.toHtmlEscaped());
}
} // namespace

WebBrowser::WebBrowser(QWidget* parent) : QWebEngineView(parent)
{
    setPage(new PageOnly(this));
    page()->setUrlRequestInterceptor(new LocalPagesStayLocal(page()));
    WebChannels::KeepPeerConnectionsOut(page());
    QWebEngineSettings* s = page()->settings();
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    connect(this, &QWebEngineView::loadFinished, this, [this](bool) { emit DocumentComplete(LocationURL()); });
}

QUrl WebBrowser::AddressOf(const QString& address)
{
    if (address.isEmpty())
        return QUrl();
    QUrl url(address);
    if (url.isValid() && url.isRelative()) {
        // An address relative to the program folder, whose file names the
        // program writes with backslashes and, at times, a leading one.
        QString relative = address;
        relative.replace('\\', '/');
        while (relative.startsWith('/'))
            relative.remove(0, 1);
        url = QUrl::fromLocalFile(App::FilePath(QString())).resolved(QUrl(relative));
    }
    if (!url.isValid() || !PageSchemes.contains(url.scheme().toLower()))
        return QUrl();
    if (url.isLocalFile() && !isProgramPage(url))
        return QUrl();
    return url;
}

bool WebBrowser::ShowsLocalPage() const
{
    return url().isLocalFile() || url().scheme() == "data";
}

void WebBrowser::Navigate2(const QString& address)
{
    if (address.isEmpty())
        return;
    const QUrl url = AddressOf(address);
    if (url.isEmpty())
        setHtml(notFoundPage(address));
    else
        load(url);
}

void WebBrowser::GoHome() { Navigate2(PageAddress::Home); }
void WebBrowser::GoSearch() { Navigate2(WebSearch::Home); }

void WebBrowser::FillAndClick(const QString& html, const QString& field, const QString& value, const QString& button)
{
    const QString script = QString("(function () {"
                                   " var body = document.body;"
                                   " if (!body) { body = document.createElement('body'); document.documentElement.appendChild(body); }"
                                   " body.innerHTML = %1;"
                                   " var field = document.getElementsByName(%2)[0];"
                                   " if (field) field.value = %3;"
                                   " var button = document.getElementsByName(%4)[0];"
                                   " if (button) button.click();"
                                   "})();")
                               .arg(asScriptData(html), asScriptData(field), asScriptData(value),
                                    asScriptData(button));
    page()->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

void AddBrowserButtons(QToolBar* bar)
{
    // Icons of the desktop's theme, Qt's own where the theme has none.
    const QList<std::tuple<QString, QString, QStyle::StandardPixmap>> buttons{
        {"Back", "go-previous", QStyle::SP_ArrowBack},       {"Forward", "go-next", QStyle::SP_ArrowForward},
        {"Stop", "process-stop", QStyle::SP_BrowserStop},    {"Refresh", "view-refresh", QStyle::SP_BrowserReload},
        {"Home", "go-home", QStyle::SP_DirHomeIcon},         {"Search", "edit-find", QStyle::SP_FileDialogContentsView}};
    for (const auto& [key, themeName, standard] : buttons) {
        const QIcon icon = QIcon::fromTheme(themeName, bar->style()->standardIcon(standard));
        bar->addAction(icon, key)->setObjectName(key);
    }
}
