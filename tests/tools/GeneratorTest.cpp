// The data generator itself: deterministic, fast, and strict about its sources.
#include "TestMain.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

struct Run {
    int exitCode = -1;
    QString errors;
    qint64 milliseconds = 0;
};

Run generate(const QString& dataDir, const QString& outDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(ARCAVELL_DATAGEN, {"--data", dataDir, "--out", outDir});
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.milliseconds = timer.elapsed();
    run.exitCode = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Every file below dir, by relative path, with its bytes.
QMap<QString, QByteArray> contents(const QString& dir)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            out.insert(QDir(dir).relativeFilePath(path), file.readAll());
    }
    return out;
}

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(path);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(path, target);
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

QString readText(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

void writeText(const QString& path, const QString& text)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text.toUtf8());
}

// The value lines of one field in cards.txt, in file order.
QList<QRegularExpressionMatch> fieldLines(const QString& text, const QString& field)
{
    QList<QRegularExpressionMatch> out;
    const QRegularExpression re("^" + field + ":[ \\t]*(.*)$", QRegularExpression::MultilineOption);
    for (auto it = re.globalMatch(text); it.hasNext();)
        out << it.next();
    return out;
}

using Mutation = std::function<void(const QString& dataDir)>;

} // namespace

Q_DECLARE_METATYPE(Mutation)

class GeneratorTest : public QObject {
    Q_OBJECT

private slots:
    void generatesTheSameFilesTwiceWellUnderTenSeconds()
    {
        QTemporaryDir first, second;
        QVERIFY(first.isValid() && second.isValid());
        const Run a = generate(ARCAVELL_DATA_DIR, first.path());
        QVERIFY2(a.exitCode == 0, qPrintable(a.errors));
        const Run b = generate(ARCAVELL_DATA_DIR, second.path());
        QVERIFY2(b.exitCode == 0, qPrintable(b.errors));
        qInfo("generation took %lld ms and %lld ms", a.milliseconds, b.milliseconds);
        QVERIFY(a.milliseconds < 10000);
        QVERIFY(b.milliseconds < 10000);

        const auto one = contents(first.path()), two = contents(second.path());
        QVERIFY(one.contains("learn.dll") && one.contains("tarot.dll") && one.contains("pages/index.html"));
        QVERIFY(one.size() >= 156 + 13 + 2 + 1);
        QCOMPARE(one.keys(), two.keys());
        for (auto it = one.cbegin(); it != one.cend(); ++it)
            QVERIFY2(it.value() == two.value(it.key()), qPrintable(it.key() + " differs"));

        // Laying out the same folder again changes nothing either.
        const Run c = generate(ARCAVELL_DATA_DIR, first.path());
        QCOMPARE(c.exitCode, 0);
        QVERIFY(contents(first.path()) == two);
    }

    void matchesTheBuiltProgramFolder()
    {
        QTemporaryDir out;
        QCOMPARE(generate(ARCAVELL_DATA_DIR, out.path()).exitCode, 0);
        const auto built = contents(ARCAVELL_PROGRAM_DIR), fresh = contents(out.path());
        for (const char* name : {"learn.dll", "tarot.dll", "cards/r0.jpg", "cards/m77.jpg", "pic/c0.jpg"})
            QVERIFY2(fresh.contains(name) && built.value(name) == fresh.value(name), name);
    }

    void collidingPageNamesAreMadeUnique()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        copyTree(ARCAVELL_DATA_DIR, data);
        writeText(data + "/dictionary/zz-generator-test.txt",
                  "key: Slug Test!\ntext: One <b>entry</b> & \"another\".\n\n"
                  "key: slug test\nsee: Slug Test!\ntext: The other.\n\n"
                  "key: Index\ntext: Not the index page.\n");
        const Run run = generate(data, dir.filePath("out"));
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

