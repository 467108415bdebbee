#include "core/platform/ReplayFolder.h"
#include "core/platform/VersionInfo.h"
#include "core/platform/WinePrefix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

constexpr const char* GameKey = "Software\\Blizzard Entertainment\\Warcraft III";

std::string Reg(const std::string& installLine) {
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"
           "[Software\\\\Blizzard Entertainment\\\\Warcraft III] 1700000000\n#time=1da\n" +
           installLine + "\n\"Other\"=dword:00000001\n\n[Software\\\\Wine] 1700000000\n\"InstallPath\"=\"wrong\"\n";
}

} // namespace

TEST(ReplayFolder, ReadsTheWineRegistry) {
    struct TCase {
        std::string Text;
        std::optional<std::string> Value;
    };
    const TCase cases[] = {
        {Reg("\"InstallPath\"=\"C:\\\\Program Files\\\\Warcraft III\""), "C:\\Program Files\\Warcraft III"},
        {Reg("\"installpath\"=\"D:\\\\Games\\\\War3\\\\\""), "D:\\Games\\War3\\"},
        {Reg("\"InstallPath\"=\"C:\\\\\\x6e38\\x620f\""), "C:\\游戏"},
        {Reg("\"InstallPath\"=dword:00000001"), std::nullopt},               // not a string
        {Reg("\"Version\"=\"1.26\""), std::nullopt},                         // absent value
        {"[Software\\\\Wine]\n\"InstallPath\"=\"C:\\\\x\"\n", std::nullopt}, // absent key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ReadWineRegistryString(c.Text, GameKey, "InstallPath"), c.Value);
    }
}

#ifndef _WIN32 // the Wine prefix is read from Linux only
TEST(ReplayFolder, FindsTheGamesReplayFolderInAPrefix) {
    const fs::path prefix = fs::path(::testing::TempDir()) / "quillon-wine-prefix";
    fs::remove_all(prefix);
    fs::create_directories(prefix / "drive_c/Games/Warcraft III");
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices/c:");
    const auto writeReg = [&](const std::string& install) { std::ofstream(prefix / "user.reg") << Reg(install); };

    writeReg("\"InstallPath\"=\"C:\\\\Games\\\\Warcraft III\"");
    EXPECT_EQ(WineReplayFolder(prefix.string()), std::nullopt); // no replay folder yet
    fs::create_directories(prefix / "drive_c/Games/Warcraft III/replay");
    EXPECT_EQ(WineReplayFolder(prefix.string()), (prefix / "dosdevices/c:/Games/Warcraft III/replay/").string());
    writeReg("\"InstallPath\"=\"C:\\\\Games\\\\Warcraft III\\\\\""); // a trailing backslash changes nothing
    EXPECT_EQ(WineReplayFolder(prefix.string()), (prefix / "dosdevices/c:/Games/Warcraft III/replay/").string());

    writeReg("\"Version\"=\"1\""); // no install path: the newer game's folder in the documents
    EXPECT_EQ(WineReplayFolder(prefix.string()), std::nullopt);
    fs::create_directories(prefix / "drive_c/users/me/Documents/Warcraft III/BattleNet/123/Replays");
    EXPECT_EQ(WineReplayFolder(prefix.string()),
              (prefix / "drive_c/users/me/Documents/Warcraft III/BattleNet/123/Replays/").string());
}
#endif

TEST(VersionInfo, ComesFromTheBuild) {
    EXPECT_EQ(GetVersionString("ProductVersion"), QUILLON_VERSION);
    EXPECT_EQ(GetVersionString("Comments"), "");
    const std::string four = GetFileVersionText(1);
    EXPECT_EQ(four.rfind(GetFileVersionText(0) + ".", 0), 0u);
    EXPECT_EQ(std::count(four.begin(), four.end(), '.'), 3);
    EXPECT_EQ(GetFileVersionText(2), "");
}
