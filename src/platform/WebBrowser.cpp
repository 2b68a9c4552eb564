#include "WebBrowser.h"

#include "App.h"
#include "Desktop.h"
#include "WebChannels.h"
#include "common/PageLaunchers.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
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
// The most of a page's message that its dialog shows.
constexpr qsizetype ShownMessageLength = 1000;
constexpr qsizetype ShownMessageLines = 20;

// The text cut to at most length characters and lines lines, an ellipsis
// marking the cut.
QString shortened(const QString& text, qsizetype length, qsizetype lines = -1)
{
    QString shown = text;
    if (lines >= 0) {
        qsizetype at = -1;
        for (qsizetype n = 0; n < lines && (at = shown.indexOf('\n', at + 1)) >= 0;)
            ++n;
        if (at >= 0)
            shown.truncate(at);
    }
    if (shown.size() > length) {
        shown.truncate(length);
        if (shown.back().isHighSurrogate())
            shown.chop(1);
    }
    return shown.size() < text.size() ? shown + QChar(0x2026) : shown;
}

// The longest address the engine opens; it ignores a longer one.
constexpr qsizetype LongestAddress = 2 * 1024 * 1024;

// A file address naming a file of the program folder's pages folder, links
// resolved: the only local files a view opens.
bool isProgramPage(const QUrl& url)
{
    if (!url.isLocalFile() || QDir::isRelativePath(url.toLocalFile()))
        return false;
    const QString folder = QFileInfo(App::FilePath("pages")).canonicalFilePath();
    const QFileInfo file(url.toLocalFile());
    return !folder.isEmpty() && file.isFile() && file.canonicalFilePath().startsWith(folder + '/');
}

// An address relative to the program folder, whose file names the program
// writes with backslashes and, at times, a leading one.
QUrl inProgramFolder(QString relative)
{
    relative.replace('\\', '/');
    while (relative.startsWith('/'))
        relative.remove(0, 1);
    return QUrl::fromLocalFile(App::FilePath(QString())).resolved(QUrl(relative));
}

// A page of the program's own: a file of the pages folder or a page the
// view was given as text (the not-found page), as opposed to a web page.
bool isOwnPage(const QUrl& url) { return url.isLocalFile() || url.scheme() == "data"; }

// Pages of the program folder keep to themselves: such a page (or a frame
// inside it) requests only other files of the pages folder, so no page of
// its folder can reach a server or a WebSocket, and no page at all reads a
// local file outside it. That holds for whatever is requested on a local
// page's behalf (its first party), such as a link saved from its context
// menu, which has no initiator. Only the program's own loads and the
// history buttons go wherever the view is sent: main-frame requests that no
// page initiated, typed, reloaded, gone back or forward to, or redirected.
class LocalPagesStayLocal : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl& target = info.requestUrl();
        const bool fromLocalPage = info.firstPartyUrl().isLocalFile() || info.initiator().isLocalFile();
        if (target.isLocalFile() ? !isProgramPage(target) : fromLocalPage && !isProgramLoad(info))
            info.block(true);
    }

private:
    static bool isProgramLoad(const QWebEngineUrlRequestInfo& info)
    {
        using Info = QWebEngineUrlRequestInfo;
        static const QList<Info::NavigationType> programTypes = {Info::NavigationTypeTyped, Info::NavigationTypeReload,
                                                                Info::NavigationTypeBackForward,
                                                                Info::NavigationTypeRedirect};
        return info.resourceType() == Info::ResourceTypeMainFrame && info.initiator().isEmpty() &&
               programTypes.contains(info.navigationType());
    }
};

// A page that may only go to pages: every other kind of address (mail,
// programs registered for a scheme) is refused instead of being handed to
// the desktop. Its dialogs (alert, confirm, prompt) are the desktop's; from
// a page's second dialog on the user may stop its dialogs, which then give
// their "no" answer at once until the program loads another page into the
// view. The pages that a page goes to by itself keep its dialogs' count.
class PageOnly : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

    // The program is about to load another page into the view: the page
    // shown gives way, its dialogs ending at once, and the page loaded
    // starts with a fresh count of dialogs.
    void GiveWayToLoad()
    {
        m_load = Load::Asked;
        if (m_dialogsOpen > 0)
            if (QWebEngineView* view = QWebEngineView::forPage(this))
                EndPageDialogs(view);
    }

    void triggerAction(WebAction action, bool checked = false) override
    {
        if ((action == Back || action == Forward || action == Reload || action == ReloadAndBypassCache) &&
            this->action(action)->isEnabled())
            GiveWayToLoad();
        QWebEnginePage::triggerAction(action, checked);
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        const bool accepted = mayGoTo(url, type, isMainFrame);
        if (accepted && isMainFrame) {
            runScriptsOnlyOnWebPages(url);
            if (m_load != Load::None) {
                m_load = Load::Started;
                m_loaded = url; // a redirect's address replaces the one asked for
            }
        }
        return accepted;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

    void javaScriptAlert(const QUrl& origin, const QString& message) override
    {
        PageDialog dialog = dialogOf(PageDialog::Alert, "Javascript Alert", message);
        ask(dialog, origin);
    }
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override
    {
        PageDialog dialog = dialogOf(PageDialog::Confirm, "Javascript Confirm", message);
        return ask(dialog, origin);
    }
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& offered, QString* result) override
    {
        PageDialog dialog = dialogOf(PageDialog::Prompt, "Javascript Prompt", message);
        dialog.text = offered;
        if (!ask(dialog, origin))
            return false;
        *result = dialog.text;
        return true;
    }

