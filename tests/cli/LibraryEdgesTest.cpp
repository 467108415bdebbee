// The library under kills, concurrent commands, stale rows, links, read-only folders and damaged files: real
// quillon-cli processes, as a user would meet them.
#ifndef _WIN32 // processes, signals, users and links
#include "CliProcess.h"
#include "CliRun.h"
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "core/library/LibrarySearch.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

constexpr uid_t Nobody = 65534;

// Whether a user other than the owner may run the program: every folder on its way must let others through.
bool OthersCanRun(const fs::path& program) {
    for (fs::path p = program; !p.empty() && p != p.root_path(); p = p.parent_path()) {
        std::error_code ec;
        if ((fs::status(p, ec).permissions() & fs::perms::others_exec) == fs::perms::none)
            return false;
    }
    return true;
}

class LibraryEdges : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("quillon-library-edges-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir / "replays");
        Db = (Dir / "library.sqlite").string();
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Write(const std::string& name, const TBytes& bytes) {
        const fs::path path = Dir / "replays" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    // Duels in ten folders, numbered from first.
    void WriteMany(int first, int count) {
        for (int i = first; i < first + count; ++i) {
            TReplaySpec spec = DuelSpec("P" + std::to_string(i), "Q" + std::to_string(i % 7));
            spec.Length = 60000 + i;
            Write(std::to_string(i % 10) + "/" + std::to_string(i) + ".w3g", BuildReplayFile(spec));
        }
    }
    std::string Replays() const { return (Dir / "replays").string(); }
    TRun Library(std::vector<std::string> args, const std::string& db = {}) {
        args.insert(args.begin(), "library");
        args.push_back("--library");
        args.push_back(db.empty() ? Db : db);
        return Cli(args);
    }
    std::vector<std::string> LibraryArgs(std::vector<std::string> args) const {
        args.insert(args.begin(), "library");
        args.push_back("--library");
        args.push_back(Db);
        return args;
    }

    // Every row as text, for comparing two libraries; and what a few searches find.
    static std::set<std::string> Rows(const std::string& db) {
        TLibrary library(db);
        TLibraryQuery q;
        q.Limit = -1;
        q.WithUnreadable = true;
        std::set<std::string> rows;
        for (const auto& e : SearchLibrary(library, q)) {
            std::string row = e.Path + " " + e.Hash + " " + e.Version + " " + std::to_string(e.Length);
            for (const auto& p : e.Players)
                row += " " + p.Name + "/" + std::to_string(p.Race) + "/" + std::to_string(p.Result);
            rows.insert(row);
        }
        for (const auto& [name, query] : {std::pair{"text", "--text"}, {"player", "--player"}, {"winner", "--winner"}})
            for (const std::string value : {"P12", "q3", "p29"}) {
                TRun found = Cli({"library", "search", "--library", db, "--limit", "100000", query, value});
                std::istringstream lines(found.Out);
                for (std::string line; std::getline(lines, line);)
                    rows.insert(std::string(name) + " " + value + ": " + line.substr(line.find('\t')));
            }
        return rows;
    }
    static std::string Integrity(const std::string& db) {
        TLibrary library(db);
        TSqlStatement check(library.Db(), "PRAGMA integrity_check");
        return check.Step() ? check.Text(0) : "";
    }
    // A library made from scratch over the same files.
    std::string CleanScan() {
        const std::string clean = (Dir / "clean.sqlite").string();
        fs::remove(clean);
        EXPECT_EQ(Library({"add", Replays()}, clean).Status, 0);
        return clean;
    }
    // Waits until the library file has rows (a scan is under way).
    void WaitForRows() const {
        for (int i = 0; i < 20000; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            try {
                if (fs::exists(Db) && TLibrary(Db, TLibrary::TAccess::Read).Count() > 0)
                    return;
            } catch (const TLibraryError&) {
            }
        }
    }

    fs::path Dir;
    std::string Db;
};

} // namespace

