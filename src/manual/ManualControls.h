#pragma once
#include "platform/Controls.h"

#include <QPlainTextEdit>
#include <functional>

// A face-down card of the manual reading: a picture box that reports a click
// (the left button pressed and released over it).
class CardBack : public PictureBox {
public:
    explicit CardBack(QWidget* parent = nullptr) : PictureBox(parent) {}

    // Runs on a click. The handler may unload the window that holds this
    // card, so nothing of the card is touched once it has run.
    std::function<void()> Click;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The picture on the back of every card.
QImage CardBackPicture(int width, int height);

// A multi-line text box whose Text uses CR LF line breaks, as the program's
// texts do.
class PromptBox : public QPlainTextEdit {
public:
    explicit PromptBox(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}
    QString Text() const;
    void SetText(const QString& text);
};