private:
    // The dialogs of the page the view shows.
    struct Dialogs {
        int shown = 0;
        bool stopped = false;
    } m_dialogs;
    int m_dialogsOpen = 0;
    // A load the program asked for, until the page loaded is there.
    enum class Load { None, Asked, Started } m_load = Load::None;
    QUrl m_loaded;
    QPointer<QObject> m_view;

    // Whether the page that asks for a dialog is one the program had the
    // view load (at its first dialog, the count starting afresh) rather
    // than the page it replaces, whose script may still run until then.
    bool isLoadedPage()
    {
        if (m_load == Load::Started && url() == m_loaded) {
            m_load = Load::None;
            m_dialogs = {};
        }
        return m_load == Load::None;
    }

    // The program's own pages (those of the pages folder and the not-found
    // page) hold no scripts: a script there could reach past the request
    // filter through channels the filter never sees (a fresh frame's peer
    // connections), so none runs, in any of their frames.
    void runScriptsOnlyOnWebPages(const QUrl& url)
    {
        settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, !isOwnPage(url));
    }

    bool mayGoTo(const QUrl& url, NavigationType type, bool isMainFrame)
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

    static PageDialog dialogOf(PageDialog::Kind kind, const QString& title, const QString& message)
    {
        PageDialog dialog;
        dialog.kind = kind;
        dialog.title = title;
        dialog.message = message;
        return dialog;
    }

    // Shows a dialog of the page; true when the user answered it with OK.
    bool ask(PageDialog& dialog, const QUrl& origin)
    {
        QWebEngineView* view = QWebEngineView::forPage(this);
        // Closing and loading win: a page that is not on screen (its window
        // is being closed, say) or gives way to another gets no dialog.
        if (!isLoadedPage() || m_dialogs.stopped || !view || !view->isVisible())
            return false;
        dialog.title += " - " + origin.toString();
        dialog.message = shortened(dialog.message, ShownMessageLength, ShownMessageLines);
        dialog.offerToStop = ++m_dialogs.shown > 1;
        const bool answered = showOutlivingTheView(dialog, view);
        if (dialog.stopped)
            m_dialogs.stopped = true;
        return answered;
    }

    // The view may be closed, and deleted, while the dialog waits for its
    // answer; the page, which the engine still uses until the dialog has
    // returned, is then deleted only after that.
    bool showOutlivingTheView(PageDialog& dialog, QWebEngineView* view)
    {
        if (m_dialogsOpen++ == 0) {
            m_view = parent();
            setParent(nullptr);
        }
        const bool answered = desktop().ShowPageDialog(dialog, view);
        if (--m_dialogsOpen == 0) {
            if (m_view)
                setParent(m_view);
            else
                deleteLater();
        }
        return answered;
    }
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
    return QString("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Not found</title>\n"
                   "<style>body { font-family: sans-serif; margin: 2em; color: #333; }"
                   " h1 { font-weight: normal; font-size: 1.4em; }</style>\n</head>\n<body>\n"
                   "<h1>Not found</h1>\n<p>No dictionary entry or page was found for \u201c%1\u201d.</p>\n"
                   "</body>\n</html>\n")
        .arg(shortened(text, ShownTextLength).toHtmlEscaped());
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
    if (url.isValid() && url.isRelative())
        url = inProgramFolder(address);
    else if (url.isValid() && url.isLocalFile() && QDir::isRelativePath(url.path()))
        url = inProgramFolder(url.toString(QUrl::RemoveScheme)); // "file:pages/x.html"
    if (!url.isValid() || !PageSchemes.contains(url.scheme().toLower()))
        return QUrl();
    if (url.isLocalFile() && !isProgramPage(url))
        return QUrl();
    if (url.toEncoded().size() > LongestAddress)
        return QUrl();
    return url;
}

bool WebBrowser::ShowsLocalPage() const
{
    return isOwnPage(url());
}

void WebBrowser::Navigate2(const QString& address)
{
    if (address.isEmpty())
        return;
    const QUrl url = AddressOf(address);
    static_cast<PageOnly*>(page())->GiveWayToLoad();
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
