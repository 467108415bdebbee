#pragma once

#include "core/gamedata/GameTables.h"
#include "core/replay/ReplayInfo.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

/// The phrase that activates the cheat recorded as action kind 34 to 51; empty for other kinds.
std::string_view CheatName(uint8_t kind);

/// Player names by id (1 to 24), built once per page.
class TPlayerNames {
public:
    explicit TPlayerNames(const TReplayInfo& replay);
    /// The stored name of the player with this id; empty when no player has it.
    const std::string& Name(uint8_t id) const;

private:
    const TReplayInfo& Replay;
    std::array<uint8_t, 256> IndexById{};
};

/// The Action cell of a recorded action, in the tables' language; empty when the kind has no text.
std::string ActionText(const TActionInfo& action, const TReplayInfo& replay, const TGameTables& tables,
                       const TPlayerNames& names);

/// The three cells of an action row.
struct TActionCells {
    std::string Player;
    std::string Time;
    std::string Action;
};

TActionCells ActionCells(const TActionInfo& action, const TReplayInfo& replay, const TGameTables& tables,
                         const TPlayerNames& names);

} // namespace quillon
