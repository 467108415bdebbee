// quillon-cli library: add, search, stats, rename, reset; and a scan killed halfway.
#include "CliRun.h"
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "core/library/LibrarySearch.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

class LibraryCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("quillon-library-cli-" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir / "replays");
        Db = (Dir / "library.sqlite").string();
    }
    void TearDown() override { fs::remove_all(Dir); }

    void Write(const std::string& name, const TBytes& bytes) {
        const fs::path path = Dir / "replays" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Replays() const { return (Dir / "replays").string(); }
    TRun Library(std::vector<std::string> args) {
        args.insert(args.begin(), "library");
        args.push_back("--library");
        args.push_back(Db);
        return Cli(args);
    }

    // Every row of a library as text: path, hash and players, for comparing two libraries.
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
        return rows;
    }

    // 3000 duels in ten folders: enough that a scan can be caught halfway.
    void WriteMany(int count) {
        for (int i = 0; i < count; ++i) {
            TReplaySpec spec = DuelSpec("P" + std::to_string(i), "Q" + std::to_string(i % 7));
            spec.Length = 60000 + i;
            Write(std::to_string(i % 10) + "/" + std::to_string(i) + ".w3g", BuildReplayFile(spec));
        }
    }

#ifndef _WIN32 // signals and fork
    // Runs "library add" in a process of its own and sends it a signal as soon as some batches are in, while it
    // still runs; retried a few times when the scan ends first. The child's exit status goes to status.
    bool SignalMidScan(int signal, int* status = nullptr) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            for (const char* suffix : {"", "-wal", "-shm"})
                fs::remove(Db + suffix);
            const pid_t child = fork();
            if (child < 0)
                return false;
            if (child == 0) {
                std::freopen("/dev/null", "w", stdout);
                std::freopen("/dev/null", "w", stderr);
                execl(QUILLON_CLI_PATH, QUILLON_CLI_PATH, "library", "add", "--library", Db.c_str(), Replays().c_str(),
                      static_cast<char*>(nullptr));
                _exit(127);
            }
            int64_t seen = 0;
            for (int wait = 0; wait < 20000 && seen == 0; ++wait) {
                std::this_thread::sleep_for(std::chrono::microseconds(500));
                if (fs::exists(Db)) {
                    try {
                        seen = TLibrary(Db).Count();
                    } catch (const TLibraryError&) {
                    }
                }
            }
            kill(child, signal);
            int exit = 0;
            waitpid(child, &exit, 0);
            if (status)
                *status = exit;
            const bool ended = WIFEXITED(exit) && WEXITSTATUS(exit) == 0;
            if (!ended && seen > 0 && TLibrary(Db).Count() < 3000)
                return true;
        }
        return false;
    }

#endif

    fs::path Dir;
    std::string Db;
};

} // namespace

TEST_F(LibraryCliTest, AddSearchStatsAndRename) {
    Write("x/1.w3g", BuildReplayFile(DuelSpec("Grubby", "Moon")));
    Write("x/2.w3g", BuildReplayFile(DuelSpec("Moon", "Grubby")));
    Write("3.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    Write("bad.w3g", TBytes(64, 1));

    const TRun add = Library({"add", Replays()});
    EXPECT_EQ(add.Status, 0) << add.Err;
    EXPECT_EQ(add.Out, "4 replays: 4 read (1 unreadable), 0 unchanged, 0 removed\n");
    EXPECT_EQ(Library({"add", Replays()}).Out, "4 replays: 0 read (0 unreadable), 4 unchanged, 0 removed\n");

    const auto found = nlohmann::json::parse(Library({"search", "--player", "grub", "--winner", "moon", "--json"}).Out);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]["path"], (Dir / "replays" / "x" / "2.w3g").string());
    EXPECT_EQ(found[0]["players"][0]["name"], "Moon");
    EXPECT_EQ(found[0]["players"][0]["result"], "win");
    EXPECT_EQ(found[0]["players"][1]["race"], "Orc");
    const TRun text = Library({"search", "--race", "orc", "--sort", "length", "--limit", "1"});
    EXPECT_NE(text.Out.find("(O)"), std::string::npos) << text.Out;
    EXPECT_EQ(std::count(text.Out.begin(), text.Out.end(), '\n'), 1);

    const auto stats = nlohmann::json::parse(Library({"stats", "--json"}).Out);
    EXPECT_EQ(stats["replays"], 4);
    EXPECT_EQ(stats["unreadable"], 1);
    EXPECT_EQ(stats["topPlayers"][0], nlohmann::json::parse(R"({"name":"Grubby","count":2})"));

    // Rename what a search finds; the rows follow the files.
    const TRun dry = Library({"rename", "--player", "grubby", "--rule-global", "<win> beat <loss>", "--dry-run"});
    EXPECT_EQ(dry.Status, 0) << dry.Err;
    EXPECT_TRUE(fs::exists(Dir / "replays" / "x" / "1.w3g"));
    const TRun renamed = Library({"rename", "--player", "grubby", "--rule-global", "<win> beat <loss>"});
    EXPECT_EQ(renamed.Status, 0) << renamed.Err;
    EXPECT_TRUE(fs::exists(Dir / "replays" / "x" / "Grubby beat Moon.w3g"));
    EXPECT_TRUE(fs::exists(Dir / "replays" / "x" / "Moon beat Grubby.w3g"));
    EXPECT_TRUE(fs::exists(Dir / "replays" / "3.w3g")); // not found by the search: untouched
    const auto after = nlohmann::json::parse(Library({"search", "--player", "moon", "--json"}).Out);
    std::set<std::string> paths;
    for (const auto& row : after)
        paths.insert(fs::path(row["path"].get<std::string>()).filename().string());
    EXPECT_EQ(paths, (std::set<std::string>{"Grubby beat Moon.w3g", "Moon beat Grubby.w3g"}));
    EXPECT_EQ(Library({"add", Replays()}).Out, "4 replays: 0 read (0 unreadable), 4 unchanged, 0 removed\n");
}

