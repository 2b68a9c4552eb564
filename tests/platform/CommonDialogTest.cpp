#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "platform/CommonDialog.h"
#include "platform/Desktop.h"
#include "platform/VbError.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {
// Plays a user at the real file dialog: each step waits for a modal window
// of its kind (the file dialog or a message box over it) and acts on it.
// Whatever is still open after ten seconds is cancelled, so a test cannot hang.
class ModalScript : public QObject {
public:
    struct Step {
        bool messageBox; // a message box, or else the file dialog
        std::function<void(QWidget*)> action;
    };

    explicit ModalScript(QList<Step> steps) : m_steps(std::move(steps))
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        m_poll.start(10);
        m_deadline.start();
    }

    bool finished() const { return m_steps.isEmpty() && !m_pending; }
    QStringList messages; // texts of the message boxes met

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (m_deadline.elapsed() > 10000) {
            if (modal)
                QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
            return;
        }
        if (m_pending || m_steps.isEmpty() || !modal || !modal->isVisible())
            return;
        const bool isBox = qobject_cast<QMessageBox*>(modal) != nullptr;
        const bool isDialog = qobject_cast<QFileDialog*>(modal) != nullptr;
        if (!(m_steps.first().messageBox ? isBox : isDialog))
            return;
        const Step step = m_steps.takeFirst();
        m_pending = true;
        // Run outside this timer's event, so that this timer goes on
        // ticking while the action waits in a nested modal window.
        QTimer::singleShot(0, modal, [this, modal, step] {
            m_pending = false;
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                messages << box->text();
            step.action(modal);
        });
    }

    QList<Step> m_steps;
    bool m_pending = false;
    QTimer m_poll;
    QElapsedTimer m_deadline;
};

