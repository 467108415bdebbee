// A whole file: loaded at detail 2, then turned into the window's rows and a name, in both languages.
#include "FuzzTarget.h"
#include "ReplayWriter.h"
#include "SampleGames.h"

#include "core/gamedata/GameTables.h"
#include "core/present/ListRows.h"
#include "core/rename/Template.h"
#include "core/replay/LoadReplay.h"

namespace {

const quillon::TGameTables& Tables(quillon::TLanguage language) {
    static const auto load = [](quillon::TLanguage l) {
        quillon::TGameTables t;
        t.Load(l);
        return t;
    };
    static const quillon::TGameTables english = load(quillon::TLanguage::English);
    static const quillon::TGameTables chinese = load(quillon::TLanguage::Chinese);
    return language == quillon::TLanguage::Chinese ? chinese : english;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillon;
    const TLoadResult loaded = LoadReplayFromBuffer(std::vector<uint8_t>(data, data + size), "fuzz.w3g", 2);
    if (!loaded.Ok())
        return 0;
    const TReplayInfo& r = *loaded.Replay;
    for (TLanguage language : {TLanguage::English, TLanguage::Chinese}) {
        InfoRows(r, TNumberFormat{}, language);
        const auto players = PlayerRows(r, {}, TNumberFormat{}, language);
        const TPlayerSet shown = ComputeShownPlayers(players, language);
        const int32_t pages = PageCount(r, 50);
        PageRows(r, 1, 50, shown, Tables(language));
        PageRows(r, pages, 50, shown, Tables(language));
    }
    MakeReplayName("<name>(<racelong>,<color>,<apm>)", "+", "<map> <game> <version> <length> <type> <tag> <win>-<loss>",
                   r);
    return 0;
}

std::vector<std::vector<uint8_t>> quillon::fuzz::Seeds() {
    using namespace quillon::testing;
    std::vector<std::vector<uint8_t>> seeds;
    for (uint32_t version : {3u, 10u, 18u, 26u, 10032u, 10100u}) {
        TReplaySpec spec = SmallGameSpec();
        spec.Version = version;
        spec.HeaderVersion = version <= 6 ? 0 : 1;
        seeds.push_back(BuildReplayFile(spec));
    }
    TReplaySpec noSlots = SmallGameSpec();
    noSlots.HasSlotBlock = false;
    seeds.push_back(BuildReplayFile(noSlots));
    return seeds;
}
