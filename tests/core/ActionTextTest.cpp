#include "TestReplays.h"
#include "TestTables.h"

#include "core/present/ActionText.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

const TGameTables& Tables(TLanguage language) {
    return quillon::testing::TablesIn(language);
}

TActionInfo Action(uint8_t kind, std::vector<std::string> params, uint8_t playerId = 1) {
    TActionInfo a;
    a.Kind = kind;
    a.PlayerId = playerId;
    for (const auto& p : params)
        a.Params.Add(p);
    return a;
}

// A replay of the given patch whose player 2 is Bob, for the texts that read the version or names.
std::unique_ptr<TReplayInfo> ReplayOf(uint32_t version, uint16_t build = 6059) {
    return Loaded(OneVersusOne(version, rec::End(), build), 0);
}

std::string Text(const TActionInfo& a, const TReplayInfo& r, TLanguage language = TLanguage::English) {
    return ActionText(a, r, Tables(language), TPlayerNames(r));
}

const std::string B0(1, '\0'), B1(1, '\x01'), B2(1, '\x02'), B4(1, '\x04');

} // namespace

TEST(ActionText, KindsOfTheClassicPatches) {
    auto r = ReplayOf(12, 6036);
    struct TCase {
        TActionInfo Action;
        const char* Text;
    };
    const TCase cases[] = {
        {Action(1, {}), "Pause Game"},
        {Action(2, {}), "Resume Game"},
        {Action(3, {B0}), "Set game speed to slow"},
        {Action(3, {B1}), "Set game speed to normal"},
        {Action(3, {B2}), "Set game speed to fast"},
        {Action(3, {}), "Set game speed"},
        {Action(4, {}), "Increase game speed"},
        {Action(5, {}), "Decrease game speed"},
        {Action(6, {"my save"}), "Save game with name: my save"},
        {Action(6, {}), "Save game"},
        {Action(16, {"1", "hfoo"}), "Train: Footman"},
        {Action(16, {"1", "0003"}), "Right Click"},
        {Action(16, {"1"}), "Use normal ability"},
        {Action(17, {"", "AHbz", "0", "0"}), "Use ability: Blizzard"},
        {Action(17, {}), "Use special ability"},
        {Action(18, {"", "0079", "1", "2", "a", "b"}), "Use ability: Blizzard with target"},
        {Action(18, {}), "Use ability with target"},
        {Action(19, {"", "0022"}), "Put Item 7"},
        {Action(19, {}), "Put item"},
        {Action(20, {"", "AEer"}), "Use ability: Entangling Roots with target"},
        {Action(22, {B1, "a", "b", "c", "d", "e", "f"}), "Add 3 unit(s) to selection"},
        {Action(22, {B0}), "Select 0 unit(s)"},
        {Action(22, {B2, "a", "b"}), "Remove 1 unit(s) from selection"},
        {Action(22, {}), "Change selection"},
        {Action(23, {B0, "a", "b", "c", "d"}), "Assign 2 unit(s) to hotkey 1"},
        {Action(23, {}), "Assign hotkey"},
        {Action(24, {B4}), "Select group hotkey 5"},
        {Action(24, {}), "Select group hotkey"},
        {Action(25, {B2}), "Select subgroup 3"},
        {Action(27, {"ankh", "ankh"}), "Select Item: Ankh of Reincarnation"},
        {Action(27, {}), "Select Item"},
        {Action(29, {"hfoo"}), "Remove Unit from building queue"},
        {Action(32, {"0", "gg"}), "Chat: gg"},
        {Action(32, {}), "Chat"},
        {Action(33, {"0"}), "Disconnect"},
        {Action(33, {"2"}), "Eventually win"},
        {Action(33, {"1"}), "Quit Game"},
        {Action(33, {}), "Quit Game"},
        {Action(34, {}), "Use cheat code: SomebodySetUpUsTheBomb"},
        {Action(39, {"500"}), "Use cheat code: KeyserSoze 500"},
        {Action(39, {}), "Use cheat code: KeyserSoze"},
        {Action(51, {}), "Use cheat code: TheDudeAbides"},
        {Action(81, {B1, "100", "50"}), "Give player Bob 100 golds and 50 lumber"},
        {Action(81, {B1}), "Give resource to other player"},
        {Action(97, {}), "ESC pressed"},
        {Action(102, {}), "Enter select hero skill submenu"},
        {Action(103, {}), "Enter select building submenu"},
        {Action(104, {"1", "2"}), "Minimap signal"},
        {Action(0, {}), ""},
        {Action(7, {}), ""},
        {Action(26, {}), ""},
        {Action(28, {"Hpal", "Hpal"}), ""}, // 0x1C, cancel hero revival: no words for it
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int{c.Action.Kind});
        EXPECT_EQ(Text(c.Action, *r), c.Text);
    }
}

