#include "TestReplays.h"

#include "core/replay/ReplayError.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

// Players 1..n on the given team bytes (ids in slot order), plus whatever records follow.
TReplaySpec Teams(std::vector<uint8_t> teamBytes, TBytes records, uint32_t version = 26) {
    TReplaySpec spec = OneVersusOne(version, std::move(records), 6060);
    spec.Others.clear();
    spec.Slots.clear();
    for (size_t i = 0; i < teamBytes.size(); ++i) {
        const auto id = static_cast<uint8_t>(i + 1);
        if (i > 0)
            spec.Others.push_back({id, "P" + std::to_string(id)});
        TWriterSlot s;
        s.PlayerId = id;
        s.Team = teamBytes[i];
        spec.Slots.push_back(s);
    }
    return spec;
}

TBytes Ms(uint16_t ms) {
    return rec::TimeSlot(ms, {});
}

} // namespace

TEST(RecordStream, NoLeaveRecordsNoWinner) {
    TReplaySpec spec = Teams({0, 1}, rec::Join({Ms(1000), rec::End()}));
    spec.Length = 90000;
    auto r = Loaded(spec, 1);
    EXPECT_EQ(r->Winner, 0);
    EXPECT_EQ(PlayerById(*r, 1).Time, 90000);
    EXPECT_EQ(PlayerById(*r, 2).Time, 90000);
}

TEST(RecordStream, LeaveOrderDecidesTheWinner) {
    struct TCase {
        const char* Name;
        std::vector<uint8_t> TeamBytes;
        std::vector<uint8_t> Leavers; // player ids in leave order
        int32_t Winner;
    };
    const TCase cases[] = {
        // second leave record names team 1 (no earlier leaver); the third is of a team that had one
        {"two teams", {0, 1, 1}, {2, 1, 3}, 1},
        // each new team's first leaver replaces the provisional winner
        {"three teams", {0, 1, 2}, {1, 2, 3}, 3},
        // one leave record: the first team without leavers
        {"one leaver", {0, 1}, {1}, 2},
        {"everyone of both teams", {0, 1}, {1, 2}, 2},
        // 24-player games: team numbers from 13 up are real teams, not provisional marks
        {"teams 13 and 14", {12, 13}, {1, 2}, 14},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBytes records = Ms(500);
        for (uint8_t id : c.Leavers)
            records = rec::Join({records, Ms(100), rec::Leave(id, 8)});
        records = rec::Join({records, rec::End()});
        for (uint8_t detail : {uint8_t{1}, uint8_t{2}})
            EXPECT_EQ(Loaded(Teams(c.TeamBytes, records, 29), detail)->Winner, c.Winner);
    }
}

TEST(RecordStream, ObserverLeavingFirstDoesNotMakeTheLoserWin) {
    // Team 1 is player 1, team 2 player 2; observer 3 leaves first, then the loser (2), and the winner's
    // replay ends without the winner's own leave record.
    TReplaySpec spec = Teams({0, 1, 12}, rec::Join({Ms(100), rec::Leave(3, 1), Ms(100), rec::Leave(2, 8), rec::End()}));
    auto r = Loaded(spec, 1);
    EXPECT_TRUE(PlayerById(*r, 3).Observer);
    EXPECT_EQ(r->Winner, 1);
}

TEST(RecordStream, ResultElevenDecidesAtDetailTwo) {
    // Leave order: team 1 would be provisional after the second record; team 2 reports a win.
    TBytes records =
        rec::Join({Ms(100), rec::Leave(2, 8), Ms(100), rec::Leave(1, 8), Ms(100), rec::Leave(3, 11), rec::End()});
    TReplaySpec spec = Teams({0, 1, 1}, records);
    EXPECT_EQ(Loaded(spec, 2)->Winner, 2);
    EXPECT_EQ(Loaded(spec, 1)->Winner, 1);
    // Team 13 of a 24-player game reporting a win stays team 13.
    TReplaySpec big =
        Teams({12, 13}, rec::Join({Ms(100), rec::Leave(2, 8), Ms(100), rec::Leave(1, 11), rec::End()}), 29);
    EXPECT_EQ(Loaded(big, 2)->Winner, 13);
}

TEST(RecordStream, LeaveRecordsAreActionsWithResultParams) {
    TReplaySpec spec =
        Teams({0, 1, 1}, rec::Join({Ms(250), rec::Leave(1, 1), rec::Leave(2, 11), rec::Leave(3, 7), rec::End()}));
    auto r = Loaded(spec, 2);
    ASSERT_EQ(r->Actions->Count(), 3);
    const char* expected[] = {"0", "2", "1"};
    for (int i = 0; i < 3; ++i) {
        const TActionInfo& a = r->Actions->At(i);
        EXPECT_EQ(a.Kind, 0x21);
        EXPECT_EQ(a.Time, 250);
        EXPECT_EQ(a.PlayerId, i + 1);
        EXPECT_EQ(a.Params[0], expected[i]);
        EXPECT_EQ(PlayerById(*r, static_cast<uint8_t>(i + 1)).Actions, 1);
        EXPECT_EQ(PlayerById(*r, static_cast<uint8_t>(i + 1)).Time, 250);
    }
}

