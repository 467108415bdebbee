// A whole file: loaded at detail 2, summed up in both languages, printed as the CLI prints it, and checked against
// what the summary promises: one APM entry per minute adding up to the Actions column, lists in time order, JSON
// that parses back.
#include "FuzzTarget.h"
#include "ReplayWriter.h"
#include "SampleGames.h"

#include "cli/SummaryOutput.h"
#include "core/gamedata/GameTables.h"
#include "core/replay/LoadReplay.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <sstream>

namespace {

using namespace quillon;

const TGameTables& Tables(TLanguage language) {
    static const auto load = [](TLanguage l) {
        TGameTables t;
        t.Load(l);
        return t;
    };
    static const TGameTables english = load(TLanguage::English);
    static const TGameTables chinese = load(TLanguage::Chinese);
    return language == TLanguage::Chinese ? chinese : english;
}

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "summary invariant broken: %s\n", what);
        std::abort();
    }
}

template <typename List> bool InTimeOrder(const List& list) {
    return std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.Time < b.Time; });
}

void CheckInvariants(const TReplayInfo& r, const TReplaySummary& s) {
    Require(InTimeOrder(s.Chat), "chat times go back");
    Require(InTimeOrder(s.Leaves), "leave times go back");
    for (const TPlayerSummary& p : s.Players) {
        Require(static_cast<int>(p.Apm.PerMinute.size()) == s.MinuteCount, "a curve has not one entry per minute");
        Require(std::accumulate(p.Apm.PerMinute.begin(), p.Apm.PerMinute.end(), int64_t{0}) == p.Apm.Total,
                "a curve does not sum to its total");
        const int index = r.Players->IndexOfId(p.Id);
        Require(index >= 0 && p.Apm.Total == r.Players->At(index).Actions, "the total is not the Actions column");
        Require(InTimeOrder(p.Builds), "build times go back");
        Require(InTimeOrder(p.Heroes), "hero times go back");
        for (const THeroRecord& h : p.Heroes)
            Require(InTimeOrder(h.Skills), "skill times go back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TLoadResult loaded = LoadReplayFromBuffer(std::vector<uint8_t>(data, data + size), "fuzz.w3g", 2);
    if (!loaded.Ok())
        return 0;
    const TReplayInfo& r = *loaded.Replay;
    for (TLanguage language : {TLanguage::English, TLanguage::Chinese}) {
        const TReplaySummary s = SummarizeReplay(r, Tables(language));
        CheckInvariants(r, s);
        const std::string json = cli::SummaryJson("fuzz.w3g", s, language).dump();
        Require(!nlohmann::json::parse(json, nullptr, false).is_discarded(), "the JSON does not parse back");
        std::ostringstream text;
        cli::PrintSummary(s, language, text);
    }
    return 0;
}

std::vector<std::vector<uint8_t>> quillon::fuzz::Seeds() {
    using namespace quillon::testing;
    std::vector<std::vector<uint8_t>> seeds = {BuildReplayFile(SmallGameSpec()), BuildReplayFile(DemoGameSpec())};
    // The first object id looked up is four zero bytes: once a crash of the catalogue's cache.
    TReplaySpec zeroId = SmallGameSpec();
    zeroId.Records = rec::Join({rec::TimeSlot(100, {{1, act::OrderNoTarget(26, "\0\0\0\0")}}),
                                rec::TimeSlot(100, {{1, act::OrderNoTarget(26, "hpea")}}), rec::End()});
    seeds.push_back(BuildReplayFile(zeroId));
    return seeds;
}
