#pragma once
#include <QString>
#include <QUrl>
#include <QWebEngineView>

// The embedded web browser control: shows pages and nothing more. Pages get
// no way into the program (no channel, no new windows, no downloads, no
// programs started for other kinds of address), and the program hands data
// to a page only as data, never as part of a script's text. Of the local
// files only the program folder's pages/ are shown, and those pages read no
// other file and send nothing anywhere.
class QToolBar;

class WebBrowser : public QWebEngineView {
    Q_OBJECT
public:
    explicit WebBrowser(QWidget* parent = nullptr);

    // Opens an address: an absolute web address as it is, and a file address
    // or an address relative to the program folder ("pages/x.html#part")
    // when it names a file of the folder's pages/. Any other text is not a
    // page: the view shows a page saying that nothing was found for it. An
    // empty address does nothing.
    void Navigate2(const QString& address);
    // The address Navigate2 opens for a text, or an empty address for none.
    static QUrl AddressOf(const QString& address);
    // True while the view shows one of the program's own pages rather than
    // a page from the web.
    bool ShowsLocalPage() const;

    QString LocationURL() const { return url().toString(); }
    QString LocationName() const { return title(); }

    void GoBack() { back(); }
    void GoForward() { forward(); }
    void Refresh() { reload(); }
    void Stop() { stop(); }
    // The home page and the search page are the program's: the maker's home
    // page and the web search service's home page.
    void GoHome();
    void GoSearch();

    // Replaces the body of the current document with html, sets the value of
    // the form field named field to value and clicks the element named
    // button, all in one script that receives html and value as data.
    void FillAndClick(const QString& html, const QString& field, const QString& value, const QString& button);

signals:
    // A top-level document has finished loading (or failed to); address is
    // the document's address.
    void DocumentComplete(const QString& address);
};

// Adds the six buttons of a browser toolbar, named by their keys: "Back",
// "Forward", "Stop", "Refresh", "Home", "Search".
void AddBrowserButtons(QToolBar* bar);
