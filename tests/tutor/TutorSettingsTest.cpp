#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TutorFixtures.h"
#include "common/modDB.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "tutor/CardQuery.h"
#include "tutor/frmMain.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QRadioButton>
#include <QSettings>
#include <QtTest>

using Tutor::click;

namespace {
QStringList idsOfCardSet()
{
    QStringList ids;
    for (rsCards->MoveFirst(); !rsCards->IsEOF(); rsCards->MoveNext())
        ids << rsCards->Value("ID").toString();
    return ids;
}

QStringList storedKeys()
{
    QSettings s(TestSupport::settingsFile(), QSettings::IniFormat);
    s.beginGroup("Settings");
    QStringList pairs;
    for (const QString& key : s.childKeys())
        pairs << key + "=" + s.value(key).toString();
    return pairs;
}
} // namespace

class TutorSettingsTest : public SessionTest {
    Q_OBJECT

private slots:
    void emptyStoreGivesEveryBoxKeywordsAndBeginner()
    {
        auto& f = frmMain();
        f.Show();
        f.mnuTabSettings->trigger();
        QCOMPARE(f.fraObjectives->title(), QString("Select Objectives"));
        QCOMPARE(f.fraTestType->title(), QString("Test Type"));
        QCOMPARE(f.fraTestLevel->title(), QString("Test Level"));
        QCOMPARE(f.cmdSaveSettings->text(), QString("Save Current Settings As Default"));
        QCOMPARE(f.cmdSetOption->text(), QString("Memorize Meaning / Keywords"));
        QCOMPARE(f.cmdStartTest2->text(), QString("Test Me"));
        QStringList captions;
        for (QCheckBox* box : {f.chkMajor, f.chkMinor, f.chkGroup[0], f.chkGroup[1], f.chkGroup[2], f.chkGroup[3],
                               f.chkReversed}) {
            QVERIFY(box->isChecked());
            captions << box->text();
        }
        QCOMPARE(captions, (QStringList{"Major Arcana", "Minor Arcana", "Cups", "Wands", "Pentacles", "Swords",
                                        "Reversed"}));
        QVERIFY(f.optTestType[1]->isChecked() && f.optDifficulty[0]->isChecked());
        QVERIFY(!f.chkReversed->isEnabled()); // the Keywords test has no reversed cards
        click(f.optTestType[0]);
        QVERIFY(f.chkReversed->isEnabled());
    }

    void boxRulesKeepTheCardSetConsistent()
    {
        auto& f = frmMain();
        f.Show();
        f.mnuTabSettings->trigger();
        for (int i : {0, 1, 2})
            click(f.chkGroup[i]);
        QVERIFY(!f.chkGroup[2]->isChecked());
        click(f.chkGroup[3]); // the last ticked suit ticks itself again
        QVERIFY(f.chkGroup[3]->isChecked());

        click(f.chkMinor);
        for (QCheckBox* box : f.chkGroup)
            QVERIFY(!box->isEnabled());
        QVERIFY(f.chkGroup[3]->isChecked());
        click(f.chkMajor);
        QWidget* memorizePage = f.SSTab1->widget(2);
        QVERIFY(!f.chkReversed->isEnabled() && !f.cmdNext->isEnabledTo(memorizePage));
        for (QPushButton* b : {f.cmdSetOption, f.cmdStartTest2})
            click(b);
        QCOMPARE(Scripted().boxes.size(), 2);
        for (const auto& box : Scripted().boxes) {
            QCOMPARE(box.prompt, QString("Select at least one option."));
            QCOMPARE(box.buttons, int(vbOKOnly));
            QCOMPARE(box.title, App::Title());
        }
        QCOMPARE(f.SSTab1->Tab(), 1);
        QVERIFY(!f.SSTab1->TabEnabled(2) && !f.SSTab1->TabEnabled(3));

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
        QCOMPARE(CardQueryText(true, {false, false, false, false}),
                 QString("SELECT * FROM tblCards WHERE (Group=0) ORDER BY ID"));

        // major arcana with the suits disabled: the suits' ticks do not count
        auto& f = frmMain();
        f.Show();
        f.mnuTabSettings->trigger();
        click(f.chkMinor);
        click(f.cmdSetOption);
        QCOMPARE(f.SSTab1->Tab(), 2);
        QVERIFY(f.SSTab1->TabEnabled(2) && !f.SSTab1->TabEnabled(3) && !f.SSTab1->TabEnabled(4));
        QStringList majors;
        for (int id = 1; id <= 22; ++id)
            majors << QString::number(id);
        QCOMPARE(idsOfCardSet(), majors);

        f.SSTab1->SetTab(1);
        click(f.chkMinor);
        click(f.chkMajor);
        click(f.chkGroup[1]);
        click(f.chkGroup[2]);
        click(f.cmdSetOption);
        const QStringList cupsAndSwords = Tutor::column(
            folder->file("learn.dll"), "SELECT ID FROM tblCards WHERE [Group] IN (1, 4) ORDER BY ID");
        QCOMPARE(cupsAndSwords.size(), 28);
        QCOMPARE(idsOfCardSet(), cupsAndSwords);
    }

