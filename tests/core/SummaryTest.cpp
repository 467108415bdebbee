// The replay summary: APM per minute, build orders, heroes and their skills, chat and leaves.
#include "TestReplays.h"

#include "core/summary/HeroSkills.h"
#include "core/summary/ReplaySummary.h"
#include "core/summary/SummaryWords.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::testing::act;

namespace {

constexpr uint32_t Patch = 26;

// A record stream written in game time: each call adds what happens at an absolute time.
class TScript {
public:
    TScript& At(int64_t ms, uint8_t player, TBytes actions) {
        Advance(ms);
        Records = rec::Join({Records, rec::TimeSlot(0, {{player, std::move(actions)}})});
        return *this;
    }
    TScript& Record(int64_t ms, TBytes record) {
        Advance(ms);
        Records = rec::Join({Records, std::move(record)});
        return *this;
    }
    TBytes Done() const { return rec::Join({Records, rec::End()}); }

private:
    void Advance(int64_t ms) {
        while (Now < ms) {
            const auto step = static_cast<uint16_t>(std::min<int64_t>(ms - Now, 60000));
            Records = rec::Join({Records, rec::TimeSlot(step, {})});
            Now += step;
        }
    }
    TBytes Records;
    int64_t Now = 0;
};

TBytes Train(const char (&id)[5]) {
    return OrderNoTarget(Patch, id);
}
TBytes Place(const char (&id)[5]) {
    return OrderPoint(Patch, id, 100, 200);
}
TBytes Unqueue(const char (&id)[5]) {
    return rec::Join({Bytes({0x1E, 0x01}), Id(id)});
}

TReplaySummary Summarize(const TScript& script, int32_t length = 300000, TLanguage language = TLanguage::English) {
    TReplaySpec spec = OneVersusOne(Patch, script.Done());
    spec.Length = length;
    auto replay = Loaded(spec, 2);
    TGameTables tables;
    tables.Load(language);
    return SummarizeReplay(*replay, tables);
}

struct TStep {
    int64_t Time;
    TBuildKind Kind;
    std::string Id;
    std::string Name;
    bool Cancelled;
};

std::vector<TStep> Steps(const TPlayerSummary& p) {
    std::vector<TStep> out;
    for (const auto& b : p.Builds)
        out.push_back({b.Time, b.Kind, b.Id, b.Name, b.Cancelled});
    return out;
}

bool operator==(const TStep& a, const TStep& b) {
    return a.Time == b.Time && a.Kind == b.Kind && a.Id == b.Id && a.Name == b.Name && a.Cancelled == b.Cancelled;
}

void PrintTo(const TStep& s, std::ostream* os) {
    *os << s.Time << " " << s.Id << " " << s.Name << (s.Cancelled ? " cancelled" : "");
}

} // namespace

TEST(Summary, BuildOrderListsEveryKindInTimeOrderAndMarksCancelledItems) {
    using K = TBuildKind;
    TScript s;
    s.At(1000, 1, Train("hpea"))
        .At(2000, 1, Place("halt"))
        .At(3000, 1, Train("Rhme"))
        .At(3150, 1, Train("Rhme")) // a repeated click on the research
        .At(4000, 1, Train("hfoo"))
        .At(4100, 1, Train("hfoo")) // two footmen queued
        .At(4500, 1, Unqueue("hfoo"))
        .At(5000, 1, Train("Hamg"))
        .At(5150, 1, Train("Hamg")) // the hero once
        .At(6000, 1, Train("hkee"))
        .At(6100, 1, Train("hkee"))                   // a repeated click on the upgrade of the hall
        .At(7000, 1, OrderPoint(Patch, "0003", 5, 5)) // a right click is no build step
        .At(8000, 1, Train("ankh"))                   // nor is an item bought
        .At(9000, 2, Train("opeo"))
        .At(70000, 1, Train("Rhme")); // the next level, a minute later
    const TReplaySummary sum = Summarize(s);
    ASSERT_EQ(sum.Players.size(), 2u);
    const std::vector<TStep> first = {
        {1000, K::Unit, "hpea", "Peasant", false},          {2000, K::Building, "halt", "Altar of Kings", false},
        {3000, K::Upgrade, "Rhme", "Forged Swords", false}, {4000, K::Unit, "hfoo", "Footman", false},
        {4100, K::Unit, "hfoo", "Footman", true},           {5000, K::Hero, "Hamg", "Archmage", false},
        {6000, K::Building, "hkee", "Keep", false},         {70000, K::Upgrade, "Rhme", "Forged Swords", false}};
    EXPECT_EQ(Steps(sum.Players[0]), first);
    EXPECT_EQ(Steps(sum.Players[1]), (std::vector<TStep>{{9000, K::Unit, "opeo", "Peon", false}}));
}

