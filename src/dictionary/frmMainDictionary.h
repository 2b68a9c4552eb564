#pragma once
#include "dictionary/WebViewWindow.h"
#include "platform/WebBrowser.h"

// The dictionary's entry view: a child window of the frame that shows the
// page of an entry.
class frmMainDictionary : public WebViewWindow {
public:
    frmMainDictionary();

    WebBrowser* WB;

    void Form_Resize() override;

protected:
    void Form_Load() override;

private:
    void showViewOrCaption();
    void submitSearchOnBlankPage(const QString& text);
};

class frmMainDictionary& frmMainDictionary();
