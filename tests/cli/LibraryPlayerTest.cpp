// quillon-cli library player and the searches by what happened in a game; the corpus's facts in the library
// against quillon-cli summary.
#include "CliRun.h"
#include "ReplayWriter.h"
#include "SampleGames.h"
#include "TestSystem.h"
#include "core/library/LibrarySearch.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class LibraryPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("quillon-library-player-" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir / "replays");
        Db = (Dir / "library.sqlite").string();
    }
    void TearDown() override { fs::remove_all(Dir); }

    void WriteKnownDuels() {
        for (const TOrderedDuel& g : KnownDuels()) {
            const TBytes bytes = BuildReplayFile(OrderedDuelSpec(g));
            const fs::path path = Dir / "replays" / g.File;
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            test::SetModifiedTime(path, *ParseDate(g.Date) + 12 * 3600);
        }
        ASSERT_EQ(Library({"add", (Dir / "replays").string()}).Status, 0);
    }
    TRun Library(std::vector<std::string> args) {
        args.insert(args.begin(), "library");
        args.push_back("--library");
        args.push_back(Db);
        return Cli(args);
    }
    std::vector<std::string> Files(const TRun& run) {
        std::vector<std::string> files;
        for (const auto& e : json::parse(run.Out))
            files.push_back(fs::path(e["path"].get<std::string>()).filename().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path Dir;
    std::string Db;
};

} // namespace

TEST_F(LibraryPlayerTest, SearchFlags) {
    WriteKnownDuels();
    const struct {
        std::vector<std::string> Args;
        std::vector<std::string> Expected;
    } cases[] = {
        // Grubby's losses to Night Elves that opened with a Demon Hunter (the README's example).
        {{"--player", "grubby", "--result", "loss", "--vs-race", "nightelf", "--vs-first-hero", "Edem"}, {"2.w3g"}},
        {{"--first-hero", "blade"}, {"1.w3g", "3.w3g", "4.w3g"}},
        {{"--hero", "Far Seer", "--player", "LYN"}, {"6.w3g"}},
        {{"--opening", "Orc Burrow, altar,obar"}, {"1.w3g", "2.w3g", "4.w3g"}},
        {{"--opening", "风暴祭坛"}, {"3.w3g"}},
        {{"--player", "grubby", "--vs", "sky", "--result", "win"}, {"4.w3g"}},
        {{"--player", "grubby", "--vs-opening", "farm"}, {"3.w3g"}},
        {{"--min-apm", "50"}, {"5.w3g"}},
        {{"--player", "sky", "--vs-min-apm", "50"}, {"5.w3g"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"search", "--json"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TRun run = Library(args);
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(Files(run), c.Expected) << args[2] << " " << args[3];
    }
    for (const auto& [args, said] : {std::pair{std::vector<std::string>{"--hero", "Nobody"}, "\"Nobody\""},
                                     {{"--vs-opening", "farm,\x1b[31m"}, "\\x1B[31m"},
                                     {{"--result", "draw"}, "draw"}}) {
        std::vector<std::string> all = {"search"};
        all.insert(all.end(), args.begin(), args.end());
        const TRun run = Library(all);
        EXPECT_EQ(run.Status, 2);
        EXPECT_NE(run.Err.find(said), std::string::npos) << run.Err;
    }
}

TEST_F(LibraryPlayerTest, Profile) {
    WriteKnownDuels();
    const TRun run = Library({"player", "grubby", "--json"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const json p = json::parse(run.Out);
    EXPECT_EQ(p["games"], 4);
    EXPECT_EQ(p["wins"], 2);
    EXPECT_EQ(p["losses"], 2);
    EXPECT_EQ(p["byOpponentRace"][0]["race"], "Human");
    EXPECT_EQ(p["heroes"][0]["id"], "Obla");
    EXPECT_EQ(p["heroes"][0]["first"]["wins"], 2);
    EXPECT_EQ(p["openings"][0]["buildings"], json({"otrb", "oalt", "obar", "otrb"}));
    EXPECT_EQ(p["opponents"].size(), 2u);

    const TRun merged = Library({"player", "grubby", "--player", "lyn", "--json"});
    EXPECT_EQ(json::parse(merged.Out)["games"], 5);

    const TRun text = Library({"player", "Grubby"});
    EXPECT_NE(text.Out.find("Games: 4 · Wins: 2 · Losses: 2 · Win rate: 50%"), std::string::npos) << text.Out;
    EXPECT_NE(text.Out.find("Blademaster"), std::string::npos);
    const TRun chinese = Library({"player", "Grubby", "--lang", "zh"});
    EXPECT_NE(chinese.Out.find("场数: 4"), std::string::npos) << chinese.Out;
    EXPECT_NE(chinese.Out.find("剑圣"), std::string::npos);

    // The page: written once, never over a file.
    const std::string page = (Dir / "grubby.html").string();
    EXPECT_EQ(Library({"player", "grubby", "--html", page}).Status, 0);
    EXPECT_NE(ReadAll(page).find("<svg class=\"matchups\""), std::string::npos);
    std::ofstream(page) << "mine";
    const TRun again = Library({"player", "grubby", "--html", page});
    EXPECT_EQ(again.Status, 1);
    EXPECT_EQ(ReadAll(page), "mine");

    const TRun nobody = Library({"player", "nobody"});
    EXPECT_EQ(nobody.Status, 1);
    EXPECT_NE(nobody.Err.find("No games of nobody"), std::string::npos) << nobody.Err;
    EXPECT_EQ(Library({"player"}).Status, 2);
}

// Each real replay's players: the first hero and the first three buildings the library keeps are the summary's.
TEST_F(LibraryPlayerTest, CorpusFactsAgreeWithTheSummary) {
    const std::string corpus = QUILLON_CORPUS_DIR;
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    ASSERT_EQ(Library({"add", corpus}).Status, 0);
    const TRun search = Library({"search", "--json", "--limit", "100000"});
    ASSERT_EQ(search.Status, 0) << search.Err;
    int players = 0;
    for (const json& entry : json::parse(search.Out)) {
        const std::string path = entry["path"];
        SCOPED_TRACE(path);
        const TRun summary = Cli({"summary", path, "--json"});
        ASSERT_EQ(summary.Status, 0) << summary.Err;
        const json s = json::parse(summary.Out);
        ASSERT_EQ(s["players"].size(), entry["players"].size());
        for (size_t i = 0; i < entry["players"].size(); ++i) {
            const json& kept = entry["players"][i];
            if (kept["observer"].get<bool>())
                continue;
            json heroes = json::array(), buildings = json::array();
            for (const json& h : s["heroes"][i]["heroes"])
                if (!h["cancelled"].get<bool>() || h["level"].get<int>() > 0)
                    heroes.push_back(h["id"]);
            for (const json& b : s["builds"][i]["steps"])
                if (b["kind"] == "building" && !b["cancelled"].get<bool>() && buildings.size() < 3)
                    buildings.push_back(b["id"]);
            const json opening = kept["opening"];
            EXPECT_EQ(json(std::vector<json>(opening.begin(), opening.begin() + std::min<size_t>(3, opening.size()))),
                      buildings)
                << kept["name"];
            EXPECT_EQ(kept["heroes"].empty() ? json() : kept["heroes"][0]["id"], heroes.empty() ? json() : heroes[0])
                << kept["name"];
            ++players;
        }
    }
    EXPECT_GT(players, 50);
}