TEST_F(LibraryCliTest, BadQueriesAndBadLibraries) {
    EXPECT_EQ(Library({"search", "--race", "goblin"}).Status, 2);
    EXPECT_EQ(Library({"search", "--after", "yesterday"}).Status, 2);
    EXPECT_EQ(Library({"search", "--sort", "size"}).Status, 2);
    EXPECT_EQ(Library({"rename", "--rule-global", "<nope>"}).Status, 2);

    std::ofstream(Db) << "not a database, but somebody's file";
    const TRun refused = Library({"search"});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find("library reset"), std::string::npos) << refused.Err;
    {
        std::ifstream kept(Db);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), {}), "not a database, but somebody's file");
    }
    EXPECT_EQ(Library({"reset"}).Status, 0);
    EXPECT_EQ(Library({"search"}).Status, 0);
}

// A scan killed at any moment leaves a library that the next scan completes to what a clean scan gives.
#ifndef _WIN32
TEST_F(LibraryCliTest, KilledScanResumesToTheCleanResult) {
    WriteMany(3000);
    ASSERT_TRUE(SignalMidScan(SIGKILL)) << "the scan always ended before it could be killed";

    const TRun resumed = Library({"add", Replays()});
    EXPECT_EQ(resumed.Status, 0) << resumed.Err;
    const std::string clean = (Dir / "clean.sqlite").string();
    EXPECT_EQ(Cli({"library", "add", "--library", clean, Replays()}).Status, 0);
    EXPECT_EQ(Rows(Db), Rows(clean));
    // The indexes a bulk write leaves out until its end are there too.
    // (Files of the same second come in the order the scan wrote them: compared as sets.)
    const auto found = [](const std::string& db, std::vector<std::string> query) {
        query.insert(query.begin(), {"library", "search", "--library", db, "--limit", "100000"});
        std::istringstream lines(Cli(query).Out);
        std::set<std::string> rows;
        for (std::string line; std::getline(lines, line);)
            rows.insert(line);
        return rows;
    };
    for (const auto& query : {std::vector<std::string>{"--text", "P12"}, {"--player", "q3"}, {"--winner", "p29"}}) {
        const auto rows = found(Db, query);
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(rows, found(clean, query));
    }
    TLibrary library(Db);
    TSqlStatement check(library.Db(), "PRAGMA integrity_check");
    ASSERT_TRUE(check.Step());
    EXPECT_EQ(check.Text(0), "ok");
}

// Ctrl+C ends a scan after the batch being written: exit status 130, and the next scan completes it.
TEST_F(LibraryCliTest, InterruptedScanStopsCleanly) {
    WriteMany(3000);
    int status = 0;
    ASSERT_TRUE(SignalMidScan(SIGINT, &status)) << "the scan always ended before it could be interrupted";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    const int64_t kept = TLibrary(Db).Count();
    EXPECT_GT(kept, 0);
    const auto j = nlohmann::json::parse(Library({"add", Replays(), "--json"}).Out);
    EXPECT_EQ(j["unchanged"], kept);
    EXPECT_EQ(TLibrary(Db).Count(), 3000);
}
#endif
