#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/frmMDI.h"
#include "app/frmOpen.h"
#include "common/PageLaunchers.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "reading/frmFront.h"

#include <QClipboard>
#include <QMenuBar>
#include <QtTest>

namespace {
const QString NameRefused = "Name cannot contain Numbers and Special Characters";
const QString CountryRefused = "Country cannot contain Numbers and Special Characters";
int ends() { return FormRegistry::instance().EndCount(); }

QAction* menuItem(Form& f, const QString& menu, const QString& caption)
{
    for (QAction* top : f.menuBar()->actions())
        if (top->text() == menu && top->menu())
            for (QAction* a : top->menu()->actions())
                if (a->text() == caption)
                    return a;
    return nullptr;
}
} // namespace

class QuerentWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;

private slots:
    void init()
    {
        TestSupport::resetSession();
        folder = std::make_unique<ProgramFolder>();
        frmFront().Show();
        frmFront().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frmFront()));
    }
    void cleanup()
    {
        TestSupport::resetSession();
        folder.reset();
    }

    void listsStartAtJanuaryFirst1980()
    {
        auto& f = frmFront();
        QCOMPARE(f.cmbDate->count(), 31);
        QCOMPARE(f.cmbDate->itemText(30), QString("31"));
        QCOMPARE(f.cmbMonth->count(), 12);
        QCOMPARE(f.cmbMonth->itemText(8), QString("September"));
        QCOMPARE(f.cmbYear->count(), 151);
        QCOMPARE(f.cmbYear->itemText(0), QString("1900"));
        QCOMPARE(f.cmbYear->itemText(150), QString("2050"));
        QCOMPARE(f.cmbDate->currentText(), QString("1"));
        QCOMPARE(f.cmbMonth->currentText(), QString("January"));
        QCOMPARE(f.cmbYear->currentText(), QString("1980"));
        QVERIFY(!f.cmbYear->isEditable());
    }

    void refusedKeysAreSwallowedAndExplained_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("digit in name") << "name" << int(Qt::Key_7) << 0;
        QTest::newRow("hyphen in name") << "name" << int(Qt::Key_Minus) << 0;
        QTest::newRow("Enter in name") << "name" << int(Qt::Key_Return) << 0;
        QTest::newRow("Ctrl+V in name") << "name" << int(Qt::Key_V) << int(Qt::ControlModifier);
        QTest::newRow("digit in country") << "country" << int(Qt::Key_3) << 0;
        QTest::newRow("Enter in country") << "country" << int(Qt::Key_Enter) << 0;
    }
    void refusedKeysAreSwallowedAndExplained()
    {
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto& f = frmFront();
        QLineEdit* edit = box == "name" ? f.txtName : f.txtCountry;
        QGuiApplication::clipboard()->setText("12345");
        QTest::keyClicks(edit, "Ab");
        f.cmdNext->setFocus();
        QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(edit->text(), QString("Ab"));
        QCOMPARE(Scripted().boxes.size(), 1);
        const auto& b = Scripted().boxes[0];
        QCOMPARE(b.prompt, box == "name" ? NameRefused : CountryRefused);
        QCOMPARE(b.title, QString("Arcavell Reading Software"));
        QCOMPARE(b.icon(), int(vbInformation));
        QCOMPARE(b.buttonSet(), int(vbOKOnly));
        QCOMPARE(QApplication::focusWidget(), edit);
    }

    void lettersBlanksAndBackspacePass()
    {
        auto& f = frmFront();
        QTest::keyClicks(f.txtName, "Mary Ann");
        QTest::keyClick(f.txtName, Qt::Key_Backspace);
        QTest::keyClicks(f.txtCountry, "New Zealand");
        QCOMPARE(f.txtName->text(), QString("Mary An"));
        QCOMPARE(f.txtCountry->text(), QString("New Zealand"));
        QTest::keyClicks(f.txtQuestion, "Will 2027 bring a move? (Yes/No) 100%");
        QCOMPARE(f.txtQuestion->toPlainText(), QString("Will 2027 bring a move? (Yes/No) 100%"));
        QVERIFY(Scripted().boxes.isEmpty());
    }

    void accentedLetterIsRefused()
    {
        QTest::keyClicks(frmFront().txtName, "Jos");
        QTest::sendKeyEvent(QTest::Click, frmFront().txtName, Qt::Key_unknown, QString::fromUtf8("\u00e9"),
                            Qt::NoModifier);
        QCOMPARE(frmFront().txtName->text(), QString("Jos"));
        QCOMPARE(Scripted().boxes.size(), 1);
    }

    void nextWithUntouchedFieldsCarriesTheDefaults()
    {
        QPointer<Form> front = &frmFront();
        QTest::mouseClick(frmFront().cmdNext, Qt::LeftButton);
        QVERIFY(!front->IsLoaded());
        auto* f = static_cast<class frmFront*>(front.data());
        QCOMPARE(f->strName, QString());
        QCOMPARE(f->strCountry, QString());
        QCOMPARE(f->strQ, QString());
        QCOMPARE(f->strDOB, QString("January 1, 1980"));
        QCOMPARE(frmMDI().txtDOB->text(), QString("January 1, 1980"));
        QVERIFY(Forms::IsLoaded("frmTarot"));
        TestSupport::settle();
        QVERIFY(Forms::Count() > 0);
    }

    void dayTheMonthLacksIsAccepted()
    {
        auto& f = frmFront();
        f.cmbMonth->setCurrentText("February");
        f.cmbDate->setCurrentText("31");
        f.cmbYear->setCurrentText("2001");
        f.cmdNext_Click();
        QCOMPARE(frmMDI().txtDOB->text(), QString("February 31, 2001"));
    }

    void resetRestoresTheStart()
    {
        auto& f = frmFront();
        QTest::keyClicks(f.txtName, "Tom");
        QTest::keyClicks(f.txtCountry, "Peru");
        f.txtQuestion->setPlainText("Why?");
        f.cmbMonth->setCurrentIndex(5);
        f.cmbDate->setCurrentIndex(5);
        f.cmbYear->setCurrentIndex(5);
        menuItem(f, "File", "&Reset")->trigger();
        QVERIFY(f.txtName->text().isEmpty() && f.txtCountry->text().isEmpty());
        QVERIFY(f.txtQuestion->toPlainText().isEmpty());
        QCOMPARE(f.cmbDate->currentText(), QString("1"));
        QCOMPARE(f.cmbMonth->currentText(), QString("January"));
        QCOMPARE(f.cmbYear->currentText(), QString("1980"));
        QCOMPARE(QApplication::focusWidget(), f.txtName);
        QCOMPARE(f.strName, QString());
    }

    void backLeadsToTheOpeningChoice()
    {
        const int before = ends();
        QTest::mouseClick(frmFront().cmdBack, Qt::LeftButton);
        QVERIFY(!Forms::IsLoaded("frmFront"));
        QVERIFY(Forms::IsLoaded("frmOpen") && frmOpen().isVisible());
        TestSupport::settle();
        QCOMPARE(ends(), before);
    }

    void backInTheFileMenuDoesNothing()
    {
        menuItem(frmFront(), "File", "&Back")->trigger();
        QVERIFY(Forms::IsLoaded("frmFront"));
        QVERIFY(!Forms::IsLoaded("frmOpen"));
    }

    void exitAndTheCloseBoxEndTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("&Exit") << "button";
        QTest::newRow("E&xit") << "menu";
        QTest::newRow("close box") << "close";
    }
    void exitAndTheCloseBoxEndTheProgram()
    {
        QFETCH(QString, how);
        frmOpen().Hide();
        const int before = ends();
        if (how == "button")
            QTest::mouseClick(frmFront().cmdCancel, Qt::LeftButton);
        else if (how == "menu")
            menuItem(frmFront(), "File", "E&xit")->trigger();
        else
            frmFront().close();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void frameClosingWhileTheQuerentWindowIsHiddenEndsCleanly()
    {
        frmFront().Hide();
        frmMDI().Show();
        const int before = ends();
        frmMDI().cmdExit_Click();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void helpMenuAndLabels()
    {
        auto& f = frmFront();
        menuItem(f, "Help", "Onine &Help")->trigger();
        menuItem(f, "Help", "Visit Us &Online")->trigger();
        menuItem(f, "Help", "Check For Software Update")->trigger();
        QTest::mouseClick(f.lblFullBrand, Qt::LeftButton);
        QTest::mouseClick(f.Label6, Qt::LeftButton);
        QCOMPARE(Scripted().opened, (QStringList{PageAddress::Help, PageAddress::Home, PageAddress::Download,
                                                 PageAddress::FullBrand, PageAddress::Home}));
        menuItem(f, "Help", "About &Software")->trigger();
        QCOMPARE(Scripted().modalForms, QStringList{"frmAbout"});
    }
};

ARC_TEST(QuerentWindowTest)
#include "QuerentWindowTest.moc"
