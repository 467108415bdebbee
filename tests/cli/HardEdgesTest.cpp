// Bad input a user can meet: special files, huge files, unusable settings, bad rules, unsafe names, silent failures.
#include "CliRun.h"
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "core/platform/Paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const std::string Device = "NUL";
#else
const std::string Device = "/dev/zero";
#endif

TBytes Duel(const std::string& alice, const std::string& bob) {
    return BuildReplayFile(DuelSpec(alice, bob));
}

class HardEdges : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("quillon-edges-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Write(const std::string& name, const TBytes& bytes) {
        const fs::path path = Dir / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    // A file that is no regular file: a FIFO without a writer here, the NUL device on Windows.
    std::string Fifo(const std::string& name) {
#ifdef _WIN32
        (void)name;
        return "NUL";
#else
        const std::string path = (Dir / name).string();
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        return path;
#endif
    }

    fs::path Dir;
};

} // namespace

TEST_F(HardEdges, SpecialFilesAndFoldersAreSaidNeverRead) {
    const std::string fifo = Fifo("fifo.w3g");
    const std::string good = Write("good.w3g", Duel("A", "B"));
    struct TCase {
        std::vector<std::string> Args;
        std::string Said;
    };
    const TCase cases[] = {
        {{"info", fifo, good}, "Not a regular file"}, // the good file after it is still shown
        {{"info", Device}, "Not a regular file"},
        {{"info", Dir.string()}, "This is a folder, not a replay"},
        {{"actions", fifo}, "Not a regular file"},
        {{"name", fifo}, "Not a regular file"},
        {{"rename", "--settings", Write("empty.ini", {}), fifo}, "Not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.front() + " " + c.Args.back());
        const TRun run = Cli(c.Args);
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE((run.Err + run.Out).find(c.Said), std::string::npos) << run.Err << run.Out;
    }
    EXPECT_NE(Cli({"info", fifo, good}).Out.find("Game Version"), std::string::npos);

#ifndef _WIN32 // a folder holds no device there
    // In a batch the FIFO is a row with its reason, and the walk goes on.
    const TRun batch = Cli({"rename", "--settings", Write("empty.ini", {}), Dir.string()});
    EXPECT_EQ(batch.Status, 1);
    EXPECT_NE(batch.Out.find(fifo + "\tCannot open file"), std::string::npos) << batch.Out;
    EXPECT_TRUE(fs::exists(Dir / "A-vs-B.w3g"));
#endif
}

TEST_F(HardEdges, HugeFilesCostWhatTheirBlocksHold) {
    const std::string sparse = Write("sparse.w3g", Duel("A", "B"));
    fs::resize_file(sparse, uint64_t{4} << 30); // 4 GiB, nearly all of it a hole
    const TRun run = Cli({"info", sparse, Write("after.w3g", Duel("C", "D"))});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("\tA\t"), std::string::npos);
    EXPECT_NE(run.Out.find("\tC\t"), std::string::npos);
}

