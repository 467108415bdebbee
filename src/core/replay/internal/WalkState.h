#pragma once

#ifndef QUILLON_REPLAY_INTERNAL
#error "parser internals: include core/replay/ReplayInfo.h instead"
#endif

#include "core/replay/LayoutContext.h"
#include "core/replay/ReplayModel.h"

#include <array>
#include <cstdint>
#include <span>

namespace quillon {

/// Working state of one record walk. Tables are indexed by the raw id byte, so no id needs a range check;
/// only ids 1 to MaxPlayerId map to a player.
struct TWalkState {
    int64_t GameTime = 0;
    std::array<uint8_t, 256> IndexById{};
    std::array<uint8_t, 256> SelectionSize{};
    std::array<std::array<uint8_t, 10>, 256> GroupSize{};
    std::array<uint8_t, 256> LeavesByTeam{};
    int32_t LeaveCount = 0;
    bool WinnerProvisional = false;
};

struct TBlockTarget {
    TPlayersInfo& Players;
    TActionsInfo& Actions;
    const TLayoutContext& Layout;
    uint8_t Detail;
    TActionDetail Keep = TActionDetail::Full;
};

/// Splits one command block into actions: counts, selection sizes and, at detail 2, recorded actions.
/// Returns the offset where decoding stopped: the block's length when every byte was an action.
size_t DecodeBlock(std::span<const uint8_t> block, uint8_t playerId, TWalkState& state, const TBlockTarget& target);

} // namespace quillon
