// The summary of every real replay: what adds up, what runs in order.
#include "CorpusFiles.h"
#include "core/replay/LoadReplay.h"
#include "core/summary/HtmlReport.h"
#include "core/summary/ReplaySummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

template <typename List, typename Time> bool TimesNeverDecrease(const List& list, Time time) {
    return std::is_sorted(list.begin(), list.end(),
                          [&time](const auto& a, const auto& b) { return time(a) < time(b); });
}

} // namespace

TEST(CorpusSummary, MinutesAddUpAndListsRunInOrder) {
    const std::vector<fs::path> files = quillon::testing::CorpusFiles();
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << QUILLON_CORPUS_DIR;
    TGameTables tables;
    tables.Load(TLanguage::English);
    int replays = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        auto replay = TReplayInfo::Create(file.string());
        if (!replay || !replay->Load(2))
            continue;
        ++replays;
        const TReplaySummary sum = SummarizeReplay(*replay, tables);
        const auto byTime = [](const auto& item) { return item.Time; };
        EXPECT_TRUE(TimesNeverDecrease(sum.Chat, byTime));
        EXPECT_TRUE(TimesNeverDecrease(sum.Leaves, byTime));
        for (const auto& p : sum.Players) {
            SCOPED_TRACE(p.Name);
            const TPlayerInfo& info = replay->Players->At(replay->Players->IndexOfId(p.Id));
            EXPECT_EQ(p.Apm.Total, info.Actions);
            EXPECT_EQ(static_cast<int>(p.Apm.PerMinute.size()), sum.MinuteCount);
            EXPECT_TRUE(TimesNeverDecrease(p.Builds, byTime));
            EXPECT_TRUE(TimesNeverDecrease(p.Heroes, byTime));
            for (const auto& h : p.Heroes) {
                EXPECT_TRUE(TimesNeverDecrease(h.Skills, byTime));
                for (size_t i = 0; i < h.Skills.size(); ++i)
                    EXPECT_EQ(h.Skills[i].HeroLevel, static_cast<int>(i + 1)) << h.Name;
            }
        }
    }
    EXPECT_GT(replays, 0);
}

// The library summarises a replay loaded with the parameters of orders, queue removals, chat and leaves only:
// the summary must be the very same as from the whole load.
TEST(CorpusSummary, LoadForSummaryGivesTheSameSummary) {
    const std::vector<fs::path> files = quillon::testing::CorpusFiles();
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << QUILLON_CORPUS_DIR;
    TGameTables tables;
    tables.Load(TLanguage::English);
    const TNumberFormat numbers;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const TLoadResult full = LoadReplay(file.string(), 2);
        const TLoadResult lean = LoadReplay(file.string(), 2, TActionDetail::ForSummary);
        ASSERT_EQ(full.Ok(), lean.Ok());
        if (!full.Ok())
            continue;
        EXPECT_EQ(lean.Replay->Actions->Count(), full.Replay->Actions->Count());
        const auto report = [&](const TReplayInfo& r) {
            return ReplayReportHtml(r, SummarizeReplay(r, tables), numbers, TLanguage::English);
        };
        EXPECT_EQ(report(*lean.Replay), report(*full.Replay));
    }
}
