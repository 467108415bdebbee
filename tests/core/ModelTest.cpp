#include "TestReplays.h"

#include "core/replay/ReplayModel.h"

using namespace quillon;
using namespace quillon::testing;

TEST(Players, LookupsAnswerFirstMatchOrNotFound) {
    TPlayersInfo players;
    EXPECT_EQ(players.MaxId(), 0); // so the first synthetic id is 1
    players.SetCount(3);
    for (int i = 0; i < 3; ++i) {
        TPlayerInfo p = players.GetItem(i);
        p.Id = static_cast<uint8_t>(i == 2 ? 7 : 200 + i % 2);
        players.SetItem(i, p);
    }
    // ids 200, 201, 7
    EXPECT_EQ(players.IndexOfId(7), 2);
    EXPECT_EQ(players.IndexOfId(9), NotFound);
    EXPECT_EQ(players.MaxId(), 201);
    TPlayerInfo dup = players.GetItem(2);
    dup.Id = 200;
    players.SetItem(2, dup);
    EXPECT_EQ(players.IndexOfId(200), 0);
}

TEST(Players, AddActionIgnoresIndexesOutside) {
    TPlayersInfo players;
    players.SetCount(2);
    players.AddAction(NotFound);
    players.AddAction(-1);
    players.AddAction(2);
    players.AddAction(1);
    EXPECT_EQ(players.GetItem(0).Actions, 0);
    EXPECT_EQ(players.GetItem(1).Actions, 1);
}

TEST(Teams, IndexOfTeamAndCopiesCarryMembers) {
    TTeamsInfo teams;
    teams.SetCount(2);
    TTeamInfo t;
    t.Number = 3;
    t.Count = 2;
    t.Members = {4, 5};
    teams.SetItem(1, t);
    EXPECT_EQ(teams.IndexOfTeam(3), 1);
    EXPECT_EQ(teams.IndexOfTeam(4), NotFound);
    TTeamInfo copy = teams.GetItem(1);
    copy.Members.push_back(6);
    EXPECT_EQ(teams.GetItem(1).Members.size(), 2u);
}

TEST(Actions, CapacityGrowsInStepsOfAThousand) {
    TActionsInfo actions;
    for (int32_t i = 0; i < 1000; ++i)
        actions.SetCount(actions.Count() + 1);
    EXPECT_EQ(actions.Capacity(), 1000);
    actions.SetCount(actions.Count() + 1);
    EXPECT_EQ(actions.Count(), 1001);
    EXPECT_EQ(actions.Capacity(), 2000);
    TActionInfo a;
    a.Kind = 0x10;
    a.Params.Add("x");
    actions.SetItem(1000, a);
    EXPECT_EQ(actions.GetItem(1000).Params[0], "x");
    EXPECT_THROW(actions.GetItem(1001), std::out_of_range);
}

TEST(Params, KeepEveryByteAndLength) {
    TParamList params;
    const std::string zero(1, '\0');
    const std::string longText(70000, 'a'); // longer than a parameter can be: cut, not wrapped
    params.Add(zero);
    params.Add("");
    params.Add("hpea");
    params.Add(std::string(300, 'z'));
    params.Add(longText);
    ASSERT_EQ(params.Count(), 5u);
    EXPECT_EQ(params[0], zero);
    EXPECT_EQ(params[1], "");
    EXPECT_EQ(params[2], "hpea");
    EXPECT_EQ(params[3].size(), 300u);
    EXPECT_EQ(params[4].size(), 0xFFFFu);
    EXPECT_THROW(params[5], std::out_of_range);
}

TEST(Model, DetailDecidesWhetherActionsExist) {
    const TReplaySpec spec = OneVersusOne(26, rec::Join({rec::Chat(1, 0, "hi"), rec::End()}));
    auto d0 = Loaded(spec, 0);
    EXPECT_EQ(d0->Actions, nullptr);
    EXPECT_EQ(d0->WalkEnd.Reason, TWalkEnd::TReason::NotWalked);
    EXPECT_EQ(PlayerById(*d0, 1).Actions, 0);
    auto d1 = Loaded(spec, 1);
    ASSERT_NE(d1->Actions, nullptr);
    EXPECT_EQ(d1->Actions->Count(), 0);
    EXPECT_EQ(PlayerById(*d1, 1).Actions, 1);
    auto d2 = Loaded(spec, 2);
    EXPECT_EQ(d2->Actions->Count(), 1);
}
