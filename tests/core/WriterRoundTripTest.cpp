#include "SampleGames.h"
#include "TestReplays.h"

using namespace quillon;
using namespace quillon::testing;

// The writer is what every other test stands on: what it writes must read back field for field.
TEST(ReplayWriter, RoundTrip) {
    for (uint32_t version : {4u, 18u, 26u, 10032u, 10100u}) {
        SCOPED_TRACE(version);
        TReplaySpec spec = OneVersusOne(version, rec::End(), version <= 6 ? 4531 : 6091);
        spec.Product = "WAR3";
        spec.Length = 777;
        spec.GameName = "round trip";
        spec.MapPath = "Maps\\Test\\(2)Round.w3x";
        spec.Creator = "Writer";
        spec.GameTypeCode = 13;
        spec.Others[0].Extra = TBytes(8, 0);
        spec.StartSpots = 6;
        spec.Slots[1].Color = 7;
        spec.Slots[1].Handicap = 90;
        spec.Records = rec::Join(
            {rec::TimeSlot(40, {{1, act::Bytes({0x61})}}), rec::Chat(2, 1, "hello"), rec::Leave(2, 8), rec::End()});
        auto r = Loaded(spec, 2);
        EXPECT_EQ(r->HeaderVersion, version <= 6 ? 0u : 1u);
        EXPECT_EQ(r->ProductId, version <= 6 ? "" : "WAR3");
        EXPECT_EQ(r->VersionField, version);
        EXPECT_EQ(r->Length, 777);
        EXPECT_EQ(r->FileSize, BuildReplayFile(spec).size());
        EXPECT_EQ(r->Game.GameName, "round trip");
        EXPECT_EQ(r->Game.MapPath, "Maps\\Test\\(2)Round.w3x");
        EXPECT_EQ(r->Game.Creator, "Writer");
        EXPECT_EQ(r->Game.GameType, 3);
        EXPECT_EQ(r->Game.StartSpots, 6);
        const TPlayerInfo& bob = PlayerById(*r, 2);
        EXPECT_EQ(bob.Name, "Bob");
        EXPECT_EQ(bob.Team, 2);
        EXPECT_EQ(bob.Color, 7);
        EXPECT_EQ(bob.Race, 2);
        EXPECT_EQ(bob.Handicap, version >= 7 ? 90 : 0);
        EXPECT_EQ(bob.Time, 40);
        EXPECT_EQ(bob.Actions, 2);
        EXPECT_EQ(PlayerById(*r, 1).Actions, 1);
        EXPECT_EQ(r->Actions->Count(), 3);
        EXPECT_EQ(r->Winner, 1);
        EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::End);
    }
}

TEST(ReplayWriter, SampleGamesReadWhole) {
    auto r = Loaded(DemoGameSpec(), 2);
    EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::End);
    EXPECT_EQ(r->BlockStats.ExactBlocks, r->BlockStats.Blocks);
    EXPECT_EQ(r->Winner, 1);
    EXPECT_EQ(r->Teams->Count(), 2);
    EXPECT_TRUE(PlayerById(*r, 5).Observer);
    for (uint8_t id = 1; id <= 4; ++id) {
        const TPlayerInfo& p = PlayerById(*r, id);
        EXPECT_GT(p.Apm, 50) << int{id};
        EXPECT_LT(p.Apm, 400) << int{id};
    }
}
