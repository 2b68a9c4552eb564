#pragma once
#include "platform/Form.h"

#include <QLabel>
#include <QPlainTextEdit>

// What the dictionary's two web view windows share: a child window of the
// frame that lays itself out by the frame's size whenever it is resized,
// the caption shown in the view's place when offline, and the hidden box
// holding the stored search form.
class WebViewWindow : public Form {
public:
    explicit WebViewWindow(const QString& name);

    QLabel* lblCaption;    // shown instead of the view when offline
    QPlainTextEdit* Text1; // not shown: the stored search form

    virtual void Form_Resize() = 0;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Shows the view, or the caption in its place when offline; true when online.
    bool ShowViewWhenOnline(QWidget* view);
    // Shows the view, or the caption in its place.
    void ShowView(QWidget* view, bool shown);

private:
    bool m_resizing = false;
};
