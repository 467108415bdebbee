#include "core/settings/Settings.h"
#include "core/library/Library.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsError.h"

#include "TestSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
        : Path(fs::temp_directory_path() /
               ("quillon-settings-" + std::to_string(::getpid()) + "-" + std::to_string(Counter++))) {
        fs::create_directories(Path);
    }
    ~TempDir() { fs::remove_all(Path); }
    std::string File(const std::string& name, const std::string& content) const {
        std::ofstream(Path / name, std::ios::binary) << content;
        return (Path / name).string();
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path Path;
    static inline int Counter = 0;
};

} // namespace

TEST(IniFile, ProfileIntegers) {
    const std::pair<const char*, long long> cases[] = {
        {"50", 50},  {"0x1A", 26}, {"0X1a", 26},  {"$ff", 255}, {"-3", -3}, {" 7 ", 7},
        {"abc", -1}, {"", -1},     {"12abc", -1}, {"0x", -1},   {"$", -1},  {"99999999999999999999", -1}};
    for (auto [text, value] : cases) {
        const TIniFile ini = TIniFile::Parse(std::string("[general]\nn=") + text + "\n");
        EXPECT_EQ(ini.ReadInteger("general", "n", -1), value) << text;
    }
}

TEST(IniFile, BooleansAndLookups) {
    const TIniFile ini = TIniFile::Parse("; comment\r\n[General]\r\nOn=1\r\noff=0\r\ntwo=2\r\nhex=0x0\r\nbad=yes\r\n"
                                         "[other]\r\nOn=0\r\n");
    EXPECT_TRUE(ini.ReadBool("general", "on", false)); // sections and keys ignore letter case
    EXPECT_FALSE(ini.ReadBool("general", "off", true));
    EXPECT_TRUE(ini.ReadBool("general", "two", false));
    EXPECT_FALSE(ini.ReadBool("general", "hex", true));
    EXPECT_TRUE(ini.ReadBool("general", "bad", true));
    EXPECT_FALSE(ini.ReadBool("general", "bad", false));
    EXPECT_TRUE(ini.ReadBool("general", "missing", true));
    EXPECT_FALSE(ini.ReadBool("other", "on", true));
}

TEST(IniFile, StringsComeBackAsStoredUpToTheLimit) {
    TIniFile ini;
    const std::string awkward = " <name> ; \"quoted\" =x ";
    ini.Write("template", "conj", awkward);
    ini.Write("template", "long", std::string(2048, 'a'));
    const TIniFile back = TIniFile::Parse(ini.Text());
    EXPECT_EQ(back.ReadString("template", "conj", ""), awkward); // no quoting added, nothing trimmed
    EXPECT_EQ(back.ReadString("template", "long", "").size(), TIniFile::MaxStringCharacters);
    EXPECT_EQ(back.ReadString("template", "missing", "<name>"), "<name>");
}

TEST(IniFile, WritesKeepOtherKeysAndSections) {
    TIniFile ini = TIniFile::Parse("[other]\nkeep=me\n\n[general]\nlanguage=0\nforeign=1\n[future]\nx=y\n");
    ini.Write("general", "language", "1");
    ini.Write("general", "showunused", "0");
    ini.Write("template", "player", "<name>");
    EXPECT_EQ(ini.Text(), "[other]\r\nkeep=me\r\n\r\n[general]\r\nlanguage=1\r\nforeign=1\r\nshowunused=0\r\n"
                          "[future]\r\nx=y\r\n\r\n[template]\r\nplayer=<name>\r\n");
}

TEST(Settings, DefaultsWithoutAFile) {
    const TSettings s = LoadSettings("/nonexistent/quillon/Quillon.ini");
    EXPECT_EQ(s.Language, -1);
    EXPECT_TRUE(s.ShowUnused);
    EXPECT_TRUE(s.ShowObservers);
    EXPECT_TRUE(s.ParseActions);
    EXPECT_EQ(s.ActionsPerPage, 50);
    EXPECT_EQ(s.Rule.PlayerTemplate, "<name>");
    EXPECT_EQ(s.Rule.Conjunction, "+");
    EXPECT_EQ(s.Rule.GlobalTemplate, "<win>-vs-<loss>");
}

