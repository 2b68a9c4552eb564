#include "frmBrowser.h"

#include "app/frmMDI.h"
#include "common/PageLaunchers.h"
#include "dictionary/SearchForm.h"
#include "platform/Forms.h"
#include "platform/Twips.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
int px(double twips) { return Twips::toPixels(twips); }
double tw(int pixels) { return Twips::fromPixels(pixels); }
} // namespace

frmBrowser::frmBrowser() : WebViewWindow("frmBrowser")
{
    QWidget* central = centralWidget();

    tbToolBar = new QToolBar(central);
    AddBrowserButtons(tbToolBar);

    picAddress = new QWidget(central);
    lblAddress = new QLabel("&Address:", picAddress);
    lblAddress->adjustSize();
    cboAddress = new QComboBox(picAddress);
    lblAddress->setBuddy(cboAddress);
    cboAddress->setFixedWidth(px(4500));
    cboAddress->move(lblAddress->width(), 0);
    picAddress->setFixedHeight(cboAddress->sizeHint().height() + 4);
    Label61 = new LinkLabel("Talk tarot with readers from all over the world in the Arcavell discussion forum - "
                            "come and visit us online.",
                            central);
    Label61->ShowAsLink();

    brwWebBrowser = new WebBrowser(central);

    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(tbToolBar);
    column->addWidget(picAddress);
    column->addWidget(Label61);
    column->addWidget(lblCaption);
    column->addStretch(1);

    connect(brwWebBrowser, &WebBrowser::DocumentComplete, this, [this](const QString& address) {
        brwWebBrowser_DocumentComplete(address);
        brwWebBrowser_DownloadComplete();
    });
    connect(brwWebBrowser, &QWebEngineView::titleChanged, this, [this] { brwWebBrowser_DownloadComplete(); });
    connect(Label61, &LinkLabel::Click, this, [this] { Label61_Click(); });
}

void frmBrowser::Form_Load()
{
    Show();
    tbToolBar->repaint();
    Form_Resize();
    if (!ShowViewWhenOnline(brwWebBrowser))
        return;
    m_SearchFormFilled = false;
    cboAddress->move(lblAddress->width(), lblAddress->y());
    m_SearchText.clear();
    const QString typed = frmMDI().txtKey->text();
    if (!typed.trimmed().isEmpty())
        m_SearchText = typed;
    brwWebBrowser->Navigate2("about:blank");
}

void frmBrowser::brwWebBrowser_DocumentComplete(const QString& address)
{
    if (!m_SearchFormFilled) {
        m_SearchFormFilled = true;
        if (address == "about:blank")
            SubmitSearchForm(brwWebBrowser, Text1->toPlainText(), m_SearchText);
    }
    if (!address.contains("about:blank")) {
        SetCaption(brwWebBrowser->LocationName());
        const QString url = brwWebBrowser->LocationURL();
        const int old = cboAddress->findText(url, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (old >= 0)
            cboAddress->removeItem(old);
        cboAddress->insertItem(0, url);
        cboAddress->setCurrentIndex(0);
    }
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    // The blank start page has no title of its own to show.
    if (!brwWebBrowser->LocationName().isEmpty() && !brwWebBrowser->LocationURL().contains("about:blank"))
        SetCaption(brwWebBrowser->LocationName());
}

void frmBrowser::Label61_Click() { OpenHomePage(); }

void frmBrowser::Form_Resize()
{
    auto& frame = frmMDI();
    MoveTwips(-75, -75);
    const double width = frame.WidthTwips() - tw(frame.picLeft->width());
    const double height = frame.HeightTwips() + 100;
    if (width > 0 && height > 0)
        MdiSubWindow()->resize(px(width), px(height));
    centralWidget()->layout()->activate();
    const int inner = centralWidget()->width();
    const double browserHeight = frame.HeightTwips() - tw(frame.picTop->height()) - tw(frame.picBottom->height()) -
                                 tw(frame.TB->height()) - 650;
    const int top = Label61->geometry().bottom() + 1;
    brwWebBrowser->setGeometry(0, top, qMax(0, inner - px(100)), qMax(0, px(browserHeight)));
}

class frmBrowser& frmBrowser() { return Forms::Instance<class frmBrowser>(); }
