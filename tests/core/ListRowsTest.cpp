#include "TestReplays.h"
#include "TestSystem.h"

#include "core/present/ListRows.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

const TNumberFormat English{",", "."};

std::vector<std::string> Cells(const TPlayerRow& row) {
    std::vector<std::string> cells{row.Caption};
    cells.insert(cells.end(), row.SubItems.begin(), row.SubItems.end());
    return cells;
}

// Human 1 (team 1, leaves after a minute: the computer's team wins), computer (team 2), observer 3,
// an open and a closed slot.
TReplaySpec MixedSlots(uint32_t version, uint16_t build) {
    TReplaySpec spec = OneVersusOne(
        version, rec::Join({rec::TimeSlot(60000, {{1, TBytes(150, 0x61)}}), rec::Leave(1, 8), rec::End()}), build);
    spec.Others = {{3, "Watcher"}};
    spec.Length = 120000;
    TWriterSlot computer;
    computer.Computer = 1;
    computer.Team = 1;
    computer.AiStrength = 2;
    computer.Race = 0x20;
    computer.Color = 1;
    TWriterSlot observer;
    observer.PlayerId = 3;
    observer.Team = 12;
    TWriterSlot open;
    open.Status = 0;
    TWriterSlot closed;
    closed.Status = 1;
    spec.Slots = {spec.Slots[0], computer, observer, open, closed};
    return spec;
}

} // namespace

TEST(ListRows, InformationRows) {
    TReplaySpec spec = OneVersusOne(17, rec::End(), 4531);
    spec.Length = 3723456;
    spec.GameName = "gn";
    spec.MapPath = "Maps\\x.w3m";
    spec.Creator = "cr";
    spec.StartSpots = 4;
    auto r = Loaded(spec, 1);
    r->FileSize = 1234567; // as the header states it, whatever the real size
    const auto rows = InfoRows(*r, English, TLanguage::English);
    const std::vector<std::pair<std::string, std::string>> expected = {{"File Size", "1,234,567 Bytes"},
                                                                       {"Game Version", "War3:TFT 1.17 build 4531"},
                                                                       {"Replay Length", "1hr2min3sec45"},
                                                                       {"Game Name", "gn"},
                                                                       {"Map", "Maps\\x.w3m"},
                                                                       {"Creator", "cr"},
                                                                       {"Game Type", "Custom Game"},
                                                                       {"Start Spot", "4"}};
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Caption, expected[i].first);
        EXPECT_EQ(rows[i].Value.value_or("<none>"), expected[i].second);
    }
    EXPECT_EQ(InfoRows(*r, TNumberFormat{".", ","}, TLanguage::Chinese)[0].Value, "1.234.567 Bytes");
    r->Game.GameType = 5;
    EXPECT_FALSE(InfoRows(*r, English, TLanguage::English)[6].Value.has_value());
}

TEST(ListRows, GameVersionText) {
    struct TCase {
        uint32_t Version;
        const char* Product;
        uint16_t Build;
        const char* Text;
    };
    for (const TCase& c :
         {TCase{6, "W3XP", 4656, "War3:ROC 1.06 build 4656"}, TCase{17, "W3XP", 4531, "War3:TFT 1.17 build 4531"},
          TCase{26, "WAR3", 6059, "War3:ROC 1.26 build 6059"}, TCase{10030, "W3XP", 6061, "War3:TFT 1.30 build 6061"},
          TCase{10100, "W3XP", 6117, "War3:TFT 2.00 build 6117"},
          TCase{0x206F7420, "W3XP", 6059, "War3:TFT 1.26 build 6059"}}) {
        TReplaySpec spec = OneVersusOne(c.Version, rec::End(), c.Build);
        spec.Product = c.Product;
        spec.HeaderVersion = 1;
        EXPECT_EQ(GameVersionText(*Loaded(spec, 0), TLanguage::English), c.Text);
    }
}