TEST(Summary, NamesFollowTheLanguage) {
    TScript s;
    s.At(1000, 1, Train("hfoo")).At(2000, 1, Train("Hpal")).At(3000, 1, Train("AHhb"));
    const TReplaySummary sum = Summarize(s, 300000, TLanguage::Chinese);
    ASSERT_EQ(sum.Players[0].Builds.size(), 2u);
    EXPECT_EQ(sum.Players[0].Builds[0].Name, "步兵");
    EXPECT_EQ(sum.Players[0].Heroes.at(0).Name, "圣骑士");
    EXPECT_EQ(sum.Players[0].Heroes.at(0).Skills.at(0).Name, "神圣之光");
    EXPECT_EQ(BuildKindText(TBuildKind::Upgrade, TLanguage::Chinese), "研究");
}

namespace {

struct TSkill {
    std::string Id;
    int SkillLevel;
    int HeroLevel;
    bool operator==(const TSkill&) const = default;
};

struct THero {
    std::string Id;
    bool FromTavern;
    bool TrainingSeen;
    bool Cancelled;
    std::vector<TSkill> Skills;
    bool operator==(const THero&) const = default;
};

void PrintTo(const THero& h, std::ostream* os) {
    *os << h.Id << (h.FromTavern ? " tavern" : "") << (h.TrainingSeen ? "" : " from map")
        << (h.Cancelled ? " cancelled" : "") << ":";
    for (const auto& k : h.Skills)
        *os << " " << k.Id << "/" << k.SkillLevel << "@" << k.HeroLevel;
}

std::vector<THero> Heroes(const TPlayerSummary& p) {
    std::vector<THero> out;
    for (const auto& h : p.Heroes) {
        THero hero{h.Id, h.FromTavern, h.TrainingSeen, h.Cancelled, {}};
        for (const auto& k : h.Skills)
            hero.Skills.push_back({k.Id, k.SkillLevel, k.HeroLevel});
        out.push_back(hero);
    }
    return out;
}

} // namespace

TEST(Summary, HeroesTakeTheirSkillsByTheGamesLevelRules) {
    TScript s;
    s.At(1000, 1, Train("Hamg"))
        .At(2000, 1, Train("AHbz"))
        .At(2100, 1, Train("AHbz")) // level 2 of Blizzard needs hero level 3: a repeated click
        .At(3000, 1, Train("AHwe"))
        .At(4000, 1, Train("AHmt")) // the ultimate needs level 6
        .At(5000, 1, Train("AHbz"))
        .At(6000, 1, Train("Hmkg"))
        .At(6500, 1, Train("AHtb")) // the Mountain King's skill goes to him, not to the Archmage
        .At(7000, 1, Train("AHab"))
        .At(8000, 1, Train("AHab"))
        .At(9000, 1, Train("AHmt")) // level 6 now
        .At(10000, 2, Train("Nngs"))
        .At(10500, 2, Train("ANfl"))
        .At(11000, 2, Train("AOcr")) // a Blademaster nobody trained: the map gave it
        .At(12000, 2, Train("Otch"))
        .At(12500, 2, Unqueue("Otch"))
        .At(13000, 2, Train("Otch")); // trained again after the cancel
    const TReplaySummary sum = Summarize(s);
    EXPECT_EQ(Heroes(sum.Players[0]),
              (std::vector<THero>{
                  {"Hamg",
                   false,
                   true,
                   false,
                   {{"AHbz", 1, 1}, {"AHwe", 1, 2}, {"AHbz", 2, 3}, {"AHab", 1, 4}, {"AHab", 2, 5}, {"AHmt", 1, 6}}},
                  {"Hmkg", false, true, false, {{"AHtb", 1, 1}}}}));
    EXPECT_EQ(Heroes(sum.Players[1]), (std::vector<THero>{{"Nngs", true, true, false, {{"ANfl", 1, 1}}},
                                                          {"Obla", false, false, false, {{"AOcr", 1, 1}}},
                                                          {"Otch", false, true, true, {}},
                                                          {"Otch", false, true, false, {}}}));
    EXPECT_EQ(sum.Players[1].Heroes[1].Time, 11000);
}

