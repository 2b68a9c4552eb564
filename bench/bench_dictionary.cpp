// The dictionary over 32,767 keys: the keyword pane's searches and refill,
// list included, the merge of an update file of 32,767 and of 100,000 new
// rows, and the merge of files built to be read without end (see
// RepeatingTable.h; arguments: page size, levels, Link length, and the size
// in KB the file is filled up to with bytes SQLite does not read).
//
//   QT_QPA_PLATFORM=offscreen bench_dictionary [--benchmark_filter=...]
//
// For a merge's peak memory, run it alone under /usr/bin/time -v.
//
// The pane's cases run the frame window's own handlers on a program folder
// in a temporary folder, offline, so no page is loaded, and paint the list.
#include "app/frmMDI.h"
#include "dictionary/DictionaryUpdate.h"
#include "dictionary/modDict.h"
#include "platform/App.h"
#include "RepeatingTable.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <random>

#include <unistd.h>

namespace {
constexpr int Rows = 32767;

QString randomWord(std::mt19937& random)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    QString word;
    const int length = 4 + static_cast<int>(random() % 8);
    for (int i = 0; i < length; ++i)
        word += QChar(letters[random() % 26]);
    return word;
}

// A table tarot of count rows: keys of two random words, links under prefix.
void writeTable(const QString& path, int count, const QString& prefix, unsigned seed)
{
    QFile::remove(path);
    const QString name = QUuid::createUuid().toString();
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec("CREATE TABLE tarot (Key TEXT, Link TEXT, Names TEXT)");
        db.transaction();
        std::mt19937 random(seed);
        q.prepare("INSERT INTO tarot (Key, Link, Names) VALUES (?, ?, 'tarot')");
        for (int i = 0; i < count; ++i) {
            const QString key = randomWord(random) + " " + randomWord(random);
            q.addBindValue(i % 97 == 0 ? "Death " + key : key);
            q.addBindValue(QString("%1/%2.html").arg(prefix).arg(i));
            q.exec();
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase(name);
}

QTemporaryDir& programFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        writeTable(dir.filePath("tarot.dll"), Rows, "pages", 1);
        App::SetPath(dir.path());
        made = true;
    }
    return dir;
}

void search(benchmark::State& state, bool wildcard, const QString& text)
{
    programFolder();
    auto& frame = frmMDI();
    (wildcard ? frame.optWildCard : frame.optExact)->setChecked(true);
    frame.txtKey->setText(text);
    frame.Show();
    for (auto _ : state) {
        frame.cmdSearch_Click();
        frame.lstKeys->viewport()->repaint();
    }
    state.counters["listed"] = frame.lstKeys->Count();
}

void BM_PrefixSearch(benchmark::State& state) { search(state, false, "  Death "); }
void BM_SubstringSearch(benchmark::State& state) { search(state, true, "ea"); }

void BM_BlankTextRefill(benchmark::State& state)
{
    programFolder();
    auto& frame = frmMDI();
    for (auto _ : state) {
        state.PauseTiming();
        frame.txtKey->blockSignals(true);
        frame.txtKey->setText("x");
        frame.txtKey->blockSignals(false);
        state.ResumeTiming();
        frame.txtKey->clear(); // the change refills the list with every key
        frame.lstKeys->viewport()->repaint();
    }
    state.counters["listed"] = frame.lstKeys->Count();
}

// Merges the update file at `update` into a fresh dictionary of 32,767 keys.
void merge(benchmark::State& state, const QTemporaryDir& dir, const QString& update)
{
    DictionaryUpdateResult result;
    for (auto _ : state) {
        state.PauseTiming();
        writeTable(dir.filePath("tarot.dll"), Rows, "pages", 1);
        state.ResumeTiming();
        result = MergeDictionaryUpdate(update, dir.filePath("tarot.dll"));
    }
    state.counters["added"] = result.added;
    state.counters["outcome"] = result.outcome;
    state.counters["fileKB"] = QFileInfo(update).size() / 1024.0;
}

void BM_MergeUpdate(benchmark::State& state)
{
    QTemporaryDir dir;
    writeTable(dir.filePath("update.dll"), state.range(0), "new", 2);
    merge(state, dir, dir.filePath("update.dll"));
}

void BM_MergeRepeatingTable(benchmark::State& state)
{
    QTemporaryDir dir;
    writeRepeatingTable(dir.filePath("update.dll"), state.range(0), state.range(1), state.range(2));
    QFile file(dir.filePath("update.dll"));
    if (file.size() < state.range(3) * 1024)
        file.resize(state.range(3) * 1024);
    merge(state, dir, dir.filePath("update.dll"));
}
// The table read alone, for comparison.
void BM_Read(benchmark::State& state)
{
    programFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadDictionary());
}
} // namespace
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_PrefixSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SubstringSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlankTextRefill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeUpdate)->Unit(benchmark::kMillisecond)->Iterations(5)->Arg(Rows)->Arg(100000);
BENCHMARK(BM_MergeRepeatingTable)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Args({512, 3, 2, 0})
    ->Args({512, 4, 2, 0})
    ->Args({512, 6, 2, 0})
    ->Args({512, 6, 0, 1024})
    ->Args({512, 6, 2, 1024})
    ->Args({65536, 1, 6000, 0})
    ->Args({65536, 2, 6000, 0})
    ->Args({65536, 2, 6000, 1024});

int main(int argc, char** argv)
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1"); // Chromium's sandbox refuses root
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
