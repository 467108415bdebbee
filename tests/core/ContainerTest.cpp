#include "TestReplays.h"

#include "core/replay/ReplayError.h"

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace quillon;
using namespace quillon::testing;

namespace {

void ExpectReadError(TReplayInfo& r, uint8_t detail) {
    try {
        r.Load(detail);
        FAIL() << "expected a read error";
    } catch (const TReplayError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

} // namespace

TEST(Container, EveryMagicByteIsChecked) {
    const TBytes good = BuildReplayFile(OneVersusOne(26));
    for (size_t i = 0; i < 28; ++i) {
        SCOPED_TRACE(i);
        TBytes bad = good;
        bad[i] ^= 0x01;
        auto r = FromBytes(bad);
        EXPECT_FALSE(r->Load(1));
        EXPECT_FALSE(r->HeaderRead);
        EXPECT_EQ(r->HeaderSize, 0u);
    }
}

TEST(Container, ShorterThanTheMagicIsAReadError) {
    TBytes bytes = BuildReplayFile(OneVersusOne(26));
    bytes.resize(27);
    auto r = FromBytes(bytes);
    ExpectReadError(*r, 1);
}

TEST(Container, HeaderVersionZeroKeepsProductEmpty) {
    TReplaySpec spec = OneVersusOne(2);
    spec.Build = 4531;
    auto r = Loaded(spec, 1);
    EXPECT_EQ(r->HeaderVersion, 0u);
    EXPECT_EQ(r->HeaderSize, 0x40u);
    EXPECT_EQ(r->ProductId, "");
    EXPECT_EQ(r->Version, 2);
    EXPECT_EQ(r->Build, 4531);
}

TEST(Container, HeaderVersionOneReversesTheProduct) {
    TReplaySpec spec = OneVersusOne(26);
    spec.Length = 123456;
    spec.Flags = 0x8000;
    spec.Checksum = 0xDEADBEEF;
    auto r = Loaded(spec, 0);
    EXPECT_EQ(r->ProductId, "W3XP");
    EXPECT_EQ(r->Version, 26);
    EXPECT_EQ(r->Build, 6059);
    EXPECT_EQ(r->Length, 123456);
    EXPECT_EQ(r->Flags, 0x8000);
    EXPECT_EQ(r->Checksum, 0xDEADBEEFu);
}

TEST(Container, BlocksStartAtTheDeclaredHeaderSize) {
    TReplaySpec spec = OneVersusOne(26);
    spec.HeaderSizeOverride = 0x60;
    auto r = Loaded(spec, 1);
    EXPECT_EQ(r->HeaderSize, 0x60u);
    EXPECT_EQ(r->Players->Count(), 2);
}

TEST(Container, NoBlocksFailsWithoutAnError) {
    TReplaySpec spec = OneVersusOne(26);
    spec.BlockCountOverride = 0;
    auto r = FromBytes(BuildReplayFile(spec));
    EXPECT_FALSE(r->Load(1));
    EXPECT_TRUE(r->HeaderRead);
    EXPECT_FALSE(r->DataReady);
    EXPECT_TRUE(r->Data.empty());
}

TEST(Container, FirstBlockOnlyAtDetailZero) {
    TReplaySpec spec = OneVersusOne(26);
    spec.Records = TBytes(20000, 0x1A); // only inflated here, never parsed
    spec.BlockSize = 4096;
    const TBytes file = BuildReplayFile(spec);
    auto r = FromBytes(file);
    ASSERT_TRUE(r->ReadHeader());
    ASSERT_GT(r->BlockCount, 1);
    ASSERT_TRUE(r->ReadFirstBlock());
    EXPECT_EQ(r->Data.size(), 4096u);
    ASSERT_TRUE(r->ReadAllBlocks());
    EXPECT_EQ(r->Data.size(), 4096u * static_cast<size_t>(r->BlockCount));
}

TEST(Container, FileCutInsideTheLastBlockIsAReadError) {
    TReplaySpec spec = OneVersusOne(26);
    spec.Records = TBytes(20000, 0);
    spec.BlockSize = 4096;
    TBytes file = BuildReplayFile(spec);
    file.resize(file.size() - 3);
    auto r = FromBytes(file);
    ExpectReadError(*r, 1);
    EXPECT_FALSE(r->DataReady);
}

TEST(Container, BlockHeaderWidthFollowsTheVersion) {
    struct TCase {
        uint32_t Version;
        uint16_t Build;
        int Width;
    };
    // 1.30/1.31 keep 8-byte block headers, 1.32 on uses 12; a bot's text in the version field is probed.
    for (const TCase c : {TCase{10030, 6061, 8}, TCase{10031, 6072, 8}, TCase{10032, 6091, 12}, TCase{10100, 6117, 12},
                          TCase{0x206F7420, 6059, 8}, TCase{0x206F7420, 6059, 12}}) {
        SCOPED_TRACE(c.Version);
        TReplaySpec spec = OneVersusOne(c.Version, rec::End(), c.Build);
        spec.BlockHeaderWidth = c.Width;
        spec.Records = rec::Join({rec::Chat(1, 0, "hi"), rec::End()});
        auto r = Loaded(spec, 2);
        EXPECT_EQ(r->Players->Count(), 2);
        EXPECT_EQ(r->Actions->Count(), 1);
        EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::End);
    }
}

TEST(Container, TerminatedZlibStreamsReadTheSame) {
    TReplaySpec spec = OneVersusOne(26);
    spec.Records = rec::Join({rec::Chat(2, 0, "gg"), rec::End()});
    auto open = Loaded(spec, 2);
    spec.TerminateZlibStreams = true;
    auto closed = Loaded(spec, 2);
    EXPECT_EQ(open->Data, closed->Data);
}

TEST(Container, BytesInflateDidNotProduceAreZero) {
    // A block that declares more than its stream yields: the rest reads as zeros (the end record).
    TReplaySpec spec = OneVersusOne(26);
    spec.PadLastBlock = false;
    TBytes file = BuildReplayFile(spec);
    const size_t sizeAt = 0x44 + 2;
    const uint16_t declared = static_cast<uint16_t>(file[sizeAt] | (file[sizeAt + 1] << 8));
    const uint16_t bigger = static_cast<uint16_t>(declared + 100);
    file[sizeAt] = static_cast<uint8_t>(bigger);
    file[sizeAt + 1] = static_cast<uint8_t>(bigger >> 8);
    auto r = FromBytes(file);
    ASSERT_TRUE(r->Load(1));
    ASSERT_EQ(r->Data.size(), bigger);
    for (size_t i = declared; i < bigger; ++i)
        ASSERT_EQ(r->Data[i], 0) << i;
}

TEST(Container, ImpossibleInflatedSizeIsAReadError) {
    // 12-byte headers carry 32-bit sizes: a tiny block may not ask for gigabytes.
    TReplaySpec spec = OneVersusOne(10032, rec::End(), 6091);
    TBytes file = BuildReplayFile(spec);
    const size_t sizeAt = 0x44 + 4;
    file[sizeAt] = 0xFF, file[sizeAt + 1] = 0xFF, file[sizeAt + 2] = 0xFF, file[sizeAt + 3] = 0x7F;
    auto r = FromBytes(file);
    ExpectReadError(*r, 1);
}

TEST(Container, CreateNeedsAnExistingFile) {
    EXPECT_EQ(TReplayInfo::Create("/nonexistent/quillon/none.w3g"), nullptr);
    EXPECT_EQ(TReplayInfo::Create(std::filesystem::temp_directory_path().string()), nullptr);

    const auto path = std::filesystem::temp_directory_path() / "quillon-container-test.w3g";
    const TBytes bytes = BuildReplayFile(OneVersusOne(26));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    auto r = TReplayInfo::Create(path.string());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->FileName, path.string());
    EXPECT_EQ(r->Winner, 0);
    EXPECT_FALSE(r->HeaderRead);
    EXPECT_EQ(r->Players, nullptr);
    std::filesystem::remove(path);
    // The file went away between Create and Load: the open error names it.
    try {
        r->Load(1);
        FAIL() << "expected an open error";
    } catch (const TReplayError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + path.string() + "\". ", 0), 0u) << e.what();
    }
}