    void savedSettingsComeBackAtTheNextLoad()
    {
        auto& f = frmMain();
        f.Show();
        f.mnuTabSettings->trigger();
        click(f.chkMajor);
        click(f.chkGroup[1]);
        click(f.optTestType[0]);
        click(f.optDifficulty[2]);
        click(f.cmdSaveSettings);
        QVERIFY(Scripted().boxes.isEmpty());
        const QStringList stored = storedKeys();
        for (const char* pair : {"MajorArcana=0", "MinorArcana=1", "Cups=1", "Wands=0", "Pentacles=1", "Swords=1",
                                 "TestType=0", "Difficulty=2", "RunAtSysTray=False"})
            QVERIFY2(stored.contains(pair), pair);

        Unload(f);
        TestSupport::settle();
        auto& again = frmMain();
        QVERIFY(!again.chkMajor->isChecked() && again.chkMinor->isChecked() && !again.chkGroup[1]->isChecked());
        QVERIFY(again.optTestType[0]->isChecked() && again.optDifficulty[2]->isChecked());
        QVERIFY(again.chkReversed->isEnabled() && again.chkReversed->isChecked());

        // values this program never writes fall back to the defaults
        SaveSetting(App::EXEName(), "Settings", "TestType", "7");
        SaveSetting(App::EXEName(), "Settings", "MajorArcana", "yes");
        Unload(again);
        TestSupport::settle();
        QVERIFY(frmMain().optTestType[1]->isChecked() && frmMain().chkMajor->isChecked());
    }

    void aTutorDatabaseThatIsNoDatabaseIsReported_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("zero bytes") << QByteArray();
        QTest::newRow("text") << QByteArray("these are not the cards you are looking for\n");
    }
    void aTutorDatabaseThatIsNoDatabaseIsReported()
    {
        QFETCH(QByteArray, content);
        QFile file(folder->file("learn.dll"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        auto& f = frmMain();
        f.Show();
        f.mnuTabSettings->trigger();
        for (QPushButton* b : {f.cmdSetOption, f.cmdStartTest2})
            click(b);
        QCOMPARE(Scripted().boxes.size(), 2);
        QVERIFY(Scripted().boxes[0].prompt.startsWith("The tutor's card database cannot be read:"));
        QCOMPARE(Scripted().boxes[1].icon(), int(vbCritical));
        QCOMPARE(f.SSTab1->Tab(), 1);
        QVERIFY(!f.SSTab1->TabEnabled(2) && !f.SSTab1->TabEnabled(3));
    }
};

ARC_TEST(TutorSettingsTest)
#include "TutorSettingsTest.moc"
