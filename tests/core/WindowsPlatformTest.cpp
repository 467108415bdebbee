// What only Windows has: UTF-16 file names, MoveFileEx renames, the registry (the game's folder, the locale, the
// file association), the program's folder and %APPDATA%.
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "TestSystem.h"
#include "core/lang/Translations.h"
#include "core/platform/FileAssociation.h"
#include "core/platform/Files.h"
#include "core/platform/Locale.h"
#include "core/platform/Paths.h"
#include "core/platform/ReplayFolder.h"
#include "core/present/NumberFormat.h"
#include "core/rename/Rename.h"
#include "core/replay/LoadReplay.h"
#include "core/settings/Settings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

void WriteBytes(const fs::path& path, const TBytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The registry is changed the way a user or an installer would: with reg.exe (its arguments in UTF-16).
int Reg(const std::string& arguments) {
    return _wsystem((L"reg " + PathOf(arguments).wstring() + L" >NUL 2>&1").c_str());
}

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root = fs::temp_directory_path() /
               PathOf("quillon-windows-\xE5\x9B\x9E\xE6\x94\xBE-" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        fs::create_directories(Root);
    }
    void TearDown() override { fs::remove_all(Root); }

    // The folder as Windows users write it: backslashes, with one at the end.
    std::string Folder() const { return Utf8Of(Root) + "\\"; }

    fs::path Root;
};

} // namespace

TEST_F(WindowsTest, NonAsciiPathsAreReadListedAndRenamed) {
    // "玩家" in a folder named with Chinese characters and an accent.
    const std::string player = "\xE7\x8E\xA9\xE5\xAE\xB6";
    const fs::path sub = Root / PathOf("\xC3\xA9t\xC3\xA9");
    WriteBytes(sub / PathOf(player + ".w3g"), BuildReplayFile(DuelSpec(player, "Bob")));
    const std::string file = Folder() + "\xC3\xA9t\xC3\xA9\\" + player + ".w3g";

    EXPECT_EQ(FileStatus(file).Kind, TFileKind::File);
    const TLoadResult loaded = LoadReplay(file, 1);
    ASSERT_TRUE(loaded.Ok()) << file;
    EXPECT_EQ(loaded.Replay->Players->At(0).Name, player);

    std::string error;
    const auto entries = TRenameFileSystem().List(Folder() + "\xC3\xA9t\xC3\xA9\\", error);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Name, player + ".w3g");

    std::vector<TBatchRow> rows;
    TBatchOptions options;
    options.OnRow = [&rows](const TBatchRow& row) { rows.push_back(row); };
    TRenameFileSystem files;
    EXPECT_TRUE(RenameFolder(Folder(), options, files));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Path, file);
    // The new path goes on with the backslashes it was given.
    EXPECT_EQ(rows[0].Result, Folder() + "\xC3\xA9t\xC3\xA9\\" + player + "-vs-Bob.w3g");
    EXPECT_TRUE(fs::exists(sub / PathOf(player + "-vs-Bob.w3g")));
}