TEST(Container, ReplayInsideAGrbnWrapper) {
    // A ladder platform's wrapper: "GRBN", a 128-byte header whose u32 at 12 sizes the metadata that follows.
    const TBytes replay = BuildReplayFile(OneVersusOne(28));
    TBytes wrapped(128 + 40, 0);
    wrapped[0] = 'G', wrapped[1] = 'R', wrapped[2] = 'B', wrapped[3] = 'N';
    wrapped[12] = 40;
    wrapped.insert(wrapped.end(), replay.begin(), replay.end());
    auto r = FromBytes(wrapped);
    ASSERT_TRUE(r->Load(1));
    EXPECT_EQ(r->Version, 28);
    EXPECT_EQ(r->Players->Count(), 2);

    wrapped[12] = 41; // pointing one byte off: no replay there
    EXPECT_FALSE(FromBytes(wrapped)->Load(1));
    wrapped[12] = 0xFF, wrapped[15] = 0x7F; // pointing past the end
    EXPECT_FALSE(FromBytes(wrapped)->Load(1));
}

namespace {

TBytes Deflated(const TBytes& plain, int level, int flush) {
    z_stream zs{};
    deflateInit(&zs, level);
    TBytes out(deflateBound(&zs, static_cast<uLong>(plain.size())) + 16);
    zs.next_in = const_cast<Bytef*>(plain.data());
    zs.avail_in = static_cast<uInt>(plain.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, flush);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// What the blocks inflated to before libdeflate: one zlib inflate with a sync flush, zeros where it stops.
TBytes ZlibReference(const TBytes& packed, size_t unpacked) {
    TBytes out(unpacked, 0);
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = const_cast<Bytef*>(packed.data());
    zs.avail_in = static_cast<uInt>(packed.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    inflate(&zs, Z_SYNC_FLUSH);
    inflateEnd(&zs);
    return out;
}

// A replay of patch 1.26 whose one block holds the given bytes and declares the given inflated size.
TBytes WithOneBlock(const TBytes& packed, uint16_t unpacked) {
    TBytes file = BuildReplayFile(OneVersusOne(26));
    file.resize(0x44);
    const auto u16 = [&file](uint16_t v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    u16(static_cast<uint16_t>(packed.size()));
    u16(unpacked);
    file.insert(file.end(), 4, 0); // checksum
    file.insert(file.end(), packed.begin(), packed.end());
    file[0x2C] = 1; // one block
    file[0x2D] = file[0x2E] = file[0x2F] = 0;
    return file;
}

} // namespace

// Whichever inflater takes a block, it yields zlib's bytes: the fast path takes only what it inflates whole.
TEST(Container, EveryKindOfBlockInflatesToZlibsBytes) {
    TBytes plain(6000);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<uint8_t>((i * 7919) % 251 < 40 ? i % 13 : 'a' + i % 5);
    const TBytes synced = Deflated(plain, Z_DEFAULT_COMPRESSION, Z_SYNC_FLUSH);
    TBytes damaged = synced;
    for (size_t i = damaged.size() / 3; i < damaged.size() / 3 + 8; ++i)
        damaged[i] ^= 0x5A;
    TBytes dictionary = synced;
    dictionary[1] = 0xBB; // FDICT set, header check still a multiple of 31 (0x78BB % 31 == 0)
    // The bytes and the error are those zlib alone gives: a block libdeflate cannot take whole goes to zlib.
    const std::string bad = "Stream read error";
    const struct {
        const char* Name;
        TBytes Packed;
        uint16_t Unpacked;
        std::string Error;
    } cases[] = {
        {"as the game writes it", synced, 6000, ""},
        {"ended properly (final block and checksum)", Deflated(plain, Z_DEFAULT_COMPRESSION, Z_FINISH), 6000, ""},
        {"shorter than declared", synced, 8192, ""},
        {"longer than declared", synced, 4000, ""},
        {"stored, not compressed", Deflated(plain, 0, Z_SYNC_FLUSH), 6000, ""},
        {"cut short", TBytes(synced.begin(), synced.begin() + static_cast<ptrdiff_t>(synced.size() / 2)), 6000, ""},
        {"damaged in the middle", damaged, 6000, ""},
        {"a preset dictionary", dictionary, 6000, bad},
        {"no zlib header", TBytes(synced.begin() + 2, synced.end()), 6000, bad},
        {"nothing but a header", TBytes(synced.begin(), synced.begin() + 2), 6000, bad},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto r = FromBytes(WithOneBlock(c.Packed, c.Unpacked));
        std::string error;
        try {
            r->Load(0); // the data need not make a start record: only the bytes count here
        } catch (const TReplayError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.Error);
        EXPECT_EQ(r->Data, ZlibReference(c.Packed, c.Unpacked));
    }
}
