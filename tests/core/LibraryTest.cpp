// The replay library: scanning folders into SQLite, searching, and what it does with files it cannot use.
#include "LibraryFolder.h"
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "core/library/LibraryRows.h"
#include "core/library/LibraryScan.h"
#include "core/library/LibrarySearch.h"

#include "TestSystem.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <tuple>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

struct TGame {
    std::string File;
    std::string Winner;
    uint8_t WinnerRace; // slot race flags: 0x01 human, 0x02 orc, 0x04 night elf, 0x08 undead
    std::string Loser;
    uint8_t LoserRace;
    std::string Map;
    int Minutes;
    std::string Date;
};

// Known games: who played what, where, when.
const TGame Games[] = {
    {"a/1.w3g", "Grubby", 0x02, "Moon", 0x04, "Maps\\(2)EchoIsles.w3x", 12, "2026-01-05"},
    {"a/2.w3g", "Moon", 0x04, "Grubby", 0x02, "Maps\\(4)TwistedMeadows.w3x", 25, "2026-02-10"},
    {"a/b/3.w3g", "Sky", 0x01, "Grubby", 0x02, "Maps\\(4)TwistedMeadows.w3x", 8, "2026-03-15"},
    {"a/b/4.w3g", "Grubby", 0x02, "TH000", 0x01, "Maps\\(2)EchoIsles.w3x", 31, "2026-03-20"},
    {"c/5.w3g", "Lyn", 0x02, "Moon", 0x04, "Maps\\(8)Mur'galOasis.w3x", 18, "2025-12-31"},
    {"c/6.w3g", "GrubbyFan", 0x08, "Sky", 0x01, "Maps\\(4)TwistedMeadows.w3x", 40, "2026-04-01"},
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary); // closed before anything else may remove the file
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

int64_t Day(const std::string& date) {
    return *ParseDate(date) + 12 * 3600; // noon of that day
}

class LibraryTest : public TLibraryFolderTest {
protected:
    void WriteGames() {
        for (const TGame& g : Games) {
            TReplaySpec spec = DuelSpec(g.Winner, g.Loser);
            spec.Slots[0].Race = g.WinnerRace;
            spec.Slots[1].Race = g.LoserRace;
            spec.MapPath = g.Map;
            spec.Length = g.Minutes * 60000;
            Write(g.File, BuildReplayFile(spec), Day(g.Date));
        }
    }

    std::set<std::string> Found(TLibrary& library, TLibraryQuery q) {
        q.Limit = -1;
        std::set<std::string> names;
        for (const auto& e : SearchLibrary(library, q))
            names.insert(fs::relative(e.Path, Folder()).generic_string());
        return names;
    }
};

} // namespace

