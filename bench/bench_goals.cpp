// Reading a goal file: the parse of the largest files the program reads
// (GoalFileLimit), and of files 500 times larger for comparison, in the
// shapes that cost most: one goal filling the file, the most goals a file
// holds, and damaged lines whose quotes and number signs never close.
//
//   bench_goals [--benchmark_filter=...]
//
// What the whole program costs on such files (list and editor included) is
// measured by bench/goal_file_run.sh.
#include "tutor/modGoals.h"

#include <benchmark/benchmark.h>

namespace {
enum Shape { OneGoal, OneLongLine, MostGoals, UnclosedQuotes, UnclosedSigns };

QByteArray fill(const QByteArray& line, qint64 size) { return line.repeated(int(size / line.size())); }

QByteArray goalFile(Shape shape, qint64 size)
{
    const QByteArray head = "\"One\",#2026-01-01#,#2026-12-31#,\"";
    const QByteArray tail = "\",#FALSE#,5\r\n";
    const qint64 room = size - head.size() - tail.size();
    switch (shape) {
    case OneGoal:
        return head + fill(QByteArray(78, 'x') + "\r\n", room) + tail;
    case OneLongLine:
        return head + QByteArray(room, 'x') + tail;
    case MostGoals:
        return fill(",#2026-1-1#,#2026-1-2#,,0,0\n", size);
    case UnclosedQuotes:
        return fill("a,\"b\n", size);
    case UnclosedSigns:
        return fill("a,#b\n", size);
    }
    return {};
}

void parse(benchmark::State& state)
{
    const QByteArray bytes = goalFile(Shape(state.range(0)), state.range(1));
    qsizetype records = 0;
    for (auto _ : state)
        records = ParseGoalFile(bytes).records.size();
    state.counters["records"] = double(records);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
} // namespace

BENCHMARK(parse)
    ->ArgNames({"shape", "bytes"})
    ->ArgsProduct({{OneGoal, OneLongLine, MostGoals, UnclosedQuotes, UnclosedSigns},
                   {GoalFileLimit, GoalFileLimit * 500}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
