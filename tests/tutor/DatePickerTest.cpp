#include "TestMain.h"
#include "TestSupport.h"
#include "platform/Clock.h"
#include "tutor/UserControl1.h"

#include <QtTest>

class DatePickerTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetToday(QDate());
        QLocale::setDefault(QLocale::c());
    }

    void startsOnTodayWithItsLists()
    {
        SetToday(QDate(2028, 2, 29));
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        UserControl1 picker;
        QCOMPARE(picker.Value(), QDate(2028, 2, 29));
        QCOMPARE(picker.cboDate->count(), 31);
        QCOMPARE(picker.cboYear->count(), 120);
        QCOMPARE(picker.cboYear->itemText(0), QString("1980"));
        QCOMPARE(picker.cboYear->itemText(119), QString("2099"));
        QCOMPARE(picker.cboMonth->itemText(0), QLocale().standaloneMonthName(1));
        QCOMPARE(picker.cboMonth->itemText(11), QString("décembre"));
        QCOMPARE(picker.cboMonth->geometry(), QRect(48, 2, 87, 21));

        picker.resize(500, 100);
        QCOMPARE(picker.size(), QSize(213, 27));
        picker.SetEnabled(false);
        QVERIFY(!picker.Enabled() && !picker.cboDate->isEnabled() && !picker.cboMonth->isEnabled() &&
                !picker.cboYear->isEnabled());
    }

    void dayIsClampedBeforeTheChangeIsReported()
    {
        UserControl1 picker;
        picker.SetValue(QDate(2026, 1, 31));
        QList<QDate> seen;
        connect(&picker, &UserControl1::DateChanged, this, [&] { seen << picker.Value(); });
        picker.cboMonth->setCurrentIndex(3); // April
        QCOMPARE(seen, (QList<QDate>{QDate(2026, 4, 30), QDate(2026, 4, 30)}));

        picker.SetValue(QDate(2028, 2, 29));
        seen.clear();
        picker.cboYear->setCurrentIndex(2027 - 1980);
        QCOMPARE(seen, (QList<QDate>{QDate(2027, 2, 28), QDate(2027, 2, 28)}));

        picker.SetValue(QDate(2026, 2, 10));
        seen.clear();
        picker.SetValue(QDate(2026, 3, 31)); // the month first, then the day
        QCOMPARE(seen, (QList<QDate>{QDate(2026, 3, 10), QDate(2026, 3, 31)}));
    }

    void valueKeepsToItsYearsWhateverTheDateFormat()
    {
        for (QLocale::Country c : {QLocale::UnitedStates, QLocale::Germany}) {
            QLocale::setDefault(QLocale(QLocale::AnyLanguage, c));
            UserControl1 picker;
            picker.SetValue(QDate(2026, 5, 4));
            QCOMPARE(picker.Value(), QDate(2026, 5, 4));
        }
        UserControl1 picker;
        picker.SetValue(QDate(1975, 6, 15));
        QCOMPARE(picker.Value(), QDate(1980, 6, 15));
        picker.SetValue(QDate(2104, 2, 29));
        QCOMPARE(picker.Value(), QDate(2099, 2, 28));
    }
};

ARC_TEST(DatePickerTest)
#include "DatePickerTest.moc"
