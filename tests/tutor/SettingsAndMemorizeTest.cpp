#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TutorFixtures.h"
#include "common/modDB.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "tutor/CardQuery.h"
#include "tutor/frmMain.h"
#include "tutor/modImageDB.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSqlQuery>
#include <QtTest>

using Tutor::click;
using Tutor::settingsTab;

namespace {
QVariantList idsOfCardSet()
{
    QVariantList ids;
    for (rsCards->MoveFirst(); !rsCards->IsEOF(); rsCards->MoveNext())
        ids << rsCards->Value("ID");
    return ids;
}
QStringList tempFiles() { return QDir(QDir::tempPath()).entryList({"TMP*"}, QDir::Files); }
} // namespace

class SettingsAndMemorizeTest : public SessionTest {
    Q_OBJECT

    QString db() const { return folder->file("learn.dll"); }

    // Opens the memorise page on the major arcana (suit -1) or on one suit.
    class frmMain& memorize(int suit)
    {
        auto& f = settingsTab(suit);
        click(f.cmdSetOption);
        return f;
    }

    void checkCardShown(const QString& name)
    {
        auto& f = frmMain();
        QCOMPARE(f.lblCardNameMemorize->text(), name);
        const QImage upright = Tutor::storedPicture(db(), name);
        QVERIFY(!upright.isNull());
        QCOMPARE(f.picCardMemorize->Picture(), upright);
        QCOMPARE(f.picCardMemorizeReversed->Picture(), upright.mirrored(true, true));
        QCOMPARE(f.txtNormalMeaning->toPlainText(), Tutor::cardField(db(), name, "NormalMeaning"));
        QCOMPARE(f.txtReverseMeaning->toPlainText(), Tutor::cardField(db(), name, "ReversedMeaning"));
        const QStringList keywords = Tutor::keywordsOfCard(db(), name);
        QVERIFY(keywords.size() > 7);
        QCOMPARE(f.txtKeywords->toPlainText(), keywords.mid(0, 7).join(", ") + ", ");
    }


private slots:
    void boxRulesKeepTheCardSetConsistent()
    {
        auto& f = settingsTab();
        // with an empty store: every box ticked, the Keywords test, Beginner
        for (QCheckBox* box : {f.chkMajor, f.chkMinor, f.chkGroup[0], f.chkGroup[1], f.chkGroup[2], f.chkGroup[3]})
            QVERIFY(box->isChecked() && box->isEnabled());
        QVERIFY(f.optTestType[1]->isChecked() && f.optDifficulty[0]->isChecked());
        QVERIFY(f.chkReversed->isChecked() && !f.chkReversed->isEnabled());
        click(f.optTestType[0]);
        QVERIFY(f.chkReversed->isEnabled());

        for (int i : {0, 1, 2})
            click(f.chkGroup[i]);
        QVERIFY(!f.chkGroup[2]->isChecked());
        click(f.chkGroup[3]); // the last ticked suit ticks itself again
        QVERIFY(f.chkGroup[3]->isChecked());

        click(f.chkMinor);
        for (QCheckBox* box : f.chkGroup)
            QVERIFY(!box->isEnabled());
        click(f.chkMajor);
        QWidget* memorizePage = f.SSTab1->widget(2);
        QVERIFY(!f.chkReversed->isEnabled() && !f.cmdNext->isEnabledTo(memorizePage));
        for (QPushButton* b : {f.cmdSetOption, f.cmdStartTest2})
            click(b);
        QCOMPARE(Scripted().boxes.size(), 2);
        for (const auto& box : Scripted().boxes)
            QVERIFY(box.prompt == "Select at least one option." && box.buttons == vbOKOnly && box.title == App::Title());
        QVERIFY(f.SSTab1->Tab() == 1 && !f.SSTab1->TabEnabled(2) && !f.SSTab1->TabEnabled(3));

        click(f.chkMinor); // the suits come back with their old ticks
        QVERIFY(f.chkReversed->isEnabled() && f.cmdNext->isEnabledTo(memorizePage));
        QVERIFY(f.chkGroup[0]->isEnabled() && !f.chkGroup[0]->isChecked() && f.chkGroup[3]->isChecked());
    }

