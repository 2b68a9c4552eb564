#pragma once
#include "platform/Controls.h"
#include "dictionary/WebViewWindow.h"
#include "platform/WebBrowser.h"

#include <QComboBox>
#include <QToolBar>

// The web search window: a child window of the frame that hands the search
// text to the web search service each time it is opened.
class frmBrowser : public WebViewWindow {
public:
    frmBrowser();

    QWidget* picAddress;
    QLabel* lblAddress;
    QComboBox* cboAddress; // the addresses shown, newest first
    QToolBar* tbToolBar;   // its buttons have no action
    WebBrowser* brwWebBrowser;
    LinkLabel* Label61;

    void Form_Resize() override;
    void brwWebBrowser_DocumentComplete(const QString& address);
    void brwWebBrowser_DownloadComplete();
    void Label61_Click();

protected:
    void Form_Load() override;

private:
    QString m_SearchText;
    bool m_SearchFormFilled = false;
};

class frmBrowser& frmBrowser();
