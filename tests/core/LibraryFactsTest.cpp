// What the library keeps of how each player's game went, the searches by it, the player profile, and a library
// of the first version brought up to date.
#include "LibraryFolder.h"
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "TestSystem.h"
#include "core/library/LibraryScan.h"
#include "core/library/LibrarySearch.h"
#include "core/library/PlayerFacts.h"
#include "core/library/PlayerProfile.h"
#include "core/library/ProfileHtml.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

int64_t Day(const std::string& date) {
    return *ParseDate(date) + 12 * 3600;
}

class LibraryFactsTest : public TLibraryFolderTest {
protected:
    void WriteGames() {
        for (const TOrderedDuel& g : KnownDuels())
            Write(g.File, BuildReplayFile(OrderedDuelSpec(g)), Day(g.Date));
        // The first game once more, in another file: the profile counts it once.
        Write("copies/1.w3g", BuildReplayFile(OrderedDuelSpec(KnownDuels()[0])), Day(KnownDuels()[0].Date));
    }

    std::set<std::string> Found(TLibrary& library, TLibraryQuery q) {
        q.Limit = -1;
        std::set<std::string> names;
        for (const auto& e : SearchLibrary(library, q))
            if (e.Path.find("copies") == std::string::npos)
                names.insert(fs::path(e.Path).filename().string());
        EXPECT_EQ(CountLibrary(library, q), static_cast<int64_t>(SearchLibrary(library, q).size()));
        return names;
    }
};

} // namespace

// Each player's heroes (a hero cancelled before it came out is none), first buildings, units and research, and
// APM per minute, as scanned and as read back.
TEST_F(LibraryFactsTest, FactsOfEachPlayer) {
    WriteGames();
    TLibrary library(DbPath);
    ASSERT_EQ(ScanFolders(library, {Folder()}, {}).Unreadable, 0u);
    const auto rows = SearchLibrary(library, Query([](TLibraryQuery& q) {
                                        q.Player = "grubby";
                                        q.Sort = TLibrarySort::Date;
                                        q.Descending = false;
                                    }));
    ASSERT_GE(rows.size(), 2u);
    const TPlayerFacts& first = rows[0].Players[0].Facts; // game 1
    EXPECT_EQ(first.Heroes, (std::vector<TLibraryHero>{{"Obla", 1}, {"Ofar", 0}}));
    EXPECT_EQ(first.Opening(), (std::vector<std::string>{"otrb", "oalt", "obar", "otrb"}));
    ASSERT_FALSE(first.Builds.empty());
    EXPECT_EQ(first.Builds[0], (TLibraryBuild{0, "otrb", 10000}));
    EXPECT_EQ(first.Builds.back(), (TLibraryBuild{1, "opeo", 110000}));
    EXPECT_EQ(first.ApmPerMinute.size(), 10u);
    EXPECT_EQ(first.PeakApm, *std::max_element(first.ApmPerMinute.begin(), first.ApmPerMinute.end()));
    const auto& second = rows[2].Players[1].Facts; // game 2: Grubby is the second player
    EXPECT_EQ(second.Heroes, (std::vector<TLibraryHero>{{"Ofar", 0}}));
    EXPECT_EQ(second.Opening(), (std::vector<std::string>{"otrb", "oalt", "obar"}));
}