// A scan killed after any batch, or while making its indexes, whether it writes in bulk (a first scan) or row by
// row (a re-scan with a few changes), leaves a library that any next command opens and the next scan completes
// to exactly what a clean scan gives.
TEST_F(LibraryEdges, KilledAtAnyPointResumesToTheCleanResult) {
    const struct {
        const char* Name;
        bool Rescan;
        std::string KillAt;
    } cases[] = {
        {"first scan, after one batch", false, "batch:1"},    {"first scan, after three batches", false, "batch:3"},
        {"first scan, making the indexes", false, "indexes"}, {"re-scan, after one batch", true, "batch:1"},
        {"re-scan, after two batches", true, "batch:2"},
    };
    WriteMany(0, 1200);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove_all(Dir / "replays" / "new");
        for (const char* suffix : {"", "-wal", "-shm"})
            fs::remove(Db + suffix);
        if (c.Rescan) {
            ASSERT_EQ(Library({"add", Replays()}).Status, 0);
            // New files, changed files and a gone one: few enough that the re-scan writes row by row.
            for (int i = 0; i < 300; ++i)
                Write("new/" + std::to_string(i) + ".w3g", BuildReplayFile(DuelSpec("N" + std::to_string(i), "M")));
            for (int i = 0; i < 100; ++i) {
                TReplaySpec spec = DuelSpec("P" + std::to_string(i), "Changed");
                spec.Length = 90000 + i;
                Write(std::to_string(i % 10) + "/" + std::to_string(i) + ".w3g", BuildReplayFile(spec));
            }
        }
        TCliProcess killed(LibraryArgs({"add", Replays()}), {{"QUILLON_TEST_KILL_SCAN", c.KillAt}});
        EXPECT_EQ(killed.Wait(), 128 + SIGKILL);

        const TRun stats = Library({"stats"}); // any command opens it
        EXPECT_EQ(stats.Status, 0) << stats.Err;
        const TRun resumed = Library({"add", Replays()});
        EXPECT_EQ(resumed.Status, 0) << resumed.Err;
        EXPECT_EQ(Rows(Db), Rows(CleanScan()));
        EXPECT_EQ(Integrity(Db), "ok");
    }
}

// Writers take turns: two scans both succeed, a rename waits for a scan (and the rows end true to the disk), and a
// reset is refused while a scan writes, which then reports only what is there.
TEST_F(LibraryEdges, ConcurrentCommandsStayConsistent) {
    WriteMany(0, 1500);
    {
        TCliProcess first(LibraryArgs({"add", Replays()}));
        TCliProcess second(LibraryArgs({"add", Replays()}));
        EXPECT_EQ(first.Wait(), 0);
        EXPECT_EQ(second.Wait(), 0);
        EXPECT_EQ(Rows(Db), Rows(CleanScan()));
    }
    WriteMany(1500, 1500);
    {
        TCliProcess add(LibraryArgs({"add", Replays()}));
        WaitForRows();
        TCliProcess rename(LibraryArgs({"rename", "--player", "q3", "--rule-global", "<win> beat <loss> <length>"}));
        EXPECT_EQ(add.Wait(), 0);
        EXPECT_EQ(rename.Wait(), 0);
        TLibrary library(Db);
        TLibraryQuery all;
        all.Limit = -1;
        for (const auto& e : SearchLibrary(library, all))
            EXPECT_TRUE(fs::exists(e.Path)) << e.Path;
        EXPECT_EQ(library.Count(), 3000);
        EXPECT_EQ(Library({"add", Replays()}).Out, "3000 replays: 0 read (0 unreadable), 3000 unchanged, 0 removed\n");
    }
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(Db + suffix);
    {
        TCliProcess add(LibraryArgs({"add", Replays()}), {{"QUILLON_TEST_SLOW_SCAN", "1"}});
        WaitForRows();
        const TRun reset = Library({"reset"});
        EXPECT_EQ(reset.Status, 1);
        EXPECT_NE(reset.Err.find("being written"), std::string::npos) << reset.Err;
        EXPECT_EQ(add.Wait(), 0);
        EXPECT_EQ(TLibrary(Db).Count(), 3000);
    }
}

// A rename re-checks what the search found: a file gone outside Quillon loses its row, a file whose content
// changed is judged by its new content, a stale row at the new name does not stop the batch, and a rename cut
// between the disk and the row is settled by the next command.
TEST_F(LibraryEdges, RenameKeepsRowsAndDiskInStep) {
    const std::string a = Write("a.w3g", BuildReplayFile(DuelSpec("Grubby", "Moon")));
    const std::string stale = Write("Grubby beat Moon.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    const std::string changed = Write("c.w3g", BuildReplayFile(DuelSpec("Grubby", "Moon")));
    const std::string gone = Write("d.w3g", BuildReplayFile(DuelSpec("Grubby", "Moon")));
    ASSERT_EQ(Library({"add", Replays()}).Status, 0);
    fs::remove(stale);
    fs::remove(gone);
    TReplaySpec other = DuelSpec("Sky", "Lyn");
    other.Length = 123456;
    Write("c.w3g", BuildReplayFile(other));

    const TRun renamed = Library({"rename", "--player", "grubby", "--rule-global", "<win> beat <loss>"});
    EXPECT_EQ(renamed.Status, 1) << renamed.Out << renamed.Err; // the gone file could not be renamed
    EXPECT_NE(renamed.Out.find(gone + "\tFile not found"), std::string::npos) << renamed.Out;
    EXPECT_NE(renamed.Out.find(a + "\t" + stale), std::string::npos) << renamed.Out;
    EXPECT_TRUE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(changed)); // no longer Grubby's game: left alone
    EXPECT_EQ(Library({"add", Replays()}).Out, "2 replays: 0 read (0 unreadable), 2 unchanged, 0 removed\n");

    // A rename whose process died after the disk and before the row: the next command settles the row.
    int64_t id = 0;
    {
        TLibrary library(Db);
        TLibraryQuery q;
        q.Player = "Sky";
        const auto rows = SearchLibrary(library, q);
        ASSERT_EQ(rows.size(), 1u);
        id = rows[0].Id;
        library.WillRename(id, changed, (Dir / "replays" / "moved.w3g").string());
    }
    fs::rename(changed, Dir / "replays" / "moved.w3g");
    const auto found = nlohmann::json::parse(Library({"search", "--player", "sky", "--json"}).Out);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]["path"], (Dir / "replays" / "moved.w3g").string());
}

