// Keeping every finished game: when a replay counts as finished, what is kept and under which name, once.
#include "core/autosave/AutoSaver.h"
#include "core/autosave/GameFolders.h"
#include "core/library/Library.h"
#include "core/library/LibraryScan.h"
#include "core/replay/LoadReplay.h"

#include "SampleGames.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() : Path(fs::temp_directory_path() / ("quillon-autosave-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(Path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(Path, ec);
    }
    fs::path Path;
};

void Write(const fs::path& path, const TBytes& bytes, size_t count = SIZE_MAX) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(std::min(count, bytes.size())));
}

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Every .w3g of the collection (hidden temporary files are no replays) and whether each loads completely.
std::vector<std::string> KeptFiles(const fs::path& collection) {
    std::vector<std::string> files;
    if (!fs::exists(collection))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(collection))
        if (entry.is_regular_file() && entry.path().extension() == ".w3g") {
            const auto loaded = LoadReplay(entry.path().string(), 1);
            EXPECT_TRUE(loaded.Ok() && loaded.Replay->WalkEnd.Reason == TWalkEnd::TReason::End) << entry.path();
            files.push_back(fs::relative(entry.path(), collection).generic_string());
        }
    std::sort(files.begin(), files.end());
    return files;
}

TAutoSaveOptions Options(const fs::path& collection) {
    TAutoSaveOptions o;
    o.Collection = collection.string();
    o.SettleMs = 2000;
    return o;
}

std::vector<TSaveEvent::TKind> Kinds(const std::vector<TSaveEvent>& events) {
    std::vector<TSaveEvent::TKind> kinds;
    for (const auto& e : events)
        kinds.push_back(e.Kind);
    return kinds;
}

using K = TSaveEvent::TKind;

} // namespace

TEST(SettleTracker, AFileSettlesOnceItStopsChanging) {
    const struct {
        std::vector<std::pair<int64_t, TSeenFile>> Seen; // (now, the file as listed then)
        std::vector<bool> Settled;                       // handed out at each look
        const char* What;
    } cases[] = {
        {{{0, {"a", 10, 0}}, {1000, {"a", 10, 0}}, {2000, {"a", 10, 0}}, {5000, {"a", 10, 0}}},
         {false, false, true, false},
         "unchanged for the settle time: handed out once"},
        {{{0, {"a", 10, 0}}, {1500, {"a", 20, 1500}}, {3000, {"a", 30, 3000}}, {4500, {"a", 40, 4500}}},
         {false, false, false, false},
         "still growing: never"},
        {{{0, {"a", 10, 0}}, {2000, {"a", 10, 0}}, {2500, {"a", 10, 2500}}, {4500, {"a", 10, 2500}}},
         {false, true, false, true},
         "rewritten after it settled: handed out again once it settles anew"},
        {{{10000, {"a", 10, 1000}}}, {true}, "already old when first seen (a game that ended while nobody watched)"},
        {{{10000, {"a", 10, 20000}}, {11000, {"a", 10, 20000}}, {12000, {"a", 10, 20000}}},
         {false, false, true},
         "a time in the future counts from when it was seen"},
    };
    for (const auto& c : cases) {
        TSettleTracker tracker(2000);
        for (size_t i = 0; i < c.Seen.size(); ++i)
            EXPECT_EQ(tracker.Settled({c.Seen[i].second}, c.Seen[i].first).size(), c.Settled[i] ? 1u : 0u)
                << c.What << ", look " << i;
    }
    // A file that went and came back is new; Retry hands a settled one out again.
    TSettleTracker tracker(2000);
    EXPECT_EQ(tracker.Settled({{"a", 1, 0}}, 5000).size(), 1u);
    EXPECT_EQ(tracker.Settled({}, 6000).size(), 0u);
    EXPECT_EQ(tracker.Settled({{"a", 1, 0}}, 7000).size(), 1u);
    tracker.Retry("a");
    EXPECT_EQ(tracker.Settled({{"a", 1, 0}}, 7100).size(), 1u);
}

