#pragma once
// How a player's game went, as the library stores it: small texts an index can search and compact blobs.

#include "core/library/Library.h"
#include "core/summary/ReplaySummary.h"

#include <string>
#include <string_view>

namespace quillon {

/// How many orders of each kind (buildings, units, research) the library keeps.
inline constexpr size_t KeptBuildsPerKind = 10;

/// The facts of a summarised player: heroes the game had (not those cancelled before they came out), the first
/// orders of each kind that were not taken back, and the APM curve.
TPlayerFacts FactsOf(const TPlayerSummary& player);

/// ",Obla:5,Ofar:3,": each hero id between commas and its level, so that ",Obla:" finds a hero anywhere.
std::string HeroesText(const std::vector<TLibraryHero>& heroes);
std::vector<TLibraryHero> ParseHeroesText(std::string_view text);

/// The first buildings' ids end to end: four characters each.
std::string OpeningText(const TPlayerFacts& facts);

/// Each order as its kind, its four id bytes and its time (to a tenth of a second) as a step from the one before.
std::string EncodeBuilds(const std::vector<TLibraryBuild>& builds);
/// The orders back; bytes that break off end the list (a damaged blob gives what it holds).
std::vector<TLibraryBuild> DecodeBuilds(std::string_view bytes);

/// Each minute's count as a varint.
std::string EncodeMinutes(const std::vector<int32_t>& minutes);
std::vector<int32_t> DecodeMinutes(std::string_view bytes);

/// The facts of a row whose columns from first on are player_facts' heroes, builds, apm_minutes, peak_apm and
/// played_race.
TPlayerFacts ReadFacts(const TSqlStatement& row, int first);

} // namespace quillon
