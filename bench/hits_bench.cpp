// What flushing each record to the disk costs at game end: HitsFile::Append as the game calls it
// (written, then fdatasync), against the same append with the flush left out. The file lies in
// MNEMIRA_BENCH_DIR, by default the current folder: run it on the disk the player's data is on
// (a tmpfs flushes nothing and shows no cost).
//   build-bench/bin/hits_bench
#include "results/hits_file.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

int noFlush(int)
{
    return 0;
}

QString benchFile()
{
    const QByteArray dir = qgetenv("MNEMIRA_BENCH_DIR");
    return QDir(dir.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(dir))
        .filePath(QStringLiteral("hits_bench.dat"));
}

void append(benchmark::State& state, results::HitsFile::SyncFunction sync)
{
    const QString path = benchFile();
    QFile::remove(path);
    results::HitsFile file(sync);
    file.OpenAtStartup(path);
    results::HitRecord record;
    record.setName(QStringLiteral("Новый игрок"));
    record.setTime(QStringLiteral("0:13:42"));
    record.setDate(QStringLiteral("08.12.2026 14:55:55"));
    for (auto _ : state)
        file.Append(record);
    file.Close();
    QFile::remove(path);
}

void BM_AppendFlushed(benchmark::State& state)
{
    append(state, nullptr); // the game's own: fdatasync
}

void BM_AppendWithoutFlush(benchmark::State& state)
{
    append(state, &noFlush);
}

BENCHMARK(BM_AppendFlushed)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_AppendWithoutFlush)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
