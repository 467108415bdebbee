// Load at detail 0, 1 and 2 against the floor: reading the file and inflating its blocks, nothing else.
// Prints each ratio to the floor and, for the large replay, the bytes the action list takes per action.
#include "BenchFiles.h"
#include "RunTimes.h"
#include "SampleGames.h"
#include "core/present/ListRows.h"
#include "core/rename/Rename.h"
#include "core/replay/ReplayInfo.h"
#include "core/summary/ReplaySummary.h"

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <new>
#include <span>

namespace fs = std::filesystem;
using namespace quillon;
using namespace quillon::bench;

// Live heap bytes, to measure what the action list takes; counted only while Counting is set, so the
// timed runs pay nothing for it.
static std::atomic<long long> LiveBytes{0};
static std::atomic<bool> Counting{false};

void* operator new(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    if (Counting.load(std::memory_order_relaxed))
        LiveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}
void operator delete(void* p) noexcept {
    if (p && Counting.load(std::memory_order_relaxed))
        LiveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

void Floor(benchmark::State& state, std::string path, TInflater with) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAndInflate(path, with));
}

void LoadAt(benchmark::State& state, std::string path, uint8_t detail) {
    for (auto _ : state) {
        auto r = TReplayInfo::Create(path);
        benchmark::DoNotOptimize(r->Load(detail));
    }
}

// Naming one page of 100 actions: what the action list does on every page turn.
void NamePage(benchmark::State& state, std::string path) {
    auto r = TReplayInfo::Create(path);
    r->Load(2);
    TGameTables tables;
    tables.Load(TLanguage::English);
    TPlayerSet all;
    all.set();
    const int32_t pages = PageCount(*r, 100);
    int32_t page = 0;
    for (auto _ : state) {
        auto rows = PageRows(*r, 1 + page++ % pages, 100, all, tables);
        benchmark::DoNotOptimize(rows);
    }
}

// The summary of a replay already loaded at detail 2: APM per minute, build orders, heroes, chat, leaves.
void Summarize(benchmark::State& state, std::string path) {
    auto r = TReplayInfo::Create(path);
    r->Load(2);
    TGameTables tables;
    tables.Load(TLanguage::English);
    for (auto _ : state) {
        auto summary = SummarizeReplay(*r, tables);
        benchmark::DoNotOptimize(summary);
    }
    state.counters["actions"] = static_cast<double>(r->Actions->Count());
}

