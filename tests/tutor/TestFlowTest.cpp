#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "TutorFixtures.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Rnd.h"
#include "tutor/AnswerOption.h"
#include "tutor/TestReport.h"
#include "tutor/frmMain.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using Tutor::click;

namespace {
struct Asked {
    QString name;
    bool reversed;
    int score;
};

// The report as the user reads it, written out column by column.
QString expectedReport(const QList<Asked>& asked, const std::function<QString(int)>& result, const QString& summary)
{
    const QString title = "Test Report For " + App::Title();
    QStringList lines{title, QString(title.size(), '-'), ""};
    for (int i = 0; i < asked.size(); ++i) {
        const QString field = asked[i].name + (asked[i].reversed ? " (Reversed)" : "");
        lines << QString("%1.      ").arg(i + 1, 2, 10, QChar('0')) + field.leftJustified(36) + result(asked[i].score);
    }
    return (lines << QString(64, '_') << summary).join("\n");
}
} // namespace

class TestFlowTest : public SessionTest {
    Q_OBJECT

    QString db() const { return folder->file("learn.dll"); }

    // Ticks only the given suit (0..3), chooses the test type and level and
    // the Reversed box, then starts the test from the settings tab.
    void startTest(int suit, bool description, int level, bool reversed)
    {
        RndState::SetFixedTimer(4321.5f);
        auto& f = Tutor::settingsTab(suit);
        click(f.optTestType[description ? 0 : 1]);
        click(f.optDifficulty[level]);
        if (f.chkReversed->isChecked() != reversed)
            click(f.chkReversed);
        click(f.cmdStartTest2);
    }

    // Answers every question with answer(question number, name) until the
    // test ends; returns what was asked, as the screen showed it.
    QList<Asked> answerAll(const std::function<int(int, const QString&)>& answer)
    {
        auto& f = frmMain();
        QList<Asked> asked;
        const long n = rsCards->RecordCount();
        for (int q = 1; q <= n; ++q) {
            VERIFY_RET(f.lblQCount->text() == QString("%1 of %2").arg(q).arg(n), {});
            VERIFY_RET(!f.cmdNextQuestion->isEnabled(), {});
            const QString name = f.lblCardName->text();
            const bool reversed = f.lblIsReversed->text() == "Reversed";
            const QImage picture = Tutor::storedPicture(db(), name);
            VERIFY_RET(f.picResult->Picture() == (reversed ? picture.mirrored(true, true) : picture), {});
            asked << Asked{name, reversed, answer(q, name)};
            VERIFY_RET(f.cmdNextQuestion->isEnabled(), {});
            click(f.cmdNextQuestion);
        }
        VERIFY_RET(Scripted().boxes.last().prompt == "Test Complete" && Scripted().boxes.last().icon() == vbInformation, {});
        VERIFY_RET(f.SSTab1->Tab() == 4 && f.SSTab1->TabEnabled(4) && !f.SSTab1->TabEnabled(3), {});
        VERIFY_RET(f.m_AskedIds.Items().size() == qsizetype(n), {});
        return asked;
    }

    // Checks the Description question on screen and chooses the right or a wrong option.
    int answerMeaning(const QString& name, int level, bool right)
    {
        auto& f = frmMain();
        const bool reversed = f.lblIsReversed->text() == "Reversed";
        const QString own = Tutor::cardField(db(), name, reversed ? "ReversedMeaning" : "NormalMeaning");
        QStringList captions;
        AnswerOption *correct = nullptr, *wrong = nullptr;
        for (int i = 0; i < 7; ++i) {
            AnswerOption* o = f.optAnswer[i];
            if (!o->isVisible())
                continue;
            VERIFY_RET(i >= 2 - level && i <= 4 + level, -1);
            captions << o->Caption();
            (o->Tag == "True" ? correct : wrong) = o;
        }
        VERIFY_RET(captions.size() == 3 + 2 * level && QSet<QString>(captions.begin(), captions.end()).size() == captions.size(), -1);
        VERIFY_RET(captions.count(own) == 1 && correct->Caption() == own, -1);
        click((right ? correct : wrong)->Button());
        return right ? 1 : 0;
    }