TEST(AutoSaver, TheGamePlaysTwiceAndEveryFinishedGameIsKeptOnce) {
    TempDir dir;
    const fs::path game = dir.Path / "replay", collection = dir.Path / "collection";
    TAutoSaver saver(Options(collection));
    const std::vector<std::string> folders = {game.string()};
    const TBytes first = BuildReplayFile(PlausibleDuelSpec()), second = BuildReplayFile(DuelSpec("Grubby", "Moon"));

    // The watcher's clock is the files' clock: each look is a moment after the write before it.
    // A game in progress: TempReplay.w3g grows, then rests; never taken, whole or not.
    for (size_t part = 1; part <= 4; ++part) {
        Write(game / "TempReplay.w3g", first, first.size() * part / 4);
        EXPECT_TRUE(saver.Poll(folders, Now() + 500).empty());
    }
    EXPECT_TRUE(saver.Poll(folders, Now() + 10000).empty());
    // The game ends: LastReplay.w3g is written in two goes; the half is never copied.
    Write(game / "LastReplay.w3g", first, first.size() / 2);
    EXPECT_TRUE(saver.Poll(folders, Now() + 500).empty());
    Write(game / "LastReplay.w3g", first);
    int64_t now = Now();
    EXPECT_TRUE(saver.Poll(folders, now + 500).empty()); // not settled yet
    EXPECT_TRUE(KeptFiles(collection).empty());
    const auto kept = saver.Poll(folders, now += 2500);
    ASSERT_EQ(Kinds(kept), std::vector<K>{K::Kept});
    EXPECT_EQ(fs::path(kept[0].Kept).filename(), "Jaina-vs-Thrall.w3g");

    // The player saves the same game by hand, and the newer game autosaves it: still one copy.
    Write(game / "Jaina beats Thrall.w3g", first);
    Write(game / "Autosaved" / "Replay_2026.w3g", first);
    const auto again = saver.Poll({game.string(), (game / "Autosaved").string()}, now += 5000);
    EXPECT_EQ(Kinds(again), (std::vector<K>{K::AlreadyKept, K::AlreadyKept}));

    // The next game overwrites LastReplay.w3g: kept under its own name.
    Write(game / "LastReplay.w3g", second);
    now = std::max(now, Now());
    EXPECT_TRUE(saver.Poll(folders, now += 500).empty());
    EXPECT_EQ(Kinds(saver.Poll(folders, now += 2500)), std::vector<K>{K::Kept});
    EXPECT_EQ(KeptFiles(collection), (std::vector<std::string>{"Grubby-vs-Moon.w3g", "Jaina-vs-Thrall.w3g"}));
    // The game's files are untouched: the watcher copies, never moves.
    EXPECT_TRUE(fs::exists(game / "LastReplay.w3g"));
    EXPECT_TRUE(fs::exists(game / "TempReplay.w3g"));
}

