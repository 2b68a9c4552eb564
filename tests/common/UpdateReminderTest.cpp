#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "common/PageLaunchers.h"
#include "common/UpdateReminder.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "reading/TextEncoding.h"

#include <QtTest>

namespace {
const QString Reminder = "There maybe an update to this software available\rDo you want to check for an update?";

QString storedRaw() { return GetSetting(App::EXEName(), "Settings", UpdateReminderValueName()); }
QDateTime stored() { return DateTimeFromText(DecodeText(storedRaw())); }
void storeDaysFromNow(int days)
{
    SaveSetting(App::EXEName(), "Settings", UpdateReminderValueName(),
                EncodeText(DateTimeToText(QDateTime::currentDateTime().addDays(days))));
}
bool storedIsNow() { return qAbs(stored().secsTo(QDateTime::currentDateTime())) <= 2; }
} // namespace

class UpdateReminderTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::resetSession(); }

    void valueNameIsTheEncodedWord()
    {
        QCOMPARE(UpdateReminderValueName(), EncodeText("Duration"));
        QCOMPARE(UpdateReminderValueName().at(0).unicode(), ushort('D' + 85));
    }

    void firstRunStoresNowSilently()
    {
        CheckUpdateReminder();
        QVERIFY(Scripted().boxes.isEmpty());
        QVERIFY(!storedRaw().isEmpty());
        QVERIFY(storedIsNow());
        // stored encoded: the plain date text does not appear
        QVERIFY(storedRaw() != DecodeText(storedRaw()));
    }

    void withinFourteenDaysNothingHappens_data()
    {
        QTest::addColumn<int>("days");
        QTest::newRow("14 days before") << -14;
        QTest::newRow("today") << 0;
        QTest::newRow("14 days after") << 14;
    }
    void withinFourteenDaysNothingHappens()
    {
        QFETCH(int, days);
        storeDaysFromNow(days);
        const QString before = storedRaw();
        CheckUpdateReminder();
        QVERIFY(Scripted().boxes.isEmpty());
        QCOMPARE(storedRaw(), before);
    }

    void fifteenDaysAwayAsksAndStoresNow_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("answer");
        QTest::newRow("15 days before, No") << -15 << int(vbNo);
        QTest::newRow("15 days before, Yes") << -15 << int(vbYes);
        QTest::newRow("15 days after (clock set back), No") << 15 << int(vbNo);
        QTest::newRow("a year before, Yes") << -365 << int(vbYes);
    }
    void fifteenDaysAwayAsksAndStoresNow()
    {
        QFETCH(int, days);
        QFETCH(int, answer);
        storeDaysFromNow(days);
        Scripted().answers << answer;
        CheckUpdateReminder();
        QCOMPARE(Scripted().boxes.size(), 1);
        const auto& box = Scripted().boxes.first();
        QCOMPARE(box.prompt, Reminder);
        QCOMPARE(box.buttonSet(), int(vbYesNo));
        QCOMPARE(box.icon(), int(vbInformation));
        QCOMPARE(box.title, App::Title());
        QVERIFY(storedIsNow());
        QCOMPARE(Scripted().opened, answer == vbYes ? QStringList{PageAddress::Download} : QStringList{});
        // and not again on the next start
        CheckUpdateReminder();
        QCOMPARE(Scripted().boxes.size(), 1);
    }

    void valueThatIsNoDateCountsAsMissing()
    {
        SaveSetting(App::EXEName(), "Settings", UpdateReminderValueName(), EncodeText("not a date at all"));
        CheckUpdateReminder();
        QVERIFY(Scripted().boxes.isEmpty());
        QVERIFY(storedIsNow());
    }

    void dateTextRoundTrips()
    {
        const QDateTime moment(QDate(2031, 2, 3), QTime(4, 5, 6));
        QCOMPARE(DateTimeFromText(DateTimeToText(moment)), moment);
    }
};

ARC_TEST(UpdateReminderTest)
#include "UpdateReminderTest.moc"
