#pragma once

#include "ReplayWriter.h"

#include <string>

namespace quillon::testing {

/// A ten-minute 2v2 game of patch 1.26 with an observer, chat, orders, selections and leaves
/// (team 1 wins). The bundled demo replay.
TReplaySpec DemoGameSpec();

/// A twelve-minute 1v1 of patch 1.26 as it could have been played: Jaina (Human) against Thrall (Orc), each
/// training their own race's units and heroes, heroes learning a skill per level, a little chat, and Thrall
/// leaving beaten. The demo replay of make run.
TReplaySpec PlausibleDuelSpec();

/// A game of two teams of this many players (12 in all leaves no room for the observer the smaller ones have).
TReplaySpec TeamGameSpec(int playersPerTeam, int minutes);

/// A 1v1 of patch 1.26: the first player (id 1, team 1) wins, the second (id 2, team 2) leaves first.
TReplaySpec DuelSpec(const std::string& winner, const std::string& loser);

/// A one-minute 1v1 of patch 1.26 with a few actions of every common kind (fuzzing seeds).
TReplaySpec SmallGameSpec();

/// A one-hour 4v4 game of patch 1.26 with about 200,000 counted actions (for benchmarks).
TReplaySpec LargeGameSpec();

} // namespace quillon::testing