TEST(ActionText, SubmenusAndSignalByPatch) {
    auto v6 = ReplayOf(6, 4656);
    auto v7 = ReplayOf(7, 6031);
    EXPECT_EQ(Text(Action(101, {}), *v6), "Enter select hero skill submenu");
    EXPECT_EQ(Text(Action(102, {}), *v6), "Enter select building submenu");
    EXPECT_EQ(Text(Action(103, {"1", "2"}), *v6), "Minimap signal");
    EXPECT_EQ(Text(Action(104, {}), *v6), "");
    EXPECT_EQ(Text(Action(104, {"1", "2"}), *v7), "Minimap signal");
}

TEST(ActionText, RenumberedKindsOf114bAreNamedByMeaning) {
    auto r = ReplayOf(26);
    EXPECT_EQ(Text(Action(0x1C, {"ankh", "ankh"}), *r), "Select Item: Ankh of Reincarnation");
    EXPECT_EQ(Text(Action(0x1E, {"hfoo"}), *r), "Remove Unit from building queue");
    EXPECT_EQ(Text(Action(0x1B, {}), *r), ""); // a selection echo
    EXPECT_EQ(Text(Action(0x1D, {"Hpal", "Hpal"}), *r), "");
}

TEST(ActionText, ChineseTexts) {
    auto r = ReplayOf(26);
    EXPECT_EQ(Text(Action(18, {"", "0079"}), *r, TLanguage::Chinese), "使用技能: 暴风雪 ");
    EXPECT_EQ(Text(Action(23, {B0, "a", "b", "c", "d"}), *r, TLanguage::Chinese), "将2个单位编入编队1");
    EXPECT_EQ(Text(Action(16, {"1", "hfoo"}), *r, TLanguage::Chinese), "训练: 步兵");
}

TEST(ActionText, CheatPhrases) {
    const std::pair<uint8_t, const char*> cases[] = {
        {34, "SomebodySetUpUsTheBomb"},   {38, "WhosYourDaddy"}, {43, "itvexesme"}, {45, "GreedIsGood"},
        {50, "AllYourBaseAreBelongToUs"}, {51, "TheDudeAbides"}, {33, ""},          {52, ""}};
    for (auto [kind, phrase] : cases)
        EXPECT_EQ(CheatName(kind), phrase) << int{kind};
}

TEST(ActionText, CellsNamePlayersUpToIdTwentyFour) {
    TReplaySpec spec = OneVersusOne(29, rec::End(), 6060);
    spec.Others.push_back({24, "Observer24"});
    TWriterSlot s;
    s.PlayerId = 24;
    s.Team = 24;
    spec.Slots.push_back(s);
    auto r = Loaded(spec, 0);
    const TPlayerNames names(*r);
    TActionInfo a = Action(0x21, {"1"}, 24);
    a.Time = 3723456;
    const TActionCells cells = ActionCells(a, *r, Tables(TLanguage::English), names);
    EXPECT_EQ(cells.Player, "Observer24");
    EXPECT_EQ(cells.Time, "01:02:03");
    EXPECT_EQ(cells.Action, "Quit Game");
    EXPECT_EQ(names.Name(25), "");
    EXPECT_EQ(names.Name(0), "");
}
