// The replay report and the player profile in a real browser: Chromium renders each from the file alone, and the
// rendered page has its sections and charts. The screenshots are for a person to look at.
#ifndef _WIN32
#include "CliRun.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

std::string Browser() {
    for (const char* name : {"chromium-headless-shell", "chromium"})
        for (const char* dir : {"/usr/bin/", "/usr/local/bin/"})
            if (fs::exists(std::string(dir) + name))
                return std::string(dir) + name;
    return {};
}

// The browser's output for a page; the paths are the test's own (no quotes in them).
std::string RunBrowser(const std::string& browser, const std::string& arguments) {
    const std::string command = browser + " --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars " +
                                arguments + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string out;
    char buffer[65536];
    for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    return out;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

} // namespace

TEST(ReportInABrowser, CorpusReplaysRenderWithEverySectionAndALinePerPlayer) {
    const std::string browser = Browser();
    if (browser.empty())
        GTEST_SKIP() << "no Chromium here (make test installs chromium-headless-shell)";
    const fs::path dir = fs::temp_directory_path() / ("quillon-report-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    for (const auto& [name, lang] :
         {std::pair{"tft-1.26-1v1-long.w3g", "en"}, std::pair{"ref-2.0-4v4-largest-Ekrezems_Maze.w3g", "zh"}}) {
        const std::string replay = std::string(QUILLON_CORPUS_DIR) + "/" + name;
        if (!fs::exists(replay))
            GTEST_SKIP() << "the shared replays are not beside the checkout";
        const std::string page = (dir / (std::string(name) + ".html")).string();
        ASSERT_EQ(Cli({"summary", replay, "--lang", lang, "--html", page}).Status, 0);
        const auto summary = nlohmann::json::parse(Cli({"summary", replay, "--json"}).Out);
        size_t playing = 0;
        for (const auto& p : summary["players"])
            playing += !p["observer"].get<bool>() && !p["computer"].get<bool>();

        const std::string dom = RunBrowser(browser, "--dump-dom file://" + page);
        ASSERT_FALSE(dom.empty()) << "Chromium rendered nothing";
        for (const char* id : {"information", "players", "apm", "builds", "heroes", "chat", "leaves"})
            EXPECT_NE(dom.find(std::string("<section id=\"") + id + "\""), std::string::npos) << name << ": " << id;
        EXPECT_EQ(Count(dom, "class=\"apm-line\""), playing) << name;
        EXPECT_EQ(Count(dom, "<svg"), 1u) << name;

        const fs::path shot = fs::path(QUILLON_SCREENSHOT_DIR) / ("report-" + std::string(lang) + ".png");
        fs::create_directories(shot.parent_path());
        RunBrowser(browser, "--window-size=1000,2000 --screenshot=" + shot.string() + " file://" + page);
        EXPECT_GT(fs::exists(shot) ? fs::file_size(shot) : 0, 10000u) << shot;
    }
    fs::remove_all(dir);
}
// A profile of the corpus's most frequent player (merged with another account), in both languages.
TEST(ReportInABrowser, ProfileRendersWithItsChartsAndTables) {
    const std::string browser = Browser();
    if (browser.empty())
        GTEST_SKIP() << "no Chromium here (make test installs chromium-headless-shell)";
    if (!fs::is_directory(QUILLON_CORPUS_DIR))
        GTEST_SKIP() << "the shared replays are not beside the checkout";
    const fs::path dir = fs::temp_directory_path() / ("quillon-profile-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const std::string library = (dir / "library.sqlite").string();
    ASSERT_EQ(Cli({"library", "add", QUILLON_CORPUS_DIR, "--library", library}).Status, 0);
    for (const char* lang : {"en", "zh"}) {
        const std::string page = (dir / (std::string(lang) + ".html")).string();
        const TRun run = Cli({"library", "player", "anxiety", "--player", "hadzu", "--lang", lang, "--html", page,
                              "--library", library});
        ASSERT_EQ(run.Status, 0) << run.Err;
        const std::string dom = RunBrowser(browser, "--dump-dom file://" + page);
        ASSERT_FALSE(dom.empty()) << "Chromium rendered nothing";
        for (const char* id : {"races", "matchups", "maps", "patches", "heroes", "openings", "apm", "opponents"})
            EXPECT_NE(dom.find(std::string("<section id=\"") + id + "\""), std::string::npos) << lang << ": " << id;
        EXPECT_EQ(Count(dom, "<svg"), 3u) << lang;
        EXPECT_EQ(Count(dom, "class=\"apm-median\""), 1u) << lang;
        const fs::path shot = fs::path(QUILLON_SCREENSHOT_DIR) / ("profile-page-" + std::string(lang) + ".png");
        RunBrowser(browser, "--window-size=1000,2200 --screenshot=" + shot.string() + " file://" + page);
        EXPECT_GT(fs::exists(shot) ? fs::file_size(shot) : 0, 10000u) << shot;
    }
    fs::remove_all(dir);
}
#endif
