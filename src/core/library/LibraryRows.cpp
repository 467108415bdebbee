#include "core/library/LibraryRows.h"

#include "core/lang/StringIds.h"
#include "core/text/DecodeText.h"

#include <algorithm>
#include <vector>

namespace quillon {

std::string TeamsText(const TLibraryEntry& entry, const std::function<std::string(const TLibraryPlayer&)>& label) {
    // Teams in the order they first appear in the slots, each with its players in slot order.
    std::vector<int> teams;
    for (const auto& p : entry.Players)
        if (!p.Observer && std::find(teams.begin(), teams.end(), p.Team) == teams.end())
            teams.push_back(p.Team);
    std::string text;
    for (const int team : teams) {
        if (!text.empty())
            text += " vs ";
        bool first = true;
        for (const auto& p : entry.Players)
            if (!p.Observer && p.Team == team) {
                text += (first ? "" : " + ") + label(p);
                first = false;
            }
    }
    return text;
}

std::string RaceLetter(int race, TLanguage language) {
    static constexpr LibraryString Letters[] = {LibraryString::RaceHuman,    LibraryString::RaceOrc,
                                                LibraryString::RaceNightElf, LibraryString::RaceUndead,
                                                LibraryString::RaceDemon,    LibraryString::RaceRandom};
    return race >= 1 && race <= 6 ? GetString(Letters[race - 1], language) : std::string("?");
}

std::string LibraryPlayersCell(const TLibraryEntry& entry, TLanguage language, bool markWinners) {
    return TeamsText(entry, [language, markWinners](const TLibraryPlayer& p) {
        return DecodeUtf8Text(p.Name) + " (" + RaceLetter(p.Race, language) + ")" +
               (markWinners && p.Result == 1 ? "*" : "");
    });
}

std::string LibraryWinnersCell(const TLibraryEntry& entry) {
    std::string names;
    for (const auto& p : entry.Players)
        if (!p.Observer && p.Result == 1)
            names += (names.empty() ? "" : ", ") + DecodeUtf8Text(p.Name);
    return names;
}

} // namespace quillon