TEST_F(LibraryTest, SearchCases) {
    WriteGames();
    TLibrary library(DbPath);
    const TScanResult scan = ScanFolders(library, {Folder()}, {});
    ASSERT_EQ(scan.Indexed, std::size(Games));
    ASSERT_EQ(scan.Unreadable, 0u);
    using Q = TLibraryQuery;
    const TSearchCase cases[] = {
        {"everything", {}, {"a/1.w3g", "a/2.w3g", "a/b/3.w3g", "a/b/4.w3g", "c/5.w3g", "c/6.w3g"}},
        {"whole name, any case",
         Query([](Q& x) { x.Player = "GRUBBY"; }),
         {"a/1.w3g", "a/2.w3g", "a/b/3.w3g", "a/b/4.w3g", "c/6.w3g"}},
        {"name prefix", Query([](Q& x) { x.Player = "grubbyf"; }), {"c/6.w3g"}},
        {"no name inside a name", Query([](Q& x) { x.Player = "ubby"; }), {}},
        {"player as orc",
         Query([](Q& x) {
             x.Player = "grubby";
             x.Race = 2;
         }),
         {"a/1.w3g", "a/2.w3g", "a/b/3.w3g", "a/b/4.w3g"}},
        {"orc against night elf",
         Query([](Q& x) {
             x.Player = "grubby";
             x.Race = 2;
             x.VsRace = 3;
         }),
         {"a/1.w3g", "a/2.w3g"}},
        {"any undead", Query([](Q& x) { x.Race = 4; }), {"c/6.w3g"}},
        {"map after its player count", Query([](Q& x) { x.Map = "twisted"; }), {"a/2.w3g", "a/b/3.w3g", "c/6.w3g"}},
        {"map with its player count", Query([](Q& x) { x.Map = "(2)echo"; }), {"a/1.w3g", "a/b/4.w3g"}},
        {"winner", Query([](Q& x) { x.Winner = "moon"; }), {"a/2.w3g"}},
        {"loser is no winner", Query([](Q& x) { x.Winner = "th000"; }), {}},
        {"dates",
         Query([](Q& x) {
             x.After = ParseDate("2026-02-10");
             x.Before = ParseDate("2026-03-20");
         }),
         {"a/2.w3g", "a/b/3.w3g"}},
        {"long games", Query([](Q& x) { x.MinLength = 25 * 60000; }), {"a/2.w3g", "a/b/4.w3g", "c/6.w3g"}},
        {"version",
         Query([](Q& x) { x.Version = "1.26"; }),
         {"a/1.w3g", "a/2.w3g", "a/b/3.w3g", "a/b/4.w3g", "c/5.w3g", "c/6.w3g"}},
        {"other version", Query([](Q& x) { x.Version = "1.3"; }), {}},
        {"full text: map word", Query([](Q& x) { x.Text = "oasis"; }), {}},
        {"full text: map prefix", Query([](Q& x) { x.Text = "Mur"; }), {"c/5.w3g"}},
        {"full text: two names", Query([](Q& x) { x.Text = "lyn moon"; }), {"c/5.w3g"}},
        {"full text: quotes are words", Query([](Q& x) { x.Text = "\"lyn OR"; }), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Found(library, c.Query), c.Expected);
        EXPECT_EQ(CountLibrary(library, c.Query), static_cast<int64_t>(c.Expected.size()));
    }
}

TEST_F(LibraryTest, SortAndPages) {
    WriteGames();
    TLibrary library(DbPath);
    ScanFolders(library, {Folder()}, {});
    const auto order = [&library](TLibrarySort sort, bool descending, int limit = -1, int offset = 0) {
        TLibraryQuery q;
        q.Sort = sort;
        q.Descending = descending;
        q.Limit = limit;
        q.Offset = offset;
        std::vector<std::string> names;
        for (const auto& e : SearchLibrary(library, q))
            names.push_back(fs::path(e.Path).filename().string());
        return names;
    };
    EXPECT_EQ(order(TLibrarySort::Date, true),
              (std::vector<std::string>{"6.w3g", "4.w3g", "3.w3g", "2.w3g", "1.w3g", "5.w3g"}));
    EXPECT_EQ(order(TLibrarySort::Length, false, 2), (std::vector<std::string>{"3.w3g", "1.w3g"}));
    EXPECT_EQ(order(TLibrarySort::Date, true, 2, 2), (std::vector<std::string>{"3.w3g", "2.w3g"}));
    TLibraryQuery one;
    one.Player = "lyn";
    const auto rows = SearchLibrary(library, one);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].MapName, "(8)Mur'galOasis");
    EXPECT_EQ(rows[0].Length, 18 * 60000);
    ASSERT_EQ(rows[0].Players.size(), 2u);
    EXPECT_EQ(rows[0].Players[0].Name, "Lyn");
    EXPECT_EQ(rows[0].Players[0].Result, 1);
    EXPECT_EQ(rows[0].Players[1].Race, 3);
    EXPECT_EQ(rows[0].Players[1].Result, 2);
}

