#include "ReplayWriter.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace quillon::testing {

namespace {

void PutU16(TBytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(TBytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(TBytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

void Append(TBytes& out, const TBytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

void PutPlayerRecord(TBytes& out, const TWriterPlayer& p) {
    out.push_back(p.Id);
    PutText(out, p.Name);
    out.push_back(static_cast<uint8_t>(p.Extra.size()));
    Append(out, p.Extra);
}

uint8_t SlotSizeFor(const TReplaySpec& spec) {
    if (spec.SlotRecordSize)
        return spec.SlotRecordSize;
    const uint32_t v = spec.Version;
    return v < 3 ? 7 : v < 7 ? 8 : 9;
}

TBytes Compress(const uint8_t* data, size_t size, bool terminate) {
    z_stream zs{};
    if (deflateInit(&zs, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::runtime_error("deflateInit");
    TBytes out(deflateBound(&zs, static_cast<uLong>(size)) + 16);
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(size);
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, terminate ? Z_FINISH : Z_SYNC_FLUSH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

} // namespace

TBytes EncodeStartString(const TBytes& plain) {
    TBytes out;
    for (size_t start = 0; start < plain.size(); start += 7) {
        uint8_t mask = 1;
        TBytes group;
        for (size_t k = 0; k < 7 && start + k < plain.size(); ++k) {
            const uint8_t b = plain[start + k];
            if (b % 2 == 0) {
                group.push_back(static_cast<uint8_t>(b + 1));
            } else {
                group.push_back(b);
                mask = static_cast<uint8_t>(mask | (1u << (k + 1)));
            }
        }
        out.push_back(mask);
        Append(out, group);
    }
    return out;
}

TBytes BuildReplayData(const TReplaySpec& spec) {
    TBytes d;
    PutU32(d, 0x110);
    d.push_back(0); // record identifier of the host
    PutPlayerRecord(d, spec.Host);
    PutText(d, spec.GameName);
    d.push_back(0);
    TBytes plain = spec.Settings;
    plain.insert(plain.end(), spec.MapPath.begin(), spec.MapPath.end());
    plain.push_back(0);
    plain.insert(plain.end(), spec.Creator.begin(), spec.Creator.end());
    plain.push_back(0);
    if (spec.AfterCreator.empty())
        plain.push_back(0); // an empty third text
    else
        Append(plain, spec.AfterCreator);
    Append(d, EncodeStartString(plain));
    d.push_back(0); // the stored zero that ends the string
    PutU32(d, spec.PlayerCount);
    PutU32(d, spec.GameTypeCode);
    PutU32(d, 0);
    for (const auto& p : spec.Others) {
        d.push_back(0x16);
        PutPlayerRecord(d, p);
        PutU32(d, spec.AfterPlayerRecord);
    }
    for (const auto& m : spec.Metadata) {
        d.push_back(m.Identifier);
        d.push_back(m.Subtype);
        PutU32(d, static_cast<uint32_t>(m.Payload.size()));
        Append(d, m.Payload);
    }
    if (spec.HasSlotBlock) {
        const uint8_t size = SlotSizeFor(spec);
        d.push_back(0x19);
        PutU16(d, static_cast<uint32_t>(1 + spec.Slots.size() * size + 6));
        d.push_back(static_cast<uint8_t>(spec.Slots.size()));
        for (const auto& s : spec.Slots) {
            const TBytes full = {s.PlayerId, s.Download, s.Status,     s.Computer, s.Team,
                                 s.Color,    s.Race,     s.AiStrength, s.Handicap};
            d.insert(d.end(), full.begin(), full.begin() + size);
        }
    } else {
        d.push_back(0x00);
    }
    PutU32(d, 0x12345678); // random seed
    d.push_back(0);        // select mode
    d.push_back(spec.StartSpots);
    Append(d, spec.Records);
    return d;
}

TBytes BuildReplayFile(const TReplaySpec& spec) {
    TBytes data = BuildReplayData(spec);
    const size_t blockSize = spec.BlockSize;
    const size_t blocks = std::max<size_t>(1, (data.size() + blockSize - 1) / blockSize);
    if (spec.PadLastBlock)
        data.resize(blocks * blockSize, 0);
    const int width =
        spec.BlockHeaderWidth ? spec.BlockHeaderWidth : (spec.Version >= 10032 && spec.Version <= 20000 ? 12 : 8);

    TBytes body;
    uint32_t inflated = 0;
    for (size_t i = 0; i < blocks; ++i) {
        const size_t start = i * blockSize;
        const size_t size = std::min(blockSize, data.size() - start);
        TBytes packed = Compress(data.data() + start, size, spec.TerminateZlibStreams);
        if (width == 12) {
            PutU32(body, static_cast<uint32_t>(packed.size()));
            PutU32(body, static_cast<uint32_t>(size));
        } else {
            PutU16(body, static_cast<uint32_t>(packed.size()));
            PutU16(body, static_cast<uint32_t>(size));
        }
        PutU32(body, 0);
        Append(body, packed);
        inflated += static_cast<uint32_t>(size);
    }

    const uint32_t headerSize = spec.HeaderVersion == 0 ? 0x40 : 0x44;
    TBytes f;
    const std::string magic = "Warcraft III recorded game\x1A";
    f.insert(f.end(), magic.begin(), magic.end());
    f.push_back(0);
    PutU32(f, spec.HeaderSizeOverride ? spec.HeaderSizeOverride : headerSize);
    PutU32(f, 0); // file size, patched below
    PutU32(f, spec.HeaderVersion);
    PutU32(f, inflated);
    PutU32(f, spec.BlockCountOverride >= 0 ? static_cast<uint32_t>(spec.BlockCountOverride)
                                           : static_cast<uint32_t>(blocks));
    if (spec.HeaderVersion == 0) {
        PutU16(f, 0);
        PutU16(f, spec.Version);
    } else {
        std::string id = spec.Product;
        id.resize(4, '\0');
        f.insert(f.end(), id.rbegin(), id.rend());
        PutU32(f, spec.Version);
    }
    PutU16(f, spec.Build);
    PutU16(f, spec.Flags);
    PutU32(f, static_cast<uint32_t>(spec.Length));
    PutU32(f, spec.Checksum);
    if (spec.HeaderSizeOverride > f.size())
        f.resize(spec.HeaderSizeOverride, 0);
    Append(f, body);
    const auto total = static_cast<uint32_t>(f.size());
    for (int i = 0; i < 4; ++i)
        f[0x20 + static_cast<size_t>(i)] = static_cast<uint8_t>(total >> (8 * i));
    return f;
}

namespace rec {

TBytes TimeSlot(uint16_t increment, const std::vector<TBlock>& blocks, uint8_t identifier) {
    TBytes payload;
    for (const auto& b : blocks) {
        payload.push_back(b.PlayerId);
        PutU16(payload, static_cast<uint32_t>(b.Actions.size()));
        Append(payload, b.Actions);
    }
    TBytes out{identifier};
    PutU16(out, static_cast<uint32_t>(payload.size() + 2));
    PutU16(out, increment);
    Append(out, payload);
    return out;
}

TBytes Chat(uint8_t playerId, int32_t mode, const std::string& text) {
    TBytes out{0x20, playerId};
    PutU16(out, static_cast<uint32_t>(1 + 4 + text.size() + 1));
    out.push_back(0x20);
    PutU32(out, static_cast<uint32_t>(mode));
    PutText(out, text);
    return out;
}

TBytes Leave(uint8_t playerId, uint32_t result, uint32_t reason) {
    TBytes out{0x17};
    PutU32(out, reason);
    out.push_back(playerId);
    PutU32(out, result);
    PutU32(out, 0);
    return out;
}

TBytes End() {
    return {0x00};
}

TBytes Join(std::initializer_list<TBytes> parts) {
    TBytes out;
    for (const auto& p : parts)
        Append(out, p);
    return out;
}

} // namespace rec

namespace act {

TBytes Bytes(std::initializer_list<int> bytes) {
    TBytes out;
    for (int b : bytes)
        out.push_back(static_cast<uint8_t>(b));
    return out;
}

TBytes Id(const char (&code)[5]) {
    return {static_cast<uint8_t>(code[3]), static_cast<uint8_t>(code[2]), static_cast<uint8_t>(code[1]),
            static_cast<uint8_t>(code[0])};
}

TBytes U16(uint16_t v) {
    TBytes out;
    PutU16(out, v);
    return out;
}

TBytes U32(uint32_t v) {
    TBytes out;
    PutU32(out, v);
    return out;
}

namespace {
TBytes OrderHead(uint8_t identifier, uint32_t version, const char (&order)[5], uint8_t flags) {
    TBytes out{identifier, flags};
    if (version >= 13)
        out.push_back(0); // high byte of the 16-bit flags
    Append(out, Id(order));
    if (version >= 7)
        out.insert(out.end(), 8, 0xFF);
    return out;
}
} // namespace

TBytes OrderNoTarget(uint32_t version, const char (&order)[5], uint8_t flags) {
    return OrderHead(0x10, version, order, flags);
}

TBytes OrderPoint(uint32_t version, const char (&order)[5], int32_t x, int32_t y, uint8_t flags) {
    TBytes out = OrderHead(0x11, version, order, flags);
    PutU32(out, static_cast<uint32_t>(x));
    PutU32(out, static_cast<uint32_t>(y));
    return out;
}

namespace {
TBytes UnitList(uint8_t identifier, uint8_t first, uint16_t units) {
    TBytes out{identifier, first};
    PutU16(out, units);
    for (uint16_t i = 0; i < units; ++i) {
        PutU32(out, 0x1000u + i);
        PutU32(out, 0x1000u + i);
    }
    return out;
}
} // namespace

TBytes Select(uint8_t mode, uint16_t units) {
    return UnitList(0x16, mode, units);
}

TBytes AssignGroup(uint8_t group, uint16_t units) {
    return UnitList(0x17, group, units);
}

TBytes SelectGroup(uint8_t group) {
    return {0x18, group, 0x03};
}

} // namespace act

} // namespace quillon::testing
