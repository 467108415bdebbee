#pragma once
// A player profile in words: the same tables for quillon-cli, the window and the HTML page.

#include "core/lang/Translations.h"
#include "core/library/PlayerProfile.h"

#include <string>
#include <vector>

namespace quillon {

/// One table of a profile: a title, the headings, and rows of cells (numbers as text).
struct TProfileTable {
    std::string Id; // "races", "matchups", "maps", "patches", "heroes", "openings", "apm", "opponents"
    std::string Title;
    std::string Short; // a tab's name
    std::vector<std::string> Headings;
    std::vector<std::vector<std::string>> Rows;
    size_t FirstNumberColumn = 1; // cells from this column on are numbers (aligned right)
};

/// A race's name in the language ("Night Elf", "暗夜精灵族"); "?" when not known.
std::string RaceWord(int race, TLanguage language);
/// A hero's or building's name in the language; its id when the tables do not know it.
std::string ObjectWord(const std::string& id, TLanguage language);
/// "Farm, Altar of Kings, Barracks, Farm".
std::string OpeningWords(const std::vector<std::string>& ids, TLanguage language);
/// "61%"; "-" for a record without results.
std::string WinRateText(const TRecord& record);

/// "Profile of Grubby" over the names played under.
std::string ProfileTitle(const TPlayerProfile& profile, const std::vector<std::string>& asked, TLanguage language);
/// "Games: 120 · Wins: 70 · Losses: 45 · Win rate: 61%".
std::string ProfileTotalsText(const TPlayerProfile& profile, TLanguage language);
/// Every table of the profile, in the order shown.
std::vector<TProfileTable> ProfileTables(const TPlayerProfile& profile, TLanguage language);

} // namespace quillon
