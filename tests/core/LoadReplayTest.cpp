#include "TestReplays.h"

#include "core/replay/LoadReplay.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

std::string WriteFile(const std::filesystem::path& path, const TBytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

} // namespace

TEST(LoadReplay, SaysWhyAFileCannotBeShown) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "load-replay";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "folder.w3g");
    const TBytes good = BuildReplayFile(OneVersusOne(26));
    TBytes noBlocks = good;
    noBlocks[0x2C] = noBlocks[0x2D] = noBlocks[0x2E] = noBlocks[0x2F] = 0; // block count of a version 1 header
    const TBytes truncated(good.begin(), good.begin() + 0x50);
    const std::string textLine = "This is a text file and not a replay at all.\n";
    const TBytes text(textLine.begin(), textLine.end());

    struct TCase {
        std::string Path;
        TLoadError Error;
        std::string English;
    };
    const TCase cases[] = {
        {(dir / "missing.w3g").string(), TLoadError::NoFile, "File not found: " + (dir / "missing.w3g").string()},
        {(dir / "folder.w3g").string(), TLoadError::IsFolder,
         "This is a folder, not a replay: " + (dir / "folder.w3g").string()},
        {WriteFile(dir / "text.w3g", text), TLoadError::NotReplay,
         "Not a Warcraft III replay (the file does not start with its signature)"},
        {WriteFile(dir / "noblocks.w3g", noBlocks), TLoadError::NoBlocks, "The replay holds no data blocks"},
        {WriteFile(dir / "truncated.w3g", truncated), TLoadError::ReadError, "Stream read error"},
        {WriteFile(dir / "good.w3g", good), TLoadError::None, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        const TLoadResult result = LoadReplay(c.Path, 1);
        EXPECT_EQ(result.Error, c.Error);
        EXPECT_EQ(result.Ok(), result.Replay != nullptr);
        EXPECT_EQ(LoadErrorText(result, TLanguage::English), c.English);
    }
    EXPECT_EQ(LoadErrorText(LoadReplay((dir / "text.w3g").string(), 1), TLanguage::Chinese),
              "不是魔兽争霸III录像 (文件开头没有录像标志)");
}

TEST(LoadReplay, FromMemoryKeepsTheName) {
    const TLoadResult result = LoadReplayFromBuffer(BuildReplayFile(OneVersusOne(26)), "memory.w3g", 2);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.Replay->FileName, "memory.w3g");
    EXPECT_NE(result.Replay->Actions, nullptr);
}

TEST(LoadReplay, SpecialFilesAreRefusedWithoutBeingRead) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "load-special";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
#ifdef _WIN32
    const std::vector<std::string> special = {"NUL", "\\\\.\\NUL"};
#else
    const std::string fifo = (dir / "fifo.w3g").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> special = {fifo, "/dev/zero", "/dev/null"};
#endif
    for (const std::string& path : special) {
        SCOPED_TRACE(path);
        const TLoadResult result = LoadReplay(path, 2); // a FIFO without a writer must not hang
        EXPECT_EQ(result.Error, TLoadError::CannotOpen);
        EXPECT_NE(LoadErrorText(result, TLanguage::English).find("Not a regular file"), std::string::npos);
    }
}

TEST(LoadReplay, MemoryFollowsWhatTheBlocksHoldNotTheFileSize) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "load-sparse";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    // A good replay at the start of a 1 GiB sparse file: only its blocks are read.
    const std::string sparse = WriteFile(dir / "sparse.w3g", BuildReplayFile(OneVersusOne(26)));
    std::filesystem::resize_file(sparse, uint64_t{1} << 30);
    const TLoadResult big = LoadReplay(sparse, 2);
    ASSERT_TRUE(big.Ok());
    EXPECT_LT(big.Replay->Data.size(), 1u << 20);

    // Block headers that declare data with no bytes behind them: 16,384 of them after a good replay.
    TBytes padded = BuildReplayFile(OneVersusOne(26));
    const uint32_t blocks = padded[0x2C] | (padded[0x2D] << 8);
    const uint32_t count = blocks + 16384;
    for (int i = 0; i < 4; ++i)
        padded[0x2C + i] = static_cast<uint8_t>(count >> (8 * i));
    for (int i = 0; i < 16384; ++i)
        padded.insert(padded.end(), {0, 0, 0xFF, 0xFF, 0, 0, 0, 0});
    const TLoadResult damaged = LoadReplay(WriteFile(dir / "headers.w3g", padded), 2);
    EXPECT_EQ(damaged.Error, TLoadError::ReadError);
}