TEST(RecordStream, ChatCountsAtEveryDetail) {
    TReplaySpec spec = Teams({0, 1}, rec::Join({Ms(3000), rec::Chat(2, 2, "gl hf"), rec::End()}));
    EXPECT_EQ(PlayerById(*Loaded(spec, 1), 2).Actions, 1);
    auto r = Loaded(spec, 2);
    ASSERT_EQ(r->Actions->Count(), 1);
    const TActionInfo& a = r->Actions->At(0);
    EXPECT_EQ(a.Kind, 0x20);
    EXPECT_EQ(a.Time, 3000);
    EXPECT_EQ(a.Params.ToVector(), (std::vector<std::string>{"2", "gl hf"}));
}

TEST(RecordStream, ApmTimeAndComputers) {
    TBytes actions;
    for (int i = 0; i < 149; ++i)
        actions.push_back(0x61); // ESC, counted
    TReplaySpec spec = Teams(
        {0, 1, 12}, rec::Join({rec::TimeSlot(60000, {{1, actions}}), rec::TimeSlot(60000, {}), rec::TimeSlot(60000, {}),
                               rec::TimeSlot(60000, {}), rec::TimeSlot(60000, {}), rec::Leave(1, 8), rec::End()}));
    spec.Slots[1].Computer = 1;
    spec.Slots[1].PlayerId = 0; // computers have no player record
    spec.Others.erase(spec.Others.begin());
    spec.Length = 600000;
    auto r = Loaded(spec, 1);
    const TPlayerInfo& human = PlayerById(*r, 1);
    EXPECT_EQ(human.Actions, 150); // 149 actions and the leave record
    EXPECT_EQ(human.Time, 300000);
    EXPECT_DOUBLE_EQ(human.Apm, 30.0);
    const TPlayerInfo& computer = r->Players->GetItem(2);
    ASSERT_TRUE(computer.Computer);
    EXPECT_EQ(computer.Time, 600000);
    EXPECT_EQ(computer.Apm, 0);
    const TPlayerInfo& observer = PlayerById(*r, 3);
    EXPECT_TRUE(observer.Observer);
    EXPECT_EQ(observer.Time, 0);
    EXPECT_EQ(observer.Apm, 0);
}

TEST(RecordStream, EmptyTimeSlotAdvancesTime) {
    auto r = Loaded(Teams({0, 1}, rec::Join({Ms(700), Ms(300), rec::Chat(1, 0, "x"), rec::End()})), 2);
    EXPECT_EQ(r->Actions->At(0).Time, 1000);
}

TEST(RecordStream, UnknownRecordEndsTheWalkQuietly) {
    auto r = Loaded(Teams({0, 1}, rec::Join({TBytes{0x55, 1, 2, 3}, rec::Chat(1, 0, "x"), rec::End()})), 2);
    EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::UnknownRecord);
    EXPECT_EQ(r->WalkEnd.Identifier, 0x55);
    EXPECT_EQ(r->Data[r->WalkEnd.Position], 0x55);
    EXPECT_EQ(PlayerById(*r, 1).Actions, 0);
    EXPECT_EQ(PlayerById(*r, 1).Apm, 0);
    EXPECT_EQ(r->Actions->Count(), 0);
}

TEST(RecordStream, SkippedRecords) {
    // 0x1A-0x1C (4 bytes), 0x22 (length byte), 0x23 (10 bytes), 0x2F (8 bytes) and, before 1.03, 0x20.
    TBytes skipped = {0x1A, 1, 2, 3, 4, 0x1B, 1, 2, 3, 4, 0x1C, 1,    2, 3, 4, 0x22, 4, 9, 9, 9, 9,
                      0x23, 1, 2, 3, 4, 5,    6, 7, 8, 9, 10,   0x2F, 1, 2, 3, 4,    5, 6, 7, 8};
    auto r = Loaded(Teams({0, 1}, rec::Join({skipped, rec::Chat(1, 0, "x"), rec::End()})), 2);
    EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::End);
    EXPECT_EQ(r->Actions->Count(), 1);

    auto old = Loaded(OneVersusOne(2, rec::Join({TBytes{0x20, 4, 1, 2, 3, 4}, rec::End()}), 4531), 2);
    EXPECT_EQ(old->WalkEnd.Reason, TWalkEnd::TReason::End);
    EXPECT_EQ(old->Actions->Count(), 0);
}

TEST(RecordStream, PlayersUpToIdTwentyFourCount) {
    std::vector<uint8_t> teams(24);
    for (size_t i = 0; i < 24; ++i)
        teams[i] = static_cast<uint8_t>(i);
    TBytes records = Ms(100);
    for (uint8_t id = 1; id <= 24; ++id)
        records = rec::Join({records, rec::TimeSlot(10, {{id, {0x61, 0x61}}})});
    auto r = Loaded(Teams(teams, rec::Join({records, rec::End()}), 29), 2);
    for (uint8_t id = 1; id <= 24; ++id)
        EXPECT_EQ(PlayerById(*r, id).Actions, 2) << int{id};
    EXPECT_EQ(r->Actions->Count(), 48);
}

TEST(RecordStream, RecordPastTheEndIsAReadError) {
    const TBytes cutChat = {0x20, 1, 50, 0, 0x20, 0, 0, 0, 0, 'h', 'i'};
    const TBytes cutSlot = {0x1F, 20, 0, 100, 0, 1, 30, 0, 0x61};
    const TBytes blockPastSlot = {0x1F, 6, 0, 100, 0, 1, 9, 0, 0x61, 0x00};
    for (const TBytes& bad : {cutChat, cutSlot, blockPastSlot}) {
        TReplaySpec spec = Teams({0, 1}, bad);
        spec.PadLastBlock = false;
        auto r = FromBytes(BuildReplayFile(spec));
        EXPECT_THROW(r->Load(1), TReplayError);
    }
}
