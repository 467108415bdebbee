#include "core/settings/Settings.h"
#include "core/library/Library.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsError.h"

#include "TestSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(WindowState, RoundTripsBesideTheSettingsKeys) {
    TempDir dir;
    const std::string path = dir.File("Quillon.ini", "[general]\nlanguage=1\n[plugins]\nfoo=bar\n");
    TWindowState state;
    state.Geometry = TWindowState::TRect{-20, 40, 1024, 700};
    state.Maximized = true;
    state.Sizes = {{"Splitter1", {370, 153}}, {"ActionList", {64, 60}}};
    state.Tab = 1;
    RememberFolder(state, "/replays/old");
    RememberFolder(state, "/replays/交给 new");
    SaveSettings(path, LoadSettings(path), &state);
    const TSettingsRead back = ReadSettings(path);
    EXPECT_EQ(back.Window.Geometry, state.Geometry);
    EXPECT_TRUE(back.Window.Maximized);
    EXPECT_EQ(back.Window.Sizes, state.Sizes);
    EXPECT_EQ(back.Window.Tab, 1);
    EXPECT_EQ(back.Window.RecentFolders, state.RecentFolders);
    EXPECT_EQ(back.Window.LastFolder, "/replays/交给 new");
    EXPECT_EQ(back.Settings.Language, 1);
    EXPECT_EQ(TIniFile::Load(path).ReadString("plugins", "foo", ""), "bar");
    // Writing the settings alone leaves the window's section as it was.
    SaveSettings(path, back.Settings);
    EXPECT_EQ(ReadSettings(path).Window.Sizes, state.Sizes);
}

TEST(WindowState, MalformedValuesGiveTheDefaults) {
    const std::pair<const char*, const char*> cases[] = {
        {"geometry=1,2,3", "three numbers"},          {"geometry=1,2,0,5", "no width"},
        {"geometry=a,b,c,d", "no numbers"},           {"geometry=1,2,3,4,", "a trailing comma"},
        {"sizes=Splitter1:0,5", "a zero size"},       {"sizes=Splitter1:12x", "no number"},
        {"sizes=Split ter:5", "a name with a blank"}, {"tab=7", "a tab that does not exist"},
    };
    for (const auto& [line, what] : cases) {
        TempDir dir;
        const TWindowState state = ReadSettings(dir.File("Quillon.ini", std::string("[window]\n") + line)).Window;
        EXPECT_FALSE(state.Geometry) << what;
        EXPECT_TRUE(state.Sizes.empty()) << what;
        EXPECT_LE(state.Tab, 1) << what;
    }
}

TEST(WindowState, RecentFoldersKeepTheLatestTenOnce) {
    TWindowState state;
    for (int i = 0; i < 12; ++i)
        RememberFolder(state, "/f" + std::to_string(i));
    RememberFolder(state, "/f5");
    ASSERT_EQ(state.RecentFolders.size(), TWindowState::MaxRecentFolders);
    EXPECT_EQ(state.RecentFolders.front(), "/f5");
    EXPECT_EQ(state.RecentFolders[1], "/f11");
    EXPECT_EQ(std::count(state.RecentFolders.begin(), state.RecentFolders.end(), "/f5"), 1);
    EXPECT_EQ(state.RecentFolders.back(), "/f2"); // /f0 and /f1 fell off
    // A name an ini line cannot hold is not kept, and does not push the others out.
    for (const std::string& hostile : {std::string("/a\nrecent0=/etc"), std::string("/b\r"), std::string(3000, 'x')})
        RememberFolder(state, hostile);
    EXPECT_EQ(state.RecentFolders.front(), "/f5");
    EXPECT_EQ(state.LastFolder, "/f5");
}

TEST(AutoSaveSettings, RoundTripInTheirOwnSectionAndFewerFoldersLeaveNoneBehind) {
    TempDir dir;
    const std::string path = dir.File("Quillon.ini", "[general]\nlanguage=0\n");
    TAutoSaveSettings a;
    a.Enabled = true;
    a.Collection = "/games/kept 交给";
    a.FolderTemplate = "<version>/<year>";
    a.Folders = {"/x", "/y", "/z"};
    a.KeepInTray = false;
    a.StartWithSystem = true;
    SaveSettings(path, TSettings{}, nullptr, &a);
    EXPECT_EQ(ReadSettings(path).AutoSave, a);
    a.Folders = {"/only"};
    a.Collection = "bad\nline"; // a value an ini line cannot hold is not written
    SaveSettings(path, TSettings{}, nullptr, &a);
    const TAutoSaveSettings back = ReadSettings(path).AutoSave;
    EXPECT_EQ(back.Folders, std::vector<std::string>{"/only"});
    EXPECT_EQ(back.Collection, "");
    EXPECT_EQ(TIniFile::Load(path).ReadString("general", "language", ""), "-1");
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
