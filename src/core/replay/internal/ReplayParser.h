#pragma once

#ifndef QUILLON_REPLAY_INTERNAL
#error "parser internals: include core/replay/ReplayInfo.h instead"
#endif

#include "core/replay/ReplayInfo.h"
#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/ReplaySource.h"
#include "core/replay/internal/WalkState.h"

#include <span>

namespace quillon {

/// The steps that read a replay into its model: the blocks of the container, the start record and the record
/// walk. Only the reader's own files see them.
struct TReplayParser {
    TReplayInfo& R;

    /// The replay's bytes (inside a GRBN wrapper, if any), opened on first use.
    TReplaySource& Source();
    bool ReadBlocks(int32_t count);
    size_t BlockHeaderWidth();

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
