#include "DictionaryFixture.h"
#include "RepeatingTable.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "app/frmMDI.h"
#include "dictionary/DictionaryUpdate.h"
#include "dictionary/frmPB.h"
#include "platform/MsgBox.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
const QString Nothing = "There is nothing to Update";
const QString WrongFile = "This is the wrong file! Lookup online help";
const QString Updated = "Tarot Dictionary Successfully Updated\rPlease restart dictionary ";
const QList<QStringList> Dictionary = {{"Death", "pages/death.html", "tarot"}, {"Moon", "pages/moon.html", "tarot"}};
using Rows = QList<QStringList>;

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}
} // namespace

class DictionaryUpdateTest : public SessionTest {
    Q_OBJECT

    // Prepares both files, then chooses the update file in the dialog of "&Update".
    void update(const Rows& rows, const QStringList& extra = {}, const QStringList& dictionaryExtra = {})
    {
        writeDictionary(folder->file("tarot.dll"), Dictionary, dictionaryExtra);
        writeDictionary(folder->file("update.mdb"), rows, extra);
        frmMDI().mnuUpdateKey->setEnabled(true);
        Scripted().fileAnswers.enqueue(folder->file("update.mdb"));
        frmMDI().mnuUpdateKey->trigger();
    }
    QStringList keys() const
    {
        QStringList out;
        for (const QStringList& row : readDictionary(folder->file("tarot.dll")))
            out << row[0] + (row[2] == "tarot" ? "" : " unmarked");
        return out;
    }

private slots:
    void mergesByLink_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("message");
        QTest::newRow("'Tarot' in row 1") << Rows{{"Sun", "pages/sun.html", "Tarot"}} << QStringList{} << WrongFile;
        QTest::newRow("wrong marker in row 3")
            << Rows{{"Sun", "s", "tarot"}, {"Star", "t", "tarot"}, {"Tower", "u", "dictionary"}}
            << QStringList{"Sun", "Star"} << WrongFile;
        QTest::newRow("same new link twice, known link, case-different link")
            << Rows{{"Sun", "s", "tarot"}, {"Sol", "s", "tarot"}, {"Dying", "pages/death.html", "tarot"},
                    {"MOON", "pages/MOON.html", "tarot"}}
            << QStringList{"Sun", "MOON"} << Updated;
        QTest::newRow("empty table") << Rows{} << QStringList{} << Nothing;
    }
    void mergesByLink()
    {
        QFETCH(Rows, rows);
        QFETCH(QStringList, added);
        QFETCH(QString, message);
        update(rows);
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, message);
        QCOMPARE(Scripted().boxes[0].icon(), int(vbInformation));
        QVERIFY(!Scripted().fileDialogs[0].save && Scripted().fileDialogs[0].filter.isEmpty());
        QCOMPARE(Scripted().modalForms, message == Updated ? QStringList{"frmPB"} : QStringList{});
        QCOMPARE(keys(), QStringList({"Death", "Moon"}) + added);
        QCOMPARE(frmMDI().lstKeys->Items(), QStringList({"Death", "Moon"})); // not refilled
    }

    void badFilesAndFailedWritesChangeNothing()
    {
        const Rows rows{{"Sun", "s", "tarot"}, {"Star", "t", "tarot"}};
        update(rows, {"ALTER TABLE tarot RENAME TO cards"});
        update(rows, {"ALTER TABLE tarot DROP COLUMN Names"});
        QFile::resize(folder->file("update.mdb"), 100); // no database any more
        Scripted().fileAnswers.enqueue(folder->file("update.mdb"));
        frmMDI().mnuUpdateKey->trigger();
        Scripted().fileAnswers.enqueue(std::nullopt);
        frmMDI().mnuUpdateKey->trigger(); // cancelled: nothing at all
        QCOMPARE(Scripted().boxes.size(), 3);
        for (const auto& box : Scripted().boxes)
            QCOMPARE(box.prompt, Nothing);
        QCOMPARE(keys(), QStringList({"Death", "Moon"}));

        // The second new row is refused by the file, as a full disk would.
        update(rows, {}, {"CREATE TRIGGER refuse BEFORE INSERT ON tarot WHEN NEW.Key = 'Star' "
                          "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"});
        QVERIFY(Scripted().boxes[3].prompt.startsWith("The Tarot Dictionary could not be updated:\r"));
        QVERIFY(Scripted().boxes[3].prompt.contains("disk is full"));
        QCOMPARE(Scripted().boxes[3].icon(), int(vbExclamation));
        QVERIFY(Scripted().modalForms.isEmpty());
        QCOMPARE(readDictionary(folder->file("tarot.dll")), Dictionary);
    }

    // Another program holds the dictionary or the update file: nothing is
    // merged, and the user is told which file is in use.
    void fileInUseIsReportedAndNothingChanges_data()
    {
        QTest::addColumn<QString>("locked");
        QTest::newRow("dictionary") << "tarot.dll";
        QTest::newRow("update file") << "update.mdb";
    }
    void fileInUseIsReportedAndNothingChanges()
    {
        QFETCH(QString, locked);
        writeDictionary(folder->file("tarot.dll"), Dictionary);
        writeDictionary(folder->file("update.mdb"), {{"Sun", "s", "tarot"}});
        frmMDI().mnuUpdateKey->setEnabled(true);
        withDatabase(folder->file(locked), [&](QSqlDatabase& db) {
            QSqlQuery(db).exec("BEGIN EXCLUSIVE");
            Scripted().fileAnswers.enqueue(folder->file("update.mdb"));
            frmMDI().mnuUpdateKey->trigger();
            QSqlQuery(db).exec("ROLLBACK");
        });
        QCOMPARE(Scripted().boxes.size(), 1);
        const QString prompt = Scripted().boxes[0].prompt;
        QVERIFY2(prompt.startsWith("The Tarot Dictionary could not be updated:\r") &&
                     prompt.contains(folder->file(locked) + "' is in use by another program") &&
                     !prompt.contains("einstall"),
                 qPrintable(prompt));
        QCOMPARE(readDictionary(folder->file("tarot.dll")), Dictionary);
    }

    // Whatever else the file holds under the name tarot is not read at all.
    void onlyATableNamedTarotIsRead_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("damaged"); // a page in the middle of the table is overwritten
        const QString renamed = "ALTER TABLE tarot RENAME TO cards";
        QTest::newRow("view of a million rows")
            << QStringList{renamed, "CREATE VIEW tarot AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                    "FROM n WHERE i < 1000000) SELECT 'K' || i AS Key, 'L' || i AS Link, "
                                    "'tarot' AS Names FROM n"}
            << 1 << false;
        QTest::newRow("view of a table") << QStringList{renamed, "CREATE VIEW tarot AS SELECT * FROM cards"} << 1
                                         << false;
        QTest::newRow("virtual table") << QStringList{renamed, "CREATE VIRTUAL TABLE tarot USING fts5(Key, Link, Names)",
                                                      "INSERT INTO tarot SELECT * FROM cards"}
                                       << 1 << false;
        QTest::newRow("table damaged part-way") << QStringList{} << 3000 << true;
    }
    void onlyATableNamedTarotIsRead()
    {
        QFETCH(QStringList, extra);
        QFETCH(int, rows);
        QFETCH(bool, damaged);
        Rows update;
        for (int i = 0; i < rows; ++i)
            update << QStringList{QString("Sun %1").arg(i), QString("sun/%1.html").arg(i), "tarot"};
        writeDictionary(folder->file("tarot.dll"), Dictionary);
        writeDictionary(folder->file("update.mdb"), update, extra);
        if (damaged) {
            QFile file(folder->file("update.mdb"));
            QVERIFY(file.size() > 40 * 1024 && file.open(QIODevice::ReadWrite) && file.seek(file.size() / 2));
            file.write(QByteArray(4096, '\xff'));
        }
        QElapsedTimer clock;
        clock.start();
        const auto result = MergeDictionaryUpdate(folder->file("update.mdb"), folder->file("tarot.dll"));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(result.outcome, DictionaryUpdateResult::NothingToUpdate);
        QCOMPARE(readDictionary(folder->file("tarot.dll")), Dictionary);
    }

    // Whatever the file holds, reading it costs no more than its size
    // warrants: columns computed as they are read are refused, and a file
    // that reads as endless rows or holds a value longer than any key is
    // stopped and undone.
    void mergeIsBoundedWhateverTheFileHolds_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("repeatingLevels"); // 0: the rows as written
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("added");
        const QString renamed = "ALTER TABLE tarot RENAME TO cards";
        const QString copied = "INSERT INTO tarot (Key, Link) SELECT Key, Link FROM cards";
        QTest::newRow("stored generated column")
            << 3 << QStringList{renamed, "CREATE TABLE tarot (Key TEXT, Link TEXT, Names TEXT AS ('tarot') STORED)", copied}
            << 0 << Nothing << 0;
        QTest::newRow("virtual generated column")
            << 3
            << QStringList{renamed,
                           "CREATE TABLE tarot (Key TEXT, Link TEXT, "
                           "Names TEXT AS ('tarot' || substr(hex(zeroblob(100000)), 1, 0)) VIRTUAL)",
                           copied}
            << 0 << Nothing << 0;
        QTest::newRow("generated column not read")
            << 3 << QStringList{"ALTER TABLE tarot ADD COLUMN Size AS (length(Key)) VIRTUAL"} << 0 << Nothing << 0;
        QTest::newRow("default expression")
            << 3 << QStringList{renamed, "CREATE TABLE tarot (Key TEXT, Link TEXT, Names TEXT DEFAULT (lower('TAROT')))", copied}
            << 0 << Updated << 3;
        QTest::newRow("column added with a default")
            << 3
            << QStringList{"ALTER TABLE tarot DROP COLUMN Names", "ALTER TABLE tarot ADD COLUMN Names TEXT DEFAULT 'tarot'"}
            << 0 << Updated << 3;
        QTest::newRow("plain table of 100,000 rows") << 100000 << QStringList{} << 0 << Updated << 100000;
        QTest::newRow("key longer than a megabyte in row 2")
            << 3 << QStringList{"UPDATE tarot SET Key = hex(zeroblob(600000)) WHERE rowid = 2"} << 0 << Nothing << 0;
        QTest::newRow("pages repeating to endless rows") << 0 << QStringList{} << 6 << Nothing << 0;
    }
    void mergeIsBoundedWhateverTheFileHolds()
    {
        QFETCH(int, rows);
        QFETCH(QStringList, extra);
        QFETCH(int, repeatingLevels);
        QFETCH(QString, message);
        QFETCH(int, added);
        Rows update;
        for (int i = 0; i < rows; ++i)
            update << QStringList{QString("Sun %1").arg(i), QString("sun/%1.html").arg(i), "tarot"};
        writeDictionary(folder->file("tarot.dll"), Dictionary);
        if (repeatingLevels)
            writeRepeatingTable(folder->file("update.mdb"), 512, repeatingLevels, 2);
        else
            writeDictionary(folder->file("update.mdb"), update, extra);
        frmMDI().mnuUpdateKey->setEnabled(true);
        Scripted().fileAnswers.enqueue(folder->file("update.mdb"));
        frmMDI().mnuUpdateKey->trigger();
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, message);
        const auto merged = readDictionary(folder->file("tarot.dll"));
        QCOMPARE(merged.mid(0, 2), Dictionary);
        QCOMPARE(merged.mid(2), update.mid(0, added));
    }

    // The update file is someone else's: the merge reads it and leaves it,
    // and what lies beside it, byte for byte as it was.
    void updateFileIsLeftAsItWas_data()
    {
        QTest::addColumn<QString>("journalMode");
        QTest::addColumn<QString>("beside");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("added");
        QTest::newRow("journal of an unfinished change") << "DELETE" << "-journal" << Nothing << QStringList{};
        QTest::newRow("write-ahead log not yet copied in") << "WAL" << "-wal" << Updated << QStringList{"Sun", "Star"};
    }
    void updateFileIsLeftAsItWas()
    {
        QFETCH(QString, journalMode);
        QFETCH(QString, beside);
        QFETCH(QString, message);
        QFETCH(QStringList, added);
        writeDictionary(folder->file("tarot.dll"), Dictionary);
        const QString source = folder->file("source.mdb");
        const QString update = folder->file("update.mdb");
        writeDictionary(source, {});
        // The files are copied while a writer is in the middle of its work,
        // as a copy taken from a running program or a crash leaves them.
        withDatabase(source, [&](QSqlDatabase& db) {
            QSqlQuery q(db);
            QVERIFY(q.exec("PRAGMA journal_mode=" + journalMode));
            q.exec("PRAGMA wal_autocheckpoint=0");
            q.exec("PRAGMA cache_size=1");
            if (journalMode == "DELETE")
                q.exec("BEGIN");
            for (const QString& key : {"Sun", "Star"})
                q.exec("INSERT INTO tarot VALUES ('" + key + "', '" + key + ".html', 'tarot')");
            q.exec("INSERT INTO tarot SELECT 'padding', hex(randomblob(2000)), 'tarot' FROM "
                   "(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50) SELECT i FROM n)");
            q.exec("DELETE FROM tarot WHERE Key = 'padding'");
            QVERIFY(QFile::copy(source, update));
            QVERIFY(QFile::copy(source + beside, update + beside));
        });
        const QByteArray before = bytesOf(update);
        const QByteArray besideBefore = bytesOf(update + beside);
        frmMDI().mnuUpdateKey->setEnabled(true);
        Scripted().fileAnswers.enqueue(update);
        frmMDI().mnuUpdateKey->trigger();
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, message);
        QCOMPARE(keys(), QStringList({"Death", "Moon"}) + added);
        QCOMPARE(bytesOf(update), before);
        QCOMPARE(bytesOf(update + beside), besideBefore);
    }

    void tablesLargerThanSixteenBitCounters()
    {
        Rows big;
        for (int i = 0; i < 40000; ++i)
            big << QStringList{QString("Key %1").arg(i), QString("new/%1.html").arg(i), "tarot"};
        writeDictionary(folder->file("tarot.dll"), big.mid(0, 33000));
        writeDictionary(folder->file("update.mdb"), big);
        const auto result = MergeDictionaryUpdate(folder->file("update.mdb"), folder->file("tarot.dll"));
        QCOMPARE(result.outcome, DictionaryUpdateResult::Updated);
        QCOMPARE(result.added, 7000L);
        QCOMPARE(readDictionary(folder->file("tarot.dll")).size(), 40000);
    }

    void progressWindowFillsForFiveSecondsThenCloses()
    {
        qint64 shownFor = 0;
        int highest = 0;
        Scripted().onModal = [&](Form& form) {
            auto& pb = static_cast<class frmPB&>(form);
            QCOMPARE(pb.Label1->text(), QString("Please wait while Dictionary is Updating ...."));
            QCOMPARE(pb.cmdPB->text(), QString("Show Progress"));
            connect(pb.PB, &QProgressBar::valueChanged, pb.PB, [&](int v) { highest = qMax(highest, v); });
            QPointer<Form> alive(&form);
            QElapsedTimer clock;
            clock.start();
            QTest::qWaitFor([&] { return !alive || !alive->IsLoaded(); }, 8000);
            shownFor = clock.elapsed();
        };
        update({{"Sun", "s", "tarot"}});
        QCOMPARE(highest, 50);
        QVERIFY2(shownFor >= 4900 && shownFor < 6500, qPrintable(QString::number(shownFor)));
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, Updated); // after the window closed
    }
};

ARC_TEST(DictionaryUpdateTest)
#include "DictionaryUpdateTest.moc"
