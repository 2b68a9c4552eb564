#include "frmMainDictionary.h"

#include "app/frmMDI.h"
#include "common/ConnectionCheck.h"
#include "common/PageLaunchers.h"
#include "dictionary/SearchForm.h"
#include "dictionary/modDict.h"
#include "platform/Forms.h"
#include "platform/Twips.h"

#include <QStackedLayout>

frmMainDictionary::frmMainDictionary() : WebViewWindow("frmMainDictionary")
{
    auto* stack = new QStackedLayout(centralWidget());
    stack->setStackingMode(QStackedLayout::StackAll);
    WB = new WebBrowser(centralWidget());
    stack->addWidget(WB);
    stack->addWidget(lblCaption);
    connect(WB, &QWebEngineView::urlChanged, this, [this] { showViewOrCaption(); });
}

void frmMainDictionary::Form_Load()
{
    Form_Resize();
    showViewOrCaption();
    if (InternetConnected != 1)
        return;
    if (DictionaryLink.isEmpty()) {
        DictionaryLink = PageAddress::Home;
    } else if (DictionaryLink == WebSearch::Action) {
        // The submitted search is what the view shows: the search text is
        // not opened as an address after it.
        submitSearchOnBlankPage(frmMDI().txtKey->text().trimmed());
        DictionaryLink.clear();
        return;
    }
    WB->Navigate2(DictionaryLink);
    DictionaryLink.clear();
}

void frmMainDictionary::showViewOrCaption()
{
    // Offline, the caption stands in for pages from the web only: the
    // program's own pages show all the same.
    ShowView(WB, InternetConnected == 1 || WB->ShowsLocalPage());
}

void frmMainDictionary::submitSearchOnBlankPage(const QString& text)
{
    // The form is written into a blank page once that page is there.
    auto* once = new QObject(this);
    connect(WB, &WebBrowser::DocumentComplete, once, [this, once, text](const QString& address) {
        delete once;
        if (address == "about:blank")
            SubmitSearchForm(WB, Text1->toPlainText(), text);
    });
    WB->Navigate2("about:blank");
}

void frmMainDictionary::Form_Resize()
{
    auto& frame = frmMDI();
    const double width = frame.WidthTwips() - Twips::fromPixels(frame.picLeft->width()) - 250;
    const double height = frame.HeightTwips() - 2600;
    if (width > 0 && height > 0)
        MdiSubWindow()->resize(Twips::toPixels(width), Twips::toPixels(height));
}

class frmMainDictionary& frmMainDictionary() { return Forms::Instance<class frmMainDictionary>(); }
