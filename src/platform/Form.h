#pragma once
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <QEventLoop>

// How a window came to be unloaded, as its unload handlers are told.
enum UnloadMode : int {
    vbFormControlMenu = 0, // the close box
    vbFormCode = 1,        // Unload from code
    vbAppWindows = 2,
    vbAppTaskManager = 3,
    vbFormMDIForm = 4,     // its frame window is being unloaded
    vbFormOwner = 5,
};

enum ShowMode : int { vbModeless = 0, vbModal = 1 };

// A window of the program. Its controls are built in the constructor (the
// window's design); Form_Load runs when the window is loaded, which happens
// at the first reference through its accessor (see Forms.h). Unloading runs
// Form_QueryUnload and Form_Unload and destroys the window, so the next
// reference loads a fresh one.
//
// Each window class shares its name with its accessor function (frmOpen()
// returns the loaded frmOpen), so window classes carry no Q_OBJECT: moc's
// generated code would name the class where the function hides it. They
// connect their controls with lambdas.
class Form : public QMainWindow {
    Q_OBJECT
public:
    explicit Form(const QString& name, QWidget* parent = nullptr);
    ~Form() override;

    QString Name() const { return objectName(); }
    bool IsLoaded() const { return m_state == State::Loading || m_state == State::Loaded; }

    // Shows the window; a modal window returns only when it is closed. An
    // unloaded window is not shown again.
    void Show(int modal = vbModeless, Form* owner = nullptr);
    void Hide();
    bool Visible() const { return isVisible(); }
    void SetVisible(bool visible);
    Form* Owner() const { return m_owner; }
    bool IsModal() const { return m_modal; }

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }

    // The window's client-area size in twips: the room below the menu bar.
    // The menu bar's height is added when the window is first shown, once
    // its menus exist, and at once for a window already on screen.
    void SetClientSizeTwips(double width, double height);
    void setVisible(bool visible) override;

    // Makes this window a child window inside a frame's client area; showing
    // it then shows the frame too.
    void MakeMdiChild(QMdiArea* area);
    QMdiSubWindow* MdiSubWindow() const { return m_subWindow; }
    // Moves the window (its child frame, for a child window) to a place in twips.
    void MoveTwips(double left, double top);
    // The size in twips of a child window's frame. Where the frame's client
    // area is smaller the child is narrowed to it, so that its scroll bars
    // and title-bar buttons stay in view, and it is kept inside the area
    // as the frame is resized. A size the user gives it by dragging its
    // border becomes its size from then on.
    void SetChildSizeTwips(double width, double height);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode)
    {
        Q_UNUSED(cancel);
        Q_UNUSED(unloadMode);
    }
    virtual void Form_Unload(int& cancel) { Q_UNUSED(cancel); }

    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class FormRegistry;
    enum class State { Created, Loading, Loaded, Unloading, Unloaded };
    State m_state = State::Created;
    QPointer<Form> m_owner;
    bool m_modal = false;
    QPointer<QEventLoop> m_modalLoop;
    QPointer<QMdiSubWindow> m_subWindow;
    QSize m_clientSize;
    bool m_clientSizePending = false;
    void applyClientSize();
    QSize m_childSize;
    bool m_fittingChild = false;
    void fitChildInArea();

public:
    // Used by the modal run of the desktop.
    void AttachModalLoop(QEventLoop* loop) { m_modalLoop = loop; }
    void LeaveModalLoop();
};