    void statementsOfTheCardSet()
    {
        QCOMPARE(CardQueryText(true, {true, false, false, true}),
                 QString("SELECT * FROM tblCards WHERE (Group=0) OR (Group=1) OR (Group=4) ORDER BY ID"));
        QCOMPARE(CardQueryText(false, {true, true, true, true}),
                 QString("SELECT * FROM tblCards WHERE (Group=1) OR (Group=2) OR (Group=3) OR (Group=4) ORDER BY ID"));

        // the major arcana with the suits disabled: their ticks do not count
        auto& f = settingsTab(-1);
        click(f.cmdSetOption);
        QVERIFY(f.SSTab1->Tab() == 2 && f.SSTab1->TabEnabled(2) && !f.SSTab1->TabEnabled(3));
        QCOMPARE(idsOfCardSet(), Tutor::sql(db(), {"SELECT ID FROM tblCards WHERE [Group] = 0 ORDER BY ID"}));

        f.mnuTabSettings->trigger();
        for (QCheckBox* b : {f.chkMinor, f.chkGroup[1], f.chkGroup[2]})
            click(b);
        click(f.cmdSetOption);
        QCOMPARE(idsOfCardSet(), Tutor::sql(db(), {"SELECT ID FROM tblCards WHERE [Group] IN (0, 1, 4) ORDER BY ID"}));
    }

    void savedSettingsComeBackAtTheNextLoad()
    {
        auto& f = settingsTab();
        for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{f.chkMajor, f.chkGroup[1], f.optTestType[0], f.optDifficulty[2]})
            click(b);
        click(f.cmdSaveSettings);
        QVERIFY(Scripted().boxes.isEmpty());
        QSettings stored(TestSupport::settingsFile(), QSettings::IniFormat);
        stored.beginGroup("Settings");
        QStringList pairs;
        for (const QString& key : stored.childKeys())
            pairs << key + "=" + stored.value(key).toString();
        for (const char* pair : {"MajorArcana=0", "MinorArcana=1", "Cups=1", "Wands=0", "Pentacles=1", "Swords=1",
                                 "TestType=0", "Difficulty=2", "RunAtSysTray=False"})
            QVERIFY2(pairs.contains(pair), pair);

