#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace quillon::bench {

/// The console table, and each benchmark's real time kept by name so ratios can be printed after it.
class TRunTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration)
                Times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times;
};

} // namespace quillon::bench