void LoadAllAtDetailOne(benchmark::State& state, std::vector<std::string> paths) {
    for (auto _ : state)
        for (const auto& path : paths) {
            auto r = TReplayInfo::Create(path);
            benchmark::DoNotOptimize(r->Load(1));
        }
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(paths.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void DryRunBatch(benchmark::State& state, std::string root, size_t files, std::string globalTemplate) {
    TBatchOptions options;
    options.Rule.GlobalTemplate = std::move(globalTemplate);
    for (auto _ : state) {
        TDryRunFileSystem dry;
        benchmark::DoNotOptimize(RenameFolder(root, options, dry));
    }
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(files), benchmark::Counter::kIsIterationInvariantRate);
}

std::string WriteLargeReplay() {
    const auto bytes = testing::BuildReplayFile(testing::LargeGameSpec());
    const fs::path path = fs::temp_directory_path() / "quillon-bench-large.w3g";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

void PrintActionMemory(const std::string& path) {
    auto r = TReplayInfo::Create(path);
    Counting = true;
    const long long start = LiveBytes.load();
    r->Load(2);
    const int32_t count = r->Actions->Count();
    const long long before = LiveBytes.load();
    r->Actions.reset();
    const long long bytes = before - LiveBytes.load();
    Counting = false;
    if (LiveBytes.load() < start)
        std::printf("warning: heap accounting saw frees of blocks allocated before it started\n");
    std::printf("large replay: %d recorded actions, action list %.1f MiB, %.1f bytes per action (target <= 300)\n",
                count, static_cast<double>(bytes) / (1 << 20), static_cast<double>(bytes) / count);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, std::string>> files; // name, path
    files.emplace_back("large-writer-1h-8p", WriteLargeReplay());
    std::error_code ec;
    if (fs::is_directory(QUILLON_CORPUS_DIR, ec)) {
        std::vector<fs::path> corpus;
        for (const auto& e : fs::directory_iterator(QUILLON_CORPUS_DIR))
            if (e.path().extension() == ".w3g")
                corpus.push_back(e.path());
        std::sort(corpus.begin(), corpus.end());
        for (const auto& p : corpus)
            files.emplace_back(p.stem().string(), p.string());
    }
    for (const auto& [name, path] : files) {
        benchmark::RegisterBenchmark(("floor/" + name).c_str(), Floor, path, TInflater::Zlib)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("floor-libdeflate/" + name).c_str(), Floor, path, TInflater::Libdeflate)
            ->Unit(benchmark::kMillisecond);
        for (uint8_t detail : {uint8_t{0}, uint8_t{1}, uint8_t{2}})
            benchmark::RegisterBenchmark(("detail" + std::to_string(detail) + "/" + name).c_str(), LoadAt, path, detail)
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("name-one-page-of-100/large-writer-1h-8p", NamePage, files.front().second)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("summary/large-writer-1h-8p", Summarize, files.front().second)
        ->Unit(benchmark::kMillisecond);
    for (const auto& [name, path] : files)
        if (name.find("dota") != std::string::npos)
            benchmark::RegisterBenchmark(("summary/" + name).c_str(), Summarize, path)->Unit(benchmark::kMillisecond);
    const std::string batchRoot = WriteBatchTree();
    const auto batchFiles = ReplaysBelow(batchRoot);
    benchmark::RegisterBenchmark("batch/load-detail1-10000", LoadAllAtDetailOne, batchFiles)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("batch/dry-run-rename-10000", DryRunBatch, batchRoot, batchFiles.size(),
                                 "<map> <game> <win>-vs-<loss>")
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    // Every file makes the same name: the numbers 2 to 10,000 must not be probed again for each file.
    benchmark::RegisterBenchmark("batch/dry-run-rename-10000-same-name", DryRunBatch, batchRoot, batchFiles.size(),
                                 "<map>")
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    TRunTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // The yardstick stays zlib's floor; the libdeflate floor is what reading and inflating costs now.
    std::printf("\n%-60s %8s %8s %8s %8s %8s %8s\n", "replay", "floor ms", "ld/floor", "d0/floor", "d1/floor",
                "d2/floor", "d1/ld");
    double worst1 = 0, worst2 = 0, worstLd = 0;
    double totalFloor = 0, totalLd = 0, total1 = 0, total2 = 0; // the corpus replays together
    for (const auto& [name, path] : files) {
        const auto floor = reporter.Times.find("floor/" + name);
        if (floor == reporter.Times.end())
            continue;
        double ratio[3];
        for (int d = 0; d < 3; ++d)
            ratio[d] = reporter.Times["detail" + std::to_string(d) + "/" + name] / floor->second;
        const double libdeflate = reporter.Times["floor-libdeflate/" + name];
        const double d1OverLd = reporter.Times["detail1/" + name] / libdeflate;
        if (name != files.front().first) {
            totalFloor += floor->second;
            totalLd += libdeflate;
            total1 += reporter.Times["detail1/" + name];
            total2 += reporter.Times["detail2/" + name];
        }
        worst1 = std::max(worst1, ratio[1]);
        worst2 = std::max(worst2, ratio[2]);
        worstLd = std::max(worstLd, d1OverLd);
        std::printf("%-60s %8.3f %8.2f %8.2f %8.2f %8.2f %8.2f\n", name.c_str(), floor->second,
                    libdeflate / floor->second, ratio[0], ratio[1], ratio[2], d1OverLd);
    }
    std::printf("worst single replay to the zlib floor: detail 1 %.2f, detail 2 %.2f; detail 1 to the libdeflate "
                "floor %.2f\n",
                worst1, worst2, worstLd);
    if (totalFloor > 0)
        std::printf("the corpus replays together: libdeflate floor %.2f, detail 1 %.2f (target <= 0.9), detail 2 %.2f "
                    "(target <= 1.3) of the zlib floor; detail 1 %.2f of the libdeflate floor (target <= 1.25)\n",
                    totalLd / totalFloor, total1 / totalFloor, total2 / totalFloor, total1 / totalLd);
    PrintActionMemory(files.front().second);
    std::printf("summary of the large replay after its load: %.2f ms (target < 10)\n",
                reporter.Times["summary/large-writer-1h-8p"]);
    const double load = reporter.Times["batch/load-detail1-10000"],
                 batch = reporter.Times["batch/dry-run-rename-10000"];
    if (load > 0 && batch > 0)
        std::printf("batch rename (dry run) of %zu replays: %.0f files/s, %.2f x loading them at detail 1\n",
                    batchFiles.size(), static_cast<double>(batchFiles.size()) / (batch / 1000.0), batch / load);
    benchmark::Shutdown();
    return 0;
}
