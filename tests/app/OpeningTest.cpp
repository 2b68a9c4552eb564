#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/StartUp.h"
#include "app/frmMDI.h"
#include "app/frmOpen.h"
#include "reading/frmFront.h"
#include "common/ConnectionCheck.h"
#include "common/PageLaunchers.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "tutor/frmMain.h"

#include <QDir>
#include <QScopeGuard>
#include <QtTest>
#include <filesystem>

namespace {
QString missing(const QString& part) { return "Files Needed To Run Arcavell " + part + " Is Missing\rPlease Reinstall Software."; }
int ends() { return FormRegistry::instance().EndCount(); }
} // namespace

class OpeningTest : public SessionTest {
    Q_OBJECT

private slots:
    void secondCopyIsToldAndEnds()
    {
        const int before = ends();
        StartUp(true);
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, QString("Application is already running"));
        QCOMPARE(Scripted().boxes[0].icon(), int(vbInformation));
        QCOMPARE(Scripted().boxes[0].buttonSet(), int(vbOKOnly));
        QCOMPARE(Scripted().boxes[0].title, App::Title());
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void startShowsTheTutorWindow()
    {
        StartUp(false);
        QVERIFY(Forms::IsLoaded("frmMain"));
        QVERIFY(frmMain().isVisible());
        QCOMPARE(Forms::Count(), 1);
    }

