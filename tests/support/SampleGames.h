#pragma once

#include "ReplayWriter.h"

#include <string>

namespace quillon::testing {

/// A ten-minute 2v2 game of patch 1.26 with an observer, chat, orders, selections and leaves
/// (team 1 wins). The bundled demo replay.
TReplaySpec DemoGameSpec();

/// A 1v1 of patch 1.26: the first player (id 1, team 1) wins, the second (id 2, team 2) leaves first.
TReplaySpec DuelSpec(const std::string& winner, const std::string& loser);

/// A one-minute 1v1 of patch 1.26 with a few actions of every common kind (fuzzing seeds).
TReplaySpec SmallGameSpec();

/// A one-hour 4v4 game of patch 1.26 with about 200,000 counted actions (for benchmarks).
TReplaySpec LargeGameSpec();

} // namespace quillon::testing
