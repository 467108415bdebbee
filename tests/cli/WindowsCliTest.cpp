// quillon-cli.exe as Windows starts it: UTF-16 arguments in, UTF-8 bytes out, the exit codes of Linux.
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "core/platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The program through cmd.exe, as a user types it; its output redirected to a file.
int RunCli(const std::wstring& arguments, const fs::path& output) {
    const std::wstring command =
        L"\"\"" + PathOf(QUILLON_CLI_PATH).wstring() + L"\" " + arguments + L" > \"" + output.wstring() + L"\" 2>&1\"";
    return _wsystem(command.c_str());
}

} // namespace

TEST(WindowsCli, ChineseArgumentsAndUtf8Output) {
    const std::string player = "\xE7\x8E\xA9\xE5\xAE\xB6"; // 玩家
    const fs::path dir = fs::temp_directory_path() / PathOf("quillon-cli-\xE5\x9B\x9E\xE6\x94\xBE");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path replay = dir / PathOf(player + ".w3g");
    const TBytes bytes = BuildReplayFile(DuelSpec(player, "Bob"));
    std::ofstream(replay, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const fs::path out = dir / "out.txt";

    EXPECT_EQ(RunCli(L"info --json \"" + replay.wstring() + L"\"", out), 0) << ReadAll(out);
    const std::string json = ReadAll(out);
    EXPECT_NE(json.find("\"" + player + "\""), std::string::npos) << json; // the name as UTF-8 bytes
    EXPECT_NE(json.find(player + ".w3g"), std::string::npos) << json;      // and the path it was given

    EXPECT_EQ(RunCli(L"name \"" + replay.wstring() + L"\"", out), 0);
    EXPECT_EQ(ReadAll(out).substr(0, player.size() + 7), player + "-vs-Bob");

    // A missing file and a usage error end as they do on Linux.
    EXPECT_EQ(RunCli(L"info \"" + (dir / L"\u4E0D\u5728.w3g").wstring() + L"\"", out), 1);
    EXPECT_NE(ReadAll(out).find("\xE4\xB8\x8D\xE5\x9C\xA8.w3g"), std::string::npos) << ReadAll(out);
    EXPECT_EQ(RunCli(L"--no-such-flag", out), 2);
    fs::remove_all(dir);
}
