#include "DictionaryFixture.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "app/frmMDI.h"
#include "dictionary/DictionaryUpdate.h"
#include "dictionary/frmPB.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
const QString Nothing = "There is nothing to Update";
const QString WrongFile = "This is the wrong file! Lookup online help";
const QString Updated = "Tarot Dictionary Successfully Updated\rPlease restart dictionary ";
const QList<QStringList> Dictionary = {{"Death", "pages/death.html", "tarot"}, {"Moon", "pages/moon.html", "tarot"}};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}
} // namespace

class DictionaryUpdateTest : public SessionTest {
    Q_OBJECT

    QString dictionary() const { return folder->file("tarot.dll"); }
    QString updateFile() const { return folder->file("update.mdb"); }

    // Chooses the update file in the dialog of "&Update".
    void runUpdate(const std::optional<QString>& chosen)
    {
        auto& frame = frmMDI();
        frame.mnuUpdateKey->setEnabled(true);
        Scripted().fileAnswers.enqueue(chosen);
        frame.mnuUpdateKey->trigger();
    }

private slots:
    void mergesByLink_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QStringList>("addedKeys");
        QTest::addColumn<QString>("message");
        QTest::newRow("marker 'Tarot' in row 1")
            << QList<QStringList>{{"Sun", "pages/sun.html", "Tarot"}} << QStringList{} << WrongFile;
        QTest::newRow("wrong marker in row 3")
            << QList<QStringList>{{"Sun", "pages/sun.html", "tarot"}, {"Star", "pages/star.html", "tarot"},
                                  {"Tower", "pages/tower.html", "dictionary"}}
            << QStringList{"Sun", "Star"} << WrongFile;
        QTest::newRow("same new link twice, known link, case-different link")
            << QList<QStringList>{{"Sun", "pages/sun.html", "tarot"}, {"Sol", "pages/sun.html", "tarot"},
                                  {"Dying", "pages/death.html", "tarot"}, {"MOON", "pages/MOON.html", "tarot"}}
            << QStringList{"Sun", "MOON"} << Updated;
        QTest::newRow("empty table") << QList<QStringList>{} << QStringList{} << Nothing;
    }
    void mergesByLink()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(QStringList, addedKeys);
        QFETCH(QString, message);
        writeDictionary(dictionary(), Dictionary);
        writeDictionary(updateFile(), rows);
        const QStringList listed = frmMDI().lstKeys->Items();
        runUpdate(updateFile());
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, message);
        QCOMPARE(Scripted().boxes[0].icon(), int(vbInformation));
        QCOMPARE(Scripted().fileDialogs.size(), 1);
        QVERIFY(!Scripted().fileDialogs[0].save && Scripted().fileDialogs[0].filter.isEmpty());
        QCOMPARE(Scripted().modalForms, message == Updated ? QStringList{"frmPB"} : QStringList{});
        QStringList keys;
        for (const QStringList& row : readDictionary(dictionary())) {
            keys << row[0];
            QCOMPARE(row[2], QString("tarot"));
        }
        QCOMPARE(keys, QStringList({"Death", "Moon"}) + addedKeys);
        QCOMPARE(frmMDI().lstKeys->Items(), listed); // not refilled
    }

    void badFilesChangeNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << "text";
        QTest::newRow("no table tarot") << "table";
        QTest::newRow("no column Names") << "column";
        QTest::newRow("dialog cancelled") << "cancel";
    }
    void badFilesChangeNothing()
    {
        QFETCH(QString, kind);
        writeDictionary(dictionary(), Dictionary);
        const QByteArray before = bytesOf(dictionary());
        QFile text(updateFile());
        if (kind == "text" && text.open(QIODevice::WriteOnly))
            text.write("Key,Link,Names\nSun,pages/sun.html,tarot\n");
        text.close();
        if (kind == "table" || kind == "column")
            writeDictionary(updateFile(), {{"Sun", "pages/sun.html", "tarot"}},
                            {kind == "table" ? "ALTER TABLE tarot RENAME TO cards"
                                             : "ALTER TABLE tarot DROP COLUMN Names"});
        runUpdate(kind == "cancel" ? std::nullopt : std::optional<QString>(updateFile()));
        QCOMPARE(Scripted().boxes.size(), kind == "cancel" ? 0 : 1);
        if (kind != "cancel")
            QCOMPARE(Scripted().boxes[0].prompt, Nothing);
        QVERIFY(Scripted().modalForms.isEmpty());
        QCOMPARE(bytesOf(dictionary()), before);
    }

    void aRowThatCannotBeWrittenUndoesTheUpdate()
    {
        // The second new row is refused by the file, as a full disk would.
        writeDictionary(dictionary(), Dictionary,
                        {"CREATE TRIGGER refuse BEFORE INSERT ON tarot WHEN NEW.Key = 'Star' "
                         "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"});
        writeDictionary(updateFile(), {{"Sun", "pages/sun.html", "tarot"}, {"Star", "pages/star.html", "tarot"}});
        runUpdate(updateFile());
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.startsWith("The Tarot Dictionary could not be updated:\r"));
        QVERIFY(Scripted().boxes[0].prompt.contains("disk is full"));
        QCOMPARE(Scripted().boxes[0].icon(), int(vbExclamation));
        QVERIFY(Scripted().modalForms.isEmpty());
        QCOMPARE(readDictionary(dictionary()), Dictionary);
    }

    void tablesLargerThanSixteenBitCounters()
    {
        QList<QStringList> big;
        for (int i = 0; i < 40000; ++i)
            big << QStringList{QString("Key %1").arg(i), QString("new/%1.html").arg(i), "tarot"};
        writeDictionary(dictionary(), big.mid(0, 33000));
        writeDictionary(updateFile(), big);
        const DictionaryUpdateResult result = MergeDictionaryUpdate(updateFile(), dictionary());
        QCOMPARE(result.outcome, DictionaryUpdateResult::Updated);
        QCOMPARE(result.added, 7000L);
        QCOMPARE(readDictionary(dictionary()).size(), 40000);
    }

    void progressWindowFillsForFiveSecondsThenCloses()
    {
        writeDictionary(dictionary(), Dictionary);
        writeDictionary(updateFile(), {{"Sun", "pages/sun.html", "tarot"}});
        qint64 shownFor = 0;
        int highest = 0;
        Scripted().onModal = [&](Form& form) {
            auto& pb = static_cast<class frmPB&>(form);
            QCOMPARE(pb.Caption(), QString("Arcavell Pro Software v1.85"));
            QCOMPARE(pb.Label1->text(), QString("Please wait while Dictionary is Updating ...."));
            QCOMPARE(pb.cmdPB->text(), QString("Show Progress"));
            QCOMPARE(pb.PB->maximum(), 50);
            QPointer<Form> alive(&form);
            connect(pb.PB, &QProgressBar::valueChanged, pb.PB, [&](int v) { highest = qMax(highest, v); });
            QElapsedTimer clock;
            clock.start();
            QTest::qWaitFor([&] { return !alive || !alive->IsLoaded(); }, 8000);
            shownFor = clock.elapsed();
        };
        runUpdate(updateFile());
        QCOMPARE(highest, 50);
        QVERIFY2(shownFor >= 4900 && shownFor < 6500, qPrintable(QString::number(shownFor)));
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, Updated); // after the window closed
    }
};

ARC_TEST(DictionaryUpdateTest)
#include "DictionaryUpdateTest.moc"