TEST_F(LibraryTest, RescanReadsOnlyWhatChangedAndForgetsWhatIsGone) {
    WriteGames();
    Write("c/broken.w3g", TBytes(100, 0x42), Day("2026-01-01"));
    TLibrary library(DbPath);
    TScanResult r = ScanFolders(library, {Folder()}, {});
    EXPECT_EQ(r.Files, 7u);
    EXPECT_EQ(r.Indexed, 7u);
    EXPECT_EQ(r.Unreadable, 1u);

    r = ScanFolders(library, {Folder()}, {});
    EXPECT_EQ(r.Unchanged, 7u); // the unreadable file too: it is not tried again while it stays as it is
    EXPECT_EQ(r.Indexed, 0u);

    Write("a/1.w3g", BuildReplayFile(DuelSpec("Changed", "Moon")), Day("2026-05-01"));
    fs::remove(Root / "replays" / "c" / "6.w3g");
    r = ScanFolders(library, {Folder()}, {});
    EXPECT_EQ(r.Indexed, 1u);
    EXPECT_EQ(r.Removed, 1u);
    EXPECT_EQ(r.Unchanged, 5u);
    TLibraryQuery changed;
    changed.Player = "changed";
    EXPECT_EQ(CountLibrary(library, changed), 1);
    TLibraryQuery all;
    all.WithUnreadable = true;
    EXPECT_EQ(CountLibrary(library, all), 6);

    // A folder that is not there (an unplugged disk) keeps its rows.
    r = ScanFolders(library, {(Root / "elsewhere").string()}, {});
    EXPECT_EQ(r.Problems.size(), 1u);
    EXPECT_EQ(CountLibrary(library, all), 6);
    // Scanning a subfolder forgets nothing beside it.
    fs::remove(Root / "replays" / "a" / "2.w3g");
    r = ScanFolders(library, {(Root / "replays" / "a" / "b").string()}, {});
    EXPECT_EQ(r.Removed, 0u);
    EXPECT_EQ(CountLibrary(library, all), 6);
}

TEST_F(LibraryTest, StoppedScanKeepsWhatWasWrittenAndTheNextOneGoesOn) {
    for (int i = 0; i < 40; ++i)
        Write("many/" + std::to_string(i) + ".w3g", BuildReplayFile(DuelSpec("P" + std::to_string(i), "Q")));
    TLibrary library(DbPath);
    TScanOptions options;
    options.Threads = 1;
    options.BatchSize = 5;
    options.OnProgress = [stop = options.Stop](size_t done, size_t) {
        if (done >= 10)
            stop.Request();
    };
    const TScanResult first = ScanFolders(library, {Folder()}, options);
    EXPECT_TRUE(first.Stopped);
    EXPECT_LT(first.Indexed, 40u);
    EXPECT_EQ(library.Count(), static_cast<int64_t>(first.Indexed));
    const TScanResult second = ScanFolders(library, {Folder()}, {});
    EXPECT_EQ(second.Unchanged, first.Indexed);
    EXPECT_EQ(second.Indexed, 40u - first.Indexed);
    EXPECT_EQ(library.Count(), 40);
}

TEST_F(LibraryTest, TwoScannersAtOnceLeaveOneGoodLibrary) {
    for (int i = 0; i < 60; ++i)
        Write(std::to_string(i % 3) + "/" + std::to_string(i) + ".w3g",
              BuildReplayFile(DuelSpec("P" + std::to_string(i), "Q")));
    { TLibrary made(DbPath); } // made before the race
    std::vector<std::thread> scanners;
    std::atomic<int> failures{0};
    for (int t = 0; t < 2; ++t)
        scanners.emplace_back([this, &failures] {
            try {
                TLibrary library(DbPath);
                TScanOptions options;
                options.BatchSize = 7;
                ScanFolders(library, {Folder()}, options);
            } catch (const TLibraryError&) {
                ++failures;
            }
        });
    for (auto& s : scanners)
        s.join();
    EXPECT_EQ(failures, 0);
    TLibrary library(DbPath);
    EXPECT_EQ(library.Count(), 60);
    TSqlStatement check(library.Db(), "PRAGMA integrity_check");
    ASSERT_TRUE(check.Step());
    EXPECT_EQ(check.Text(0), "ok");
}