TEST(Summary, SkillLevelGates) {
    const THeroSkillRule normal{"Hamg", false}, ultimate{"Hamg", true};
    struct TCase {
        const THeroSkillRule& Rule;
        int SkillLevel, HeroLevel;
        bool Allowed;
    } cases[] = {{normal, 1, 1, true},    {normal, 2, 2, false},  {normal, 2, 3, true},
                 {normal, 3, 4, false},   {normal, 3, 5, true},   {normal, 4, 10, false},
                 {ultimate, 1, 5, false}, {ultimate, 1, 6, true}, {ultimate, 2, 10, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.SkillLevel) + " at " + std::to_string(c.HeroLevel));
        EXPECT_EQ(SkillLevelAllowed(c.Rule, c.SkillLevel, c.HeroLevel), c.Allowed);
    }
    EXPECT_FALSE(HeroSkillRule("ahbz")); // ids keep their letter case
    EXPECT_TRUE(HeroSkillRule("AHmt")->Ultimate);
}

TEST(Summary, ChatOnEveryChannelWithTheAddresseeOfPrivateMessages) {
    TScript s;
    s.Record(1000, rec::Chat(1, 0, "gl hf"))
        .Record(2000, rec::Chat(2, 1, "rush him"))
        .Record(3000, rec::Chat(1, 2, "for the observers"))
        .Record(4000, rec::Chat(1, 3 + 1, "psst")) // slot 1 is Bob
        .Record(5000, rec::Chat(2, 3 + 9, "to an empty slot"))
        .Record(6000, rec::Chat(2, 0, "\xE4\xBD\xA0\xE5\xA5\xBD"));
    const TReplaySummary sum = Summarize(s);
    struct TLine {
        int64_t Time;
        std::string Sender;
        TChatChannel Channel;
        uint8_t To;
        std::string Text;
    };
    const std::vector<TLine> expected = {{1000, "Alice", TChatChannel::All, 0, "gl hf"},
                                         {2000, "Bob", TChatChannel::Allies, 0, "rush him"},
                                         {3000, "Alice", TChatChannel::Observers, 0, "for the observers"},
                                         {4000, "Alice", TChatChannel::Private, 2, "psst"},
                                         {5000, "Bob", TChatChannel::Private, 0, "to an empty slot"},
                                         {6000, "Bob", TChatChannel::All, 0, "你好"}};
    ASSERT_EQ(sum.Chat.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].Text);
        EXPECT_EQ(sum.Chat[i].Time, expected[i].Time);
        EXPECT_EQ(sum.Chat[i].Sender, expected[i].Sender);
        EXPECT_EQ(sum.Chat[i].Channel, expected[i].Channel);
        EXPECT_EQ(sum.Chat[i].ToPlayerId, expected[i].To);
        EXPECT_EQ(sum.Chat[i].Text, expected[i].Text);
    }
    EXPECT_EQ(sum.Chat[3].To, "Bob");
}