TEST_F(WindowsTest, BatchSkipsFoldersMarkedHiddenButNotHiddenReplays) {
    WriteBytes(Root / "secret" / "x.w3g", BuildReplayFile(DuelSpec("A", "B")));
    WriteBytes(Root / "y.w3g", BuildReplayFile(DuelSpec("C", "D")));
    ASSERT_TRUE(SetFileAttributesW((Root / "secret").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((Root / "y.w3g").c_str(), FILE_ATTRIBUTE_HIDDEN));
    TBatchOptions options;
    TRenameFileSystem files;
    EXPECT_TRUE(RenameFolder(Folder(), options, files));
    EXPECT_TRUE(fs::exists(Root / "secret" / "x.w3g"));
    EXPECT_TRUE(fs::exists(Root / "C-vs-D.w3g"));
}

TEST_F(WindowsTest, RenameNeverReplacesAnExistingTarget) {
    WriteBytes(Root / "a.w3g", {'a'});
    WriteBytes(Root / "b.w3g", {'b'});
    fs::create_directories(Root / "folder.w3g");
    EXPECT_EQ(RenameNoReplace(Folder() + "a.w3g", Folder() + "b.w3g"), TRenameResult::TargetExists);
    EXPECT_EQ(RenameNoReplace(Folder() + "a.w3g", Folder() + "folder.w3g"), TRenameResult::TargetExists);
    EXPECT_EQ(ReadAll(Root / "a.w3g"), "a");
    EXPECT_EQ(ReadAll(Root / "b.w3g"), "b");
    std::string reason;
    EXPECT_EQ(RenameNoReplace(Folder() + "gone.w3g", Folder() + "c.w3g", &reason), TRenameResult::Failed);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(RenameNoReplace(Folder() + "a.w3g", Folder() + "c.w3g"), TRenameResult::Renamed);
    EXPECT_EQ(ReadAll(Root / "c.w3g"), "a");
}

TEST_F(WindowsTest, ReplayFolderComesFromTheRegistry) {
    const std::string key = "\"HKCU\\Software\\Blizzard Entertainment\\Warcraft III\"";
    const std::string home = WithTrailingSeparator(*EnvironmentText("USERPROFILE"));
    Reg("delete " + key + " /f");
    EXPECT_EQ(DefaultReplayFolder(), home); // no game installed

    const std::string game = Utf8Of(Root / "Warcraft III");
    fs::create_directories(PathOf(game));
    ASSERT_EQ(Reg("add " + key + " /v InstallPath /t REG_SZ /d \"" + game + "\" /f"), 0);
    EXPECT_EQ(DefaultReplayFolder(), home); // installed, but no "replay" folder

    fs::create_directories(PathOf(game) / "replay");
    EXPECT_EQ(DefaultReplayFolder(), game + "\\replay\\"); // the backslash is added before "replay\"
    ASSERT_EQ(Reg("add " + key + " /v InstallPath /t REG_SZ /d \"" + game + "\\\\\" /f"), 0);
    EXPECT_EQ(DefaultReplayFolder(), game + "\\replay\\"); // and not doubled

    test::TScopedEnvironment games("QUILLON_GAMES", Utf8Of(Root));
    ASSERT_EQ(Reg("add " + key + " /v InstallPath /t REG_EXPAND_SZ /d \"%QUILLON_GAMES%\\Warcraft III\" /f"), 0);
    EXPECT_EQ(DefaultReplayFolder(), game + "\\replay\\");

    ASSERT_EQ(Reg("add " + key + " /v InstallPath /t REG_DWORD /d 7 /f"), 0);
    try {
        DefaultReplayFolder();
        ADD_FAILURE() << "no error for a number";
    } catch (const TRegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'InstallPath'");
    }
    Reg("delete " + key + " /f");
}

TEST_F(WindowsTest, LanguageComesFromTheLocaleValue) {
    const std::string key = "\"HKCU\\Control Panel\\International\"";
    wchar_t saved[64] = {};
    DWORD size = sizeof saved;
    const bool had = RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"Locale", RRF_RT_REG_SZ, nullptr,
                                  saved, &size) == ERROR_SUCCESS;
    struct TCase {
        const char* Value; // nullptr: no value
        TLanguage Language;
    };
    const TCase cases[] = {{"00000804", TLanguage::Chinese},
                           {"00000409", TLanguage::English},
                           {"00000404", TLanguage::English}, // Chinese (Taiwan) is not Simplified Chinese
                           {"", TLanguage::English},
                           {nullptr, TLanguage::English}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Value ? c.Value : "(none)");
        if (c.Value)
            ASSERT_EQ(Reg("add " + key + " /v Locale /t REG_SZ /d \"" + c.Value + "\" /f"), 0);
        else
            Reg("delete " + key + " /v Locale /f");
        EXPECT_EQ(LanguageFromLocale(), c.Language);
    }
    if (had)
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"Locale", REG_SZ, saved, size);
}

