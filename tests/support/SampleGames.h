#pragma once

#include "ReplayWriter.h"

#include <string>
#include <vector>

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

/// An order in a duel: a building is placed at a point, the rest is ordered without a target; a cancel takes the
/// last of that id out of the queue.
struct TDuelOrder {
    int Player; // 1 or 2
    std::string Id;
    enum { Train, Build, Cancel } How = Train;
};

/// A ten-minute duel of patch 1.26 whose every order is known, ten seconds apart; the first player wins.
struct TOrderedDuel {
    std::string File;
    std::string Winner;
    uint8_t WinnerRace; // 0x01 human, 0x02 orc, 0x04 night elf
    std::string Loser;
    uint8_t LoserRace;
    std::string Map;
    std::string Date; // YYYY-MM-DD: the day its file is dated
    std::vector<TDuelOrder> Orders;
    int BusyPlayer = 0; // this player also selects units every second: about 60 APM
};
TReplaySpec OrderedDuelSpec(const TOrderedDuel& duel);

/// Seven such duels: Grubby (Orc) against Moon (Night Elf) and Sky (Human), twice each, Moon against Sky, Lyn
/// (Orc) against Moon, and Rnd (a random pick that built Human) against Foe (Undead); their heroes, openings and
/// results are what tests of searches and profiles count on.
const std::vector<TOrderedDuel>& KnownDuels();

/// A one-minute 1v1 of patch 1.26 with a few actions of every common kind (fuzzing seeds).
TReplaySpec SmallGameSpec();

/// A one-hour 4v4 game of patch 1.26 with about 200,000 counted actions (for benchmarks).
TReplaySpec LargeGameSpec();

} // namespace quillon::testing
