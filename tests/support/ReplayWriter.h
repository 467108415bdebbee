#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quillon::testing {

using TBytes = std::vector<uint8_t>;

/// A player record of the start record.
struct TWriterPlayer {
    uint8_t Id = 1;
    std::string Name;
    TBytes Extra = {0}; // extra data after the size byte; one byte 0 marks a custom game up to 1.30
};

/// A slot record; Size picks 7, 8 or 9 bytes (0: by the header's version, as the game writes it).
struct TWriterSlot {
    uint8_t PlayerId = 0;
    uint8_t Download = 100;
    uint8_t Status = 2; // 0 open, 1 closed, 2 used
    uint8_t Computer = 0;
    uint8_t Team = 0; // 0-based team byte
    uint8_t Color = 0;
    uint8_t Race = 0x01;
    uint8_t AiStrength = 1;
    uint8_t Handicap = 100;
};

/// A metadata record of 1.32+ (0x39) or 2.0.2+ (0x38) start records.
struct TWriterMetadata {
    uint8_t Identifier = 0x39;
    uint8_t Subtype = 3;
    TBytes Payload;
};

/// Everything a replay holds, in the terms of the file. Defaults make a small 1.26 custom game.
struct TReplaySpec {
    uint32_t HeaderVersion = 1;
    std::string Product = "W3XP";
    uint32_t Version = 26; // the whole version field
    uint16_t Build = 6059;
    uint16_t Flags = 0x8000;
    int32_t Length = 60000;
    uint32_t Checksum = 0;
    uint32_t HeaderSizeOverride = 0; // 0: the parsed header's own size
    int32_t BlockCountOverride = -1; // -1: the real count

    TWriterPlayer Host{1, "Host"};
    std::string GameName = "Test game";
    TBytes Settings = TBytes(13, 0x01); // the 13 leading bytes of the encoded string
    std::string MapPath = "Maps\\(2)Test.w3x";
    std::string Creator = "Host";
    TBytes AfterCreator = {}; // the third text and whatever follows (1.26+: 20 more bytes)
    uint32_t PlayerCount = 2;
    uint32_t GameTypeCode = 9;
    std::vector<TWriterPlayer> Others;
    uint32_t AfterPlayerRecord = 0; // the 4 bytes after each 0x16 record
    std::vector<TWriterMetadata> Metadata;
    bool HasSlotBlock = true;
    std::vector<TWriterSlot> Slots;
    uint8_t SlotRecordSize = 0; // 0: by version
    uint8_t StartSpots = 2;

    TBytes Records;                    // the record stream after the start record, end record included
    uint32_t BlockSize = 8192;         // inflated size of each block
    bool PadLastBlock = true;          // the game pads the last block with zeros to the full size
    int BlockHeaderWidth = 0;          // 8 or 12; 0: by version (12 from 10032)
    bool TerminateZlibStreams = false; // bots end their streams, the game does not
};

/// Builds the inflated data (start record and records) of a spec.
TBytes BuildReplayData(const TReplaySpec& spec);
/// Builds the whole .w3g file of a spec.
TBytes BuildReplayFile(const TReplaySpec& spec);
/// Encodes a string the way the start record stores map path and creator (mask groups, no zero bytes).
TBytes EncodeStartString(const TBytes& plain);

/// Builders of record-stream records and command-block actions.
namespace rec {
struct TBlock {
    uint8_t PlayerId;
    TBytes Actions;
};
TBytes TimeSlot(uint16_t increment, const std::vector<TBlock>& blocks, uint8_t identifier = 0x1F);
TBytes Chat(uint8_t playerId, int32_t mode, const std::string& text);
TBytes Leave(uint8_t playerId, uint32_t result, uint32_t reason = 0x0C);
TBytes End();
TBytes Join(std::initializer_list<TBytes> parts);
} // namespace rec

namespace act {
TBytes Bytes(std::initializer_list<int> bytes);
TBytes Id(const char (&code)[5]); // "hpea" stored reversed
TBytes U16(uint16_t v);
TBytes U32(uint32_t v);
/// Train/build/ability without target in the layout of the given version (flags, order, extra bytes).
TBytes OrderNoTarget(uint32_t version, const char (&order)[5], uint8_t flags = 0x40);
/// Ability at a point.
TBytes OrderPoint(uint32_t version, const char (&order)[5], int32_t x, int32_t y, uint8_t flags = 0);
/// Selection change (mode 1 add, 2 remove) with n units.
TBytes Select(uint8_t mode, uint16_t units);
TBytes AssignGroup(uint8_t group, uint16_t units);
TBytes SelectGroup(uint8_t group);
} // namespace act

} // namespace quillon::testing
