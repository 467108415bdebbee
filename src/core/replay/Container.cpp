// The file header and the zlib data blocks.
#include "core/replay/ReplayInfo.h"
#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/ReplayParser.h"
#include "core/replay/internal/ReplaySource.h"

#include <libdeflate.h>
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

// The inflated data grow by blocks; reserving more than this up front is left to the blocks that really come.
constexpr uint64_t MaxReserve = 64 * 1024 * 1024;
constexpr uint64_t FullBlock = 8192; // what the game inflates each block to

bool LooksLikeZlibHeader(const std::vector<uint8_t>& bytes, size_t at) {
    if (at + 2 > bytes.size())
        return false;
    return bytes[at] == 0x78 && ((bytes[at] << 8) | bytes[at + 1]) % 31 == 0;
}

void InflateWithZlib(std::span<const uint8_t> in, uint8_t* out, size_t outSize) {
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

// A zlib header libdeflate's raw inflate may skip: deflate, a window zlib accepts, no preset dictionary.
bool PlainZlibHeader(const uint8_t* at) {
    return (at[0] & 0x0F) == 8 && (at[0] >> 4) <= 7 && (at[1] & 0x20) == 0 && ((at[0] << 8) | at[1]) % 31 == 0;
}

// The game ends each block's stream with a sync flush and no final block, so libdeflate, which inflates a whole
// buffer at once (about twice as fast as zlib), takes it once an empty final block (03 00) follows. A stream that
// ends on its own (bots write them, with the checksum after) ends there for zlib as well, so libdeflate's bytes
// are zlib's whenever it inflates the stream to a final block within the output. Anything else (damage, a stream
// longer than declared) is inflated by zlib as before, so the bytes are the same either way.
class TBlockInflater {
public:
    TBlockInflater() : Decompressor(libdeflate_alloc_decompressor()) {}
    ~TBlockInflater() { libdeflate_free_decompressor(Decompressor); }
    TBlockInflater(const TBlockInflater&) = delete;
    TBlockInflater& operator=(const TBlockInflater&) = delete;

    /// block holds the packed bytes and two spare ones after them.
    void Inflate(std::vector<uint8_t>& block, size_t packed, uint8_t* out, size_t outSize) {
        if (Decompressor && packed > 2 && PlainZlibHeader(block.data())) {
            block[packed] = 0x03;
            block[packed + 1] = 0x00;
            size_t produced = 0; // asked for, so a stream shorter than declared is no error
            if (libdeflate_deflate_decompress_ex(Decompressor, block.data() + 2, packed, out, outSize, nullptr,
                                                 &produced) == LIBDEFLATE_SUCCESS)
                return;                   // the rest of out is zero already, as with zlib
            std::memset(out, 0, outSize); // what libdeflate left is undefined
        }
        InflateWithZlib({block.data(), packed}, out, outSize);
    }

private:
    libdeflate_decompressor* Decompressor;
};

} // namespace

bool TReplayInfo::ReadHeader() {
    // The header is at most 68 bytes; read no more of the file than that here.
    const std::vector<uint8_t> head = TReplayParser{*this}.Source().ReadUpTo(0, 128);
    TByteReader r(head);
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

size_t TReplayParser::BlockHeaderWidth() {
    // From 1.32 the sizes are 32-bit. A field that holds no version (a bot's text) is decided by where
    // the first block's zlib header stands.
    if (R.VersionField <= MaxPlausibleVersionField)
        return R.VersionField >= 10032 ? 12 : 8;
    const std::vector<uint8_t> first = Source().ReadUpTo(R.HeaderSize, 16);
    const bool at8 = LooksLikeZlibHeader(first, 8);
    const bool at12 = LooksLikeZlibHeader(first, 12);
    if (at8 && at12) {
        // With 32-bit sizes the 8-byte reading sees a zero inflated size (the high half of the first size).
        return first.size() >= 4 && (first[2] | first[3]) == 0 ? 12 : 8;
    }
    return at12 ? 12 : 8;
}

bool TReplayParser::ReadBlocks(int32_t count) {
    if (!R.HeaderRead)
        return false;
    R.Data.clear();
    R.DataReady = false;
    TReplaySource& source = Source();
    if (R.BlockCount < 1)
        return false;
    const size_t width = BlockHeaderWidth();
    // The declared total is only a hint: the game declares every block full (8 KiB), the last one too, so the
    // blocks together may ask for more than the total, and growing the buffer then would copy it all once more.
    // Reserve no more than the file could back.
    const uint64_t backed =
        MinBlockAllowance + (source.Size() - std::min<uint64_t>(source.Size(), R.HeaderSize)) * MaxInflateRatio;
    const uint64_t declared = std::max<uint64_t>(R.DataSize, uint64_t{static_cast<uint32_t>(count)} * FullBlock);
    R.Data.reserve(static_cast<size_t>(std::min({declared, backed, MaxReserve})));
    uint64_t pos = R.HeaderSize;
    uint64_t packedTotal = 0;
    std::vector<uint8_t> in; // one buffer for every block, with room for the final block libdeflate needs
    TBlockInflater inflater;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t header[12];
        source.ReadExact(pos, header, width);
        pos += width;
        TByteReader h(std::span<const uint8_t>(header, width));
        const uint32_t packed = width == 12 ? h.ReadU32Le() : h.ReadU16Le();
        const uint32_t unpacked = width == 12 ? h.ReadU32Le() : h.ReadU16Le();
        // What all blocks inflate to stays in proportion to the bytes the file really holds: blocks that
        // declare data without bytes behind them are damage, not data.
        packedTotal += packed;
        if (R.Data.size() + uint64_t{unpacked} > MinBlockAllowance + packedTotal * MaxInflateRatio)
            ThrowStreamReadError();
        if (packed > source.Size() - std::min(pos, source.Size()))
            ThrowStreamReadError(); // more bytes than the file has left: check before allocating
        in.resize(size_t{packed} + 2);
        source.ReadExact(pos, in.data(), packed);
        pos += packed;
        const size_t at = R.Data.size();
        R.Data.resize(at + unpacked);
        inflater.Inflate(in, packed, R.Data.data() + at, unpacked);
    }
    R.DataReady = true;
    return true;
}

} // namespace quillon
