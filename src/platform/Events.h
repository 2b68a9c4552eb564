#pragma once

// Handles the window events that are waiting, so the user can act during a
// long step; returns the number of loaded windows.
int DoEvents();

class QObject;
class QWidget;

// Paints the window at once and puts it on the screen, before a pause that
// handles no events: what a closed menu or a pressed button covered is
// painted again too. Pending events other than the user's run meanwhile: the
// window may be gone afterwards.
void RepaintNow(QWidget* window);

// Waits for the given time through the desktop (tests do not wait).
void Sleep(int milliseconds);

// While it lives, the user's mouse and keyboard input is dropped: for a
// pause and a step that the user must not interrupt. Input that is still
// waiting when it ends is dropped too. A modal box opened meanwhile still
// takes the user's input.
class UserInputBlock {
public:
    UserInputBlock();
    ~UserInputBlock();
    UserInputBlock(const UserInputBlock&) = delete;
    UserInputBlock& operator=(const UserInputBlock&) = delete;

private:
    QObject* m_filter;
};
