#include "DictionaryFixture.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "app/frmMDI.h"
#include "dictionary/frmBrowser.h"
#include "dictionary/frmMainDictionary.h"
#include "dictionary/modDict.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
const QString EnterTerm = "Please Enter Search Term";
const QString NotFound = "Keyword not found - Please search in google\r"
                         "Or write to us so that we can add the term in our dictionary";
const QStringList Keys = {"Death", "death card", "The Death", "DEATHLY", "Moon",  "Full Moon",
                          "Moonlight", "Year of the ear", "Star", "Star", "", "Deth", "İzmir"};
} // namespace

class KeywordSearchTest : public SessionTest {
    Q_OBJECT

    class frmMDI& frame()
    {
        QList<QStringList> rows;
        for (const QString& key : Keys)
            rows << QStringList{key, "pages/" + key + ".html", "tarot"};
        writeDictionary(folder->file("tarot.dll"), rows);
        DictionaryLink.clear(); // lives for the whole run
        return frmMDI();
    }
    void search(const QString& text, bool byEnter)
    {
        frmMDI().txtKey->clear();
        for (const QChar c : text) // a letter beyond ASCII comes as its text alone
            if (c.unicode() < 128)
                QTest::keyClick(frmMDI().txtKey, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, frmMDI().txtKey, Qt::Key_unknown, QString(c), Qt::NoModifier);
        if (byEnter)
            QTest::keyClick(frmMDI().txtKey, Qt::Key_Return);
        else
            QTest::mouseClick(frmMDI().cmdSearch, Qt::LeftButton);
    }
    QStringList prompts() const
    {
        QStringList out;
        for (const auto& box : Scripted().boxes)
            out << (box.icon() == vbInformation ? box.prompt : "wrong icon");
        return out;
    }

private slots:
    void searchesByButtonAndByEnter_data()
    {
        QTest::addColumn<bool>("wildcard");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("prefix, blanks around") << false << "  Death " << QStringList{"Death", "death card", "DEATHLY"};
        QTest::newRow("prefix, letter lower-cased to two") << false << "İzmir" << QStringList{"İzmir"};
        QTest::newRow("prefix, its first letter only") << false << "İ" << QStringList{"İzmir"};
        QTest::newRow("wildcard *") << true << "*" << (Keys.mid(0, 10) << "Deth" << "İzmir");
        QTest::newRow("wildcard ear, once") << true << "ear" << QStringList{"Year of the ear"};
        QTest::newRow("wildcard leading blank") << true << " moon" << QStringList{"Full Moon"};
        QTest::newRow("wildcard asterisk removed") << true << "de*th" << QStringList{"Deth"};
    }
    void searchesByButtonAndByEnter()
    {
        QFETCH(bool, wildcard);
        QFETCH(QString, text);
        QFETCH(QStringList, listed);
        auto& f = frame();
        QCOMPARE(f.lstKeys->Items(), Keys); // duplicates and the empty key listed as stored
        QTest::mouseClick(wildcard ? f.optWildCard : f.optExact, Qt::LeftButton);
        QVERIFY(!f.optGoogle->isChecked() && f.optExact->isChecked() != wildcard);
        for (bool byEnter : {false, true}) {
            search(text, byEnter);
            QCOMPARE(f.lstKeys->Items(), listed);
            QVERIFY(Scripted().boxes.isEmpty());
            QCOMPARE(DictionaryLink, wildcard ? QString(text).remove('*') : QString());
        }
        // Enter brings the entry view forward, loading the web search window
        // on the way and hiding it.
        QVERIFY(!frmMainDictionary().MdiSubWindow()->isHidden());
        QVERIFY(Forms::IsLoaded("frmBrowser") && frmBrowser().MdiSubWindow()->isHidden());
    }

    void blankTextsMissesAndTheWebSearch()
    {
        auto& f = frame();
        search("zzz", false);
        QCOMPARE(f.lstKeys->Count(), 0);
        search("   ", false); // blank: the change refilled the list; the button refuses
        QCOMPARE(f.lstKeys->Items(), Keys);
        search("zzz", true);
        search("   ", true); // Enter: a prefix of length 0 lists every key
        QCOMPARE(f.lstKeys->Items(), Keys);
        search("zzz", true);
        QTest::keyClick(f.txtKey, Qt::Key_Backspace); // still a text: nothing happens
        QCOMPARE(f.lstKeys->Count(), 0);
        f.txtKey->selectAll();
        QTest::keyClick(f.txtKey, Qt::Key_Delete); // the list fills again at once
        QCOMPARE(f.lstKeys->Items(), Keys);
        f.lstKeys->Clear();
        QTest::keyClick(f.txtKey, Qt::Key_Return); // empty text: every key, then the message
        QCOMPARE(f.lstKeys->Items(), Keys);
        f.optGoogle->setChecked(true);
        QTest::mouseClick(f.cmdSearch, Qt::LeftButton); // the button wants a text first
        QVERIFY(frmBrowser().MdiSubWindow()->isHidden()); // as the last Enter left it
        QTest::keyClick(f.txtKey, Qt::Key_Return); // Enter opens the web search anyway
        QVERIFY(!frmBrowser().MdiSubWindow()->isHidden());
        QCOMPARE(prompts(), (QStringList{NotFound, EnterTerm, NotFound, NotFound, EnterTerm, EnterTerm}));
    }

    void unreadableDictionaryIsReported()
    {
        auto& f = frame();
        f.txtKey->setText("moon");
        folder->remove("tarot.dll");
        QTest::mouseClick(f.cmdSearch, Qt::LeftButton);
        QFile damaged(folder->file("tarot.dll"));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("not a database at all") > 0);
        damaged.close();
        QTest::keyClick(f.txtKey, Qt::Key_Return);
        QCOMPARE(Scripted().boxes.size(), 2);
        for (const auto& box : Scripted().boxes)
            QVERIFY(box.prompt.startsWith("The dictionary cannot be read:\r") && box.icon() == vbCritical &&
                    box.prompt.endsWith("\rPlease Reinstall Software."));
        QCOMPARE(f.lstKeys->Items(), Keys); // left as it was
    }

    // Another program holds the file: the search gives up soon and asks the
    // user to try again, not to reinstall (and lose the merged entries).
    void lockedDictionaryIsReportedAsBusy()
    {
        auto& f = frame();
        f.txtKey->setText("moon");
        f.lstKeys->Clear();
        withDatabase(folder->file("tarot.dll"), [&](QSqlDatabase& db) {
            QSqlQuery(db).exec("BEGIN EXCLUSIVE");
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(f.cmdSearch, Qt::LeftButton);
            QVERIFY(clock.elapsed() < 1500);
            QSqlQuery(db).exec("ROLLBACK");
        });
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY2(Scripted().boxes[0].prompt.endsWith("in use by another program.\rPlease try again later."),
                 qPrintable(Scripted().boxes[0].prompt));
        QTest::mouseClick(f.cmdSearch, Qt::LeftButton); // free again
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(f.lstKeys->Items().contains("Moon"));
    }
};

ARC_TEST(KeywordSearchTest)
#include "KeywordSearchTest.moc"
