#include "Desktop.h"

#include "CommonDialog.h"
#include "Form.h"
#include "MsgBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
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

namespace {
// Qt's own file dialog, with the checks of the dialog's flags that it does
// not make itself. Qt's dialog is used on every desktop so that the checks
// always run.
class CheckingFileDialog : public QFileDialog {
public:
    CheckingFileDialog(QWidget* parent, qint32 flags) : QFileDialog(parent), m_flags(flags) {}

    void accept() override
    {
        const QString name = selectedFiles().value(0);
        const QFileInfo info(name);
        if (name.isEmpty() || info.isDir()) {
            QFileDialog::accept(); // Qt opens a chosen folder
            return;
        }
        if ((m_flags & CommonDialog::PathMustExist) && !info.absoluteDir().exists()) {
            refuse(QStringLiteral("%1\nThe folder does not exist.\nCheck the name and try again.").arg(name));
            return;
        }
        if ((m_flags & CommonDialog::FileMustExist) && !info.exists()) {
            refuse(QStringLiteral("%1\nThe file does not exist.\nCheck the name and try again.").arg(name));
            return;
        }
        if ((m_flags & CommonDialog::NoReadOnlyReturn) && info.exists() && !info.isWritable()) {
            refuse(QStringLiteral("%1\nThe file is read-only.\nChoose another name.").arg(name));
            return;
        }
        QFileDialog::accept(); // asks before replacing a file unless told not to
    }

private:
    void refuse(const QString& message) { QMessageBox::warning(this, windowTitle(), message); }

    qint32 m_flags;
};
} // namespace

bool RealDesktop::ShowFileDialog(CommonDialog& dialog, bool save)
{
    CheckingFileDialog box(QApplication::activeWindow(), dialog.Flags);
    box.setOption(QFileDialog::DontUseNativeDialog);
    // The list shows each description as the program wrote it.
    box.setOption(QFileDialog::HideNameFilterDetails);
    box.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Flags & CommonDialog::OverwritePrompt));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode((dialog.Flags & CommonDialog::FileMustExist) ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    box.setWindowTitle(!dialog.DialogTitle.isEmpty() ? dialog.DialogTitle
                       : save                        ? QStringLiteral("Save As")
                                                     : QStringLiteral("Open"));
    QStringList filters;
    for (const CommonDialog::FilterEntry& entry : dialog.FilterEntries())
        filters << QStringLiteral("%1 (%2)").arg(entry.description, entry.patterns.join(' '));
    if (!filters.isEmpty())
        box.setNameFilters(filters);
    box.setDefaultSuffix(dialog.DefaultExt);
    if (!dialog.FileName.isEmpty())
        box.selectFile(dialog.FileName);
    if (box.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = box.selectedFiles();
    if (chosen.isEmpty())
        return false;
    dialog.FileName = chosen.first();
    return true;
}