    // Checks the Keywords question on screen and ticks `right` correct boxes
    // and decoys for the rest.
    int answerKeywords(const QString& name, int k, int right)
    {
        auto& f = frmMain();
        const QStringList own = Tutor::keywordsOfCard(db(), name);
        VERIFY_RET(f.lblMaxKeyword->text() == QString("You must choose %1 keywords").arg(k) && f.lblIsReversed->text().isEmpty(), -1);
        QList<QCheckBox*> correct, decoys;
        QStringList captions;
        for (QCheckBox* box : f.chkKeywords)
            if (box->isVisible()) {
                captions << box->text();
                (own.contains(box->text()) ? correct : decoys) << box;
            }
        VERIFY_RET(captions.size() == (k == 3 ? 7 : k == 5 ? 12 : 20) && correct.size() == k, -1);
        VERIFY_RET(QSet<QString>(captions.begin(), captions.end()).size() == captions.size(), -1);
        for (int i = 0; i < k; ++i)
            click(i < right ? correct[i] : decoys[i]);
        return right;
    }

private slots:
    void descriptionTestOfOneSuit_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("reversed");
        QTest::newRow("Beginner, upright") << 0 << false;
        QTest::newRow("Intermediate, reversed") << 1 << true;
        QTest::newRow("Advanced, reversed") << 2 << true;
    }
    void descriptionTestOfOneSuit()
    {
        QFETCH(int, level);
        QFETCH(bool, reversed);
        startTest(0, true, level, reversed);
        const auto asked = answerAll([&](int q, const QString& name) { return answerMeaning(name, level, q % 3 != 0); });
        int turned = 0;
        for (const Asked& a : asked)
            turned += a.reversed;
        QVERIFY(reversed ? turned > 0 && turned < 14 : turned == 0);
        auto& f = frmMain();
        QCOMPARE(f.lblResultInfo->text(), QString("10 out of 14 questions correct"));
        QCOMPARE(f.txtResult->toPlainText(),
                 expectedReport(asked, [](int s) { return s ? "Correct" : "Wrong"; }, f.lblResultInfo->text()));
        QVERIFY(f.txtResult->textCursor().atEnd());
    }

    void keywordTestAtEachLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("k");
        QTest::newRow("Beginner") << 0 << 3;
        QTest::newRow("Intermediate") << 1 << 5;
        QTest::newRow("Advanced") << 2 << 7;
    }
    void keywordTestAtEachLevel()
    {
        QFETCH(int, level);
        QFETCH(int, k);
        Tutor::sql(db(), {"DELETE FROM tblCards WHERE [Group] = 3 AND ID > 53"}); // Pentacles Ace to Three
        startTest(2, false, level, true);
        auto& f = frmMain();
        // one tick too many is refused
        for (int i = 0; i <= k; ++i)
            click(f.chkKeywords[i]);
        QCOMPARE(Scripted().boxes.last().prompt,
                 QString("You can select only %1 keywords.\r\nPlease unselect one before selecting another keyword").arg(k));
        QCOMPARE(Scripted().boxes.last().icon(), int(vbExclamation));
        QVERIFY(!f.chkKeywords[k]->isChecked() && f.cmdNextQuestion->isEnabled());
        click(f.chkKeywords[0]);
        QVERIFY(!f.cmdNextQuestion->isEnabled());
        for (int i = 1; i < k; ++i)
            click(f.chkKeywords[i]);

        const int scores[] = {k, 0, 1};
        const auto asked = answerAll([&](int q, const QString& name) { return answerKeywords(name, k, scores[q - 1]); });
        QCOMPARE(f.lblResultInfo->text(), QString("%1/%2 choice(s) from 3 questions were correct").arg(k + 1).arg(3 * k));
        QCOMPARE(f.txtResult->toPlainText(),
                 expectedReport(asked, [k](int s) { return QString("%1 Out Of %2 Correct").arg(s).arg(k); },
                                f.lblResultInfo->text()));
    }

    void theLongestKeywordReadsInFull()
    {
        startTest(2, false, 2, false);
        const QString longest =
            Tutor::sql(db(), {"SELECT Keyword FROM tblKeywords ORDER BY length(Keyword) DESC LIMIT 1"}).value(0).toString();
        QCheckBox* box = frmMain().chkKeywords[19];
        box->setText(longest);
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(longest));
    }

    void longNamesAreFollowedByNoBlanks()
    {
        const QString longName(40, 'x');
        for (bool reversed : {false, true})
            QCOMPARE(ReportLine(3, {longName, reversed, 1}, "Wrong"),
                     "03.      " + longName + (reversed ? " (Reversed)" : "") + "Wrong");
    }

    void savingTheReport()
    {
        Tutor::sql(db(), {"DELETE FROM tblCards WHERE [Group] = 3 AND ID > 53"});
        startTest(2, false, 0, false);
        answerAll([&](int, const QString& name) { return answerKeywords(name, 3, 2); });
        auto& f = frmMain();
        const QString path = folder->file("result.txt");
        const QByteArray expected = f.txtResult->toPlainText().replace("\n", "\r\n").append("\r\n").toUtf8();
        auto saved = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("none");
        };
        click(f.Command5); // cancelled
        const auto& dialog = Scripted().fileDialogs.last();
        QVERIFY(dialog.save && dialog.fileName.isEmpty() && !dialog.cancelError && dialog.flags == 0x80802);
        QCOMPARE(dialog.filter, QString("Text file|*.txt"));
        QCOMPARE(saved(), QByteArray("none"));

        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write(QByteArray(4000, 'z')) == 4000);
        earlier.close();
        const int boxes = int(Scripted().boxes.size());
        Scripted().fileAnswers << path;
        click(f.Command5);
        QCOMPARE(saved(), expected); // the earlier, longer file is replaced whole

        // a disk that fills up, a folder that does not exist: a message, the file as it was
        struct rlimit old, tiny;
        getrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, SIG_IGN);
        tiny = old;
        tiny.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &tiny);
        f.txtResult->setPlainText(QString(500, 'n'));
        Scripted().fileAnswers << path << folder->file("no such folder/result.txt");
        click(f.Command5);
        click(f.Command5);
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(int(Scripted().boxes.size()), boxes + 2);
        QVERIFY(Scripted().boxes.last().prompt.startsWith("The result could not be saved"));
        QCOMPARE(saved(), expected);
    }

    void scarceDataEndsEveryDraw()
    {
        // Pentacles Ace to Three: one keyword text, only empty keywords, no keyword rows;
        // every other card shares five keyword texts
        Tutor::sql(db(), {"DELETE FROM tblCards WHERE [Group] = 3 AND ID > 53",
                          "UPDATE tblKeywords SET Keyword = 'same' WHERE CardID = 51",
                          "UPDATE tblKeywords SET Keyword = '' WHERE CardID = 52",
                          "DELETE FROM tblKeywords WHERE CardID = 53",
                          "UPDATE tblKeywords SET Keyword = 'k' || (Id % 5) WHERE CardID NOT IN (51, 52, 53)"});
        startTest(2, false, 2, false);
        auto& f = frmMain();
        answerAll([&](int, const QString&) {
            QList<QCheckBox*> boxes; // the card's one keyword first, then any others
            for (QCheckBox* box : f.chkKeywords)
                if (box->isVisible())
                    box->text() == "same" ? boxes.prepend(box) : boxes.append(box);
            for (int i = 0; i < 7; ++i)
                click(boxes[i]);
            return int(boxes[0]->text() == "same");
        });
        QVERIFY(f.txtResult->toPlainText().contains(QString("Ace of Pentacles").leftJustified(36) + "1 Out Of 7 Correct"));
        QVERIFY(f.lblResultInfo->text().startsWith("1/21 "));

        // too few cards for the decoys of a Description question: the places left over stay hidden
        f.mnuTabSettings->trigger();
        click(f.optTestType[0]);
        click(f.cmdStartTest2);
        int shown = 0;
        for (AnswerOption* o : f.optAnswer)
            shown += o->isVisible();
        QCOMPARE(shown, 3);
    }

    void noReentryAndNoWriteAfterLeavingDuringADraw()
    {
        startTest(0, true, 0, false);
        auto& f = frmMain();
        answerMeaning(f.lblCardName->text(), 0, true);
        QTimer::singleShot(0, &f, [&f] { f.cmdNextQuestion_Click(); }); // lands in the draw
        click(f.cmdNextQuestion);
        QCOMPARE(f.lblQCount->text(), QString("2 of 14"));

        answerMeaning(f.lblCardName->text(), 0, true);
        QTimer::singleShot(0, &f, [&f] { click(f.cmdBack); });
        click(f.cmdNextQuestion);
        TestSupport::settle();
        QVERIFY(!Forms::IsLoaded("frmMain") && Forms::IsLoaded("frmOpen"));
        for (const auto& box : Scripted().boxes)
            QVERIFY(box.prompt != "Test Complete");
    }
};

ARC_TEST(TestFlowTest)
#include "TestFlowTest.moc"
