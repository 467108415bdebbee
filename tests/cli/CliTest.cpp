#include "CliRun.h"
#include "ReplayWriter.h"
#include "SampleGames.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("quillon-cli-test-" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Write(const std::string& name, const TBytes& bytes) {
        const fs::path path = Dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.generic_string();
    }
    std::string Demo() { return Write("demo.w3g", BuildReplayFile(DemoGameSpec())); }

    fs::path Dir;
};

std::set<std::string> Keys(const nlohmann::json& object) {
    std::set<std::string> keys;
    for (const auto& [key, value] : object.items())
        keys.insert(key);
    return keys;
}

} // namespace

TEST_F(CliTest, InfoJsonHasExactlyTheModelKeys) {
    const TRun run = Cli({"info", "--json", "--detail", "2", Demo()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto j = nlohmann::json::parse(run.Out);
    EXPECT_EQ(Keys(j), (std::set<std::string>{"file", "header", "game", "players", "teams", "winner", "actionCount",
                                              "walkEnd"}));
    EXPECT_EQ(Keys(j["header"]),
              (std::set<std::string>{"headerSize", "fileSize", "headerVersion", "dataSize", "blockCount", "version",
                                     "build", "flags", "length", "checksum", "productId"}));
    EXPECT_EQ(Keys(j["game"]), (std::set<std::string>{"gameName", "mapPath", "creator", "gameType", "startSpots"}));
    EXPECT_EQ(Keys(j["players"][0]),
              (std::set<std::string>{"id", "slotStatus", "name", "observer", "team", "color", "race", "actions", "apm",
                                     "handicap", "time", "computer", "aiStrength"}));
    EXPECT_EQ(j["players"][0]["name"], "Arthas");
    EXPECT_EQ(j["header"]["productId"], "W3XP");
    EXPECT_EQ(j["teams"][0]["members"], nlohmann::json::array({1, 2}));
    EXPECT_EQ(j["winner"], 1);
    EXPECT_EQ(j["walkEnd"], "end");
    EXPECT_TRUE(j["actionCount"].is_number());
}

TEST_F(CliTest, InfoJsonNullsBelowTheirDetail) {
    const auto j0 = nlohmann::json::parse(Cli({"info", "--json", "--detail", "0", Demo()}).Out);
    EXPECT_TRUE(j0["walkEnd"].is_null());
    EXPECT_TRUE(j0["actionCount"].is_null());
    const auto j1 = nlohmann::json::parse(Cli({"info", "--json", Demo()}).Out);
    EXPECT_TRUE(j1["actionCount"].is_null());
    EXPECT_EQ(j1["walkEnd"], "end");
}

TEST_F(CliTest, InvalidUtf8BecomesReplacementCharacters) {
    TReplaySpec spec = DemoGameSpec();
    spec.Host.Name = "Bad\xFFName";
    const TRun run = Cli({"info", "--json", Write("bad.w3g", BuildReplayFile(spec))});
    ASSERT_EQ(run.Status, 0);
    EXPECT_EQ(nlohmann::json::parse(run.Out)["players"][0]["name"], "Bad\xEF\xBF\xBDName");
}

TEST_F(CliTest, UnknownRecordShowsWhereTheWalkStopped) {
    TReplaySpec spec = DemoGameSpec();
    spec.Records = {0x1A, 1, 0, 0, 0, 0x55, 0};
    const TRun run = Cli({"info", "--json", Write("odd.w3g", BuildReplayFile(spec))});
    const std::string walkEnd = nlohmann::json::parse(run.Out)["walkEnd"];
    EXPECT_EQ(walkEnd.rfind("unknown:0x55@", 0), 0u) << walkEnd;
}

TEST_F(CliTest, ExitStatusAndErrors) {
    const std::string good = Demo();
    const std::string notReplay = Write("text.w3g", TBytes{'h', 'e', 'l', 'l', 'o'});
    const std::string missing = (Dir / "missing.w3g").string();
    struct TCase {
        std::vector<std::string> Args;
        int Status;
    };
    for (const TCase& c : {TCase{{"info", good}, 0}, TCase{{"info", good, missing}, 1}, TCase{{"info", notReplay}, 1},
                           TCase{{"info", "--detail", "3", good}, 2}, TCase{{"info"}, 2}, TCase{{"frobnicate"}, 2},
                           TCase{{}, 2}, TCase{{"actions", "--raw", missing}, 1}}) {
        SCOPED_TRACE(::testing::PrintToString(c.Args));
        EXPECT_EQ(Cli(c.Args).Status, c.Status);
    }
    const TRun json = Cli({"info", "--json", good, missing});
    std::istringstream lines(json.Out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_FALSE(nlohmann::json::parse(first).contains("error"));
    const auto failed = nlohmann::json::parse(second);
    EXPECT_EQ(Keys(failed), (std::set<std::string>{"file", "error"}));
}

TEST_F(CliTest, InfoTextShowsTheWindowsLists) {
    const TRun run = Cli({"info", "--lang", "en", Demo()});
    ASSERT_EQ(run.Status, 0);
    std::istringstream lines(run.Out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    ASSERT_GE(all.size(), 10u);
    EXPECT_EQ(all[1], "Game Version\tWar3:TFT 1.26 build 6059");
    EXPECT_EQ(all[2], "Replay Length\t10min0sec0");
    EXPECT_EQ(all[3], "Game Name\tQuillon demo");
    EXPECT_EQ(all[6], "Game Type\tLadder");
    EXPECT_EQ(all[8], "");
    EXPECT_EQ(all[9].rfind("1\tArthas\tPlayer\tHuman\t1\t100\t", 0), 0u) << all[9];
    EXPECT_NE(all[9].find("\tWinner"), std::string::npos);
    EXPECT_EQ(all[13], "5\tMedivh\tObserver");
    EXPECT_EQ(all[14], "6\tOpen");

    const TRun chinese = Cli({"info", "--lang", "zh", "--show-unused", "0", "--show-observers", "0", Demo()});
    EXPECT_NE(chinese.Out.find("游戏版本\t寒冰王座 1.26 build 6059"), std::string::npos);
    EXPECT_EQ(chinese.Out.find("打开"), std::string::npos);
    EXPECT_EQ(chinese.Out.find("Medivh"), std::string::npos);
}

TEST_F(CliTest, ActionPagesInWords) {
    TReplaySpec spec = DemoGameSpec();
    spec.Records = rec::Join({rec::TimeSlot(1000, {{1, act::OrderNoTarget(26, "hfoo")}, {2, act::Bytes({0x61})}}),
                              rec::Chat(2, 0, "gg"), rec::TimeSlot(62000, {{1, act::SelectGroup(4)}}), rec::End()});
    const std::string file = Write("words.w3g", BuildReplayFile(spec));
    EXPECT_EQ(Cli({"actions", "--lang", "en", file}).Out,
              "Arthas\t00:01\tTrain: Footman\nJaina\t00:01\tESC pressed\nJaina\t00:01\tChat: gg\n"
              "Arthas\t01:03\tSelect group hotkey 5\n");
    EXPECT_EQ(Cli({"actions", "--lang", "en", "--per-page", "1", "--page", "2", "--players", "1", file}).Out, "");
    EXPECT_EQ(Cli({"actions", "--lang", "zh", "--per-page", "3", "--page", "2", file}).Out,
              "Arthas\t01:03\t选择编队 5\n");
    const auto j = nlohmann::json::parse(Cli({"actions", "--lang", "en", "--json", "--players", "2", file}).Out);
    EXPECT_EQ(j, nlohmann::json::parse(R"([{"player":"Jaina","time":"00:01","action":"ESC pressed"},
                                           {"player":"Jaina","time":"00:01","action":"Chat: gg"}])"));
    EXPECT_EQ(Cli({"actions", "--page", "0", file}).Status, 2);
}

TEST_F(CliTest, NameAndCheckRule) {
    const std::string demo = Demo();
    EXPECT_EQ(Cli({"name", demo}).Out, "Arthas+Jaina-vs-Thrall+Sylvanas\n");
    EXPECT_EQ(Cli({"name", demo, "--player", "<raceshort>", "--conj", "", "--global", "<map> <win>"}).Out,
              "TwistedMeadows HumOrc\n");
    TReplaySpec ffa = DemoGameSpec();
    ffa.Slots[1].Team = 2;
    const TRun three = Cli({"name", "--lang", "en", Write("ffa.w3g", BuildReplayFile(ffa))});
    EXPECT_EQ(three.Status, 1);
    EXPECT_EQ(three.Err, "Cannot rename, might be a replay with more than 2 teams!\n");

    EXPECT_EQ(Cli({"check-rule"}).Status, 0);
    const TRun bad = Cli({"check-rule", "--lang", "en", "--player", "<name>-<race>"});
    EXPECT_EQ(bad.Status, 1);
    EXPECT_EQ(bad.Out, "player template: Unknown template: <race> (position 7, length 6)\n");
    EXPECT_EQ(Cli({"check-rule", "--lang", "en", "--conj", "<+>"}).Out,
              "conjunction: Error filename character! (position 0, length 1)\n");
}

TEST_F(CliTest, RawActionsKeepEveryParameterByte) {
    TReplaySpec spec = DemoGameSpec();
    spec.Records =
        rec::Join({rec::TimeSlot(250, {{1, act::Bytes({0x03, 0x01, 0x16, 0x02, 0x01, 0x00, 1, 2, 3, 4, 5, 6, 7, 8})}}),
                   rec::Chat(2, 0, "gg"), rec::End()});
    const TRun run = Cli({"actions", "--raw", "--json", Write("raw.w3g", BuildReplayFile(spec))});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto j = nlohmann::json::parse(run.Out);
    ASSERT_EQ(j.size(), 2u); // the removal empties an empty selection: not recorded
    EXPECT_EQ(j[0]["kind"], 3);
    EXPECT_EQ(j[0]["time"], 250);
    EXPECT_EQ(j[0]["playerId"], 1);
    EXPECT_EQ(j[0]["params"][0], std::string(1, '\x01'));
    EXPECT_EQ(j[1]["params"], nlohmann::json::array({"0", "gg"}));
    const TRun text = Cli({"actions", "--raw", Write("raw2.w3g", BuildReplayFile(spec))});
    EXPECT_NE(text.Out.find("250\t1\t0x03\t\\x01"), std::string::npos) << text.Out;
}

TEST_F(CliTest, RenameFoldersAndFiles) {
    const std::string settings = (Dir / "Quillon.ini").string();
    std::ofstream(settings) << "[template]\nglobal=<win> beat <loss>\n";
    fs::create_directories(Dir / "games");
    const std::string a = Write("games/a.w3g", BuildReplayFile(DemoGameSpec()));
    const std::string b = Write("games/b.w3g", BuildReplayFile(DemoGameSpec()));
    const std::string bad = Write("games/bad.w3g", TBytes{'x'});
    const std::string folder = (Dir / "games").generic_string();
    const std::string named = folder + "/Arthas+Jaina beat Thrall+Sylvanas";

    const TRun dry = Cli({"rename", "--dry-run", "--lang", "en", "--settings", settings, folder});
    EXPECT_EQ(dry.Status, 1); // the unreadable file
    EXPECT_EQ(dry.Out, a + "\t" + named + ".w3g\n" + b + "\t" + named + "2.w3g\n" + bad + "\tStream read error\n");
    EXPECT_TRUE(fs::exists(a));

    const TRun real = Cli({"rename", "--lang", "en", "--settings", settings, folder});
    EXPECT_EQ(real.Out, dry.Out);
    EXPECT_TRUE(fs::exists(named + "2.w3g"));
    fs::remove(bad);
    const TRun again = Cli({"rename", "--lang", "en", "--settings", settings, "--json", folder});
    EXPECT_EQ(again.Status, 0);
    const auto first = nlohmann::json::parse(again.Out.substr(0, again.Out.find('\n')));
    EXPECT_EQ(first["outcome"], "already-named");

    // A single file: the flags override the settings file's rule part by part.
    const std::string c = Write("c.w3g", BuildReplayFile(DemoGameSpec()));
    const TRun single = Cli({"rename", "--lang", "en", "--settings", settings, "--player", "<raceshort>", c});
    EXPECT_EQ(single.Status, 0);
    EXPECT_EQ(single.Out, c + "\t" + (Dir / "Hum+Orc beat NE+UD.w3g").generic_string() + "\n");
    const std::string d = Write("d.w3g", BuildReplayFile(DemoGameSpec()));
    const TRun taken = Cli({"rename", "--lang", "en", "--settings", settings, "--player", "<raceshort>", d});
    EXPECT_EQ(taken.Status, 1);
    EXPECT_EQ(taken.Out, d + "\tHum+Orc beat NE+UD already exists, rename failed!\n");
}

TEST_F(CliTest, RenameInteractiveAsksFirst) {
    const std::string settings = Write("empty.ini", {});
    const std::string a = Write("a.w3g", BuildReplayFile(DemoGameSpec()));
    const TRun declined = Cli({"rename", "--interactive", "--lang", "en", "--settings", settings, a}, "n\n");
    EXPECT_EQ(declined.Status, 0); // the user's own choice
    EXPECT_EQ(declined.Out, a + "\tSkipped\n");
    EXPECT_NE(declined.Err.find("Rename a.w3g to Arthas+Jaina-vs-Thrall+Sylvanas.w3g?"), std::string::npos);
    EXPECT_TRUE(fs::exists(a));
    const TRun accepted = Cli({"rename", "--interactive", "--lang", "en", "--settings", settings, a}, "y\n");
    EXPECT_EQ(accepted.Status, 0);
    EXPECT_TRUE(fs::exists(Dir / "Arthas+Jaina-vs-Thrall+Sylvanas.w3g"));
    EXPECT_EQ(Cli({"rename", "--lang", "xx", a}).Status, 2);
}

TEST_F(CliTest, InfoModelTextNamesEveryPart) {
    const TRun run = Cli({"info", "--model", "--detail", "2", Demo()});
    ASSERT_EQ(run.Status, 0);
    for (const char* part : {"Header: size 68", "Product: W3XP  Version: 26  Build: 6059", "Game name: Quillon demo",
                             "Map: Maps\\FrozenThrone\\(4)TwistedMeadows.w3x", "name \"Arthas\"", "team 1: 1 2",
                             "Winner: 1", "Recorded actions: ", "Walk end: end"})
        EXPECT_NE(run.Out.find(part), std::string::npos) << part;
}

TEST_F(CliTest, RenameSpeaksTheSettingsLanguage) {
    const std::string settings = (Dir / "Quillon.ini").string();
    std::ofstream(settings) << "[general]\nlanguage=1\n[template]\nglobal=\n";
    const std::string a = Write("a.w3g", BuildReplayFile(DemoGameSpec()));
    const TRun run = Cli({"rename", "--settings", settings, a});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, a + "\t无法改名, 可能该录像中的队伍数不为2!\n"); // an empty global template names nothing
    EXPECT_EQ(Cli({"rename", "--lang", "en", "--settings", settings, a}).Out,
              a + "\tCannot rename, might be a replay with more than 2 teams!\n");
}

TEST_F(CliTest, SummaryInTextAndJson) {
    TReplaySpec spec = DemoGameSpec();
    spec.Length = 120000;
    spec.Records = rec::Join({rec::TimeSlot(1000, {{1, act::OrderNoTarget(26, "Hpal")}}),
                              rec::TimeSlot(1000, {{1, act::OrderNoTarget(26, "AHhb")}}), rec::Chat(2, 1, "gg"),
                              rec::TimeSlot(62000, {{1, act::SelectGroup(4)}}), rec::Leave(2, 8), rec::End()});
    const std::string file = Write("summary.w3g", BuildReplayFile(spec));
    const TRun text = Cli({"summary", "--lang", "en", file});
    EXPECT_EQ(text.Status, 0) << text.Err;
    for (const char* part :
         {"== APM over time ==", "Arthas: 2 1", "== Build orders ==", "  00:01  Hero  Paladin\n",
          "    00:02  1  Holy Light 1\n", "  00:02  [Allies]  Jaina: gg\n", "  01:04  Jaina  Quit Game\n"})
        EXPECT_NE(text.Out.find(part), std::string::npos) << part << "\n" << text.Out;
    EXPECT_NE(Cli({"summary", "--lang", "zh", file}).Out.find("圣骑士"), std::string::npos);

    const auto j = nlohmann::json::parse(Cli({"summary", "--lang", "en", "--json", file}).Out);
    EXPECT_EQ(Keys(j),
              (std::set<std::string>{"file", "minutes", "players", "apm", "builds", "heroes", "chat", "leaves"}));
    EXPECT_EQ(j["minutes"], 2);
    EXPECT_EQ(j["apm"][0],
              nlohmann::json::parse(R"({"playerId":1,"perMinute":[2,1],"total":3,"peakMinute":0,"peak":2})"));
    EXPECT_EQ(j["builds"][0]["steps"], nlohmann::json::parse(R"([{"time":1000,"kind":"hero","id":"Hpal",
                                                                  "name":"Paladin","cancelled":false}])"));
    EXPECT_EQ(j["heroes"][0]["heroes"][0]["skills"],
              nlohmann::json::parse(R"([{"time":2000,"id":"AHhb","name":"Holy Light","skillLevel":1,"heroLevel":1}])"));
    EXPECT_EQ(j["chat"], nlohmann::json::parse(R"([{"time":2000,"playerId":2,"sender":"Jaina","channel":"allies",
                                                    "text":"gg"}])"));
    EXPECT_EQ(j["leaves"], nlohmann::json::parse(R"([{"time":64000,"playerId":2,"name":"Jaina","result":"quit",
                                                      "resultText":"Quit Game"}])"));

    const TRun missing = Cli({"summary", (Dir / "none.w3g").string()});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("File not found"), std::string::npos) << missing.Err;
}
