#pragma once
// The cells of a library row that the window's table and quillon-cli both show, made once.

#include "core/lang/Translations.h"
#include "core/library/Library.h"

#include <functional>
#include <string>

namespace quillon {

/// The players who played, team by team: "A + B vs C", each as label writes them (observers left out).
std::string TeamsText(const TLibraryEntry& entry, const std::function<std::string(const TLibraryPlayer&)>& label);

/// A race as one letter in the language: "H", "O", "N", "U", "D", "R" (人, 兽, ...); "?" when unknown.
std::string RaceLetter(int race, TLanguage language);

/// The players cell: "Grubby (O) + Ally (H) vs Moon (N)", names as UTF-8 text; with markWinners each winner
/// gets a "*" after the race ("Grubby (O)*").
std::string LibraryPlayersCell(const TLibraryEntry& entry, TLanguage language, bool markWinners);

/// The winners' names, joined by ", ".
std::string LibraryWinnersCell(const TLibraryEntry& entry);

} // namespace quillon
