#pragma once

#ifndef QUILLON_REPLAY_INTERNAL
#error "parser internals: include core/replay/ReplayInfo.h instead"
#endif

#include "core/replay/ReplayInfo.h"
#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/WalkState.h"

#include <span>

namespace quillon {

/// The steps that read a replay into its model: the blocks of the container, the start record and the record
/// walk. Only the reader's own files see them.
struct TReplayParser {
    TReplayInfo& R;

    /// The file's bytes, read once on first use (the replay inside a GRBN wrapper).
    std::span<const uint8_t> SourceBytes();
    bool ReadBlocks(int32_t count);
    size_t BlockHeaderWidth(std::span<const uint8_t> file) const;

    void ParseStartRecord(TByteReader& r);
    void ReadPlayerRecord(TByteReader& r);
    void DecodeMapAndCreator(TByteReader& r);
    void ReadSlotRecords(TByteReader& r);
    void WalkRecords(TByteReader& r, uint8_t detail);
    void ReadTimeSlot(TByteReader& r, TWalkState& st, uint8_t detail);
    void ReadChat(TByteReader& r, TWalkState& st, uint8_t detail);
    void ReadLeave(TByteReader& r, TWalkState& st, uint8_t detail);
    void FinishWalk(TWalkState& st);
};

} // namespace quillon
