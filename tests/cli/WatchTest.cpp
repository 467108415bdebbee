// quillon-cli watch as the user runs it: once over what is there, in the foreground until Ctrl+C, and killed at
// any moment without a half file in the collection.
#ifndef _WIN32
#include "CliProcess.h"
#include "CliRun.h"
#include "ReplayWriter.h"
#include "SampleGames.h"

#include "core/replay/LoadReplay.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

fs::path Fresh(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("quillon-watch-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "game");
    return dir;
}

void Write(const fs::path& path, const TBytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A finished game of a while ago: nothing to wait for.
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::minutes(5));
}

// The collection's replays; each must load completely.
std::multiset<std::string> Kept(const fs::path& collection) {
    std::multiset<std::string> names;
    if (!fs::exists(collection))
        return names;
    for (const auto& entry : fs::recursive_directory_iterator(collection))
        if (entry.is_regular_file() && entry.path().extension() == ".w3g") {
            const auto loaded = quillon::LoadReplay(entry.path().string(), 1);
            EXPECT_TRUE(loaded.Ok() && loaded.Replay->WalkEnd.Reason == quillon::TWalkEnd::TReason::End)
                << "a half file in the collection: " << entry.path();
            names.insert(entry.path().filename().string());
        }
    return names;
}

} // namespace

TEST(Watch, OnceKeepsWhatIsThereAndSaysWhatWasNot) {
    const fs::path dir = Fresh("once");
    Write(dir / "game" / "LastReplay.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    Write(dir / "game" / "Sky beats Lyn.w3g", BuildReplayFile(DuelSpec("Sky", "Lyn")));
    Write(dir / "game" / "TempReplay.w3g", BuildReplayFile(DuelSpec("Moon", "Grubby")));
    Write(dir / "game" / "broken.w3g", TBytes(300, 'x'));
    const std::string to = (dir / "kept").string(), game = (dir / "game").string();
    const TRun run = Cli({"watch", "--once", "--json", "--to", to, game});
    EXPECT_EQ(run.Status, 1) << run.Err; // the broken file
    std::map<std::string, std::string> results;
    std::istringstream lines(run.Out);
    for (std::string line; std::getline(lines, line);) {
        const auto j = nlohmann::json::parse(line);
        results[fs::path(j["source"].get<std::string>()).filename().string()] = j["result"].get<std::string>();
    }
    EXPECT_EQ(results.size(), 3u); // TempReplay.w3g is never looked at
    EXPECT_EQ(results["broken.w3g"], "unfinished");
    EXPECT_EQ(std::count_if(results.begin(), results.end(), [](const auto& r) { return r.second == "kept"; }), 1);
    EXPECT_EQ(Kept(dir / "kept"), std::multiset<std::string>{"Sky-vs-Lyn.w3g"});
    // Text lines say the same in words.
    const TRun again = Cli({"watch", "--once", "--lang", "en", "--to", to, game});
    EXPECT_NE(again.Out.find("is kept already as"), std::string::npos) << again.Out;
    fs::remove_all(dir);
}

TEST(Watch, CtrlCEndsTheWatch) {
    const fs::path dir = Fresh("signal");
    const fs::path log = dir / "watch.log";
    TCliProcess watch(
        {"watch", "--poll-ms", "50", "--settle-ms", "200", "--to", (dir / "kept").string(), (dir / "game").string()},
        {}, log);
    // A game ends while it watches: kept within moments.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto bytes = BuildReplayFile(DuelSpec("Sky", "Lyn"));
    std::ofstream(dir / "game" / "LastReplay.w3g", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    for (int i = 0; i < 500 && ReadAll(log).find("Saved") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(ReadAll(log).find("Sky-vs-Lyn.w3g"), std::string::npos);
    watch.Signal(SIGINT);
    EXPECT_EQ(watch.Wait(), 130);
    fs::remove_all(dir);
}

TEST(Watch, AKillAtAnyMomentLeavesNoHalfFileAndTheNextStartKeepsTheRest) {
    const fs::path dir = Fresh("kill");
    constexpr int Games = 30;
    for (int i = 0; i < Games; ++i)
        Write(dir / "game" / (std::to_string(i) + ".w3g"), BuildReplayFile(DuelSpec("P" + std::to_string(i), "Q")));
    const std::vector<std::string> args = {"watch", "--once", "--to", (dir / "kept").string(), (dir / "game").string()};
    std::mt19937 random(7);
    for (int round = 0; round < 8; ++round) {
        TCliProcess watch(args);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        watch.Kill();
        watch.Wait();
        Kept(dir / "kept"); // every replay there is whole
    }
    TCliProcess last(args);
    EXPECT_EQ(last.Wait(), 0);
    const auto kept = Kept(dir / "kept");
    EXPECT_EQ(kept.size(), static_cast<size_t>(Games)); // each game once
    EXPECT_EQ(std::set<std::string>(kept.begin(), kept.end()).size(), static_cast<size_t>(Games));
    // The copies in hand at the kills are gone.
    for (const auto& entry : fs::recursive_directory_iterator(dir / "kept"))
        EXPECT_EQ(entry.path().extension(), ".w3g") << entry.path();
    fs::remove_all(dir);
}
#endif