// One file, one row: a folder added by its real path and through a link, and a link to a file inside it.
TEST_F(LibraryEdges, OneFileOneRow) {
    Write("real/a.w3g", BuildReplayFile(DuelSpec("Grubby", "Moon")));
    Write("real/b.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    fs::create_directory_symlink(Dir / "replays" / "real", Dir / "linked");
    fs::create_symlink(Dir / "replays" / "real" / "a.w3g", Dir / "replays" / "real" / "link to a.w3g");
    ASSERT_EQ(Library({"add", (Dir / "replays" / "real").string()}).Status, 0);
    ASSERT_EQ(Library({"add", (Dir / "linked").string()}).Status, 0);
    const auto stats = nlohmann::json::parse(Library({"stats", "--json"}).Out);
    EXPECT_EQ(stats["replays"], 2);
    const TRun renamed = Library({"rename", "--rule-global", "<win> beat <loss>"});
    EXPECT_EQ(renamed.Status, 0) << renamed.Out << renamed.Err;
}

// A library its user may read but not write is searched and counted; a damaged one is said to be damaged by every
// command, and left as it is.
TEST_F(LibraryEdges, ReadOnlyAndDamagedLibraries) {
    WriteMany(0, 400);
    ASSERT_EQ(Library({"add", Replays()}).Status, 0);
    if (::getuid() == 0 && OthersCanRun(QUILLON_CLI_PATH)) {
        // Made by root in root's folder: nobody may read it, not write it.
        fs::permissions(Dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
        for (const auto& [command, shows] : {std::pair{"search", "\"P"}, std::pair{"stats", "\"Q"}}) {
            SCOPED_TRACE(command);
            EXPECT_EQ(TCliProcess(LibraryArgs({command, "--json"}), {}, "/tmp/quillon-ro-out", Nobody).Wait(), 0)
                << ReadAll("/tmp/quillon-ro-out.err");
            EXPECT_EQ(ReadAll("/tmp/quillon-ro-out.err"), "");
            EXPECT_NE(ReadAll("/tmp/quillon-ro-out").find(shows), std::string::npos);
        }
        EXPECT_EQ(TCliProcess(LibraryArgs({"add", Replays()}), {}, "/tmp/quillon-ro-out", Nobody).Wait(), 1);
        const std::string said = ReadAll("/tmp/quillon-ro-out.err");
        EXPECT_NE(said.find("cannot be written"), std::string::npos) << said;
        EXPECT_EQ(said.find("reset"), std::string::npos) << said;
        fs::remove("/tmp/quillon-ro-out");
        fs::remove("/tmp/quillon-ro-out.err");
    }
    // Random bytes over a page in the middle of the file.
    {
        const auto size = fs::file_size(Db);
        std::fstream file(Db, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(size / 2 / 4096 * 4096));
        std::string noise(4096, '\0');
        uint32_t x = 12345;
        for (char& c : noise)
            c = static_cast<char>((x = x * 1103515245 + 12345) >> 16);
        file.write(noise.data(), static_cast<std::streamsize>(noise.size()));
    }
    const std::string damaged = ReadAll(Db);
    for (const std::string command : {"search", "stats", "rename"}) {
        SCOPED_TRACE(command);
        const TRun run = Library({command});
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Err.find("damaged"), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("library reset"), std::string::npos) << run.Err;
    }
    EXPECT_EQ(ReadAll(Db), damaged);
}

// Each outcome line is written before the next file is touched: a killed rename's log is a true record.
TEST_F(LibraryEdges, RenameOutputSurvivesAKill) {
    WriteMany(0, 1500);
    ASSERT_EQ(Library({"add", Replays()}).Status, 0);
    const fs::path log = Dir / "rename.log";
    TCliProcess rename(LibraryArgs({"rename", "--rule-global", "<win> beat <loss> <length>"}), {}, log);
    const auto lineCount = [&log] {
        const std::string text = ReadAll(log);
        return std::count(text.begin(), text.end(), '\n');
    };
    for (int i = 0; i < 20000 && lineCount() < 100; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    rename.Kill();
    rename.Wait();
    const std::string text = ReadAll(log);
    const auto lines = std::count(text.begin(), text.end(), '\n');
    int renamed = 0;
    for (const auto& entry : fs::recursive_directory_iterator(Dir / "replays"))
        renamed += entry.path().filename().string().find(" beat ") != std::string::npos;
    EXPECT_GE(lines, 100);
    EXPECT_LE(renamed, lines + 1); // the file in hand may be renamed, its line not yet written
    EXPECT_GE(renamed, lines);
}
#endif