TEST(Summary, LeavesWithTheirResults) {
    TScript s;
    s.Record(100000, rec::Leave(2, 1)).Record(150000, rec::Leave(1, 8)).Record(151000, rec::Leave(3, 11));
    const TReplaySummary sum = Summarize(s);
    ASSERT_EQ(sum.Leaves.size(), 3u);
    EXPECT_EQ(sum.Leaves[0].Time, 100000);
    EXPECT_EQ(sum.Leaves[0].Name, "Bob");
    EXPECT_EQ(sum.Leaves[0].Result, TLeaveResult::Disconnect);
    EXPECT_EQ(sum.Leaves[1].Name, "Alice");
    EXPECT_EQ(sum.Leaves[1].Result, TLeaveResult::Quit);
    EXPECT_EQ(sum.Leaves[2].PlayerId, 3); // an id without a player record still shows
    EXPECT_EQ(sum.Leaves[2].Name, "");
    EXPECT_EQ(sum.Leaves[2].Result, TLeaveResult::Win);
}

TEST(Summary, ApmCountsEveryActionOfTheMinuteItHappenedIn) {
    TScript s;
    s.At(0, 1, SelectGroup(1))
        .At(59999, 1, rec::Join({SelectGroup(1), SelectGroup(2)}))
        .At(60000, 1, SelectGroup(1))
        .Record(61000, rec::Chat(1, 0, "chat counts as the Actions column counts it"))
        .At(150000, 2, SelectGroup(3));
    TReplaySpec spec = OneVersusOne(Patch, s.Done());
    spec.Length = 180000;
    auto replay = Loaded(spec, 2);
    TGameTables tables;
    tables.Load(TLanguage::English);
    const TReplaySummary sum = SummarizeReplay(*replay, tables);
    EXPECT_EQ(sum.MinuteCount, 3);
    EXPECT_EQ(sum.Players[0].Apm.PerMinute, (std::vector<int32_t>{3, 2, 0}));
    EXPECT_EQ(sum.Players[0].Apm.PeakMinute, 0);
    EXPECT_EQ(sum.Players[0].Apm.Total, PlayerById(*replay, 1).Actions);
    EXPECT_EQ(sum.Players[1].Apm.PerMinute, (std::vector<int32_t>{0, 0, 1}));
    EXPECT_EQ(sum.Players[1].Apm.PeakMinute, 2);
}

TEST(Summary, WithoutTheActionListOnlyThePlayersAreThere) {
    TScript s;
    s.At(1000, 1, Train("hfoo")).Record(2000, rec::Chat(1, 0, "hi"));
    TReplaySpec spec = OneVersusOne(Patch, s.Done());
    auto replay = Loaded(spec, 1);
    TGameTables tables;
    tables.Load(TLanguage::English);
    const TReplaySummary sum = SummarizeReplay(*replay, tables);
    ASSERT_EQ(sum.Players.size(), 2u);
    EXPECT_TRUE(sum.Players[0].Builds.empty());
    EXPECT_TRUE(sum.Chat.empty());
    EXPECT_EQ(sum.Players[0].Apm.PeakMinute, -1);
}

TEST(Summary, SparklineScalesToThePeak) {
    EXPECT_EQ(Sparkline({0, 1, 4, 8}, 8), " ▁▄█");
    EXPECT_EQ(Sparkline({3, 3}, 0), "  ");
    EXPECT_EQ(Sparkline({}, 5), "");
}

TEST(Summary, OrdersOfIdsNoCatalogueKnowsAreLeftOut) {
    // The first id looked up decides nothing by itself: four zero bytes once crashed the catalogue's cache.
    const struct {
        const char* Name;
        TBytes First;
    } cases[] = {
        {"four zero bytes", Train("\0\0\0\0")},
        {"four 0xFF bytes", Train("\xFF\xFF\xFF\xFF")},
        {"an unknown letter id", Train("zzzz")},
        {"an order code", Train("0003")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TScript s;
        s.At(1000, 1, c.First).At(2000, 1, Train("\0\0\0\0")).At(3000, 1, Train("hpea"));
        const TReplaySummary sum = Summarize(s);
        ASSERT_EQ(sum.Players.size(), 2u);
        ASSERT_EQ(sum.Players[0].Builds.size(), 1u);
        EXPECT_EQ(sum.Players[0].Builds[0].Id, "hpea");
        EXPECT_EQ(sum.Players[0].Apm.Total, 3);
    }
}