TEST_F(LibraryFactsTest, SearchByWhatHappened) {
    WriteGames();
    TLibrary library(DbPath);
    ScanFolders(library, {Folder()}, {});
    using Q = TLibraryQuery;
    const TSearchCase cases[] = {
        {"first hero by name start", Query([](Q& q) { q.Own.FirstHero = "blade"; }), {"1.w3g", "3.w3g", "4.w3g"}},
        {"first hero by id", Query([](Q& q) { q.Own.FirstHero = "Edem"; }), {"1.w3g", "2.w3g", "5.w3g"}},
        {"first hero in Chinese", Query([](Q& q) { q.Own.FirstHero = "恶魔猎手"; }), {"1.w3g", "2.w3g", "5.w3g"}},
        {"any hero", Query([](Q& q) { q.Own.Hero = "far seer"; }), {"1.w3g", "2.w3g", "6.w3g"}},
        {"a cancelled hero is none", Query([](Q& q) { q.Own.Hero = "Oshd"; }), {}},
        {"opening in order",
         Query([](Q& q) {
             q.Own.Opening = {"burrow", "altar"};
         }),
         {"1.w3g", "2.w3g", "4.w3g", "6.w3g"}},
        {"opening of three",
         Query([](Q& q) {
             q.Own.Opening = {"otrb", "oalt", "obar"};
         }),
         {"1.w3g", "2.w3g", "4.w3g"}},
        {"any altar first",
         Query([](Q& q) { q.Own.Opening = {"Altar"}; }),
         {"1.w3g", "3.w3g", "4.w3g", "5.w3g", "6.w3g"}},
        {"building in Chinese", Query([](Q& q) { q.Own.Opening = {"风暴祭坛"}; }), {"3.w3g"}},
        {"opening of the player",
         Query([](Q& q) {
             q.Player = "moon";
             q.Own.Opening = {"moon"};
         }),
         {"2.w3g"}},
        {"the example: losses to night elves opening with a demon hunter",
         Query([](Q& q) {
             q.Player = "grubby";
             q.Result = 2;
             q.VsRace = 3;
             q.VsPlay.FirstHero = "Edem";
         }),
         {"2.w3g"}},
        {"wins of a player",
         Query([](Q& q) {
             q.Player = "grubby";
             q.Result = 1;
         }),
         {"1.w3g", "4.w3g"}},
        {"against a named opponent",
         Query([](Q& q) {
             q.Player = "grubby";
             q.Vs = "SKY";
         }),
         {"3.w3g", "4.w3g"}},
        {"the opponent's opening",
         Query([](Q& q) {
             q.Player = "grubby";
             q.VsPlay.Opening = {"farm"};
         }),
         {"3.w3g"}},
        {"the player's own hero, not the opponent's",
         Query([](Q& q) {
             q.Player = "grubby";
             q.Own.FirstHero = "Edem";
         }),
         {}},
        {"APM", Query([](Q& q) { q.Own.MinApm = 50; }), {"5.w3g"}},
        {"the opponent's APM",
         Query([](Q& q) {
             q.Player = "sky";
             q.VsPlay.MinApm = 50;
         }),
         {"5.w3g"}},
        {"a random pick by the race it played",
         Query([](Q& q) {
             q.Race = 1;
             q.VsRace = 4;
         }),
         {"7.w3g"}},
        {"a hero that is no hero", Query([](Q& q) { q.Own.Hero = "x' OR 1=1 --"; }), {}},
        {"a building that is no building",
         Query([](Q& q) {
             q.Own.Opening = {"%", "_"};
         }),
         {}},
    };
    for (const TSearchCase& c : cases)
        EXPECT_EQ(Found(library, c.Query), c.Expected) << c.Name;
}

TEST(LibraryObjects, NamesStandForIds) {
    EXPECT_EQ(MatchObjectIds(TObjectKind::Hero, "Obla"), std::vector<std::string>{"Obla"});
    EXPECT_EQ(MatchObjectIds(TObjectKind::Hero, "mountain"), (std::vector<std::string>{"Hmbr", "Hmkg"}));
    EXPECT_EQ(MatchObjectIds(TObjectKind::Building, "风暴祭坛"), std::vector<std::string>{"oalt"});
    EXPECT_EQ(MatchObjectIds(TObjectKind::Building, "Orc Burrow"), (std::vector<std::string>{"ocbw", "otrb"}));
    EXPECT_TRUE(MatchObjectIds(TObjectKind::Hero, "otrb").empty());      // a building is no hero
    EXPECT_TRUE(MatchObjectIds(TObjectKind::Building, "urrow").empty()); // a word's start, not its middle
    EXPECT_TRUE(MatchObjectIds(TObjectKind::Building, "").empty());
    TPlayFilter filter;
    filter.Opening = {"otrb", "nothing"};
    EXPECT_EQ(UnknownObject(filter), "nothing");
}

