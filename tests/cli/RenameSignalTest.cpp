// Ctrl+C during a batch rename: a real quillon-cli process and a real signal.
#ifndef _WIN32
#include "CliProcess.h"
#include "ReplayWriter.h"
#include "SampleGames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace quillon::testing;
namespace fs = std::filesystem;

TEST(RenameSignal, CtrlCStopsAfterTheFileInHand) {
    const fs::path dir = fs::temp_directory_path() / ("quillon-rename-signal-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    constexpr int Files = 40;
    for (int i = 0; i < Files; ++i) {
        fs::create_directories(dir / "replays");
        const auto bytes = BuildReplayFile(DuelSpec("P" + std::to_string(i), "Q"));
        std::ofstream(dir / "replays" / (std::to_string(i) + ".w3g"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const fs::path log = dir / "rename.log";
    TCliProcess rename({"rename", "--global", "<win> beat <loss>", (dir / "replays").string()},
                       {{"QUILLON_TEST_SLOW_RENAME", "1"}}, log);
    const auto lines = [&log] {
        const std::string text = ReadAll(log);
        return std::count(text.begin(), text.end(), '\n');
    };
    for (int i = 0; i < 10000 && lines() < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    rename.Signal(SIGINT);
    EXPECT_EQ(rename.Wait(), 130);
    // Every file renamed has its line; the others are untouched.
    int renamed = 0, untouched = 0;
    for (const auto& entry : fs::directory_iterator(dir / "replays"))
        (entry.path().filename().string().find(" beat ") != std::string::npos ? renamed : untouched)++;
    EXPECT_GE(renamed, 3);
    EXPECT_EQ(renamed, lines());
    EXPECT_EQ(renamed + untouched, Files);
    EXPECT_GT(untouched, 0);
    EXPECT_NE(ReadAll(fs::path(log.string() + ".err")).find("stopped"), std::string::npos);
    fs::remove_all(dir);
}
#endif
