#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "app/StartUp.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "tutor/frmPicEntry.h"

#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {
// A query on the test's copy of learn.dll, beside the program's own connection.
QVariantList column(const QString& path, const QString& sql)
{
    QVariantList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(sql, db);
        while (q.next())
            out << q.value(0);
    }
    QSqlDatabase::removeDatabase("check");
    return out;
}

void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
} // namespace

class CardMaintenanceTest : public SessionTest {
    Q_OBJECT

    QString db() const { return folder->file("learn.dll"); }
    QString name(int id) const
    {
        return column(db(), "SELECT Name FROM tblCards WHERE ID=" + QString::number(id)).value(0).toString();
    }

private slots:
    void reachedOnlyByItsSwitch()
    {
        App::SetCommand("/PICENTRY");
        StartUp(false);
        QVERIFY(Forms::IsLoaded("frmPicEntry") && !Forms::IsLoaded("frmMain"));
        TestSupport::resetSession();
        StartUp(false);
        QVERIFY(!Forms::IsLoaded("frmPicEntry") && Forms::IsLoaded("frmMain"));
    }

    void stepsThroughTheCards()
    {
        auto& f = frmPicEntry();
        QCOMPARE(f.Label1->text(), QString("Label1"));
        QVERIFY(f.Picture1->Picture().isNull());
        click(f.Command2);
        QCOMPARE(f.Label1->text(), name(2));
        QVERIFY(!f.Picture1->Picture().isNull());
        click(f.Command3);
        QCOMPARE(f.Label1->text(), name(1));
        for (int i = 0; i < 79; ++i)
            click(f.Command2);
        QCOMPARE(f.Label1->text(), name(78)); // past the end the last card stays
        click(f.Command3);
        QCOMPARE(f.Label1->text(), name(78));
        click(f.Command3);
        QCOMPARE(f.Label1->text(), name(77));
    }

    void storesAPictureFileWithAZeroByte()
    {
        const QString file = folder->file("face.jpg");
        QImage picture(40, 60, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(file));
        QFile notAPicture(folder->file("notes.jpg"));
        QVERIFY(notAPicture.open(QIODevice::WriteOnly) && notAPicture.write("plain text") > 0);
        notAPicture.close();
        const QByteArray before = column(db(), "SELECT PictureData FROM tblCards WHERE ID=2")[0].toByteArray();

        auto& f = frmPicEntry();
        click(f.Command2);
        Scripted().fileAnswers << std::nullopt << notAPicture.fileName() << file;
        click(f.cmdSetPicture); // cancelled
        click(f.cmdSetPicture); // not a picture
        QCOMPARE(column(db(), "SELECT PictureData FROM tblCards WHERE ID=2")[0].toByteArray(), before);
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.contains("is not a picture"));

        click(f.cmdSetPicture);
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(column(db(), "SELECT PictureData FROM tblCards WHERE ID=2")[0].toByteArray(), saved.readAll() + '\0');
        QCOMPARE(f.Picture1->Picture().size(), QSize(40, 60));
        const auto& dialog = Scripted().fileDialogs[0];
        QCOMPARE(dialog.filter, QString("All Picture files | *.bmp;*.jpg;*.jpe;*.jpeg;*.gif"));
        QCOMPARE(dialog.flags, 0x81A00);
        QCOMPARE(dialog.fileName, QString());
    }

    void seedsKeywordsOnlyIntoAnEmptyTable()
    {
        auto& f = frmPicEntry();
        const QVariant rows = column(db(), "SELECT COUNT(*) FROM tblKeywords")[0];
        click(f.Command4);
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.startsWith("tblKeywords already holds keywords"));
        QCOMPARE(column(db(), "SELECT COUNT(*) FROM tblKeywords")[0], rows);

        column(db(), "DELETE FROM tblKeywords");
        click(f.Command4);
        QCOMPARE(Scripted().boxes.size(), 1);
        const QVariantList ids = column(db(), "SELECT Id FROM tblKeywords ORDER BY Id");
        QCOMPARE(ids.size(), 546);
        QCOMPARE(ids.last().toInt(), 546);
        QCOMPARE(column(db(), "SELECT CardID || '|' || cardName || '|' || Keyword FROM tblKeywords WHERE Id=14")[0]
                     .toString(),
                 "2|" + name(2) + "|" + name(2) + " 7");
        click(f.Command2); // the seeding left the first card current
        QCOMPARE(f.Label1->text(), name(2));
    }
};

ARC_TEST(CardMaintenanceTest)
#include "CardMaintenanceTest.moc"
