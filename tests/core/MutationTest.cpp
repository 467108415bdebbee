// Random damage to the inflated data of writer-made replays of several patches: every parse must end
// with a result or the read error, and what it counted must be what it recorded.
#include "SampleGames.h"
#include "TestReplays.h"

#include "core/replay/ReplayError.h"

#include <map>
#include <random>

using namespace quillon;
using namespace quillon::testing;

namespace {

TReplaySpec PatchOf(TReplaySpec spec, uint32_t version, uint16_t build) {
    spec.Version = version;
    spec.Build = build;
    spec.HeaderVersion = version <= 6 ? 0 : 1;
    return spec;
}

} // namespace

TEST(Mutation, DamagedDataNeverBreaksTheParser) {
    TReplaySpec demo = DemoGameSpec();
    demo.Records.resize(30000); // keep each parse short
    demo.Records.push_back(0);
    const TReplaySpec specs[] = {demo, PatchOf(demo, 6, 4656), PatchOf(demo, 12, 6036), PatchOf(demo, 10100, 6117)};
    std::mt19937 rng(20261210);
    for (const TReplaySpec& spec : specs) {
        SCOPED_TRACE(spec.Version);
        auto original = Loaded(spec, 0);
        const std::vector<uint8_t> data = original->Data;
        for (int round = 0; round < 150; ++round) {
            auto r = FromBytes(BuildReplayFile(spec));
            ASSERT_TRUE(r->ReadHeader());
            ASSERT_TRUE(r->ReadAllBlocks());
            r->Data = data;
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int f = 0; f < flips; ++f) {
                // Mostly the start record, where every byte steers the reader, and some of the stream.
                const size_t at = rng() % 2 ? rng() % 400 : rng() % r->Data.size();
                r->Data[at] = static_cast<uint8_t>(rng());
            }
            try {
                if (!r->Parse(2))
                    continue;
            } catch (const TReplayError&) {
                continue;
            }
            std::map<uint8_t, int32_t> recorded;
            for (int32_t i = 0; i < r->Actions->Count(); ++i)
                ++recorded[r->Actions->At(i).PlayerId];
            for (int i = 0; i < r->Players->Count(); ++i) {
                const TPlayerInfo& p = r->Players->At(i);
                if (p.Id >= 1 && p.Id <= 24 && r->Players->IndexOfId(p.Id) == i) {
                    EXPECT_EQ(recorded[p.Id], p.Actions) << "round " << round << ", player " << int{p.Id};
                }
            }
        }
    }
}
