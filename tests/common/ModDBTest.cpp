#include "TestMain.h"
#include "common/modDB.h"
#include "platform/VbError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A small tutor-like database: five cards, one with a picture, and an empty table.
QString makeDatabase(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("learn.dll");
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", "moddb-setup");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec("CREATE TABLE tblCards (ID INTEGER PRIMARY KEY, Name TEXT, PictureData BLOB, [Group] INTEGER)");
        q.exec("CREATE TABLE tblEmpty (Key TEXT)");
        const char* names[] = {"The Fool", "The Magician", "Ace of Cups", "Two of Cups", "Ace of Swords"};
        const int groups[] = {0, 0, 1, 1, 4};
        for (int i = 0; i < 5; ++i) {
            q.prepare("INSERT INTO tblCards (ID, Name, PictureData, [Group]) VALUES (?, ?, ?, ?)");
            q.addBindValue(i + 1);
            q.addBindValue(names[i]);
            q.addBindValue(i == 0 ? QByteArray("0123456789abcdef", 16) : QByteArray());
            q.addBindValue(groups[i]);
            q.exec();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("moddb-setup");
    return path;
}
} // namespace

class ModDBTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;
    ConnectionRef cn;

private slots:
    void init()
    {
        path = makeDatabase(dir);
        OpenConnection(cn, path);
    }
    void cleanup()
    {
        cn.reset();
        QFile::remove(path);
    }

    void connectionStringCarriesDriverPasswordAndPath()
    {
        QCOMPARE(AccessConnectionString("/x/tarot.dll"),
                 QString("DRIVER=Microsoft Access Driver (*.mdb);UID=;PWD=Wd8kTq2xNb6rPz3mYh;DBQ=/x/tarot.dll"));
        QCOMPARE(cn->CursorLocation, 3);
        QCOMPARE(cn->DatabasePath(), path);
    }

    void recordCountIsExactAndMovesWalkTheRows()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblCards ORDER BY ID");
        QCOMPARE(rs->RecordCount(), 5L);
        QVERIFY(!rs->IsBOF() && !rs->IsEOF());
        QCOMPARE(rs->Value("Name").toString(), QString("The Fool"));
        rs->MoveNext();
        QCOMPARE(rs->Value("ID").toInt(), 2);
        rs->Move(2);
        QCOMPARE(rs->Value("ID").toInt(), 4);
        rs->MovePrevious();
        QCOMPARE(rs->Value("ID").toInt(), 3);
        rs->MoveLast();
        rs->MoveNext();
        QVERIFY(rs->IsEOF());
        QVERIFY_THROWS_EXCEPTION(VbError, rs->Value("Name"));
        QVERIFY_THROWS_EXCEPTION(VbError, rs->MoveNext());
        rs->MoveFirst();
        rs->MovePrevious();
        QVERIFY(rs->IsBOF());
        rs->Move(3); // from before the first row
        QCOMPARE(rs->Value("ID").toInt(), 3);
        rs->Move(10);
        QVERIFY(rs->IsEOF());
    }

    void emptyTableHasCountZeroAtOnce()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblEmpty");
        QCOMPARE(rs->RecordCount(), 0L);
        QVERIFY(rs->IsEOF() && rs->IsBOF());
        QVERIFY_THROWS_EXCEPTION(VbError, rs->MoveFirst());
    }

    void fieldsAreFoundWithoutRegardToCase()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblCards");
        QCOMPARE(rs->Value("id").toInt(), 1);
        QCOMPARE(rs->Value("NAME").toString(), QString("The Fool"));
        QCOMPARE(rs->Fields("name").Name(), QString("Name"));
        QVERIFY_THROWS_EXCEPTION(VbError, rs->Fields("Nope"));
    }

    void filterByIdAndClear()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblCards ORDER BY ID");
        rs->MoveLast();
        rs->SetFilter("ID=3");
        QCOMPARE(rs->RecordCount(), 1L);
        QCOMPARE(rs->Value("Name").toString(), QString("Ace of Cups"));
        rs->SetFilter("ID=99");
        QCOMPARE(rs->RecordCount(), 0L);
        QVERIFY(rs->IsEOF());
        rs->SetFilter("");
        QCOMPARE(rs->RecordCount(), 5L);
        QCOMPARE(rs->Value("ID").toInt(), 1);
        rs->SetFilter("Name='Two of Cups'");
        QCOMPARE(rs->Value("ID").toInt(), 4);
        QVERIFY_THROWS_EXCEPTION(VbError, rs->SetFilter("ID >< 3 OR"));
    }

    void groupColumnCanBeQueriedAsWritten()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblCards WHERE (Group=0) OR (Group=4) ORDER BY ID");
        QCOMPARE(rs->RecordCount(), 3L);
        OpenRecordset(rs, cn, "SELECT DISTINCT * FROM tblCards WHERE Not ID=1");
        QCOMPARE(rs->RecordCount(), 4L);
        OpenRecordset(rs, cn, "SELECT * FROM tblCards WHERE Name = 'Group therapy'");
        QCOMPARE(rs->RecordCount(), 0L); // quoted text is left alone
        QCOMPARE(ToSqliteSql("select [Group] from t group by [Group]"), QString("select [Group] from t group by [Group]"));
    }

    void addNewAndUpdateWriteTheRowToTheFile()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblCards");
        rs->AddNew();
        rs->Fields("ID").SetValue(6);
        rs->Fields("Name").SetValue("Queen's \"Cup\"; DROP TABLE tblCards");
        rs->Fields("Group").SetValue(1);
        rs->Update();
        QCOMPARE(rs->RecordCount(), 6L);

        ConnectionRef other;
        OpenConnection(other, path);
        RecordsetRef check;
        OpenRecordset(check, other, "SELECT * FROM tblCards");
        QCOMPARE(check->RecordCount(), 6L);
        check->SetFilter("ID=6");
        QCOMPARE(check->Value("Name").toString(), QString("Queen's \"Cup\"; DROP TABLE tblCards"));
    }

    void changedFieldIsWrittenBack()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblCards ORDER BY ID");
        rs->MoveNext();
        rs->Fields("Name").SetValue("The Magus");
        rs->MoveNext(); // moving on writes the change
        RecordsetRef check;
        OpenRecordset(check, cn, "SELECT * FROM tblCards WHERE ID=2");
        QCOMPARE(check->Value("Name").toString(), QString("The Magus"));
    }

    void longBinaryFieldsByChunks()
    {
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM tblCards ORDER BY ID");
        Field pic = rs->Fields("PictureData");
        QCOMPARE(pic.ActualSize(), 16L);
        QCOMPARE(pic.GetChunk(10), QByteArray("0123456789"));
        QCOMPARE(pic.GetChunk(10), QByteArray("abcdef"));
        QCOMPARE(pic.GetChunk(10), QByteArray());

        rs->MoveNext();
        Field next = rs->Fields("PictureData");
        next.AppendChunk(QByteArray("\x01\x02", 2));
        next.AppendChunk(QByteArray("\x00\x03", 2));
        rs->Update();
        RecordsetRef check;
        OpenRecordset(check, cn, "SELECT * FROM tblCards WHERE ID=2");
        QCOMPARE(check->Value("PictureData").toByteArray(), QByteArray("\x01\x02\x00\x03", 4));
    }

    void missingOrBrokenFilesRaiseAnErrorAndCreateNothing()
    {
        ConnectionRef bad;
        const QString missing = dir.filePath("nothing.dll");
        QVERIFY_THROWS_EXCEPTION(VbError, OpenConnection(bad, missing));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(bad && !bad->IsOpen()); // the caller holds the new, unopened connection

        QVERIFY_THROWS_EXCEPTION(VbError, OpenConnection(bad, dir.path())); // a folder

        const QString text = dir.filePath("text.dll");
        QFile f(text);
        f.open(QIODevice::WriteOnly);
        f.write("this is not a database file, just some words in a file of the right name");
        f.close();
        try {
            OpenConnection(bad, text);
            QFAIL("a text file was opened as a database");
        } catch (const VbError& e) {
            QCOMPARE(DatabaseErrorAdvice(e, "reinstall"), QString("reinstall")); // damaged, not busy
        }

        RecordsetRef rs;
        QVERIFY_THROWS_EXCEPTION(VbError, OpenRecordset(rs, cn, "SELECT * FROM noSuchTable"));
        QVERIFY(rs && !rs->IsOpen());
    }

    // Another program holds the file locked: told apart from a damaged file,
    // and after a short wait only.
    void lockedFileIsReportedAsInUseWithoutALongWait_data()
    {
        QTest::addColumn<bool>("openedBefore");
        QTest::addColumn<bool>("write");
        QTest::newRow("opened while locked") << false << false;
        QTest::newRow("read while locked") << true << false;
        QTest::newRow("written while locked") << true << true;
    }
    void lockedFileIsReportedAsInUseWithoutALongWait()
    {
        QFETCH(bool, openedBefore);
        QFETCH(bool, write);
        ConnectionRef mine;
        RecordsetRef rs;
        if (openedBefore) {
            OpenConnection(mine, path);
            OpenRecordset(rs, mine, "SELECT * FROM tblCards");
        }
        QSqlQuery(cn->Database()).exec("BEGIN EXCLUSIVE"); // cn stands for the other program
        QElapsedTimer clock;
        clock.start();
        try {
            if (!openedBefore) {
                OpenConnection(mine, path);
            } else if (write) {
                rs->AddNew();
                rs->Fields("Name").SetValue("The Star");
                rs->Update();
            } else {
                OpenRecordset(rs, mine, "SELECT * FROM tblCards");
            }
            QFAIL("the locked file was used");
        } catch (const VbError& e) {
            QCOMPARE(e.Number(), VbErrors::DatabaseInUse);
            QVERIFY2(e.Description().contains(path) && e.Description().contains("in use"), qPrintable(e.Description()));
            QCOMPARE(DatabaseErrorAdvice(e, "reinstall"), QString("Please try again later."));
        }
        QVERIFY(clock.elapsed() < 1500);
        QSqlQuery(cn->Database()).exec("ROLLBACK");
        OpenConnection(mine, path);
        OpenRecordset(rs, mine, "SELECT * FROM tblCards");
        QCOMPARE(rs->RecordCount(), 5);
    }

    void damagedPagesRaiseAnErrorInsteadOfFewerRows()
    {
        {
            QSqlQuery q(cn->Database());
            q.exec("CREATE TABLE big (Key TEXT)");
            cn->Database().transaction();
            for (int i = 0; i < 3000; ++i)
                q.exec(QString("INSERT INTO big VALUES ('%1')").arg(QString(60, QChar('a' + i % 26))));
            cn->Database().commit();
        }
        RecordsetRef rs;
        OpenRecordset(rs, cn, "SELECT * FROM big");
        QCOMPARE(rs->RecordCount(), 3000);
        cn.reset();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2 / 4096 * 4096); // a page in the middle of the table
        f.write(QByteArray(300, '\xff'));
        f.close();
        OpenConnection(cn, path);
        QVERIFY_THROWS_EXCEPTION(VbError, OpenRecordset(rs, cn, "SELECT * FROM big"));
    }
};

ARC_TEST(ModDBTest)
#include "ModDBTest.moc"
