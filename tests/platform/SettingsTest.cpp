#include "TestMain.h"
#include "TestSupport.h"
#include "platform/Settings.h"

#include <QFile>
#include <QtTest>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::resetSession(); }

    void missingValueGivesTheDefault()
    {
        QCOMPARE(GetSetting("arcavell", "Settings", "Nothing", "fallback"), QString("fallback"));
        QCOMPARE(GetSetting("arcavell", "Settings", "Nothing"), QString());
    }

    void valuesPersistInTheUsersOwnFolder()
    {
        SaveSetting("arcavell", "Settings", "RunAtSysTray", "True");
        QCOMPARE(GetSetting("arcavell", "Settings", "RunAtSysTray", "False"), QString("True"));
        QVERIFY(QFile::exists(TestSupport::settingsFile()));
        QVERIFY(TestSupport::settingsFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        DeleteSetting("arcavell", "Settings", "RunAtSysTray");
        QCOMPARE(GetSetting("arcavell", "Settings", "RunAtSysTray", "False"), QString("False"));
    }

    // Names and values made of shifted character codes (85..255) survive.
    void everySingleByteCharacterRoundTrips()
    {
        QString key, value;
        for (int c = 85 + 32; c <= 255; ++c)
            value.append(QChar(c));
        for (int c : {153, 202, 199, 182, 201, 190, 196, 195})
            key.append(QChar(c));
        SaveSetting("arcavell", "Settings", key, value);
        QCOMPARE(GetSetting("arcavell", "Settings", key), value);
    }
};

ARC_TEST(SettingsTest)
#include "SettingsTest.moc"
