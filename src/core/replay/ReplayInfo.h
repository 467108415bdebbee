#pragma once

#include "core/replay/LayoutContext.h"
#include "core/replay/ReplayModel.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class TReplaySource;

/// How the record walk of the last Parse ended.
struct TWalkEnd {
    enum class TReason : uint8_t { NotWalked, End, UnknownRecord } Reason = TReason::NotWalked;
    uint8_t Identifier = 0; // the unlisted identifier
    size_t Position = 0;    // its offset in the inflated data
};

/// How well the command blocks of the last walk split into known actions.
struct TBlockStats {
    struct TResidue {
        size_t Position = 0;    // offset of the block's first action byte in the inflated data
        size_t StoppedAt = 0;   // offset inside the block where decoding stopped
        size_t Length = 0;      // the block's length
        uint8_t Identifier = 0; // the byte decoding stopped at
    };
    uint64_t Blocks = 0;
    uint64_t ExactBlocks = 0;
    std::vector<TResidue> Residues; // the first few blocks that did not end exactly
};

/// Where the replay starts in a file whose first bytes are head (at least 16 of them for a wrapper to be seen) and
/// whose size is fileSize: 0, or after the header and metadata of a GRBN wrapper.
uint64_t ReplayStart(std::span<const uint8_t> head, uint64_t fileSize);

/// The replay of a file's bytes: the bytes themselves, or the replay a GRBN wrapper carries.
std::span<const uint8_t> ReplayInside(std::span<const uint8_t> file);

/// One replay file: its header fields, game information, players, teams, actions and winner.
class TReplayInfo {
public:
    /// A replay object for an existing file; nullptr when the path names no file.
    static std::unique_ptr<TReplayInfo> Create(const std::string& fileName);
    /// A replay object over bytes already in memory (tests, fuzzing); fileName is only kept.
    static std::unique_ptr<TReplayInfo> CreateFromBuffer(std::vector<uint8_t> bytes, std::string fileName = {});
    virtual ~TReplayInfo();

    /// Reads the replay at detail 0 (header and start record), 1 (counts, times, winner) or 2 (also every
    /// action). False for a wrong magic, no data blocks or data not ready; read failures throw TReplayError.
    bool Load(uint8_t detail);
    bool ReadHeader();
    bool ReadFirstBlock();
    bool ReadAllBlocks();
    bool Parse(uint8_t detail);

    bool HeaderRead = false;
    bool DataReady = false;
    std::string FileName;
    int32_t Winner = 0; // team number; 0 = no winner known
    uint32_t HeaderSize = 0;
    uint32_t FileSize = 0;
    uint32_t DataSize = 0;
    int32_t BlockCount = 0;
    uint16_t Version = 0;
    uint16_t Build = 0;
    uint16_t Flags = 0;
    int32_t Length = 0;
    uint32_t Checksum = 0;
    uint32_t HeaderVersion = 0;
    std::string ProductId;
    TGameInfo Game;
    /// False when the start record holds no slot records: players then come from their player records alone,
    /// and their teams, races and colours are unknown.
    bool SlotsRecorded = true;
    std::unique_ptr<TPlayersInfo> Players;
    std::unique_ptr<TTeamsInfo> Teams;
    std::unique_ptr<TActionsInfo> Actions;
    std::vector<uint8_t> Data; // the inflated blocks

    /// The whole 32-bit version field of the header (Version keeps its low 16 bits).
    uint32_t VersionField = 0;
    /// Which layouts this replay's patch uses; set by ReadHeader, completed by Parse.
    TLayoutContext Layout;
    TWalkEnd WalkEnd;
    TBlockStats BlockStats;
    /// Set before Load: what detail 2 keeps of the actions.
    TActionDetail ActionDetail = TActionDetail::Full;

private:
    friend struct TReplayParser; // the reading steps, seen only by the reader's own files
    TReplayInfo() = default;

    std::unique_ptr<TReplaySource> Source; // the file while it is read, or the bytes given
    bool SourceIsFile = false;
};

} // namespace quillon
