// Whole processes over the corpus, as a user runs them: quillon-cli info at detail 1 and 2 against a program that
// only reads and inflates the same files (with zlib, the yardstick, and with libdeflate). Start-up, reading,
// parsing and printing all count. Each is run five times; the medians are compared.
#include "BenchFiles.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs a program to its end with its output thrown away; returns the processor seconds it used.
double RunQuietly(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const auto& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (failed || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("failed: " + command.front());
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall time is the benchmark's time; the processor time (less disturbed by a busy machine) is a counter.
void Process(benchmark::State& state, std::vector<std::string> command) {
    double cpu = 0;
    for (auto _ : state)
        cpu += RunQuietly(command);
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}

// Keeps each benchmark's median.
class TMedians : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                Times[run.run_name.function_name] = run.GetAdjustedRealTime();
                Cpu[run.run_name.function_name] = run.counters.at("cpu_ms");
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times, Cpu;
};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> files = quillon::bench::CorpusReplays(QUILLON_CORPUS_DIR);
    if (files.empty()) {
        std::printf("no corpus replays in %s: nothing to measure\n", QUILLON_CORPUS_DIR);
        return 0;
    }
    const auto with = [&files](std::vector<std::string> command) {
        command.insert(command.end(), files.begin(), files.end());
        return command;
    };
    const std::vector<std::pair<std::string, std::vector<std::string>>> commands{
        {"process/floor-zlib", with({QUILLON_FLOOR_PROGRAM})},
        {"process/floor-libdeflate", with({QUILLON_FLOOR_PROGRAM, "--libdeflate"})},
        {"process/info-detail-1", with({QUILLON_CLI_PROGRAM, "info", "--detail", "1"})},
        {"process/info-detail-2", with({QUILLON_CLI_PROGRAM, "info", "--detail", "2"})},
    };
    for (const auto& [name, command] : commands)
        benchmark::RegisterBenchmark(name.c_str(), Process, command)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    TMedians medians;
    benchmark::RunSpecifiedBenchmarks(&medians);
    std::printf("\n%zu corpus replays, whole processes, medians of 5, against the zlib floor:\n", files.size());
    for (auto* times : {&medians.Times, &medians.Cpu}) {
        const double floor = (*times)["process/floor-zlib"];
        if (floor > 0)
            std::printf("  %s: libdeflate floor %.2f, detail 1 %.2f (target <= 0.9), detail 2 %.2f (target <= 1.3); "
                        "zlib floor %.1f ms\n",
                        times == &medians.Times ? "wall time" : "processor time",
                        (*times)["process/floor-libdeflate"] / floor, (*times)["process/info-detail-1"] / floor,
                        (*times)["process/info-detail-2"] / floor, floor);
    }
    benchmark::Shutdown();
    return 0;
}
