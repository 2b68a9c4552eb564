#pragma once
#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// The program's icon in the desktop's notification area. It reports the
// mouse over it by the numbers of the mouse messages (MouseMessage). The
// program makes its icons through CreateTrayIcon, so that tests can put a
// scripted tray in the desktop's place.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    enum Message : int {
        LeftButtonDown = 0x201,
        LeftButtonUp = 0x202,
        LeftDoubleClick = 0x203,
        RightButtonDown = 0x204,
        RightButtonUp = 0x205,
        MiddleButtonUp = 0x208,
    };

    // Whether the desktop has a notification area to hold the icon.
    virtual bool IsAvailable() const = 0;
    virtual void Add(const QIcon& icon, const QString& tip) = 0;
    virtual void Remove() = 0;
    virtual bool IsShown() const = 0;

signals:
    void MouseMessage(int message);
};

std::unique_ptr<TrayIcon> CreateTrayIcon();
// Replaces how icons are made (an empty function: the desktop's own).
void SetTrayIconFactory(std::function<std::unique_ptr<TrayIcon>()> factory);
