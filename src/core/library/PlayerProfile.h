#pragma once
// A player's record across the library: games, wins and losses by race, matchup, map and patch; heroes,
// openings, APM over time and the opponents met.

#include "core/library/Library.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

struct TRecord {
    int64_t Games = 0;
    int64_t Wins = 0;
    int64_t Losses = 0; // games neither won nor lost (no result recorded) count only as games

    void Add(int result);
    /// Wins out of the games with a result, 0 to 1; 0 without any.
    double WinRate() const;
    bool operator==(const TRecord&) const = default;
};

template <class TKey> struct TKeyedRecord {
    TKey Key;
    TRecord Record;
    bool operator==(const TKeyedRecord&) const = default;
};

struct THeroUse {
    std::string Id;
    int64_t Games = 0; // games with this hero
    TRecord Opened;    // games with this hero first
    bool operator==(const THeroUse&) const = default;
};

struct TApmMonth {
    std::string Month; // "2026-03", in local time
    int64_t Games = 0;
    double Median = 0, Lowest = 0, Highest = 0;
    bool operator==(const TApmMonth&) const = default;
};

struct TPlayerProfile {
    std::vector<std::string> Names; // the names played under, as stored, each once
    TRecord Overall;
    // Races as played: a random pick counts as the race its orders show, else as Random.
    std::vector<TKeyedRecord<int>> ByRace;         // own race number, most games first
    std::vector<TKeyedRecord<int>> ByOpponentRace; // the matchups: a game counts once for each race it met
    std::vector<TKeyedRecord<std::string>> ByMap, ByPatch, Opponents;
    std::vector<THeroUse> Heroes;                                 // most games first
    std::vector<TKeyedRecord<std::vector<std::string>>> Openings; // the first four buildings' ids
    std::vector<TApmMonth> ApmByMonth;                            // oldest first
};

/// The profile of the players whose names match one of names (letter case aside, whole or the start), as one
/// player: observers and computers are not them. A game kept in several files counts once; in a game where two of
/// the names played, the first in slot order is the player. Lists beyond the totals hold at most top entries.
TPlayerProfile PlayerProfile(TLibrary& library, const std::vector<std::string>& names, size_t top = 10);

} // namespace quillon
