#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TutorFixtures.h"
#include "common/modDB.h"
#include "platform/MsgBox.h"
#include "tutor/frmMain.h"
#include "tutor/modImageDB.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QtTest>

using Tutor::click;

namespace {
QStringList tempPictureFiles() { return QDir(QDir::tempPath()).entryList({"TMP*"}, QDir::Files); }

// Settings tab with only the given suit (0..3) ticked, or the major arcana when suit is -1.
void chooseOneGroup(class frmMain& f, int suit)
{
    f.Show();
    f.mnuTabSettings->trigger();
    if (suit < 0) {
        click(f.chkMinor);
        return;
    }
    click(f.chkMajor);
    for (int i = 0; i < 4; ++i)
        if (i != suit)
            click(f.chkGroup[i]);
}
} // namespace

class MemorizeTest : public SessionTest {
    Q_OBJECT

    QString db() const { return folder->file("learn.dll"); }

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
    void stepsThroughTheCardSetAndStopsAtItsEnds()
    {
        auto& f = frmMain();
        chooseOneGroup(f, -1);
        const QStringList before = tempPictureFiles();
        click(f.cmdSetOption);
        QCOMPARE(f.SSTab1->Tab(), 2);
        checkCardShown("The Fool");

        click(f.cmdPrevious); // on the first card: disables itself, nothing moves
        QVERIFY(!f.cmdPrevious->isEnabled() && f.cmdNext->isEnabled());
        QCOMPARE(f.lblCardNameMemorize->text(), QString("The Fool"));
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
        QCOMPARE(tempPictureFiles(), before);

        // coming back to the page starts at the first card again
        f.mnuTabSettings->trigger();
        QVERIFY(!f.SSTab1->TabEnabled(2));
        click(f.cmdSetOption);
        checkCardShown("The Fool");
    }

    void aSetOfOneCardStays()
    {
        Tutor::sql(db(), {"DELETE FROM tblCards WHERE [Group] = 2 AND ID <> 40"});
        auto& f = frmMain();
        chooseOneGroup(f, 1);
        click(f.cmdSetOption);
        const QString only = Tutor::column(db(), "SELECT Name FROM tblCards WHERE ID = 40").value(0);
        checkCardShown(only);
        click(f.cmdNext);
        QVERIFY(!f.cmdNext->isEnabled());
        click(f.cmdPrevious);
        QVERIFY(!f.cmdPrevious->isEnabled());
        QCOMPARE(f.lblCardNameMemorize->text(), only);
    }

    void cardsWithFaultyDataShowWhatTheyCan()
    {
        Tutor::sql(db(), {"UPDATE tblCards SET PictureData = NULL WHERE ID = 1",
                          "UPDATE tblCards SET PictureData = x'00112233445566' WHERE ID = 2",
                          "DELETE FROM tblKeywords WHERE CardID = 1",
                          "DELETE FROM tblKeywords WHERE CardID = 2 AND Id NOT IN "
                          "(SELECT Id FROM tblKeywords WHERE CardID = 2 ORDER BY Id LIMIT 3)"});
        auto& f = frmMain();
        chooseOneGroup(f, -1);
        const QStringList before = tempPictureFiles();
        click(f.cmdSetOption);
        QCOMPARE(f.lblCardNameMemorize->text(), QString("The Fool"));
        QVERIFY(f.picCardMemorize->Picture().isNull() && f.picCardMemorizeReversed->Picture().isNull());
        QCOMPARE(f.txtKeywords->toPlainText(), QString());
        click(f.cmdNext);
        QVERIFY(f.picCardMemorize->Picture().isNull());
        QCOMPARE(f.txtKeywords->toPlainText(), Tutor::keywordsOfCard(db(), "The Magician").join(", ") + ", ");
        QCOMPARE(tempPictureFiles(), before); // removed on failure too
    }

    void anEmptyCardSetShowsNothingAndAsksNothing()
    {
        Tutor::sql(db(), {"DELETE FROM tblCards WHERE [Group] = 3"});
        auto& f = frmMain();
        chooseOneGroup(f, 2);
        click(f.cmdSetOption);
        QCOMPARE(f.SSTab1->Tab(), 2);
        QVERIFY(f.lblCardNameMemorize->text().isEmpty() && f.picCardMemorize->Picture().isNull());
        click(f.cmdNext);
        QVERIFY(!f.cmdNext->isEnabled());
        click(f.cmdStartTest);
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].icon(), int(vbExclamation));
        QCOMPARE(f.SSTab1->Tab(), 2);
    }

    void temporaryFilesAreNewAndEmpty()
    {
        const QString a = GetTempFile("TMP");
        const QString b = GetTempFile("TMPX");
        QVERIFY(a != b);
        for (const QString& path : {a, b}) {
            const QFileInfo info(path);
            QVERIFY(info.isFile() && info.size() == 0);
            QCOMPARE(info.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
            QVERIFY(info.fileName().startsWith("TMP"));
            QFile::remove(path);
        }
    }
};

ARC_TEST(MemorizeTest)
#include "MemorizeTest.moc"