    // A folder name from a single-byte system (in the program folder's name
    // or above it) reads with U+FFFD, and no file is found by that path.
    void folderNameMustBeUtf8_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("usable");
        QTest::newRow("Latin-1") << QByteArray("Caf\xe9") << false;
        QTest::newRow("Latin-1 above it") << QByteArray("Caf\xe9/program") << false;
        QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9") << true;
        QTest::newRow("U+FFFD itself") << QByteArray("Caf\xef\xbf\xbd") << true;
    }
    void folderNameMustBeUtf8()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, usable);
        namespace fs = std::filesystem;
        QTemporaryDir root;
        const fs::path top = QFile::encodeName(root.filePath("t")).toStdString();
        const fs::path program = top / name.toStdString();
        // Qt cannot remove what it cannot name; the fixture's folder is the program's again.
        const auto restore = qScopeGuard([&] {
            fs::remove_all(top);
            App::SetPath(folder->path());
        });
        fs::create_directories(program);
        fs::copy(QFile::encodeName(folder->path()).toStdString(), program, fs::copy_options::recursive);
        App::SetPathFromSystem(QByteArray::fromStdString(program.native()));
        const int before = ends();
        StartUp(false);
        if (usable) {
            QVERIFY(Scripted().boxes.isEmpty());
            QCOMPARE(App::Path(), QString::fromUtf8(program.native()));
            QVERIFY(Forms::IsLoaded("frmMain") && frmMain().isVisible());
            return;
        }
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, "The name of the folder " + QFile::decodeName(QByteArray::fromStdString(program.native())) +
                                                 " cannot be used, as it is not valid UTF-8.\rPlease move " +
                                                 App::Title() + " to a folder whose name is valid UTF-8.");
        QVERIFY(Scripted().boxes[0].prompt.contains(QChar::ReplacementCharacter));
        QCOMPARE(Scripted().boxes[0].icon(), int(vbCritical));
        QCOMPARE(Scripted().boxes[0].title, App::Title());
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void openingChoiceLooksAsDesigned()
    {
        auto& f = frmOpen();
        QCOMPARE(f.Caption(), QString("Arcavell Pro Software v1.85"));
        QCOMPARE(f.cmdTutor->text(), QString("Tarot Tutor"));
        QCOMPARE(f.cmdReading->text(), QString("Tarot Reading"));
        QCOMPARE(f.cmdDictionary->text(), QString("Tarot Dictionary"));
        QCOMPARE(f.cmdContd->text(), QString("Continue...."));
        QCOMPARE(f.Label2->text(), QString("Arcavell Pro Software"));
        QCOMPARE(f.Frame5->title(), QString("Full-Brand Options"));
        QVERIFY(f.Label7->text().endsWith("Click here for more details."));
        QVERIFY(!f.Timer1->isActive());
    }

    void tutorButtonOpensTheTutor()
    {
        frmOpen().Show();
        QTest::mouseClick(frmOpen().cmdTutor, Qt::LeftButton);
        QVERIFY(Scripted().boxes.isEmpty());
        QVERIFY(!Forms::IsLoaded("frmOpen"));
        QVERIFY(Forms::IsLoaded("frmMain") && frmMain().isVisible());
        TestSupport::settle();
        QCOMPARE(Forms::Count(), 1);
    }

    void tutorButtonRefusesWithoutItsDatabase_data()
    {
        QTest::addColumn<bool>("folderInstead");
        QTest::newRow("file missing") << false;
        QTest::newRow("a folder of that name") << true;
    }
    void tutorButtonRefusesWithoutItsDatabase()
    {
        QFETCH(bool, folderInstead);
        folder->remove("learn.dll");
        if (folderInstead)
            QDir(folder->path()).mkdir("learn.dll");
        frmOpen().Show();
        QTest::mouseClick(frmOpen().cmdTutor, Qt::LeftButton);
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, missing("Tutor"));
        QCOMPARE(Scripted().boxes[0].icon(), int(vbCritical));
        QCOMPARE(Scripted().boxes[0].title, App::Title());
        QVERIFY(Forms::IsLoaded("frmOpen"));
        QVERIFY(!Forms::IsLoaded("frmMain"));
    }

    void readingButtonNeedsCardsOrPictures_data()
    {
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("both present") << QStringList{} << false;
        QTest::newRow("pic only") << QStringList{"cards"} << false;
        QTest::newRow("cards only") << QStringList{"pic"} << false;
        QTest::newRow("neither") << QStringList{"cards", "pic"} << true;
    }
    void readingButtonNeedsCardsOrPictures()
    {
        QFETCH(QStringList, removed);
        QFETCH(bool, refused);
        for (const QString& name : removed)
            folder->remove(name);
        frmOpen().Show();
        QTest::mouseClick(frmOpen().cmdReading, Qt::LeftButton);
        if (refused) {
            QCOMPARE(Scripted().boxes.size(), 1);
            QCOMPARE(Scripted().boxes[0].prompt, missing("Reading"));
            QCOMPARE(Scripted().boxes[0].icon(), int(vbCritical));
            QVERIFY(Forms::IsLoaded("frmOpen"));
            QVERIFY(!Forms::IsLoaded("frmFront"));
        } else {
            QVERIFY(Scripted().boxes.isEmpty());
            QVERIFY(!Forms::IsLoaded("frmOpen"));
            QVERIFY(Forms::IsLoaded("frmFront") && frmFront().isVisible());
        }
    }

    void aFileNamedCardsCountsForTheReading()
    {
        folder->remove("cards");
        folder->remove("pic");
        QFile file(folder->file("pic"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        frmOpen().cmdReading_Click();
        QVERIFY(Scripted().boxes.isEmpty());
        QVERIFY(Forms::IsLoaded("frmFront"));
    }

    void dictionaryButtonOpensTheFrameInDictionaryMode()
    {
        Scripted().online = true;
        frmOpen().Show();
        QTest::mouseClick(frmOpen().cmdDictionary, Qt::LeftButton);
        QVERIFY(Scripted().boxes.isEmpty());
        QCOMPARE(Scripted().onlineChecks, 2);
        QCOMPARE(InternetConnected, 1);
        QVERIFY(!Forms::IsLoaded("frmOpen"));
        auto& frame = frmMDI();
        QVERIFY(frame.isVisible());
        QVERIFY(frame.picLeft->isVisible() && frame.TB->isVisible() && frame.picTop2->isVisible());
        QVERIFY(!frame.picRight->isVisible() && !frame.picTop->isVisible());
        QVERIFY(frame.mnuUpdateKey->isEnabled());
    }

    void dictionaryButtonRefusesWithoutItsDatabase()
    {
        folder->remove("tarot.dll");
        QDir(folder->path()).mkdir("tarot.dll");
        frmOpen().cmdDictionary_Click();
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, missing("Dictionary"));
        QCOMPARE(Scripted().boxes[0].icon(), int(vbCritical));
        QCOMPARE(Scripted().onlineChecks, 0);
        QVERIFY(Forms::IsLoaded("frmOpen"));
        QVERIFY(!Forms::IsLoaded("frmMDI"));
    }

    void continueDoesNothingAndLabelsOpenPages()
    {
        frmOpen().Show();
        QTest::mouseClick(frmOpen().cmdContd, Qt::LeftButton);
        QVERIFY(Forms::IsLoaded("frmOpen"));
        QVERIFY(Scripted().boxes.isEmpty() && Scripted().opened.isEmpty());
        QTest::mouseClick(frmOpen().Label61, Qt::LeftButton);
        QTest::mouseClick(frmOpen().Label7, Qt::LeftButton);
        QCOMPARE(Scripted().opened, (QStringList{PageAddress::Home, PageAddress::FullBrand}));
    }

    void closeBoxEndsTheProgram()
    {
        frmMain().Hide(); // another window, only hidden
        frmOpen().Show();
        const int before = ends();
        frmOpen().close();
        QCOMPARE(Forms::Count(), 0);
        TestSupport::settle();
        QCOMPARE(ends(), before + 1);
    }

    void leavingByAButtonKeepsTheProgramRunning()
    {
        frmOpen().Show();
        const int before = ends();
        frmOpen().cmdTutor_Click();
        TestSupport::settle();
        QCOMPARE(ends(), before);
        QVERIFY(Forms::IsLoaded("frmMain"));
    }
};

ARC_TEST(OpeningTest)
#include "OpeningTest.moc"