// Every count of a profile, from games whose every order is known.
TEST_F(LibraryFactsTest, Profile) {
    WriteGames();
    TLibrary library(DbPath);
    ScanFolders(library, {Folder()}, {});
    const TPlayerProfile p = PlayerProfile(library, {"GRUBBY"});
    EXPECT_EQ(p.Names, std::vector<std::string>{"Grubby"});
    EXPECT_EQ(p.Overall, (TRecord{4, 2, 2})); // the copy of game 1 counts once
    EXPECT_EQ(p.ByRace, (std::vector<TKeyedRecord<int>>{{2, {4, 2, 2}}}));
    EXPECT_EQ(p.ByOpponentRace, (std::vector<TKeyedRecord<int>>{{1, {2, 1, 1}}, {3, {2, 1, 1}}}));
    EXPECT_EQ(p.ByMap,
              (std::vector<TKeyedRecord<std::string>>{{"(2)EchoIsles", {2, 2, 0}}, {"(4)TwistedMeadows", {2, 0, 2}}}));
    EXPECT_EQ(p.ByPatch, (std::vector<TKeyedRecord<std::string>>{{"1.26", {4, 2, 2}}}));
    EXPECT_EQ(p.Opponents, (std::vector<TKeyedRecord<std::string>>{{"Moon", {2, 1, 1}}, {"Sky", {2, 1, 1}}}));
    EXPECT_EQ(p.Heroes, (std::vector<THeroUse>{{"Obla", 3, {3, 2, 1}}, {"Ofar", 2, {1, 0, 1}}}));
    EXPECT_EQ(p.Openings,
              (std::vector<TKeyedRecord<std::vector<std::string>>>{{{"otrb", "oalt", "obar", "otrb"}, {2, 2, 0}},
                                                                   {{"oalt", "otrb"}, {1, 0, 1}},
                                                                   {{"otrb", "oalt", "obar"}, {1, 0, 1}}}));
    ASSERT_EQ(p.ApmByMonth.size(), 3u);
    EXPECT_EQ(p.ApmByMonth[0].Month, "2026-01");
    EXPECT_EQ(p.ApmByMonth[1].Month, "2026-02");
    EXPECT_EQ(p.ApmByMonth[1].Games, 2);
    EXPECT_LE(p.ApmByMonth[1].Lowest, p.ApmByMonth[1].Median);
    EXPECT_LE(p.ApmByMonth[1].Median, p.ApmByMonth[1].Highest);

    // Two accounts as one player; nobody by a name nobody has.
    const TPlayerProfile merged = PlayerProfile(library, {"grubby", "lyn"});
    EXPECT_EQ(merged.Names, (std::vector<std::string>{"Grubby", "Lyn"}));
    EXPECT_EQ(merged.Overall, (TRecord{5, 3, 2}));
    EXPECT_EQ(PlayerProfile(library, {"nobody"}).Overall, TRecord{});
    // A random pick counts as the race it played, for itself and for its opponent.
    EXPECT_EQ(PlayerProfile(library, {"rnd"}).ByRace, (std::vector<TKeyedRecord<int>>{{1, {1, 1, 0}}}));
    EXPECT_EQ(PlayerProfile(library, {"foe"}).ByOpponentRace, (std::vector<TKeyedRecord<int>>{{1, {1, 0, 1}}}));
    EXPECT_EQ(PlayerProfile(library, {}).Overall, TRecord{});
}

// The page holds the three charts and escapes what the replays name.
TEST_F(LibraryFactsTest, ProfilePage) {
    TReplaySpec spec = OrderedDuelSpec(KnownDuels()[0]);
    spec.Host.Name = "<b>Grubby</b>";
    Write("hostile.w3g", BuildReplayFile(spec), Day("2026-05-01"));
    TLibrary library(DbPath);
    ScanFolders(library, {Folder()}, {});
    const std::string page = ProfileHtml(PlayerProfile(library, {"<b>"}), {"<b>"}, TLanguage::Chinese);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_NE(page.find("&lt;b&gt;Grubby"), std::string::npos);
    for (const char* part :
         {"class=\"matchups\"", "class=\"apm-median\"", "class=\"heroes\"", "剑圣", "lang=\"zh-CN\""})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    EXPECT_EQ(page.find("<script"), std::string::npos);
}