TEST_F(WindowsTest, NumbersUseTheUsersSeparators) {
    // The user's own choice in the regional settings, over the locale's defaults.
    const std::string key = "\"HKCU\\Control Panel\\International\"";
    ASSERT_EQ(Reg("add " + key + " /v sThousand /t REG_SZ /d . /f"), 0);
    ASSERT_EQ(Reg("add " + key + " /v sDecimal /t REG_SZ /d , /f"), 0);
    const TNumberFormat format = TNumberFormat::FromSystem();
    // Back to the values of the build's own prefix (English, United States).
    Reg("add " + key + " /v sThousand /t REG_SZ /d , /f");
    Reg("add " + key + " /v sDecimal /t REG_SZ /d . /f");
    EXPECT_EQ(format.Integer(1234567), "1.234.567");
    EXPECT_EQ(format.TwoDecimals(123.456), "123,46");
}

TEST_F(WindowsTest, SettingsLiveInAppDataOrBesideTheProgram) {
    test::TScopedEnvironment appData("APPDATA", Utf8Of(Root / "Roaming"));
    const std::string programDir = ProgramDir();
    ASSERT_FALSE(programDir.empty());
    const fs::path beside = PathOf(programDir) / "Quillon.ini";
    ASSERT_FALSE(fs::exists(beside)) << "a Quillon.ini is already beside the tests";

    TSettings settings;
    settings.Language = 1;
    settings.Rule.GlobalTemplate = "<win> \xE8\x83\x9C <loss>";
    const std::string perUser = SettingsPath(programDir);
    EXPECT_EQ(perUser, Utf8Of(Root / "Roaming" / "Quillon" / "Quillon.ini"));
    SaveSettings(perUser, settings); // makes the Quillon folder
    EXPECT_EQ(LoadSettings(perUser).Rule.GlobalTemplate, settings.Rule.GlobalTemplate);

    // A portable install: the file beside the program wins, and is rewritten in place.
    std::ofstream(beside) << "[general]\nlanguage=0\n";
    EXPECT_EQ(SettingsPath(programDir), Utf8Of(beside));
    SaveSettings(SettingsPath(programDir), settings);
    const TSettings read = LoadSettings(Utf8Of(beside));
    fs::remove(beside);
    EXPECT_EQ(read.Language, 1);
    EXPECT_EQ(read.Rule.GlobalTemplate, settings.Rule.GlobalTemplate);
}

namespace {

std::wstring ClassValue(const wchar_t* key) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    const std::wstring path = std::wstring(L"Software\\Classes\\") + key;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"(none)";
    return value;
}

} // namespace

TEST_F(WindowsTest, ReplaysAreTiedToTheProgramForThisUser) {
    Reg("delete \"HKCU\\Software\\Classes\\Quillon\" /f");
    Reg("delete \"HKCU\\Software\\Classes\\.w3g\" /f");
    const std::string program = Folder() + "Quillon.exe";
    EXPECT_TRUE(RegisterFileTypeForUser("&Open with Quillon", program));
    EXPECT_EQ(ClassValue(L".w3g"), L"Quillon");
    EXPECT_EQ(ClassValue(L"Quillon"), L"Warcraft III Replay File");
    EXPECT_EQ(ClassValue(L"Quillon\\DefaultIcon"), PathOf(program).wstring() + L",0");
    EXPECT_EQ(ClassValue(L"Quillon\\shell\\open"), L"&Open with Quillon");
    EXPECT_EQ(ClassValue(L"Quillon\\shell\\open\\command"), L"\"" + PathOf(program).wstring() + L"\" \"%1\"");
    // Written again only when something differs: the verb in the other language.
    EXPECT_FALSE(RegisterFileTypeForUser("&Open with Quillon", program));
    EXPECT_TRUE(RegisterFileTypeForUser("\xE7\x94\xA8 Quillon \xE6\x89\x93\xE5\xBC\x80(&O)", program));
    EXPECT_EQ(ClassValue(L"Quillon\\shell\\open"), L"\u7528 Quillon \u6253\u5F00(&O)");
    Reg("delete \"HKCU\\Software\\Classes\\Quillon\" /f");
    Reg("delete \"HKCU\\Software\\Classes\\.w3g\" /f");
}