TEST_F(HardEdges, UnusableSettingsFilesAreErrors) {
    const std::string replay = Write("x.w3g", Duel("A", "B"));
    fs::create_directories(Dir / "folder.ini");
    TBytes big(TBytes::size_type{1024 * 1024 + 1}, 'a');
    struct TCase {
        std::string Settings;
        std::string Said;
    };
    const TCase cases[] = {
        {(Dir / "missing.ini").string(), "No such file"},
        {(Dir / "folder.ini").string(), "It is a folder"},
        {Fifo("fifo.ini"), "Not a regular file"},
        {Device, "Not a regular file"},
        {Write("binary.ini", {'[', 'g', 0, 1, ']'}), "A binary file"},
        {Write("big.ini", big), "Larger than 1 MiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Settings);
        const TRun run = Cli({"rename", "--settings", c.Settings, replay});
        EXPECT_EQ(run.Status, 2);
        EXPECT_NE(run.Err.find(c.Said), std::string::npos) << run.Err;
        EXPECT_TRUE(fs::exists(replay)); // nothing renamed
    }
}

TEST_F(HardEdges, RulesTheChecksRefuseAreNeverUsed) {
    const std::string replay = Write("x.w3g", Duel("A", "B"));
    const std::string settings = Write("empty.ini", {});
    struct TCase {
        std::vector<std::string> Rule;
        std::string Said;
    };
    const TCase cases[] = {
        {{"--global", "<win"}, "global template: Error template signal! The token \"<win\" has no \">\". (position 0"},
        {{"--player", "<win>"}, "player template: Unknown template: <win>"},
        {{"--conj", "a/b"}, "conjunction: Error filename character! (position 1, length 1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Said);
        for (const std::string command : {"name", "rename"}) {
            std::vector<std::string> args = {command};
            if (command == "rename")
                args.insert(args.end(), {"--settings", settings});
            args.insert(args.end(), c.Rule.begin(), c.Rule.end());
            args.push_back(replay);
            const TRun run = Cli(args);
            EXPECT_EQ(run.Status, 2) << command;
            EXPECT_NE(run.Err.find(c.Said), std::string::npos) << run.Err;
        }
        EXPECT_TRUE(fs::exists(replay));
    }
    // A rule from the settings file is checked as well.
    const std::string bad = Write("bad.ini", {'[', 't', 'e', 'm', 'p', 'l', 'a', 't', 'e', ']', '\n', 'g',
                                              'l', 'o', 'b', 'a', 'l', '=', '<', 'w', 'i', 'n', '\n'});
    EXPECT_EQ(Cli({"rename", "--settings", bad, replay}).Status, 2);
    EXPECT_TRUE(fs::exists(replay));
}

TEST_F(HardEdges, NewNamesAreSafe) {
    const std::string settings = Write("empty.ini", {});
    struct TCase {
        std::string Player1;
        std::vector<std::string> Rule;
        std::string Name; // the name made, without ".w3g"; empty: none can be made
    };
    const std::string longRule(300, 'x');
    const TCase cases[] = {
        {"Ev\nil\x1B[31m", {}, "Evil[31m-vs-B"},              // control characters go
        {"A", {"--global", ".."}, ""},                        // nothing usable is left
        {"A", {"--global", ".<win>"}, "A"},                   // no hidden file
        {"A", {"--global", "\x7F<win>\t"}, "A"},              // DEL and TAB too
        {"A", {"--global", longRule}, std::string(251, 'x')}, // cut to the file name limit with ".w3g"
        {"A", {"--global", "\xE7\x8E\xA9" + longRule}, "\xE7\x8E\xA9" + std::string(248, 'x')},
        {"A", {"--global", std::string(250, 'x') + "\xE7\x8E\xA9"}, std::string(250, 'x')}, // a whole character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string replay = Write("in.w3g", Duel(c.Player1, "B"));
        std::vector<std::string> args = {"name"};
        args.insert(args.end(), c.Rule.begin(), c.Rule.end());
        args.push_back(replay);
        const TRun name = Cli(args);
        EXPECT_EQ(name.Status, c.Name.empty() ? 1 : 0);
        if (!c.Name.empty()) {
            EXPECT_EQ(name.Out, c.Name + "\n");
        }
        args[0] = "rename";
        args.insert(args.begin() + 1, {"--settings", settings});
        const TRun rename = Cli(args);
        EXPECT_EQ(rename.Status, c.Name.empty() ? 1 : 0) << rename.Out << rename.Err;
        if (!c.Name.empty()) {
            EXPECT_TRUE(fs::exists(Dir / PathOf(c.Name + ".w3g")));
            fs::remove(Dir / PathOf(c.Name + ".w3g"));
        }
    }
}

TEST_F(HardEdges, CollisionNumbersFitTheNameLimit) {
    const std::string settings = Write("empty.ini", {});
    for (int i = 0; i < 12; ++i)
        Write("games/" + std::to_string(i) + ".w3g", Duel("A", "B"));
    const std::string rule(260, 'y');
    const TRun run = Cli({"rename", "--settings", settings, "--global", rule, (Dir / "games").string()});
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_TRUE(fs::exists(Dir / "games" / (std::string(251, 'y') + ".w3g")));
    EXPECT_TRUE(fs::exists(Dir / "games" / (std::string(250, 'y') + "2.w3g")));
    EXPECT_TRUE(fs::exists(Dir / "games" / (std::string(249, 'y') + "12.w3g")));
}

TEST_F(HardEdges, ClearUsageErrors) {
    const std::string replay = Write("x.w3g", Duel("A", "B"));
    struct TCase {
        std::vector<std::string> Args;
        int Status;
        std::string Said;
    };
    const TCase cases[] = {
        {{"actions", "--page", "0", replay}, 2, "pages start at 1"},
        {{"actions", "--page", "99", replay}, 0, "has 1 page of 50 actions"},
        {{"actions", "--raw", "--page", "2", replay}, 2, "excludes"},
        {{"actions", "--raw", "--players", "1", replay}, 2, "excludes"},
        {{"info", "--json", "--model", replay}, 2, "excludes"},
        // Numbers out of range are usage errors, never wrapped into something that matches everything.
        {{"library", "search", "--min-length", "153722867280913"}, 2, "--min-length"},
        {{"library", "rename", "--min-length", "9223372036854775807"}, 2, "--min-length"},
        {{"library", "search", "--min-length", "-1"}, 2, "--min-length"},
        {{"library", "search", "--limit", "99999999999999"}, 2, "--limit"},
        {{"actions", "--page", "99999999999999999999", replay}, 2, "pages start at 1"},
        {{"actions", "--per-page", "4294967297", replay}, 2, "--per-page"},
        {{"actions", "--players", "257", replay}, 2, "--players"},
        {{"info", "--detail", "4294967298", replay}, 2, "--detail"},
        {{"info", "--show-unused", "2", replay}, 2, "--show-unused"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Said);
        const TRun run = Cli(c.Args);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_NE(run.Err.find(c.Said), std::string::npos) << run.Err;
    }
}

TEST_F(HardEdges, NothingDrivesTheTerminal) {
    const std::string replay = Write("x.w3g", Duel("Evil\x1B]0;owned\x07", "B\xC2\x9B"));
    const TRun info = Cli({"info", replay});
    EXPECT_EQ(info.Out.find('\x1B'), std::string::npos);
    EXPECT_EQ(info.Out.find('\x07'), std::string::npos);
    EXPECT_NE(info.Out.find("Evil\\x1B]0;owned\\x07"), std::string::npos);
    EXPECT_NE(info.Out.find("B\\xC2\\x9B"), std::string::npos); // a C1 control in UTF-8
}

// Windows names are UTF-16, so bytes that are not UTF-8 cannot be in them, and it has no full device.
#ifndef _WIN32
TEST_F(HardEdges, NoFailureReadsAsSuccess) {
    const std::string settings = Write("empty.ini", {});
    // File names that are not UTF-8 stay apart in JSON.
    Write("games/a\xFF.w3g", Duel("A", "B"));
    Write("games/a\xFE.w3g", Duel("C", "D"));
    const TRun json = Cli({"rename", "--json", "--dry-run", "--settings", settings, (Dir / "games").string()});
    std::istringstream lines(json.Out);
    std::set<std::string> bytes;
    for (std::string line; std::getline(lines, line);)
        bytes.insert(nlohmann::json::parse(line).at("pathBytes").get<std::string>());
    EXPECT_EQ(bytes.size(), 2u);
    EXPECT_TRUE(bytes.count((Dir / "games" / "a\\xFF.w3g").string())) << json.Out;

    // Output that cannot be written is a failure: the real program, into a full device.
    const std::string command =
        std::string(QUILLON_CLI_PATH) + " info " + Write("x.w3g", Duel("A", "B")) + " > /dev/full 2> /dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
}
#endif

// The program's own words come in the language asked for; the system's reasons stay as the system gives them.
TEST_F(HardEdges, OwnWordsFollowTheLanguage) {
    const TBytes whole = Duel("A", "B");
    const std::string cut = Write("cut.w3g", TBytes(whole.begin(), whole.begin() + 200));
    const std::string good = Write("good.w3g", whole);
    const std::string special = Fifo("special.w3g");
    struct TCase {
        std::vector<std::string> Args;
        std::string English, Chinese;
    };
    const TCase cases[] = {
        {{"info", cut}, "Stream read error", "数据流读取错误"},
        {{"rename", "--dry-run", cut}, "Stream read error", "数据流读取错误"},
        {{"info", special}, "Cannot open file", "无法打开文件"},
        {{"name", "--global", "<nope>", good},
         "the rule's global template: Unknown template",
         "改名规则的全局模板: 未知模板"},
        {{"check-rule", "--conj", "a/b"},
         "conjunction: Error filename character! (position 1",
         "连接符: 错误的文件名字符! (位置 1"},
    };
    for (const auto& c : cases) {
        for (const auto& [lang, said] : {std::pair{"en", c.English}, std::pair{"zh", c.Chinese}}) {
            SCOPED_TRACE(c.Args.front() + " " + lang);
            std::vector<std::string> args = c.Args;
            args.insert(args.begin() + 1, {"--lang", lang});
            const TRun run = Cli(args);
            EXPECT_NE((run.Out + run.Err).find(said), std::string::npos) << run.Out << run.Err;
            if (std::string(lang) == "zh") {
                EXPECT_EQ((run.Out + run.Err).find("Stream read"), std::string::npos);
            }
        }
    }
}