TEST(AutoSaver, ANewWatcherFindsWhatWasNotKeptAndNumbersCollisions) {
    TempDir dir;
    const fs::path game = dir.Path / "replay", collection = dir.Path / "collection";
    // Games that ended while nobody watched; one of them is kept already, and a different game has its name.
    Write(game / "a.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    Write(game / "b.w3g", BuildReplayFile(DuelSpec("Moon", "Grubby")));
    Write(collection / "Moon-vs-Grubby.w3g", BuildReplayFile(DuelSpec("Moon", "Grubby")));
    TReplaySpec other = DuelSpec("Sky", "Lyn");
    other.GameName = "another game";
    Write(collection / "Sky-vs-Lyn.w3g", BuildReplayFile(other));
    // The copy in hand when the last run was killed: hidden, and gone at the next start.
    Write(collection / ".quillon-123.part", TBytes(100, 1));
    TAutoSaver saver(Options(collection));
    const auto events = saver.Poll({game.string()}, Now() + 60000);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(KeptFiles(collection),
              (std::vector<std::string>{"Moon-vs-Grubby.w3g", "Sky-vs-Lyn.w3g", "Sky-vs-Lyn2.w3g"}));
    EXPECT_FALSE(fs::exists(collection / ".quillon-123.part"));
}

TEST(AutoSaver, SubFoldersFromATemplateAndNoNameForTheRuleStillKeepsTheGame) {
    TempDir dir;
    const fs::path game = dir.Path / "replay", collection = dir.Path / "collection";
    Write(game / "duel.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    Write(game / "ffa.w3g", BuildReplayFile(TeamGameSpec(2, 1))); // kept though the rule's <win>/<loss> may fail
    TAutoSaveOptions o = Options(collection);
    o.FolderTemplate = "<version> <year>/<month>"; // the slash is no folder separator: made safe as names are
    TAutoSaver saver(o);
    const auto events = saver.Poll({game.string()}, Now() + 60000);
    ASSERT_EQ(Kinds(events), (std::vector<K>{K::Kept, K::Kept}));
    for (const auto& e : events) {
        const fs::path kept = fs::relative(e.Kept, collection);
        EXPECT_EQ(std::distance(kept.begin(), kept.end()), 2) << kept; // one sub-folder, then the file
        EXPECT_EQ(kept.begin()->string().substr(0, 4), "1.26") << kept;
    }
}

TEST(AutoSaver, FilesThatAreNoFinishedReplays) {
    TempDir dir;
    const fs::path game = dir.Path / "replay", collection = dir.Path / "collection";
    const TBytes whole = BuildReplayFile(DuelSpec("Sky", "Lyn"));
    TBytes damaged = whole;
    damaged.resize(whole.size() - 10);
    Write(game / "truncated.w3g", damaged);
    Write(game / "noreplay.w3g", TBytes(500, 'x'));
    fs::create_directories(game / "folder.w3g");
    Write(game / "notes.txt", whole);
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((game / "pipe.w3g").c_str(), 0600), 0); // reading it would wait for a writer forever
#endif
    TAutoSaver saver(Options(collection));
    const auto events = saver.Poll({game.string(), (dir.Path / "unplugged").string()}, Now() + 60000);
    // Each damaged file is said once, with its read error; folders and other names are not looked at.
    ASSERT_EQ(Kinds(events), (std::vector<K>{K::Unfinished, K::Unfinished}));
    for (const auto& e : events)
        EXPECT_FALSE(e.Reason.empty());
    EXPECT_TRUE(saver.Poll({game.string()}, Now() + 70000).empty());
    EXPECT_FALSE(fs::exists(collection) && !KeptFiles(collection).empty());
}

TEST(AutoSaver, ACollectionThatCannotBeWrittenIsSaidOnceAndTriedAgainLater) {
    TempDir dir;
    const fs::path game = dir.Path / "replay";
    Write(game / "LastReplay.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    Write(dir.Path / "file", TBytes(1, 0));
    TAutoSaveOptions o = Options(dir.Path / "file" / "collection"); // below a file: no folder can be made there
    o.RetryMs = 10000;
    TAutoSaver saver(o);
    const int64_t now = Now() + 60000;
    EXPECT_EQ(Kinds(saver.Poll({game.string()}, now)), std::vector<K>{K::Failed});
    EXPECT_TRUE(saver.Poll({game.string()}, now + 1000).empty());  // not tried again yet
    EXPECT_TRUE(saver.Poll({game.string()}, now + 11000).empty()); // tried again, the same reason: not said again
    // The disk is back: the game is kept.
    TAutoSaver same(Options(dir.Path / "collection"));
    EXPECT_EQ(Kinds(same.Poll({game.string()}, now + 12000)), std::vector<K>{K::Kept});
    EXPECT_TRUE(fs::exists(game / "LastReplay.w3g"));
}

TEST(AutoSaver, TheLibraryKnowsAGameAndGetsEachKeptOne) {
    TempDir dir;
    const fs::path game = dir.Path / "replay", collection = dir.Path / "collection", old = dir.Path / "old";
    const TBytes known = BuildReplayFile(DuelSpec("Sky", "Lyn")), fresh = BuildReplayFile(DuelSpec("Moon", "Grubby"));
    Write(old / "sky.w3g", known); // kept long ago elsewhere, and in the library
    const std::string libraryPath = (dir.Path / "library.sqlite").string();
    {
        TLibrary library(libraryPath);
        ScanFolders(library, {old.string()}, {});
    }
    Write(game / "a.w3g", known);
    Write(game / "b.w3g", fresh);
    TAutoSaveOptions o = Options(collection);
    o.LibraryPath = libraryPath;
    TAutoSaver saver(o);
    auto events = saver.Poll({game.string()}, Now() + 60000);
    std::sort(events.begin(), events.end(),
              [](const TSaveEvent& a, const TSaveEvent& b) { return a.Source < b.Source; });
    ASSERT_EQ(Kinds(events), (std::vector<K>{K::AlreadyKept, K::Kept}));
    EXPECT_EQ(fs::path(events[0].Kept).filename(), "sky.w3g");
    TLibrary library(libraryPath, TLibrary::TAccess::Read);
    const auto rows = library.StampsBelow(LibraryFolderKey(collection.string()));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(fs::path(rows.begin()->first).filename(), "Moon-vs-Grubby.w3g");
}

TEST(GameFolders, EveryAccountsReplaysAndTheirAutosavedFolders) {
    TempDir dir;
    const fs::path game = dir.Path / "Warcraft III";
    for (const char* folder : {"BattleNet/1234/Replays/Autosaved", "BattleNet/5678/Replays", "BattleNet/0000/Other"})
        fs::create_directories(game / folder);
    std::vector<std::string> found = DocumentsReplayFolders(dir.Path.string());
    for (std::string& f : found)
        f = fs::relative(f, dir.Path).generic_string();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"Warcraft III/BattleNet/1234/Replays",
                                               "Warcraft III/BattleNet/1234/Replays/Autosaved",
                                               "Warcraft III/BattleNet/5678/Replays"}));
}
