#include "ScriptedDesktop.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "UserPermissions.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "tutor/UserControl1.h"
#include "tutor/frmMain.h"
#include "tutor/modGoals.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {
const QDate Dec6(2026, 12, 6);

QByteArray record(const QString& name, const QDate& start, const QDate& end, const QString& desc, bool done,
                  int percent)
{
    return QStringLiteral("\"%1\",#%2#,#%3#,\"%4\",#%5#,%6\r\n")
        .arg(name, start.toString("yyyy-MM-dd"), end.toString("yyyy-MM-dd"), desc, done ? "TRUE" : "FALSE")
        .arg(percent)
        .toUtf8();
}

// The same record as a single-byte editor writes it.
QByteArray latin1(const QByteArray& utf8) { return QString::fromUtf8(utf8).toLatin1(); }

QStringList listed()
{
    QStringList out;
    auto* list = frmMain().ListView1;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0) + list->topLevelItem(i)->data(0, Qt::UserRole).toString();
    return out;
}

void check(const QStringList& names)
{
    auto* list = frmMain().ListView1;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        // a user can tick only an item that shows a box
        if (names.contains(list->topLevelItem(i)->text(0)) &&
            list->topLevelItem(i)->data(0, Qt::CheckStateRole).isValid())
            list->topLevelItem(i)->setCheckState(0, Qt::Checked);
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// The window closed and loaded again, as at the program's next start.
class frmMain& reload()
{
    Unload(frmMain());
    TestSupport::settle();
    return frmMain();
}

// A file-size limit for the test process, with SIGXFSZ ignored as the
// program's start-up ignores it; both restored afterwards.
struct FileSizeLimit {
    rlimit saved{};
    void (*handler)(int);
    explicit FileSizeLimit(rlim_t bytes) : handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    }
};

// Today fixed at 6 December 2026 for one test.
struct FixedToday {
    FixedToday() { SetToday(Dec6); }
    ~FixedToday()
    {
        SetToday(QDate());
        QLocale::setDefault(QLocale::c());
    }
};
} // namespace

class GoalsTest : public SessionTest {
    Q_OBJECT

