#include "DictionaryFixture.h"
#include "ScriptedDesktop.h"
#include "TestMain.h"
#include "app/frmMDI.h"
#include "dictionary/frmBrowser.h"
#include "dictionary/frmMainDictionary.h"
#include "dictionary/modDict.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"

#include <QtTest>

namespace {
const QString EnterSearchTerm = "Please Enter Search Term";
const QString NotFound = "Keyword not found - Please search in google\r"
                         "Or write to us so that we can add the term in our dictionary";
const QStringList StoredKeys = {"Death", "death card", "The Death", "DEATHLY", "Moon",  "Full Moon",
                             "Moonlight", "Year of the ear", "Star", "Star", "", "Deth"};

void search(class frmMDI& frame, const QString& text, bool byEnter)
{
    frame.txtKey->clear();
    QTest::keyClicks(frame.txtKey, text);
    if (byEnter)
        QTest::keyClick(frame.txtKey, Qt::Key_Return);
    else
        QTest::mouseClick(frame.cmdSearch, Qt::LeftButton);
}

QStringList prompts()
{
    QStringList out;
    for (const auto& box : Scripted().boxes) {
        if (box.icon() != vbInformation && box.icon() != vbCritical)
            return {"unexpected icon"};
        out << box.prompt;
    }
    return out;
}
} // namespace

class KeywordSearchTest : public SessionTest {
    Q_OBJECT

    class frmMDI& frame()
    {
        QList<QStringList> rows;
        for (const QString& key : StoredKeys)
            rows << QStringList{key, "pages/" + key + ".html", "tarot"};
        writeDictionary(folder->file("tarot.dll"), rows);
        return frmMDI();
    }

private slots:
    void searchesByButtonAndByEnter_data()
    {
        QTest::addColumn<bool>("wildcard");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("prefix, blanks around") << false << "  Death " << QStringList{"Death", "death card", "DEATHLY"};
        QTest::newRow("wildcard *") << true << "*" << (StoredKeys.mid(0, 10) << "Deth");
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
        QCOMPARE(f.lstKeys->Items(), StoredKeys); // duplicates and the empty key listed as stored
        QTest::mouseClick(wildcard ? f.optWildCard : f.optExact, Qt::LeftButton);
        QVERIFY(!f.optGoogle->isChecked() && f.optExact->isChecked() != wildcard);
        for (bool byEnter : {false, true}) {
            search(f, text, byEnter);
            QCOMPARE(f.lstKeys->Items(), listed);
            QVERIFY(Scripted().boxes.isEmpty());
            if (wildcard)
                QCOMPARE(DictionaryLink, QString(text).remove('*'));
        }
        // Enter brings the entry view forward; loading the web search window
        // on the way, which it then hides.
        QVERIFY(!frmMainDictionary().MdiSubWindow()->isHidden());
        QVERIFY(Forms::IsLoaded("frmBrowser") && frmBrowser().MdiSubWindow()->isHidden());
    }

    void blankTextsAndMisses()
    {
        auto& f = frame();
        search(f, "zzz", false);
        QCOMPARE(f.lstKeys->Count(), 0);
        search(f, "   ", false); // blank: the change refilled the list; the button refuses
        QCOMPARE(f.lstKeys->Items(), StoredKeys);
        search(f, "zzz", true);
        QCOMPARE(f.lstKeys->Count(), 0);
        search(f, "   ", true); // Enter: a prefix of length 0 lists every key
        QCOMPARE(f.lstKeys->Items(), StoredKeys);
        search(f, "zzz", true);
        QTest::keyClick(f.txtKey, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.txtKey, Qt::Key_Delete); // the list fills again at once
        QCOMPARE(f.lstKeys->Items(), StoredKeys);
        f.lstKeys->Clear();
        QTest::keyClick(f.txtKey, Qt::Key_Return); // empty text: every key, then the message
        QCOMPARE(f.lstKeys->Items(), StoredKeys);
        QCOMPARE(prompts(), (QStringList{NotFound, EnterSearchTerm, NotFound, NotFound, EnterSearchTerm}));
        QVERIFY(f.txtKey->hasFocus() || !f.isActiveWindow());
    }

    void listClickCopiesTheKeyAndWebSearchNeedsNoText()
    {
        auto& f = frame();
        f.Show();
        const QRect row = f.lstKeys->visualRect(f.lstKeys->model()->index(5, 0));
        QTest::mouseClick(f.lstKeys->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(f.txtKey->text(), QString("Full Moon"));
        QCOMPARE(f.lstKeys->Items(), StoredKeys);

        f.optGoogle->setChecked(true);
        f.txtKey->clear();
        QTest::mouseClick(f.cmdSearch, Qt::LeftButton); // the button wants a text first
        QCOMPARE(prompts(), QStringList{EnterSearchTerm});
        QVERIFY(!Forms::IsLoaded("frmBrowser"));
        QTest::keyClick(f.txtKey, Qt::Key_Return); // Enter opens the web search anyway
        QVERIFY(Forms::IsLoaded("frmBrowser"));
        QCOMPARE(Scripted().boxes.size(), 1);
    }

    void unreadableDictionaryIsReported()
    {
        auto& f = frame();
        f.txtKey->setText("moon");
        folder->remove("tarot.dll");
        QTest::mouseClick(f.cmdSearch, Qt::LeftButton);
        QFile damaged(folder->file("tarot.dll"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("not a database at all");
        damaged.close();
        QTest::keyClick(f.txtKey, Qt::Key_Return);
        QCOMPARE(Scripted().boxes.size(), 2);
        for (const auto& box : Scripted().boxes) {
            QVERIFY(box.prompt.startsWith("The dictionary cannot be read:\r"));
            QCOMPARE(box.icon(), int(vbCritical));
        }
        QCOMPARE(f.lstKeys->Items(), StoredKeys); // left as it was
    }
};

ARC_TEST(KeywordSearchTest)
#include "KeywordSearchTest.moc"
