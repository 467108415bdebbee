// Real replays recorded by the game (1.02 to 2.0), read in place from the shared folder.
#include "CorpusFiles.h"
#include "core/replay/ReplayError.h"
#include "core/replay/ReplayInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

using namespace quillon;
using quillon::testing::CorpusFiles;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string PatchRange(const TReplayInfo& r) {
    const uint32_t v = r.Layout.Version;
    if (r.VersionField > MaxPlausibleVersionField)
        return "version field unusable";
    if (v <= 6)
        return "1.00-1.06";
    if (v < 26)
        return "1.07-1.25";
    if (v < 29)
        return "1.26-1.28";
    if (v < 10032)
        return "1.29-1.31";
    if (v < 10100)
        return "1.32-1.36";
    return r.Layout.Has202Metadata ? "2.0.2 on" : "2.0 before 2.0.2";
}

// The replay loaded at this detail; nullptr (and a failure) when it does not load.
std::unique_ptr<TReplayInfo> LoadCorpusFile(const fs::path& file, uint8_t detail) {
    auto r = TReplayInfo::Create(file.string());
    const bool loaded = r && r->Load(detail);
    EXPECT_TRUE(loaded) << file;
    return loaded ? std::move(r) : nullptr;
}

// A ladder platform writes two 5-byte actions of its own (0x92 and 0x94) into the replays it wraps;
// no game patch knows them, so their blocks cannot be split.
bool IsPlatformAction(const TBlockStats::TResidue& residue) {
    return residue.Length == 5 && residue.StoppedAt == 0 && (residue.Identifier == 0x92 || residue.Identifier == 0x94);
}

class Corpus : public ::testing::Test {
protected:
    void SetUp() override {
        Files = CorpusFiles();
        if (Files.empty())
            GTEST_SKIP() << "no corpus at " << QUILLON_CORPUS_DIR;
    }
    std::vector<fs::path> Files;
};

} // namespace

TEST_F(Corpus, EveryReplayLoadsAtEveryDetail) {
    for (const auto& file : Files) {
        SCOPED_TRACE(file.filename().string());
        for (uint8_t detail : {uint8_t{0}, uint8_t{1}, uint8_t{2}}) {
            auto r = TReplayInfo::Create(file.string());
            ASSERT_NE(r, nullptr);
            ASSERT_TRUE(r->Load(detail));
            EXPECT_GT(r->Players->Count(), 0);
            if (detail > 0) {
                EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::End) << "walk stopped at " << r->WalkEnd.Position;
            }
        }
    }
}

TEST_F(Corpus, CountsAgreeAcrossDetailsAndWithTheRecordedActions) {
    for (const auto& file : Files) {
        SCOPED_TRACE(file.filename().string());
        auto d1 = LoadCorpusFile(file, 1);
        auto d2 = LoadCorpusFile(file, 2);
        if (!d1 || !d2)
            continue;
        std::map<uint8_t, int32_t> recorded;
        for (int32_t i = 0; i < d2->Actions->Count(); ++i)
            ++recorded[d2->Actions->At(i).PlayerId];
        ASSERT_EQ(d1->Players->Count(), d2->Players->Count());
        for (int i = 0; i < d2->Players->Count(); ++i) {
            const TPlayerInfo& p = d2->Players->At(i);
            EXPECT_EQ(d1->Players->At(i).Actions, p.Actions) << "player " << int{p.Id};
            if (p.Id >= 1 && p.Id <= 24 && d2->Players->IndexOfId(p.Id) == i) {
                EXPECT_EQ(recorded[p.Id], p.Actions) << "player " << int{p.Id};
            }
        }
    }
}

TEST_F(Corpus, EveryCommandBlockEndsExactly) {
    std::map<std::string, std::pair<uint64_t, uint64_t>> byRange; // blocks, exact
    for (const auto& file : Files) {
        SCOPED_TRACE(file.filename().string());
        auto r = LoadCorpusFile(file, 1);
        if (!r)
            continue;
        auto& [blocks, exact] = byRange[PatchRange(*r)];
        blocks += r->BlockStats.Blocks;
        exact += r->BlockStats.ExactBlocks;
        for (const auto& residue : r->BlockStats.Residues)
            if (!IsPlatformAction(residue))
                ADD_FAILURE() << "block at " << residue.Position << " (" << residue.Length << " bytes) stopped at "
                              << residue.StoppedAt << " on identifier 0x" << std::hex << int{residue.Identifier};
    }
    uint64_t all = 0;
    for (const auto& [range, counts] : byRange) {
        std::printf("  %-24s %9llu blocks, %9llu consumed exactly\n", range.c_str(),
                    static_cast<unsigned long long>(counts.first), static_cast<unsigned long long>(counts.second));
        all += counts.first;
    }
    std::printf("  %-24s %9llu blocks\n", "all", static_cast<unsigned long long>(all));
}

TEST_F(Corpus, ApmOfActivePlayersIsHuman) {
    for (const auto& file : Files) {
        SCOPED_TRACE(file.filename().string());
        auto r = LoadCorpusFile(file, 1);
        if (!r)
            continue;
        for (int i = 0; i < r->Players->Count(); ++i) {
            const TPlayerInfo& p = r->Players->At(i);
            if (p.SlotStatus == 2 && !p.Computer && !p.Observer && p.Actions >= 100) {
                EXPECT_LE(p.Apm, 500.0) << p.Name;
            }
        }
    }
}

// Damaged copies of every replay: cut short and with flipped bytes. Each must give false or the read
// error; never a crash, a hang or a read outside the data (the sanitizer build checks the last).
TEST_F(Corpus, DamagedReplaysFailCleanly) {
    for (const auto& file : Files) {
        SCOPED_TRACE(file.filename().string());
        const std::vector<uint8_t> bytes = ReadFile(file);
        std::vector<std::vector<uint8_t>> variants;
        for (int k = 1; k <= 12; ++k)
            variants.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * k / 13));
        for (int k = 0; k < 12; ++k) {
            std::vector<uint8_t> flipped = bytes;
            // header fields, the first block's header and spots in the compressed data
            const size_t at = k < 4   ? 0x1C + static_cast<size_t>(k) * 4
                              : k < 6 ? 0x44 + static_cast<size_t>(k - 4) * 2
                                      : bytes.size() * static_cast<size_t>(k) / 13;
            if (at < flipped.size())
                flipped[at] ^= static_cast<uint8_t>(0x5A + k);
            variants.push_back(std::move(flipped));
        }
        for (size_t v = 0; v < variants.size(); ++v) {
            for (uint8_t detail : {uint8_t{0}, uint8_t{2}}) {
                auto r = TReplayInfo::CreateFromBuffer(variants[v]);
                try {
                    r->Load(detail);
                } catch (const TReplayError&) {
                } catch (const std::exception& e) {
                    ADD_FAILURE() << "variant " << v << ": unexpected " << e.what();
                }
            }
        }
    }
}