    QString goalFile() const { return folder->file("goals.txt"); }
    QByteArray fileBytes() const
    {
        QFile f(goalFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    void writeFile(const QByteArray& bytes) const
    {
        QFile f(goalFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The view button in front: the one a click on their common place reaches.
    QString frontViewButton() const
    {
        auto& f = frmMain();
        auto* page = f.optGoals[0]->parentWidget();
        auto* hit = qobject_cast<QPushButton*>(page->childAt(f.optGoals[0]->geometry().center()));
        return hit ? hit->text() : QString();
    }

private slots:

    void newGoalIsSavedThenUpdated()
    {
        const FixedToday today;
        auto& f = frmMain();
        f.Show();
        QVERIFY(listed().isEmpty());
        QVERIFY(!f.txtGoalName->isEnabled() && !f.cmdSaveGoals->isEnabled() && !f.Combo3->isEnabled());
        QCOMPARE(frontViewButton(), QString("View Achieved Goals"));
        QVERIFY(!QFile::exists(goalFile()));

        click(f.cmdNewGoal);
        QCOMPARE(f.mydtpStartingDate->Value(), Dec6);
        QCOMPARE(f.mydtpEndingDate->Value(), QDate(2026, 12, 13));
        QCOMPARE(f.lblDayCount->text(), QString("7"));
        QTest::keyClicks(f.txtGoalName, "Learn the cups");
        f.Combo3->setCurrentIndex(40); // not taken for a new goal
        click(f.cmdSaveGoals);
        QCOMPARE(fileBytes(), record("Learn the cups", Dec6, QDate(2026, 12, 13), "", false, 0));
        QCOMPARE(listed(), QStringList{"Learn the cups_0"});
        QCOMPARE(frontViewButton(), QString("View Achieved Goals"));
        QVERIFY(f.ListView1->isEnabled());

        // updating the selected goal takes the percentage and a description of two lines
        f.Combo3->setCurrentIndex(20);
        f.txtGoalDesc->setFocus();
        QTest::keyClicks(f.txtGoalDesc, "Six cards");
        QTest::keyClick(f.txtGoalDesc, Qt::Key_Return);
        QTest::keyClicks(f.txtGoalDesc, "a week");
        click(f.cmdSaveGoals);
        QCOMPARE(fileBytes(), record("Learn the cups", Dec6, QDate(2026, 12, 13), "Six cards\r\na week", false, 20));
        QCOMPARE(f.txtGoalDesc->toPlainText(), QString("Six cards\na week"));
        QCOMPARE(f.Combo3->currentIndex(), 20);
        QCOMPARE(Scripted().boxes.size(), 0);
    }

    void refusedSavesChangeNothing()
    {
        const FixedToday today;
        auto& f = frmMain();
        f.Show();
        click(f.cmdNewGoal);
        f.mydtpEndingDate->SetValue(Dec6); // same day, and no name
        click(f.cmdSaveGoals);
        f.mydtpEndingDate->SetValue(Dec6.addDays(1));
        click(f.cmdSaveGoals);
        QTest::keyClicks(f.txtGoalName, "Say \"yes\"");
        click(f.cmdSaveGoals);
        QStringList prompts;
        for (const auto& box : Scripted().boxes) {
            prompts << box.prompt;
            QCOMPARE(box.icon(), int(vbCritical));
        }
        QCOMPARE(prompts, (QStringList{"Starting date can't be same or later than ending date.",
                                       "Goal name can't be blank.",
                                       "A goal's name and description can't contain a double quote (\")."}));
        QVERIFY(!QFile::exists(goalFile()));
        QVERIFY(!f.ListView1->isEnabled()); // still a new goal

        f.txtGoalName->setText("   "); // blanks are a name
        click(f.cmdSaveGoals);
        QCOMPARE(fileBytes(), record("   ", Dec6, Dec6.addDays(1), "", false, 0));
    }

    void progressAgainstToday_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("remaining");
        QTest::newRow("half way") << Dec6.addDays(-7) << Dec6.addDays(7) << "50" << "7";
        QTest::newRow("three of seven days") << Dec6.addDays(-3) << Dec6.addDays(4) << "42.86" << "4";
        QTest::newRow("starts today") << Dec6 << Dec6.addDays(7) << "0" << "7";
        QTest::newRow("ended three days ago") << Dec6.addDays(-10) << Dec6.addDays(-3) << "142.86" << "-3";
        QTest::newRow("starts tomorrow") << Dec6.addDays(1) << Dec6.addDays(8) << "" << "";
        QTest::newRow("beyond 16 bits") << QDate(1980, 1, 1) << QDate(2099, 12, 31) << "39.11" << "26688";
    }
    void progressAgainstToday()
    {
        const FixedToday today;
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QString, figure);
        QFETCH(QString, remaining);
        writeFile(record("Goal", start, end, "", false, 20));
        auto& f = frmMain();
        const QString line = "You should have achieved %1%. You have actually achieved 20%";
        const QString future = "Your goal starting date has been set for the future";
        QCOMPARE(f.lblInfo->text(), figure.isEmpty() ? future : line.arg(figure));
        QCOMPARE(f.lblDaysRemaining->text(), remaining);
        QCOMPARE(f.lblDayCount->text(), QString::number(start.daysTo(end)));
        // the figure in the user's number format
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        f.ListView1_ItemClick(f.ListView1->topLevelItem(0));
        QCOMPARE(f.lblInfo->text(), figure.isEmpty() ? future : line.arg(figure.replace('.', ',')));
    }

    void markDeleteAndViews()
    {
        const FixedToday today;
        QByteArray bytes;
        for (const char* name : {"A", "B", "C", "D", "E"})
            bytes += record(name, Dec6, Dec6.addDays(3), name, false, 0);
        writeFile(bytes);
        auto& f = frmMain();
        f.Show();
        QCOMPARE(listed(), (QStringList{"A_0", "B_1", "C_2", "D_3", "E_4"}));
        check({"B", "D"});
        click(f.cmdMarkAchived);
        QCOMPARE(listed(), (QStringList{"A_0", "C_2", "E_4"}));
        QVERIFY(fileBytes().contains(record("B", Dec6, Dec6.addDays(3), "B", true, 0)));
        QVERIFY(fileBytes().contains(record("D", Dec6, Dec6.addDays(3), "D", true, 0)));

        click(f.optGoals[1]);
        QCOMPARE(listed(), (QStringList{"B_1", "D_3"}));
        QVERIFY(!f.ListView1->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());
        QCOMPARE(frontViewButton(), QString("View Current Goals"));
        QCOMPARE(f.txtGoalName->text(), QString("B"));
        click(f.optGoals[0]);

        check({"A", "E"});
        click(f.cmdDeleteGoals);
        QCOMPARE(listed(), QStringList{"C_1"});
        QCOMPARE(fileBytes(), record("B", Dec6, Dec6.addDays(3), "B", true, 0) +
                                  record("C", Dec6, Dec6.addDays(3), "C", false, 0) +
                                  record("D", Dec6, Dec6.addDays(3), "D", true, 0));
        check({"C"});
        click(f.cmdDeleteGoals);
        QVERIFY(listed().isEmpty());
        QVERIFY(!f.txtGoalName->isEnabled() && !f.Combo3->isEnabled() && f.txtGoalName->text().isEmpty());
        click(f.optGoals[1]);
        check({"B", "D"}); // no boxes in this view: nothing is checked
        click(f.cmdDeleteGoals);
        QCOMPARE(fileBytes().count("#TRUE#"), 2);
    }

    void editedFileKeepsWhatCannotBeRead()
    {
        const FixedToday today;
        const QByteArray good = record("Kept", QDate(1975, 3, 1), QDate(2150, 1, 1), "far\r\naway", false, 7);
        const QByteArray broken = "\"Bad\",#2026-13-40#,#2026-12-13#,\"x\",#FALSE#,0\r\n";
        const QByteArray truncated = "\"Last\",#2026-12-01#,#2026-12-13#,\"half a desc";
        writeFile(broken + good + truncated);
        auto& f = frmMain();
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.contains("could not be read"));
        QFile copy(goalFile() + ".unreadable");
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), broken + good + truncated);
        QCOMPARE(listed(), QStringList{"Kept_0"});
        QCOMPARE(f.txtGoalDesc->toPlainText(), QString("far\naway"));
        // dates the pickers cannot hold show as their nearest years
        QCOMPARE(f.mydtpStartingDate->Value(), QDate(1980, 3, 1));
        QCOMPARE(f.mydtpEndingDate->Value(), QDate(2099, 1, 1));

