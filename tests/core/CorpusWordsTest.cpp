// Every recorded action of the real replays in words.
#include "CorpusFiles.h"
#include "core/present/ActionText.h"
#include "core/replay/ReplayInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Every id the game's own name lists know, lower case.
std::set<std::string> KnownGameIds() {
    std::set<std::string> ids;
    const fs::path dir = fs::path(QUILLON_GAMEDATA_SRC_DIR) / "en";
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return ids;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line))
            ids.insert(Lower(line.substr(0, line.find('\t'))));
    }
    return ids;
}

} // namespace

TEST(CorpusWords, EveryActionHasAText) {
    const std::vector<fs::path> files = quillon::testing::CorpusFiles();
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << QUILLON_CORPUS_DIR;
    const std::set<std::string> known = KnownGameIds();
    TGameTables english, chinese;
    english.Load(TLanguage::English);
    chinese.Load(TLanguage::Chinese);
    const std::string unknown = GetString(TForm::Main, 43, TLanguage::English);
    std::map<std::string, int> unknownIds; // id, times met
    size_t actions = 0;
    for (const auto& file : files) {
        auto r = TReplayInfo::Create(file.string());
        ASSERT_TRUE(r->Load(2)) << file;
        const TPlayerNames names(*r);
        for (int32_t i = 0; i < r->Actions->Count(); ++i) {
            const TActionInfo& a = r->Actions->At(i);
            const std::string text = ActionCells(a, *r, english, names).Action;
            ActionCells(a, *r, chinese, names);
            ++actions;
            for (size_t at = text.find(unknown); at != std::string::npos; at = text.find(unknown, at + 1)) {
                const std::string id = text.substr(at + unknown.size(), 4);
                ++unknownIds[id];
                EXPECT_EQ(known.count(Lower(id)), 0u)
                    << file.filename() << ": the game knows " << id << " but our tables do not";
            }
        }
    }
    std::printf("  %zu actions named; ids no table knows:", actions);
    for (const auto& [id, count] : unknownIds) {
        std::string shown;
        for (unsigned char c : id) {
            char buf[5];
            std::snprintf(buf, sizeof buf, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
            shown += buf;
        }
        std::printf(" %s (%d)", shown.c_str(), count);
    }
    std::printf("\n");
}