TEST(Settings, RoundTripInTheKeyOrder) {
    TempDir dir;
    const std::string path = (dir.Path / "Quillon.ini").string();
    TSettings s;
    s.Language = 1;
    s.ShowUnused = false;
    s.ActionsPerPage = 20;
    s.Rule = {"<name>(<raceshort>)", " & ", "<map> <win> vs <loss>"};
    SaveSettings(path, s);
    EXPECT_EQ(dir.Read("Quillon.ini"), "[general]\r\nlanguage=1\r\nshowunused=0\r\nshowobserver=1\r\nactionlist=1\r\n"
                                       "actionppage=20\r\n\r\n[template]\r\nplayer=<name>(<raceshort>)\r\nconj= & \r\n"
                                       "global=<map> <win> vs <loss>\r\n");
    const TSettings back = LoadSettings(path);
    EXPECT_EQ(back.Language, 1);
    EXPECT_FALSE(back.ShowUnused);
    EXPECT_EQ(back.ActionsPerPage, 20);
    EXPECT_EQ(back.Rule.Conjunction, " & ");
    EXPECT_EQ(back.Rule.GlobalTemplate, "<map> <win> vs <loss>");
}

TEST(Settings, ActionsPerPageIsKeptInRange) {
    const std::pair<const char*, int> cases[] = {{"0", 10},    {"-5", 10},   {"9", 10},    {"10", 10},
                                                 {"100", 100}, {"101", 100}, {"0x20", 32}, {"x", 50}};
    for (auto [stored, used] : cases) {
        TempDir dir;
        EXPECT_EQ(LoadSettings(dir.File("Quillon.ini", std::string("[general]\nactionppage=") + stored)).ActionsPerPage,
                  used)
            << stored;
    }
}

TEST(Settings, OtherProgramsKeysSurviveAWrite) {
    TempDir dir;
    const std::string path = dir.File("Quillon.ini", "[general]\nlanguage=0\nwindowx=120\n[plugins]\nfoo=bar\n");
    SaveSettings(path, TSettings{});
    const TIniFile ini = TIniFile::Load(path);
    EXPECT_EQ(ini.ReadString("general", "windowx", ""), "120");
    EXPECT_EQ(ini.ReadString("plugins", "foo", ""), "bar");
    EXPECT_EQ(ini.ReadInteger("general", "language", 5), -1);
}

TEST(Settings, AFailedWriteSaysWhereAndKeepsTheOldFile) {
    TempDir dir;
    const std::string blocker = dir.File("not-a-folder", "x"); // a file where the folder should be
    const std::string path = blocker + "/Quillon.ini";
    try {
        SaveSettings(path, TSettings{});
        FAIL() << "expected a write error";
    } catch (const TSettingsError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Unable to write to " + path, 0), 0u) << e.what();
    }
    EXPECT_EQ(dir.Read("not-a-folder"), "x");
}

TEST(Settings, WhereTheFileLives) {
    TempDir dir;
    EXPECT_EQ(SettingsPath("/opt/quillon/", "/tmp/mine.ini"), "/tmp/mine.ini");
    const std::string exeDir = dir.Path.string() + "/";
#ifdef _WIN32
    test::TScopedEnvironment settings("APPDATA", "C:\\Users\\someone\\AppData\\Roaming");
    test::TScopedEnvironment data("LOCALAPPDATA", "C:\\Users\\someone\\AppData\\Local");
    EXPECT_EQ(SettingsPath("C:\\none\\"), "C:\\Users\\someone\\AppData\\Roaming\\Quillon\\Quillon.ini");
    EXPECT_EQ(DefaultLibraryPath("C:\\none\\"), "C:\\Users\\someone\\AppData\\Local\\Quillon\\library.sqlite");
#else
    {
        test::TScopedEnvironment xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(SettingsPath(exeDir), "/xdg/Quillon/Quillon.ini");
    }
    test::TScopedEnvironment noXdg("XDG_CONFIG_HOME", std::nullopt);
    test::TScopedEnvironment noData("XDG_DATA_HOME", std::nullopt);
    test::TScopedEnvironment home("HOME", "/home/someone");
    EXPECT_EQ(SettingsPath("/opt/none/"), "/home/someone/.config/Quillon/Quillon.ini");
    // The replay library follows the same rule in the data folder.
    EXPECT_EQ(DefaultLibraryPath("/opt/none/"), "/home/someone/.local/share/Quillon/library.sqlite");
    {
        test::TScopedEnvironment data("XDG_DATA_HOME", "/data");
        EXPECT_EQ(DefaultLibraryPath("/opt/none/"), "/data/Quillon/library.sqlite");
    }
#endif
    dir.File("Quillon.ini", "");
    EXPECT_EQ(SettingsPath(exeDir), exeDir + "Quillon.ini"); // a portable install keeps its file
    EXPECT_EQ(DefaultLibraryPath(exeDir), exeDir + "library.sqlite");
}