        Unload(f);
        TestSupport::settle();
        auto& again = frmMain();
        QVERIFY(!again.chkMajor->isChecked() && again.chkMinor->isChecked() && !again.chkGroup[1]->isChecked());
        QVERIFY(again.optTestType[0]->isChecked() && again.optDifficulty[2]->isChecked());
        QVERIFY(again.chkReversed->isEnabled() && again.chkReversed->isChecked());
    }

    void aTutorDatabaseThatIsNoDatabaseIsReported()
    {
        for (const QByteArray& content : {QByteArray(), QByteArray("not the cards you are looking for\n")}) {
            QFile file(folder->file("learn.dll"));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
            file.close();
            auto& f = settingsTab();
            Scripted().boxes.clear();
            for (QPushButton* b : {f.cmdSetOption, f.cmdStartTest2})
                click(b);
            QCOMPARE(Scripted().boxes.size(), 2);
            QVERIFY(Scripted().boxes[0].prompt.startsWith("The tutor's card database cannot be read:"));
            QVERIFY(Scripted().boxes[0].prompt.endsWith("\rPlease reinstall the software."));
            QCOMPARE(Scripted().boxes[1].icon(), int(vbCritical));
            QVERIFY(f.SSTab1->Tab() == 1 && !f.SSTab1->TabEnabled(2) && !f.SSTab1->TabEnabled(3));
        }
    }

    void aTutorDatabaseInUseElsewhereIsReportedAsBusy()
    {
        auto& f = settingsTab();
        const QString name = "another-program";
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", name);
            other.setDatabaseName(folder->file("learn.dll"));
            QVERIFY(other.open() && QSqlQuery(other).exec("BEGIN EXCLUSIVE"));
            click(f.cmdSetOption);
            other.close();
        }
        QSqlDatabase::removeDatabase(name);
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY2(Scripted().boxes[0].prompt.endsWith("in use by another program.\rPlease try again later."),
                 qPrintable(Scripted().boxes[0].prompt));
        QVERIFY(!f.SSTab1->TabEnabled(2));
        click(f.cmdSetOption); // free again
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(f.SSTab1->TabEnabled(2));
    }

    void stepsThroughTheCardSetAndStopsAtItsEnds()
    {
        const QStringList before = tempFiles();
        auto& f = memorize(-1);
        checkCardShown("The Fool");
        click(f.cmdPrevious); // on the first card: disables itself, nothing moves
        QVERIFY(!f.cmdPrevious->isEnabled() && f.cmdNext->isEnabled());
        click(f.cmdNext);
        QVERIFY(f.cmdPrevious->isEnabled());
        checkCardShown("The Magician");
        for (int i = 2; i < 22; ++i)
            click(f.cmdNext);
        checkCardShown("The World");
        QVERIFY(f.cmdNext->isEnabled()); // arriving at the end does not disable it
        click(f.cmdNext);
        QVERIFY(!f.cmdNext->isEnabled());
        QCOMPARE(f.lblCardNameMemorize->text(), QString("The World"));
        click(f.cmdPrevious);
        QVERIFY(f.cmdNext->isEnabled());
        QCOMPARE(f.lblCardNameMemorize->text(), QString("Judgement"));
        QCOMPARE(tempFiles(), before);

        f.mnuTabSettings->trigger(); // coming back starts at the first card again
        click(f.cmdSetOption);
        checkCardShown("The Fool");
    }

    void smallCardSetsStayOrShowNothing()
    {
        Tutor::sql(db(), {"DELETE FROM tblCards WHERE [Group] = 2 AND ID <> 40", "DELETE FROM tblCards WHERE [Group] = 3"});
        auto& f = memorize(1);
        const QString only = Tutor::sql(db(), {"SELECT Name FROM tblCards WHERE ID = 40"}).value(0).toString();
        checkCardShown(only);
        click(f.cmdNext);
        QVERIFY(!f.cmdNext->isEnabled());
        click(f.cmdPrevious);
        QVERIFY(!f.cmdPrevious->isEnabled());
        checkCardShown(only);

        Unload(f);
        auto& empty = memorize(2); // no card at all
        QVERIFY(empty.SSTab1->Tab() == 2 && empty.lblCardNameMemorize->text().isEmpty());
        click(empty.cmdNext);
        click(empty.cmdStartTest);
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].icon(), int(vbExclamation));
        QCOMPARE(empty.SSTab1->Tab(), 2);
    }

    void cardsWithFaultyDataShowWhatTheyCan()
    {
        Tutor::sql(db(), {"UPDATE tblCards SET PictureData = NULL WHERE ID = 1",
                          "UPDATE tblCards SET PictureData = x'00112233445566' WHERE ID = 2",
                          "DELETE FROM tblKeywords WHERE CardID = 1",
                          "DELETE FROM tblKeywords WHERE CardID = 2 AND Id > (SELECT MIN(Id) + 2 FROM tblKeywords "
                          "WHERE CardID = 2)"});
        const QStringList before = tempFiles();
        auto& f = memorize(-1);
        QVERIFY(f.picCardMemorize->Picture().isNull() && f.picCardMemorizeReversed->Picture().isNull());
        QCOMPARE(f.txtKeywords->toPlainText(), QString());
        click(f.cmdNext);
        QVERIFY(f.picCardMemorize->Picture().isNull());
        QCOMPARE(f.txtKeywords->toPlainText(), Tutor::keywordsOfCard(db(), "The Magician").join(", ") + ", ");
        QCOMPARE(tempFiles(), before); // removed on failure too

        const QString a = GetTempFile("TMP"), b = GetTempFile("TMP");
        QVERIFY(a != b && QFileInfo(a).size() == 0 && QFileInfo(b).isFile() && QFileInfo(b).size() == 0);
        QCOMPARE(QFileInfo(a).absolutePath(), QDir(QDir::tempPath()).absolutePath());
        QFile::remove(a);
        QFile::remove(b);
    }
};

ARC_TEST(SettingsAndMemorizeTest)
#include "SettingsAndMemorizeTest.moc"
