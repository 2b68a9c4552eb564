#include "TrayIcon.h"

#include <QSystemTrayIcon>

namespace {
// The desktop's notification area through QSystemTrayIcon.
class SystemTrayIcon : public TrayIcon {
public:
    SystemTrayIcon()
    {
        connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
            case QSystemTrayIcon::Trigger:
                emit MouseMessage(LeftButtonUp);
                break;
            case QSystemTrayIcon::DoubleClick:
                emit MouseMessage(LeftDoubleClick);
                break;
            case QSystemTrayIcon::Context:
                emit MouseMessage(RightButtonUp);
                break;
            case QSystemTrayIcon::MiddleClick:
                emit MouseMessage(MiddleButtonUp);
                break;
            default:
                break;
            }
        });
    }
    bool IsAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void Add(const QIcon& icon, const QString& tip) override
    {
        m_icon.setIcon(icon);
        m_icon.setToolTip(tip);
        m_icon.show();
    }
    void Remove() override { m_icon.hide(); }
    bool IsShown() const override { return m_icon.isVisible(); }

private:
    QSystemTrayIcon m_icon;
};

std::function<std::unique_ptr<TrayIcon>()>& factory()
{
    static std::function<std::unique_ptr<TrayIcon>()> f;
    return f;
}
} // namespace

std::unique_ptr<TrayIcon> CreateTrayIcon()
{
    if (factory())
        return factory()();
    return std::make_unique<SystemTrayIcon>();
}

void SetTrayIconFactory(std::function<std::unique_ptr<TrayIcon>()> f) { factory() = std::move(f); }