        QMap<QString, QString> links;
        {
            auto db = QSqlDatabase::addDatabase("QSQLITE", "GeneratorTest");
            db.setDatabaseName(dir.filePath("out/tarot.dll"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("SELECT Key, Link FROM tarot"));
            while (q.next())
                links.insert(q.value(0).toString(), q.value(1).toString());
        }
        QSqlDatabase::removeDatabase("GeneratorTest");
        QCOMPARE(links.value("Slug Test!"), QString("pages/slug-test.html"));
        QCOMPARE(links.value("slug test"), QString("pages/slug-test-2.html"));
        QVERIFY(links.value("Index") != "pages/index.html");
        for (const char* key : {"Slug Test!", "slug test", "Index"})
            QVERIFY(QFile::exists(dir.filePath("out/" + links.value(key))));
        const QString page = readText(dir.filePath("out/pages/slug-test.html"));
        QVERIFY(page.contains("<p>One &lt;b&gt;entry&lt;/b&gt; &amp; &quot;another&quot;.</p>"));
        QVERIFY(readText(dir.filePath("out/pages/slug-test-2.html")).contains("<a href=\"slug-test.html\">Slug Test!</a>"));
        QVERIFY(readText(dir.filePath("out/pages/index.html")).contains("<a href=\"slug-test-2.html\">slug test</a>"));
    }

    void refusesABrokenSource_data()
    {
        QTest::addColumn<Mutation>("mutation");
        QTest::addColumn<QString>("message");

        QTest::newRow("keyword on two cards") << Mutation([](const QString& data) {
            QString text = readText(data + "/cards.txt");
            const auto lines = fieldLines(text, "keywords");
            const QString shared = lines[1].captured(1).split(';').first().trimmed().toUpper();
            text.insert(lines[0].capturedEnd(1), "; " + shared);
            writeText(data + "/cards.txt", text);
        }) << "also belongs to";
        QTest::newRow("see names no entry") << Mutation([](const QString& data) {
            writeText(data + "/dictionary/zz-generator-test.txt",
                      "key: Generator Test Entry\nsee: No Such Entry Anywhere\ntext: A page.\n");
        }) << "No Such Entry Anywhere";
        QTest::newRow("key given twice") << Mutation([](const QString& data) {
            const QString key = fieldLines(readText(data + "/dictionary/terms.txt"), "key").first().captured(1);
            writeText(data + "/dictionary/zz-generator-test.txt", "key: " + key.toUpper() + "\ntext: Again.\n");
        }) << "also given";
        QTest::newRow("six keywords") << Mutation([](const QString& data) {
            QString text = readText(data + "/cards.txt");
            const auto line = fieldLines(text, "keywords").last();
            text.replace(line.capturedStart(1), line.capturedLength(1), "k1; k2; k3; k4; k5; k6");
            writeText(data + "/cards.txt", text);
        }) << "at least 7";
        QTest::newRow("empty reversed meaning") << Mutation([](const QString& data) {
            QString text = readText(data + "/cards.txt");
            const auto line = fieldLines(text, "reversed")[5];
            text.remove(line.capturedStart(1), line.capturedLength(1));
            writeText(data + "/cards.txt", text);
        }) << "reversed meaning is empty";
        QTest::newRow("a card missing") << Mutation([](const QString& data) {
            QString text = readText(data + "/cards.txt");
            const auto ids = fieldLines(text, "id");
            text.truncate(ids.last().capturedStart(0));
            writeText(data + "/cards.txt", text);
        }) << "no card with id 78";
        QTest::newRow("picture number used twice") << Mutation([](const QString& data) {
            QString text = readText(data + "/cards.txt");
            const auto numbers = fieldLines(text, "number");
            text.replace(numbers[1].capturedStart(1), numbers[1].capturedLength(1), numbers[0].captured(1));
            writeText(data + "/cards.txt", text);
        }) << "used twice";
    }

    void refusesABrokenSource()
    {
        QFETCH(Mutation, mutation);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        copyTree(ARCAVELL_DATA_DIR, data);
        mutation(data);
        const Run run = generate(data, dir.filePath("out"));
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
        QVERIFY2(!QFile::exists(dir.filePath("out/learn.dll")), "nothing is written from a broken source");
    }
};

ARC_TEST(GeneratorTest)
#include "GeneratorTest.moc"
