// The file header and the zlib data blocks.
#include "core/replay/ReplayInfo.h"
#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/ReplayParser.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

constexpr uint8_t Magic[28] = {'W', 'a', 'r', 'c', 'r', 'a', 'f', 't', ' ', 'I', 'I', 'I', ' ',  'r',
                               'e', 'c', 'o', 'r', 'd', 'e', 'd', ' ', 'g', 'a', 'm', 'e', 0x1A, 0x00};

// zlib cannot inflate more than about 1032 bytes from one input byte; a block that declares more is
// corrupt, and honouring it would let a 20-byte file ask for gigabytes.
constexpr uint64_t MaxInflateRatio = 1032;
constexpr uint64_t MinBlockAllowance = 64 * 1024;

bool LooksLikeZlibHeader(std::span<const uint8_t> file, size_t at) {
    if (at + 2 > file.size())
        return false;
    return file[at] == 0x78 && ((file[at] << 8) | file[at + 1]) % 31 == 0;
}

void InflateBlock(std::span<const uint8_t> in, uint8_t* out, size_t outSize) {
    // One inflate with Z_SYNC_FLUSH: the game never ends its streams, bots do; both are fine here.
    // Whatever inflate does not produce stays zero.
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return;
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = static_cast<uInt>(in.size());
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(outSize);
    inflate(&zs, Z_SYNC_FLUSH);
    inflateEnd(&zs);
}

} // namespace

bool TReplayInfo::ReadHeader() {
    TByteReader r(TReplayParser{*this}.SourceBytes());
    auto magic = r.ReadBytes(sizeof Magic);
    if (std::memcmp(magic.data(), Magic, sizeof Magic) != 0)
        return false;
    HeaderSize = r.ReadU32Le();
    FileSize = r.ReadU32Le();
    HeaderVersion = r.ReadU32Le();
    DataSize = r.ReadU32Le();
    BlockCount = static_cast<int32_t>(r.ReadU32Le());
    if (HeaderVersion == 0) {
        r.Skip(2);
        Version = r.ReadU16Le();
        VersionField = Version;
    } else if (HeaderVersion == 1) {
        auto id = r.ReadBytes(4);
        ProductId.assign(
            {static_cast<char>(id[3]), static_cast<char>(id[2]), static_cast<char>(id[1]), static_cast<char>(id[0])});
        VersionField = r.ReadU32Le();
        Version = static_cast<uint16_t>(VersionField & 0xFFFF);
    }
    Build = r.ReadU16Le();
    Flags = r.ReadU16Le();
    Length = static_cast<int32_t>(r.ReadU32Le());
    Checksum = r.ReadU32Le();
    Layout = MakeLayoutContext(VersionField, Build);
    HeaderRead = true;
    return true;
}

bool TReplayInfo::ReadFirstBlock() {
    return TReplayParser{*this}.ReadBlocks(1);
}

bool TReplayInfo::ReadAllBlocks() {
    return TReplayParser{*this}.ReadBlocks(BlockCount);
}

size_t TReplayParser::BlockHeaderWidth(std::span<const uint8_t> file) const {
    // From 1.32 the sizes are 32-bit. A field that holds no version (a bot's text) is decided by where
    // the first block's zlib header stands.
    if (R.VersionField <= MaxPlausibleVersionField)
        return R.VersionField >= 10032 ? 12 : 8;
    const bool at8 = LooksLikeZlibHeader(file, size_t{R.HeaderSize} + 8);
    const bool at12 = LooksLikeZlibHeader(file, size_t{R.HeaderSize} + 12);
    if (at8 && at12) {
        // With 32-bit sizes the 8-byte reading sees a zero inflated size (the high half of the first size).
        const size_t sizeAt = size_t{R.HeaderSize} + 2;
        return sizeAt + 2 <= file.size() && (file[sizeAt] | file[sizeAt + 1]) == 0 ? 12 : 8;
    }
    return at12 ? 12 : 8;
}

bool TReplayParser::ReadBlocks(int32_t count) {
    if (!R.HeaderRead)
        return false;
    R.Data.clear();
    R.DataReady = false;
    auto file = SourceBytes();
    if (R.BlockCount < 1)
        return false;
    TByteReader r(file);
    r.Seek(R.HeaderSize);
    const size_t width = BlockHeaderWidth(file);
    // The declared total is only a hint; never trust it with more than the file could hold.
    R.Data.reserve(std::min<uint64_t>(R.DataSize, uint64_t{file.size()} * MaxInflateRatio));
    for (int32_t i = 0; i < count; ++i) {
        uint32_t packed, unpacked;
        if (width == 12) {
            packed = r.ReadU32Le();
            unpacked = r.ReadU32Le();
        } else {
            packed = r.ReadU16Le();
            unpacked = r.ReadU16Le();
        }
        r.Skip(4);
        auto in = r.ReadBytes(packed);
        if (unpacked > std::max<uint64_t>(MinBlockAllowance, uint64_t{packed} * MaxInflateRatio))
            ThrowStreamReadError();
        const size_t at = R.Data.size();
        R.Data.resize(at + unpacked);
        InflateBlock(in, R.Data.data() + at, unpacked);
    }
    R.DataReady = true;
    return true;
}

} // namespace quillon