// Types a name into the file dialog and presses its accept button.
ModalScript::Step typeName(const QString& name)
{
    return {false, [name](QWidget* w) {
                auto* dialog = static_cast<QFileDialog*>(w);
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
                QDialogButtonBox* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
                QPushButton* accept = buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave
                                                          ? QDialogButtonBox::Save
                                                          : QDialogButtonBox::Open);
                if (accept->isEnabled())
                    accept->click();
                else
                    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            }};
}
ModalScript::Step cancelDialog()
{
    return {false, [](QWidget* w) { static_cast<QFileDialog*>(w)->reject(); }};
}
ModalScript::Step answerBox(QMessageBox::StandardButton button)
{
    return {true, [button](QWidget* w) {
                auto* box = static_cast<QMessageBox*>(w);
                if (QAbstractButton* b = box->button(button))
                    b->click();
                else
                    box->reject();
            }};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class CommonDialogTest : public QObject {
    Q_OBJECT

    static CommonDialog saveDialog()
    {
        CommonDialog cd;
        cd.Filter = "Arcavell Pro Software | *.qzv";
        cd.DefaultExt = "qzv";
        cd.Flags = 0x8806;
        cd.DialogTitle = "Save it";
        return cd;
    }
    static CommonDialog openDialog()
    {
        CommonDialog cd;
        cd.Filter = "Arcavell Pro Software (*.qzv)|*.qzv";
        cd.DefaultExt = "qzv";
        cd.Flags = 0x9004;
        cd.DialogTitle = "Open it";
        return cd;
    }

private slots:
    void init() { TestSupport::resetSession(); }

    void filterPairs()
    {
        CommonDialog cd;
        cd.Filter = "Arcavell Pro Software | *.qzv";
        QCOMPARE(cd.FilterEntries().size(), 1);
        QCOMPARE(cd.FilterEntries()[0].description, QString("Arcavell Pro Software"));
        QCOMPARE(cd.FilterEntries()[0].patterns, QStringList{"*.qzv"});
        cd.Filter = "Pictures|*.jpg; *.bmp|All files|*.*|Dangling";
        QCOMPARE(cd.FilterEntries().size(), 2);
        QCOMPARE(cd.FilterEntries()[0].patterns, (QStringList{"*.jpg", "*.bmp"}));
        QCOMPARE(cd.FilterEntries()[1].description, QString("All files"));
        cd.Filter.clear();
        QVERIFY(cd.FilterEntries().isEmpty());
    }

    void cancellingRaisesWhenAsked()
    {
        CommonDialog cd;
        cd.CancelError = true;
        cd.FileName = "before";
        long number = 0;
        try {
            cd.ShowOpen();
        } catch (const VbError& e) {
            number = e.Number();
        }
        QCOMPARE(number, 32755L);
        QCOMPARE(cd.FileName, QString("before"));
    }

    void cancellingWithoutErrorKeepsTheName()
    {
        CommonDialog cd;
        cd.FileName = "before";
        cd.ShowSave();
        QCOMPARE(cd.FileName, QString("before"));
        QCOMPARE(Scripted().fileDialogs.size(), 1);
        QVERIFY(Scripted().fileDialogs[0].save);
    }

    void theChosenNameComesBack()
    {
        Scripted().fileAnswers.enqueue(QString("/somewhere/chosen.qzv"));
        CommonDialog cd = openDialog();
        cd.CancelError = true;
        cd.ShowOpen();
        QCOMPARE(cd.FileName, QString("/somewhere/chosen.qzv"));
        const ScriptedDesktop::FileDialog& d = Scripted().fileDialogs.first();
        QVERIFY(!d.save);
        QCOMPARE(d.title, QString("Open it"));
        QCOMPARE(d.flags, 0x9004);
    }

    // ---- the real dialog, played by a script ----

    void realSaveAppendsTheDefaultExtension()
    {
        QTemporaryDir dir;
        CommonDialog cd = saveDialog();
        ModalScript script({typeName(dir.filePath("reading"))});
        QVERIFY(RealDesktop().ShowFileDialog(cd, true));
        QVERIFY(script.finished());
        QCOMPARE(cd.FileName, dir.filePath("reading.qzv"));
        cd = saveDialog();
        ModalScript other({typeName(dir.filePath("reading.txt"))});
        QVERIFY(RealDesktop().ShowFileDialog(cd, true));
        QCOMPARE(cd.FileName, dir.filePath("reading.txt"));
    }

    void realDialogShowsTheSettings()
    {
        CommonDialog cd = saveDialog();
        QString title;
        QStringList filters;
        ModalScript script({{false, [&](QWidget* w) {
                                 auto* dialog = static_cast<QFileDialog*>(w);
                                 title = dialog->windowTitle();
                                 filters = dialog->nameFilters();
                                 dialog->reject();
                             }}});
        QVERIFY(!RealDesktop().ShowFileDialog(cd, true));
        QVERIFY(script.finished());
        QCOMPARE(title, QString("Save it"));
        QCOMPARE(filters, QStringList{"Arcavell Pro Software (*.qzv)"});
        QCOMPARE(cd.FileName, QString());
    }

    void realSaveRefusesAMissingFolder()
    {
        QTemporaryDir dir;
        CommonDialog cd = saveDialog();
        ModalScript script({typeName(dir.filePath("missing/reading")), answerBox(QMessageBox::Ok), cancelDialog()});
        QVERIFY(!RealDesktop().ShowFileDialog(cd, true));
        QVERIFY(script.finished());
        QCOMPARE(script.messages.size(), 1);
        QVERIFY(script.messages[0].contains("The folder does not exist."));
    }

    void realSaveAsksBeforeReplacing()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("old.qzv"), "old");
        CommonDialog cd = saveDialog();
        ModalScript refused({typeName(dir.filePath("old")), answerBox(QMessageBox::No), cancelDialog()});
        QVERIFY(!RealDesktop().ShowFileDialog(cd, true));
        QVERIFY(refused.finished());
        QCOMPARE(refused.messages.size(), 1);

        ModalScript accepted({typeName(dir.filePath("old")), answerBox(QMessageBox::Yes)});
        QVERIFY(RealDesktop().ShowFileDialog(cd, true));
        QVERIFY(accepted.finished());
        QCOMPARE(cd.FileName, dir.filePath("old.qzv"));

        // Without the flag nothing is asked.
        cd.Flags = 0;
        ModalScript quiet({typeName(dir.filePath("old"))});
        QVERIFY(RealDesktop().ShowFileDialog(cd, true));
        QVERIFY(quiet.finished());
        QVERIFY(quiet.messages.isEmpty());
    }

    void realOpenTakesOnlyAnExistingFile()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("here.qzv"), "x");
        CommonDialog cd = openDialog();
        ModalScript missing({typeName(dir.filePath("nothere.qzv")), answerBox(QMessageBox::Ok), cancelDialog()});
        QVERIFY(!RealDesktop().ShowFileDialog(cd, false));
        QVERIFY(missing.finished());
        QCOMPARE(missing.messages.size(), 1);

        ModalScript present({typeName(dir.filePath("here.qzv"))});
        QVERIFY(RealDesktop().ShowFileDialog(cd, false));
        QVERIFY(present.finished());
        QCOMPARE(cd.FileName, dir.filePath("here.qzv"));
    }
};

ARC_TEST(CommonDialogTest)
#include "CommonDialogTest.moc"