TEST(ListRows, PlayerRowsAndOptions) {
    auto r = Loaded(MixedSlots(26, 6059), 1);
    const auto all = PlayerRows(*r, {true, true}, English, TLanguage::English);
    ASSERT_EQ(all.size(), 5u);
    // Collection order: host 1, record 3 (observer), then the synthetic computer, open and closed slots.
    EXPECT_EQ(Cells(all[0]), (std::vector<std::string>{"1", "Alice", "Player", "Human", "1", "100", "151", "151.00",
                                                       "1min0sec0", "Loser", "1"}));
    EXPECT_TRUE(all[0].Checked);
    EXPECT_EQ(Cells(all[1]), (std::vector<std::string>{"2", "Watcher", "Observer"}));
    EXPECT_EQ(Cells(all[2]), (std::vector<std::string>{"3", "Computer(Insane)", "Computer", "Random", "2", "100", "",
                                                       "", "2min0sec0", "Winner", "4"}));
    EXPECT_FALSE(all[2].Checked);
    EXPECT_EQ(all[2].Image, 1);
    EXPECT_EQ(Cells(all[3]), (std::vector<std::string>{"4", "Open"}));
    EXPECT_EQ(Cells(all[4]), (std::vector<std::string>{"5", "Closed"}));

    const auto compact = PlayerRows(*r, {false, false}, English, TLanguage::English);
    ASSERT_EQ(compact.size(), 2u);
    EXPECT_EQ(compact[0].Caption, "1");
    EXPECT_EQ(compact[1].Caption, "3"); // captions keep their collection positions

    const auto chinese = PlayerRows(*r, {true, true}, TNumberFormat{".", ","}, TLanguage::Chinese);
    EXPECT_EQ(chinese[0].SubItems[1], "玩家");
    EXPECT_EQ(chinese[0].SubItems[6], "151,00");
    EXPECT_EQ(chinese[0].SubItems[8], "失败方");
}

TEST(ListRows, OldPatchesShowNoHandicapAndPlainComputers) {
    auto v2 = Loaded(MixedSlots(2, 4531), 1);
    const auto rows = PlayerRows(*v2, {false, false}, English, TLanguage::English);
    EXPECT_EQ(rows[0].SubItems[4], "");
    EXPECT_EQ(rows[1].SubItems[0], "Computer");
    auto v3 = Loaded(MixedSlots(3, 4531), 1);
    EXPECT_EQ(PlayerRows(*v3, {false, false}, English, TLanguage::English)[1].SubItems[0], "Computer(Insane)");
}

TEST(ListRows, ResultsWithoutAWinnerAreDraws) {
    TReplaySpec spec = MixedSlots(26, 6059);
    spec.Records = rec::End();
    auto r = Loaded(spec, 1);
    for (const auto& row : PlayerRows(*r, {}, English, TLanguage::English))
        if (row.FullRow) {
            EXPECT_EQ(row.SubItems[8], "Draw");
        }
}

TEST(ListRows, ShownPlayersAreTheCheckedHumans) {
    auto r = Loaded(MixedSlots(26, 6059), 1);
    auto rows = PlayerRows(*r, {}, English, TLanguage::English);
    TPlayerSet expected;
    expected.set(1);
    EXPECT_EQ(ComputeShownPlayers(rows, TLanguage::English), expected);
    rows[2].Checked = true; // checking the computer changes nothing
    EXPECT_EQ(ComputeShownPlayers(rows, TLanguage::English), expected);
    rows[0].Checked = false;
    EXPECT_TRUE(ComputeShownPlayers(rows, TLanguage::English).none());
    // Rows built in one language are read in that language.
    EXPECT_TRUE(ComputeShownPlayers(PlayerRows(*r, {}, English, TLanguage::English), TLanguage::Chinese).none());
}

