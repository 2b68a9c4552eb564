#include "WebBrowser.h"

#include "App.h"
#include "common/PageLaunchers.h"

#include <QFileInfo>
#include <QStyle>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>

namespace {
const QStringList PageSchemes = {"http", "https", "file", "about"};

// A page that may only go to pages: every other kind of address (mail,
// programs registered for a scheme) is refused instead of being handed to
// the desktop.
class PageOnly : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        return PageSchemes.contains(url.scheme().toLower()) || url.scheme() == "data";
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
} // namespace

WebBrowser::WebBrowser(QWidget* parent) : QWebEngineView(parent)
{
    setPage(new PageOnly(this));
    QWebEngineSettings* s = page()->settings();
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    connect(this, &QWebEngineView::loadFinished, this, [this](bool) { emit DocumentComplete(LocationURL()); });
}

QUrl WebBrowser::AddressOf(const QString& address)
{
    if (address.isEmpty())
        return QUrl();
    const QUrl url(address, QUrl::StrictMode);
    if (url.isValid() && PageSchemes.contains(url.scheme().toLower()))
        return url;
    const QString path = App::FilePath(address);
    if (!QFileInfo(path).isFile())
        return QUrl();
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

void WebBrowser::Navigate2(const QString& address)
{
    const QUrl url = AddressOf(address);
    if (!url.isEmpty())
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
