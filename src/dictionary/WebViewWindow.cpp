#include "WebViewWindow.h"

#include "app/frmMDI.h"
#include "common/ConnectionCheck.h"
#include "dictionary/SearchForm.h"

WebViewWindow::WebViewWindow(const QString& name) : Form(name)
{
    SetCaption("Arcavell Pro Software v1.85");
    auto* central = new QWidget(this);
    lblCaption = new QLabel("You must be connected to the internet in order to use this software.", central);
    lblCaption->setAlignment(Qt::AlignCenter);
    lblCaption->setWordWrap(true);
    lblCaption->hide();
    Text1 = new QPlainTextEdit(central);
    Text1->setPlainText(StoredSearchForm());
    Text1->hide();
    setCentralWidget(central);
    MakeMdiChild(frmMDI().mdiClient);
}

void WebViewWindow::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    // The layout sets the window's own size, which would call it again.
    if (m_resizing || !IsLoaded())
        return;
    m_resizing = true;
    Form_Resize();
    m_resizing = false;
}

bool WebViewWindow::ShowViewWhenOnline(QWidget* view)
{
    const bool online = InternetConnected == 1;
    ShowView(view, online);
    return online;
}

void WebViewWindow::ShowView(QWidget* view, bool shown)
{
    view->setVisible(shown);
    lblCaption->setVisible(!shown);
}
