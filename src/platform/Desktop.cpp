#include "Desktop.h"

#include "Form.h"
#include "MsgBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QThread>
#include <QUrl>

namespace {
std::unique_ptr<Desktop>& installed()
{
    static std::unique_ptr<Desktop> current = std::make_unique<RealDesktop>();
    return current;
}

QMessageBox::Icon iconOf(int buttons)
{
    switch (buttons & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QList<QPair<int, QString>> buttonsOf(int buttons)
{
    switch (buttons & 7) {
    case vbOKCancel:
        return {{vbOK, "OK"}, {vbCancel, "Cancel"}};
    case vbAbortRetryIgnore:
        return {{vbAbort, "&Abort"}, {vbRetry, "&Retry"}, {vbIgnore, "&Ignore"}};
    case vbYesNoCancel:
        return {{vbYes, "&Yes"}, {vbNo, "&No"}, {vbCancel, "Cancel"}};
    case vbYesNo:
        return {{vbYes, "&Yes"}, {vbNo, "&No"}};
    case vbRetryCancel:
        return {{vbRetry, "&Retry"}, {vbCancel, "Cancel"}};
    default:
        return {{vbOK, "OK"}};
    }
}
} // namespace

Desktop& desktop() { return *installed(); }

std::unique_ptr<Desktop> SetDesktop(std::unique_ptr<Desktop> replacement)
{
    std::unique_ptr<Desktop> old = std::move(installed());
    installed() = std::move(replacement);
    return old;
}

int RealDesktop::MessageBox(const QString& prompt, int buttons, const QString& title)
{
    QMessageBox box;
    box.setWindowTitle(title);
    // A lone carriage return breaks the line, as it does in the prompts.
    QString shown = prompt;
    shown.replace("\r\n", "\n").replace('\r', '\n');
    box.setText(shown);
    box.setIcon(iconOf(buttons));
    QMap<QAbstractButton*, int> answers;
    const auto list = buttonsOf(buttons);
    for (const auto& [answer, text] : list) {
        QAbstractButton* b = box.addButton(text, answer == vbCancel ? QMessageBox::RejectRole
                                                                    : QMessageBox::AcceptRole);
        answers.insert(b, answer);
    }
    const int defaultIndex = qMin<int>((buttons >> 8) & 3, list.size() - 1);
    box.setDefaultButton(qobject_cast<QPushButton*>(answers.key(list[defaultIndex].first)));
    box.exec();
    return answers.value(box.clickedButton(), list.size() == 1 ? vbOK : DefaultAnswer(vbCancel | buttons));
}

void RealDesktop::OpenDocument(const QString& address)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

void RealDesktop::Sleep(int milliseconds) { QThread::msleep(static_cast<unsigned long>(qMax(0, milliseconds))); }

bool RealDesktop::IsOnline(QString* connectionName)
{
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        const auto flags = nic.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack))
            continue;
        if (nic.addressEntries().isEmpty())
            continue;
        if (connectionName)
            *connectionName = nic.humanReadableName();
        return true;
    }
    if (connectionName)
        connectionName->clear();
    return false;
}

void RealDesktop::RunModal(Form& form)
{
    if (!form.IsLoaded() || !form.isVisible())
        return;
    QEventLoop loop;
    form.AttachModalLoop(&loop);
    loop.exec();
}

std::unique_ptr<QPrinter> RealDesktop::DefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}
