#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "common/ConnectionCheck.h"
#include "common/PageLaunchers.h"

#include <QUrl>
#include <QtTest>

class SharedServicesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::resetSession(); }

    void eachLauncherOpensItsOwnPage()
    {
        OpenDonatePage();
        OpenHelpPage();
        OpenFullBrandPage();
        OpenCoBrandPage();
        OpenHomePage();
        OpenDownloadPage();
        const QStringList expected{PageAddress::Donate, PageAddress::Help,     PageAddress::FullBrand,
                                   PageAddress::CoBrand, PageAddress::Home, PageAddress::Download};
        QCOMPARE(Scripted().opened, expected);
        QCOMPARE(QSet<QString>(expected.begin(), expected.end()).size(), 6);
        for (const QString& address : expected)
            QVERIFY2(QUrl(address).host().endsWith(".example"), qPrintable(address));
    }

    void connectionCheckSetsTheOnlineFlag()
    {
        Scripted().online = true;
        CheckConnection();
        QCOMPARE(InternetConnected, 1);
        QCOMPARE(ConnectionName, QString("eth0"));
        Scripted().online = false;
        CheckConnection();
        QCOMPARE(InternetConnected, 0);
        QCOMPARE(ConnectionName, QString());
    }
};

ARC_TEST(SharedServicesTest)
#include "SharedServicesTest.moc"