TEST_F(LibraryTest, FilesThatAreNoLibraryAreRefusedAndLeftAlone) {
    const std::string foreign = (Root / "foreign.sqlite").string();
    {
        sqlite3* db = nullptr;
        sqlite3_open(foreign.c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE notes(text TEXT); INSERT INTO notes VALUES('keep me')", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    const std::string garbage = (Root / "garbage.sqlite").string();
    std::ofstream(garbage) << std::string(5000, 'x');
    for (const std::string& path : {foreign, garbage}) {
        SCOPED_TRACE(path);
        const std::string bytes = ReadAll(path);
        try {
            TLibrary library(path);
            ADD_FAILURE() << "opened";
        } catch (const TLibraryError& e) {
            EXPECT_EQ(e.Kind, TLibraryError::TKind::NotALibrary);
        }
        EXPECT_EQ(ReadAll(path), bytes);
        TLibrary::Reset(path);
        EXPECT_EQ(TLibrary(path).Count(), 0);
    }
    // A library of a newer schema is not touched either.
    {
        TLibrary library(DbPath);
        library.Db().Exec("PRAGMA user_version=99");
    }
    EXPECT_THROW(TLibrary{DbPath}, TLibraryError);
}

TEST(LibraryWords, RacesAndDates) {
    EXPECT_EQ(ParseRaceName("Orc"), 2);
    EXPECT_EQ(ParseRaceName("nightelf"), 3);
    EXPECT_EQ(ParseRaceName("NE"), 3);
    EXPECT_EQ(ParseRaceName("ud"), 4);
    EXPECT_EQ(ParseRaceName("goblin"), 0);
    EXPECT_TRUE(ParseDate("2026-02-28"));
    for (const char* bad : {"2026-02-30", "2026-13-01", "26-01-01", "2026/01/01", "2026-01-1x", ""})
        EXPECT_FALSE(ParseDate(bad)) << bad;
}

TEST(LibraryWords, PlayersAreShownTeamByTeam) {
    const auto entry = [](std::vector<std::tuple<const char*, int, bool>> players) {
        TLibraryEntry e;
        for (const auto& [name, team, observer] : players) {
            TLibraryPlayer p;
            p.Name = name;
            p.Team = static_cast<uint8_t>(team);
            p.Observer = observer;
            e.Players.push_back(p);
        }
        return e;
    };
    const auto names = [](const TLibraryPlayer& p) { return p.Name; };
    // Slots alternate between the teams in a 2v2 as the game often fills them.
    EXPECT_EQ(TeamsText(entry({{"A", 1, false}, {"B", 2, false}, {"C", 1, false}, {"D", 2, false}}), names),
              "A + C vs B + D");
    EXPECT_EQ(TeamsText(entry({{"A", 2, false}, {"Obs", 3, true}, {"B", 1, false}, {"C", 3, false}}), names),
              "A vs B vs C");
    EXPECT_EQ(TeamsText(entry({}), names), "");
}

// The players and winners cells the window and the CLI both show.
TEST(LibraryWords, PlayerAndWinnerCells) {
    TLibraryEntry e;
    const auto add = [&e](const char* name, int race, int team, int result, bool observer) {
        TLibraryPlayer p;
        p.Name = name;
        p.Race = static_cast<uint8_t>(race);
        p.Team = static_cast<uint8_t>(team);
        p.Result = result;
        p.Observer = observer;
        e.Players.push_back(p);
    };
    add("Grubby", 2, 1, 1, false);
    add("Watcher", 0, 3, 0, true);
    add("Moon", 3, 2, 2, false);
    add("Ally", 0, 1, 1, false);
    EXPECT_EQ(LibraryPlayersCell(e, TLanguage::English, false), "Grubby (O) + Ally (?) vs Moon (N)");
    EXPECT_EQ(LibraryPlayersCell(e, TLanguage::English, true), "Grubby (O)* + Ally (?)* vs Moon (N)");
    EXPECT_EQ(LibraryPlayersCell(e, TLanguage::Chinese, false), "Grubby (兽) + Ally (?) vs Moon (暗)");
    EXPECT_EQ(LibraryWinnersCell(e), "Grubby, Ally");
    EXPECT_EQ(LibraryWinnersCell(TLibraryEntry{}), "");
}

TEST(LibraryCorpus, EveryRealReplayIsIndexed) {
    const fs::path dir = QUILLON_CORPUS_DIR;
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        GTEST_SKIP() << "no corpus at " << dir;
    const fs::path db = fs::temp_directory_path() / ("quillon-corpus-library-" + std::to_string(::getpid()));
    {
        TLibrary library(db.string());
        const TScanResult r = ScanFolders(library, {dir.string()}, {});
        EXPECT_GT(r.Files, 0u);
        EXPECT_EQ(r.Indexed, r.Files);
        TLibraryQuery q;
        q.WithUnreadable = true;
        q.Limit = -1;
        for (const auto& e : SearchLibrary(library, q)) {
            SCOPED_TRACE(e.Path);
            EXPECT_EQ(e.Error, "");
            EXPECT_FALSE(e.Version.empty());
            EXPECT_FALSE(e.Players.empty());
        }
    }
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(db.string() + suffix, ec);
}

TEST(LibraryWords, PathsBelowAFolder) {
    struct TCase {
        const char* Path;
        const char* Folder;
        bool Below;
    } cases[] = {{"/a/b/c.w3g", "/a/b", true},
                 {"/a/bc.w3g", "/a/b", false},
                 {"/a/b", "/a/b", false},
                 {"/a/b.w3g", "/", true},
                 {"/a/b/c.w3g", "/a/b/", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Path) + " in " + c.Folder);
        EXPECT_EQ(PathBelow(c.Path, c.Folder), c.Below);
    }
#ifdef _WIN32
    EXPECT_EQ(LibraryFolderKey("C:/"), "C:\\");
    EXPECT_EQ(LibraryFolderKey("C:/a/./b/../c/"), "C:\\a\\c");
    EXPECT_TRUE(PathBelow("C:\\a\\c\\x.w3g", LibraryFolderKey("C:/a/c")));
    EXPECT_TRUE(PathBelow("C:\\x.w3g", LibraryFolderKey("C:\\")));
#else
    EXPECT_EQ(LibraryFolderKey("/"), "/");
    EXPECT_EQ(LibraryFolderKey("/a/./b/../c/"), "/a/c");
#endif
}

// A name met in thousands of games is searched replay by replay rather than from the name index: both ways
// must find the same games.
TEST_F(LibraryTest, CommonAndRareNamesFindTheSameWay) {
    TLibrary library(DbPath);
    std::vector<TLibraryEntry> entries;
    for (int i = 0; i < 2400; ++i) {
        TLibraryEntry e;
        e.Path = Folder() + "/" + std::to_string(i) + ".w3g";
        e.Modified = 1000 + i;
        e.Version = "1.26";
        e.MapName = "(2)EchoIsles";
        const bool firstWins = i % 2 == 0;
        e.WinnerTeam = firstWins ? 1 : 2;
        e.Players = {{"Common", static_cast<uint8_t>(i % 3 == 0 ? 2 : 1), 1, 0, 100, 50.0, firstWins ? 1 : 2},
                     {i % 100 == 0 ? "Rare" : "Other" + std::to_string(i), 4, 2, 1, 100, 60.0, firstWins ? 2 : 1}};
        entries.push_back(std::move(e));
    }
    library.Store(entries);
    struct TCase {
        const char* Name;
        TLibraryQuery Query;
        int64_t Expected;
    } cases[] = {
        {"common name", Query([](TLibraryQuery& q) { q.Player = "common"; }), 2400},
        {"common name as orc", Query([](TLibraryQuery& q) {
             q.Player = "COMMON";
             q.Race = 2;
         }),
         800},
        {"common name against undead", Query([](TLibraryQuery& q) {
             q.Player = "com";
             q.VsRace = 4;
         }),
         2400},
        {"common winner", Query([](TLibraryQuery& q) { q.Winner = "common"; }), 1200},
        {"rare name", Query([](TLibraryQuery& q) { q.Player = "rare"; }), 24},
        {"rare winner", Query([](TLibraryQuery& q) { q.Winner = "rare"; }), 0},
        {"rare name against human", Query([](TLibraryQuery& q) {
             q.Player = "rare";
             q.VsRace = 1;
         }),
         16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(CountLibrary(library, c.Query), c.Expected);
        TLibraryQuery page = c.Query;
        page.Limit = 5;
        EXPECT_EQ(SearchLibrary(library, page).size(), static_cast<size_t>(std::min<int64_t>(5, c.Expected)));
    }
}
