#pragma once

#include "core/library/Library.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

enum class TLibrarySort { Date, Length, Apm, Map, Version };

/// What a player did in the game. Heroes and buildings are given by id ("Obla") or by name in either language,
/// whole or the start of a word of it ("blade", "Burrow", "剑圣"); a name may stand for several ids.
struct TPlayFilter {
    std::string Hero;                 // among the heroes
    std::string FirstHero;            // the first hero
    std::vector<std::string> Opening; // the first buildings, in this order
    double MinApm = 0;

    bool Empty() const { return Hero.empty() && FirstHero.empty() && Opening.empty() && MinApm <= 0; }
};

/// What to look for; empty fields match everything. Names and maps match without regard to letter case, as a
/// whole name or its start ("grub" finds "Grubby"; a map also after its "(4)" player count).
struct TLibraryQuery {
    std::string Player;
    int Race = 0;   // the player's race (any player's without Player): 1 Human ... 6 Random
    int VsRace = 0; // an opponent's race: a player on another team than Player (any player's without Player)
    std::string Map;
    std::string Version;                  // "1.26", or its start: "1.3"
    std::optional<int64_t> After, Before; // seconds since 1970, against the replay's date
    int64_t MinLength = 0;                // ms
    std::string Winner;                   // a player on the winning team
    int Result = 0;                       // Player's (any player's without Player): 1 won, 2 lost
    TPlayFilter Own;                      // what Player (any player without Player) did
    std::string Vs;                       // an opponent's name (or its start)
    TPlayFilter VsPlay;                   // what an opponent did
    std::string Text;                     // words in game names, maps and player names (full-text index)
    bool WithUnreadable = false;          // rows of files that could not be read (they match no other field)
    TLibrarySort Sort = TLibrarySort::Date;
    bool Descending = true;
    int Limit = 50;
    int Offset = 0;
};

enum class TObjectKind { Hero, Building };
/// The ids a hero or building text stands for (see TPlayFilter); none when it names nothing.
std::vector<std::string> MatchObjectIds(TObjectKind kind, std::string_view text);
/// The first text of the filter that names nothing, if any (to say so rather than find nothing).
std::optional<std::string> UnknownObject(const TPlayFilter& filter);

/// The rows that match, sorted, from Offset, at most Limit (a Limit below 0: all), with their players.
std::vector<TLibraryEntry> SearchLibrary(TLibrary& library, const TLibraryQuery& query);
/// How many rows match (Limit and Offset do not count).
int64_t CountLibrary(TLibrary& library, const TLibraryQuery& query);

struct TLibraryStats {
    int64_t Replays = 0;
    int64_t Unreadable = 0;
    std::vector<std::pair<std::string, int64_t>> ByVersion, ByRace, ByMap, TopPlayers;
};
/// Counts by version, race (players who played) and map, and the players with the most games; top rows each.
TLibraryStats LibraryStats(TLibrary& library, int top = 10);

/// "human", "orc", "nightelf" (or "elf", "ne"), "undead", "random", "demon", or their first letter; 0 for others.
int ParseRaceName(std::string_view text);
/// The English race name of a race number ("Night Elf"); "?" when unknown.
std::string RaceName(int race);
/// "YYYY-MM-DD" as the start of that day in local time; nothing for other text.
std::optional<int64_t> ParseDate(std::string_view text);

} // namespace quillon