TEST(LibraryFactsCoding, BlobsSurviveAndDamagedOnesEndEarly) {
    // Times to a tenth of a second, in any order.
    const std::vector<TLibraryBuild> builds = {
        {0, "otrb", 0}, {1, "opeo", 1234500}, {1, "opeo", 700}, {3, "Ropg", (1ll << 40) / 100 * 100}};
    EXPECT_EQ(DecodeBuilds(EncodeBuilds(builds)), builds);
    EXPECT_EQ(DecodeBuilds(EncodeBuilds({{0, "otrb", 1299}}))[0].Time, 1200);
    std::string cut = EncodeBuilds(builds);
    cut.pop_back();
    EXPECT_EQ(DecodeBuilds(cut), (std::vector<TLibraryBuild>{builds[0], builds[1], builds[2]}));
    const std::vector<int32_t> minutes = {0, 1, 127, 128, 300000};
    EXPECT_EQ(DecodeMinutes(EncodeMinutes(minutes)), minutes);
    EXPECT_EQ(DecodeMinutes(std::string(20, '\xFF')), std::vector<int32_t>{}); // never ends: nothing
    EXPECT_EQ(ParseHeroesText(HeroesText({{"Obla", 5}, {"Ofar", 0}})),
              (std::vector<TLibraryHero>{{"Obla", 5}, {"Ofar", 0}}));
}

// A library the first version made: every row kept, the facts filled at the next scan, and only then.
TEST_F(LibraryFactsTest, FirstVersionLibraryIsBroughtUpToDate) {
    // Made by quillon-cli library add over three files in /tmp/quillon-v1-fixture/games (see tests/data/README).
    fs::copy_file(QUILLON_TEST_DATA_DIR "/library-v1.sqlite", DbPath);
    const std::string games = (Root / "games").string();
    fs::create_directories(games);
    {
        // The rows' folder becomes this test's, written as the library writes paths on this system.
        TSqlite db(DbPath, TSqlite::TOpen::ReadWrite);
        TSqlStatement(db, "UPDATE replays SET path = replace(path, ?1, ?2)")
            .Bind(1, "/tmp/quillon-v1-fixture/games/")
            .Bind(2, PathPrefixOf(LibraryFolderKey(games)))
            .Run();
    }
    const auto write = [&games](const std::string& name, const TBytes& bytes, int64_t modified) {
        std::ofstream(fs::path(games) / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        test::SetModifiedTime(fs::path(games) / name, modified);
    };
    const TBytes duel = BuildReplayFile(PlausibleDuelSpec());
    write("duel.w3g", duel, 1772366400);
    write("duel-copy.w3g", duel, 1775134800);
    write("broken.w3g", TBytes{'n', 'o', 't', ' ', 'a', ' ', 'r', 'e', 'p', 'l', 'a', 'y'}, 1775221200);

    TLibrary library(DbPath);
    TSqlStatement version(library.Db(), "PRAGMA user_version");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.Int(0), TLibrary::SchemaVersion);
    TLibraryQuery all;
    all.WithUnreadable = true;
    EXPECT_EQ(CountLibrary(library, all), 3);
    const auto before = SearchLibrary(library, Query([](TLibraryQuery& q) { q.Player = "jaina"; }));
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0].Players[0].Apm, before[1].Players[0].Apm);
    EXPECT_TRUE(before[0].Players[0].Facts.Heroes.empty());
    EXPECT_TRUE(Found(library, Query([](TLibraryQuery& q) { q.Own.FirstHero = "Archmage"; })).empty());

    const TScanResult scan = ScanFolders(library, {games}, {});
    EXPECT_EQ(scan.Indexed, 3u); // the same size and time, but made before the facts were kept
    EXPECT_EQ(scan.Removed, 0u);
    const auto after = SearchLibrary(library, Query([](TLibraryQuery& q) { q.Own.FirstHero = "Archmage"; }));
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].Id, before[0].Id); // the same rows, not new ones
    EXPECT_EQ(after[0].Players[0].Facts.Heroes.front().Id, "Hamg");
    EXPECT_EQ(ScanFolders(library, {games}, {}).Unchanged, 3u);
}