        click(f.cmdMarkAchived); // nothing checked: the file is rewritten with what was read
        QCOMPARE(fileBytes(), good);
        QCOMPARE(Scripted().boxes.size(), 1);
    }

    // A link standing where the copy of a damaged file would go is left
    // alone, and nothing is written where it leads.
    void copyAsideIsNeverWrittenThroughALink_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("dangling link") << false;
        QTest::newRow("link to a file") << true;
    }
    void copyAsideIsNeverWrittenThroughALink()
    {
        QFETCH(bool, targetExists);
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath("target");
        if (targetExists) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("theirs") == 6);
        }
        QVERIFY(QFile::link(target, goalFile() + ".unreadable"));
        const QByteArray broken = "\"Bad\",#2026-13-40#,#2026-12-13#,\"x\",#FALSE#,0\r\n";
        writeFile(broken);
        frmMain();
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.contains("could not be read"));
        QCOMPARE(QFileInfo(goalFile() + ".unreadable").symLinkTarget(), target);
        QFile copy(goalFile() + ".unreadable.2");
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), broken);
        QFile theirs(target);
        QCOMPARE(theirs.exists(), targetExists);
        if (targetExists) {
            QVERIFY(theirs.open(QIODevice::ReadOnly));
            QCOMPARE(theirs.readAll(), QByteArray("theirs"));
        }
    }

    void unwritableFileKeepsGoalsInMemory_data()
    {
        QTest::addColumn<int>("descLength");
        QTest::addColumn<QString>("reason");
        QTest::newRow("file-size limit of the system") << 4096 << QString::fromLocal8Bit(std::strerror(EFBIG));
        QTest::newRow("more than a goal file holds")
            << int(GoalFileLimit) << QString("The goals would take more than 128 KB.");
    }
    void unwritableFileKeepsGoalsInMemory()
    {
        QFETCH(int, descLength);
        QFETCH(QString, reason);
        const FixedToday today;
        const QByteArray before = record("Old", Dec6, Dec6.addDays(2), "", false, 0);
        writeFile(before);
        auto& f = frmMain();
        f.Show();
        click(f.cmdNewGoal);
        QTest::keyClicks(f.txtGoalName, "Remember me");
        f.txtGoalDesc->setPlainText(QString(descLength, 'x'));
        {
            const FileSizeLimit limit(1024);
            click(f.cmdSaveGoals);
        }
        QCOMPARE(Scripted().boxes.size(), 1);
        QCOMPARE(Scripted().boxes[0].prompt, "Your goals could not be saved to " + goalFile() + ":\r" + reason +
                                                 "\rYour changes are kept until the program is closed.");
        QCOMPARE(fileBytes(), before);
        QCOMPARE(listed(), (QStringList{"Old_0", "Remember me_1"}));
        check({"Remember me"});
        click(f.cmdDeleteGoals);
        QCOMPARE(listed(), QStringList{"Old_0"});
        QVERIFY(QDir(folder->path()).entryList({"goals.txt.*"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    // Each line is read as UTF-8 when it is valid UTF-8, else as Latin-1;
    // a save writes every goal in UTF-8, those read as UTF-8 byte for byte.
    void goalTextsInEitherEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("saved");
        const QString desc = "cr\u00e8me\r\nbr\u00fbl\u00e9e";
        const QByteArray cafe = record("Caf\u00e9", Dec6, Dec6.addDays(3), desc, false, 0);
        const QByteArray euro = record("No\u00ebl \u20ac", Dec6, Dec6.addDays(3), "", false, 0);
        const QByteArray sign = record("No\u00ebl \u00a4", Dec6, Dec6.addDays(3), "", false, 0);
        QTest::newRow("all UTF-8") << cafe + euro << QStringList{"Caf\u00e9", "No\u00ebl \u20ac"} << cafe + euro;
        QTest::newRow("all Latin-1") << latin1(cafe) + latin1(sign) << QStringList{"Caf\u00e9", "No\u00ebl \u00a4"}
                                     << cafe + sign;
        QTest::newRow("mixed") << cafe + latin1(sign) + euro
                               << QStringList{"Caf\u00e9", "No\u00ebl \u00a4", "No\u00ebl \u20ac"}
                               << cafe + sign + euro;
        // a description's second line from a single-byte editor
        QTest::newRow("one record in both")
            << "\"Caf\xc3\xa9\",#2026-12-06#,#2026-12-09#,\"cr\xc3\xa8me\r\n"
               "br\xfbl\xe9" "e\",#FALSE#,0\r\n" + euro
            << QStringList{"Caf\u00e9", "No\u00ebl \u20ac"} << cafe + euro;
        QTest::newRow("byte-order mark") << "\xef\xbb\xbf" + cafe + euro << QStringList{"Caf\u00e9", "No\u00ebl \u20ac"}
                                         << cafe + euro;
    }
    void goalTextsInEitherEncoding()
    {
        const FixedToday today;
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, saved);
        writeFile(bytes);
        auto& f = frmMain();
        f.Show();
        QStringList shown;
        for (int i = 0; i < f.ListView1->topLevelItemCount(); ++i)
            shown << f.ListView1->topLevelItem(i)->text(0);
        QCOMPARE(shown, names);
        QCOMPARE(f.txtGoalDesc->toPlainText(), QString("cr\u00e8me\nbr\u00fbl\u00e9e"));
        click(f.cmdMarkAchived); // nothing checked: the file is rewritten with what was read
        QCOMPARE(fileBytes(), saved);
        QCOMPARE(Scripted().boxes.size(), 0);
        QVERIFY(QDir(folder->path()).entryList({"goals.txt.*"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    // The largest files read: one goal as long as a file may be, and as
    // many goals as it holds.
    void fileAtTheSizeLimitIsRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("goals");
        const QByteArray head = "\"Long\",#2026-12-06#,#2026-12-09#,\"";
        const QByteArray tail = "\",#FALSE#,0\r\n";
        QTest::newRow("one goal") << head + QByteArray(GoalFileLimit - head.size() - tail.size(), 'x') + tail << 1;
        const QByteArray shortest = ",#2026-1-1#,#2026-1-2#,,0,0\n";
        const int most = int(GoalFileLimit / shortest.size());
        QTest::newRow("the most goals") << shortest.repeated(most) + QByteArray(GoalFileLimit % shortest.size(), '\n')
                                        << most;
    }
    void fileAtTheSizeLimitIsRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, goals);
        QCOMPARE(bytes.size(), GoalFileLimit);
        writeFile(bytes);
        frmMain().Show();
        QCOMPARE(Scripted().boxes.size(), 0);
        QCOMPARE(frmMain().ListView1->topLevelItemCount(), goals);
    }

    // Each file is read, a goal is added, and the next start shows what was
    // shown before and the new goal: nothing that was shown is lost.
    void damagedFilesKeepEveryGoalShown_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("damaged");
        const QByteArray good = record("Kept", Dec6, Dec6.addDays(3), "d", false, 0);
        QTest::newRow("quote inside an unquoted name")
            << "half\"quote,#2026-12-06#,#2026-12-13#,\"x\",#FALSE#,0\r\n" + good << QStringList{"Kept"} << true;
        QTest::newRow("quote inside an unquoted description")
            << good + "Name,#2026-12-06#,#2026-12-13#,a\"b,#FALSE#,0\r\n" << QStringList{"Kept"} << true;
        QTest::newRow("bad date and truncated record")
            << "\"Bad\",#2026-13-40#,#2026-12-13#,\"x\",#FALSE#,0\r\n" + good + "\"Last\",#2026-12-01#,\"half"
            << QStringList{"Kept"} << true;
        QTest::newRow("line breaks in a name")
            << record("two\r\nlines", Dec6, Dec6.addDays(3), "", false, 0) + "\"lf\nonly\",#2026-12-06#,#2026-12-09#,,#FALSE#,0\n"
            << QStringList{"two\nlines", "lf\nonly"} << false;
        QTest::newRow("unquoted fields and blanks")
            << QByteArray(" plain , #2026-12-06# , #2026-12-09# , some text , #0# , 5 \r\n") << QStringList{"plain"}
            << false;
    }
    void damagedFilesKeepEveryGoalShown()
    {
        const FixedToday today;
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        QFETCH(bool, damaged);
        const auto names = [] {
            QStringList out;
            for (const QString& item : listed())
                out << item.left(item.lastIndexOf('_'));
            return out;
        };
        writeFile(bytes);
        // the same damaged file, started with three times, is copied and told once
        for (int start = 0; start < 3; ++start) {
            start == 0 ? frmMain() : reload();
            QCOMPARE(names(), shown);
        }
        QCOMPARE(Scripted().boxes.size(), damaged ? 1 : 0);
        const QStringList copies = QDir(folder->path()).entryList({"goals.txt.*"}, QDir::Files | QDir::Hidden);
        QCOMPARE(copies, damaged ? QStringList{"goals.txt.unreadable"} : QStringList{});

        auto& f = frmMain();
        click(f.cmdSaveGoals); // the first goal, unchanged
        click(f.cmdNewGoal);
        QTest::keyClicks(f.txtGoalName, "Added");
        click(f.cmdSaveGoals);
        const QByteArray saved = fileBytes();
        reload();
        QCOMPARE(names(), shown + QStringList{"Added"});
        click(frmMain().cmdMarkAchived); // rewrites the file: the same bytes again
        QCOMPARE(fileBytes(), saved);
        QCOMPARE(Scripted().boxes.size(), damaged ? 1 : 0);
    }

    // A save writes where a link leads, and only what the user may write:
    // the link itself is never replaced, and a failure keeps the goals.
    void saveFollowsTheGoalFileAndItsPermissions_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("error");
        QTest::newRow("link to nothing, in a folder") << "dangling" << 0;
        QTest::newRow("link to a drive that is not there") << "unmounted" << ENOENT;
        QTest::newRow("read-only file") << "read-only" << EACCES;
        QTest::newRow("link to a read-only file") << "link to read-only" << EACCES;
    }
    void saveFollowsTheGoalFileAndItsPermissions()
    {
        QFETCH(QString, kind);
        QFETCH(int, error);
        const FixedToday today;
        const QString kept = folder->file("drive/goals.txt");
        const QByteArray before = record("Old", Dec6, Dec6.addDays(2), "", false, 0);
        QVERIFY(QDir().mkpath(folder->file("drive")));
        if (kind.endsWith("read-only")) {
            QFile file(kept);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
            file.close();
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        if (kind == "read-only")
            QVERIFY(QFile::rename(kept, goalFile()));
        else
            QVERIFY(QFile::link(kind == "unmounted" ? folder->file("unmounted/goals.txt") : kept, goalFile()));
        const bool wasLink = QFileInfo(goalFile()).isSymLink();
        const QStringList shown = kind.endsWith("read-only") ? QStringList{"Old_0"} : QStringList{};

        const UserPermissions asUser;
        auto& f = frmMain();
        f.Show();
        QCOMPARE(listed(), shown);
        const qsizetype told = Scripted().boxes.size();
        click(f.cmdNewGoal);
        QTest::keyClicks(f.txtGoalName, "New");
        click(f.cmdSaveGoals);
        QCOMPARE(listed(), shown + QStringList{"New_" + QString::number(shown.size())});
        QCOMPARE(QFileInfo(goalFile()).isSymLink(), wasLink);
        const QString written = kind == "read-only" ? goalFile() : kept;
        const QByteArray added = record("New", Dec6, Dec6.addDays(7), "", false, 0);
        const QByteArray expected = error == 0 ? added : kind.endsWith("read-only") ? before : QByteArray("<none>");
        QFile file(written);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>"), expected);
        QCOMPARE(Scripted().boxes.size(), told + (error ? 1 : 0));
        if (error)
            QCOMPARE(Scripted().boxes.last().prompt,
                     "Your goals could not be saved to " + goalFile() + ":\r" +
                         QString::fromLocal8Bit(std::strerror(error)) +
                         "\rYour changes are kept until the program is closed.");
    }

    void unreadableFileIsNeverRewritten_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("no right to read") << "mode";
        QTest::newRow("a folder in its place") << "folder";
        QTest::newRow("reading fails") << "link";
        QTest::newRow("too large") << "large";
    }
    void unreadableFileIsNeverRewritten()
    {
        QFETCH(QString, kind);
        const FixedToday today;
        const QByteArray before = record("Hidden", Dec6, Dec6.addDays(3), "", false, 0);
        if (kind == "mode") {
            if (::geteuid() == 0)
                QSKIP("the superuser reads a file without the right to");
            writeFile(before);
            QFile::setPermissions(goalFile(), QFile::WriteOwner);
        } else if (kind == "large") {
            writeFile(before);
            QVERIFY(QFile(goalFile()).resize(GoalFileLimit + 1));
        } else if (kind == "folder") {
            QDir().mkdir(goalFile());
        } else {
            QVERIFY(QFile::link("/proc/self/mem", goalFile())); // opens, but a read of it fails
        }
        auto& f = frmMain();
        f.Show();
        QCOMPARE(Scripted().boxes.size(), 1);
        QVERIFY(Scripted().boxes[0].prompt.startsWith("The goal file " + goalFile() + " could not be read"));
        click(f.cmdNewGoal);
        QTest::keyClicks(f.txtGoalName, "New");
        click(f.cmdSaveGoals);
        QCOMPARE(listed(), QStringList{"New_0"}); // kept in memory
        check({"New"});
        click(f.cmdDeleteGoals);
        QCOMPARE(Scripted().boxes.size(), 3);
        QVERIFY(Scripted().boxes[2].prompt.contains("is left as it is"));
        if (kind == "mode") {
            QFile::setPermissions(goalFile(), QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(fileBytes(), before);
        }
        if (kind == "large") {
            QVERIFY(Scripted().boxes[0].prompt.contains("\rIt is larger than 128 KB.\r"));
            QCOMPARE(QFileInfo(goalFile()).size(), GoalFileLimit + 1);
        }
        QCOMPARE(QFileInfo(goalFile()).isDir(), kind == "folder");
        QCOMPARE(QFileInfo(goalFile()).isSymLink(), kind == "link");
    }
};

ARC_TEST(GoalsTest)
#include "GoalsTest.moc"