TEST(ListRows, Pages) {
    struct TCase {
        int Actions;
        int32_t PerPage;
        int32_t Pages;
    };
    for (const TCase c : {TCase{0, 50, 1}, TCase{1, 50, 1}, TCase{100, 50, 2}, TCase{101, 50, 3}, TCase{10, 0, 10}}) {
        TReplaySpec spec = OneVersusOne(
            26, rec::Join({rec::TimeSlot(10, {{1, TBytes(static_cast<size_t>(c.Actions), 0x61)}}), rec::End()}));
        if (c.Actions == 0)
            spec.Records = rec::End();
        auto r = Loaded(spec, 2);
        EXPECT_EQ(PageCount(*r, c.PerPage), c.Pages) << c.Actions;
    }
    EXPECT_EQ(PageLabel(3, 12, TLanguage::English), "Page:  3/12");
    EXPECT_EQ(PageLabel(1, 1, TLanguage::Chinese), "页码:  1/1");
}

TEST(ListRows, PageRowsFollowTheFilter) {
    // 60 actions of player 1, then 40 of player 2: page 2 of 50 holds 10 of player 1 and 40 of player 2.
    auto r = Loaded(OneVersusOne(26, rec::Join({rec::TimeSlot(1000, {{1, TBytes(60, 0x61)}}),
                                                rec::TimeSlot(1000, {{2, TBytes(40, 0x61)}}), rec::End()})),
                    2);
    TGameTables tables;
    tables.Load(TLanguage::English);
    TPlayerSet both;
    both.set(1).set(2);
    TPlayerSet onlyTwo;
    onlyTwo.set(2);
    EXPECT_EQ(PageRows(*r, 1, 50, both, tables).size(), 50u);
    EXPECT_EQ(PageRows(*r, 2, 50, both, tables).size(), 50u);
    EXPECT_EQ(PageRows(*r, 1, 50, onlyTwo, tables).size(), 0u);
    const auto page2 = PageRows(*r, 2, 50, onlyTwo, tables);
    ASSERT_EQ(page2.size(), 40u);
    EXPECT_EQ(page2[0].Player, "Bob");
    EXPECT_EQ(page2[0].Time, "00:02");
    EXPECT_EQ(page2[0].Action, "ESC pressed");
    EXPECT_TRUE(PageRows(*r, 3, 50, both, tables).empty());
}

#ifndef _WIN32 // Windows takes the separators from the user's locale settings, not from the environment
TEST(ListRows, SystemLocaleWithoutSeparatorsUsesCommaAndPoint) {
    test::TScopedEnvironment locale("LC_ALL", "C.UTF-8");
    const TNumberFormat format = TNumberFormat::FromSystem();
    EXPECT_EQ(format.Thousands, ",");
    EXPECT_EQ(format.Decimal, ".");
    EXPECT_EQ(format.Integer(1234567), "1,234,567");
    EXPECT_EQ(format.Integer(-1000), "-1,000");
    EXPECT_EQ(format.TwoDecimals(123.456), "123.46");
}
#endif

TEST(ListRows, PlayersWithoutSlotRecordsShowWhatIsKnown) {
    // Some ladder replays record no slots: the players still played, with their actions and times.
    TReplaySpec spec = OneVersusOne(18, rec::Join({rec::TimeSlot(1000, {{1, act::Select(1, 2)}}), rec::End()}));
    spec.HasSlotBlock = false;
    spec.Length = 60000;
    auto r = Loaded(spec, 1);
    const auto info = InfoRows(*r, TNumberFormat{}, TLanguage::English);
    ASSERT_EQ(info.size(), 9u);
    EXPECT_EQ(info.back().Caption, "Slots");
    EXPECT_EQ(info.back().Value, "Not recorded: teams, races, colours and the result are unknown");
    const auto rows = PlayerRows(*r, {}, TNumberFormat{}, TLanguage::English);
    ASSERT_EQ(rows.size(), 2u);
    const std::vector<std::string> alice = {"Alice", "Player", "", "", "", "1", "1.00", "1min0sec0", "", "1"};
    EXPECT_EQ(rows[0].SubItems, alice);
    EXPECT_TRUE(rows[0].Checked);
    EXPECT_EQ(rows[0].Image, -1);
    EXPECT_TRUE(ComputeShownPlayers(rows, TLanguage::English).test(1));
}
