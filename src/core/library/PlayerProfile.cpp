#include "core/library/PlayerProfile.h"

#include "core/library/PlayerFacts.h"
#include "core/platform/System.h"
#include "core/text/AsciiCase.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace quillon {

void TRecord::Add(int result) {
    ++Games;
    Wins += result == 1;
    Losses += result == 2;
}

double TRecord::WinRate() const {
    return Wins + Losses > 0 ? static_cast<double>(Wins) / static_cast<double>(Wins + Losses) : 0;
}

namespace {

struct TGame {
    int64_t ReplayId = 0;
    int Team = 0, Race = 0, Result = 0;
    double Apm = 0;
    int64_t Modified = 0;
    std::string Map, Patch, FirstHero, Opening;
    std::vector<TLibraryHero> Heroes;
};

// The race played: a random slot's as its orders show it (when they do).
constexpr const char* PlayedRace = "CASE WHEN p.race = 6 AND f.played_race > 0 THEN f.played_race ELSE p.race END";
constexpr const char* OpponentRace = "CASE WHEN o.race = 6 AND of.played_race > 0 THEN of.played_race ELSE o.race END";

// "?1 ... ?2 OR ..." over the name keys: each name whole or as the start of a name.
std::string NamesWhere(const std::vector<std::string>& names) {
    std::string where;
    for (size_t i = 0; i < names.size(); ++i)
        where += std::string(i ? " OR " : "") + "(p.name_key >= ?" + std::to_string(2 * i + 1) + " AND p.name_key < ?" +
                 std::to_string(2 * i + 2) + ")";
    return "(" + where + ")";
}

void BindNames(TSqlStatement& s, const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string from = AsciiLower(names[i]);
        s.Bind(static_cast<int>(2 * i + 1), from).Bind(static_cast<int>(2 * i + 2), from + "\xFF");
    }
}

template <class TKey> std::vector<TKeyedRecord<TKey>> Ranked(const std::map<TKey, TRecord>& records, size_t top) {
    std::vector<TKeyedRecord<TKey>> list;
    for (const auto& [key, record] : records)
        list.push_back({key, record});
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return a.Record.Games > b.Record.Games; });
    if (list.size() > top)
        list.resize(top);
    return list;
}

std::string MonthOf(int64_t seconds) {
    const std::tm tm = LocalTime(static_cast<std::time_t>(seconds));
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m", &tm);
    return text;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

TPlayerProfile PlayerProfile(TLibrary& library, const std::vector<std::string>& names, size_t top) {
    TPlayerProfile profile;
    std::vector<std::string> keys;
    for (const std::string& name : names)
        if (!name.empty())
            keys.push_back(name);
    if (keys.empty())
        return profile;
    const std::string where = NamesWhere(keys);

    // The player's rows, a game kept in several files once (the same start, size and length is the same game).
    TSqlStatement rows(library.Db(),
                       "SELECT p.replay_id, p.name, p.team, " + std::string(PlayedRace) +
                           ", p.result, p.apm, r.modified, r.map_name, "
                           "r.version, r.hash, r.size, r.length, f.first_hero, f.heroes, f.opening FROM players p JOIN "
                           "replays r ON r.id = p.replay_id LEFT JOIN player_facts f ON f.replay_id = p.replay_id AND "
                           "f.slot = p.slot WHERE p.observer = 0 AND p.computer = 0 AND r.error IS NULL AND " +
                           where + " ORDER BY r.modified, p.replay_id, p.slot");
    BindNames(rows, keys);
    std::vector<TGame> games;
    std::unordered_set<int64_t> replays;
    std::set<std::tuple<std::string, int64_t, int64_t>> contents;
    std::set<std::string> seenNames;
    while (rows.Step()) {
        const int64_t id = rows.Int(0);
        if (replays.count(id) || !contents.emplace(rows.Text(9), rows.Int(10), rows.Int(11)).second)
            continue;
        replays.insert(id);
        if (seenNames.insert(rows.Text(1)).second)
            profile.Names.push_back(rows.Text(1));
        TGame g;
        g.ReplayId = id;
        g.Team = static_cast<int>(rows.Int(2));
        g.Race = static_cast<int>(rows.Int(3));
        g.Result = static_cast<int>(rows.Int(4));
        g.Apm = rows.Real(5);
        g.Modified = rows.Int(6);
        g.Map = rows.Text(7);
        g.Patch = rows.Text(8);
        g.FirstHero = rows.Text(12);
        g.Heroes = ParseHeroesText(rows.Text(13));
        g.Opening = rows.Text(14);
        games.push_back(std::move(g));
    }

    // Everyone else who played in those games.
    struct TOther {
        std::string Name, Key;
        int Team = 0, Race = 0;
    };
    std::unordered_map<int64_t, std::vector<TOther>> others;
    TSqlStatement opponents(library.Db(), "SELECT o.replay_id, o.name, o.name_key, o.team, " +
                                              std::string(OpponentRace) +
                                              " FROM players o LEFT JOIN player_facts of ON of.replay_id = o.replay_id "
                                              "AND of.slot = o.slot WHERE o.observer = 0 AND o.replay_id IN (SELECT "
                                              "p.replay_id FROM players p WHERE " +
                                              where + ")");
    BindNames(opponents, keys);
    while (opponents.Step())
        others[opponents.Int(0)].push_back({opponents.Text(1), opponents.Text(2), static_cast<int>(opponents.Int(3)),
                                            static_cast<int>(opponents.Int(4))});

    std::map<int, TRecord> byRace, byOpponentRace;
    std::map<std::string, TRecord> byMap, byPatch, byOpening;
    std::map<std::string, std::pair<std::string, TRecord>> byOpponent; // name key: a shown name, the record
    std::map<std::string, THeroUse> heroes;
    std::map<std::string, std::vector<double>> apm;
    for (const TGame& g : games) {
        profile.Overall.Add(g.Result);
        byRace[g.Race].Add(g.Result);
        byMap[g.Map].Add(g.Result);
        byPatch[g.Patch].Add(g.Result);
        std::set<int> racesMet;
        std::set<std::string> met;
        for (const TOther& o : others[g.ReplayId])
            if (o.Team != g.Team) {
                racesMet.insert(o.Race);
                if (met.insert(o.Key).second) {
                    auto& [shown, record] = byOpponent[o.Key];
                    if (shown.empty())
                        shown = o.Name;
                    record.Add(g.Result);
                }
            }
        for (const int race : racesMet)
            byOpponentRace[race].Add(g.Result);
        std::set<std::string> had;
        for (const TLibraryHero& h : g.Heroes)
            if (had.insert(h.Id).second) {
                THeroUse& use = heroes[h.Id];
                use.Id = h.Id;
                ++use.Games;
            }
        if (!g.FirstHero.empty()) {
            THeroUse& use = heroes[g.FirstHero];
            use.Id = g.FirstHero;
            use.Opened.Add(g.Result);
        }
        if (!g.Opening.empty())
            byOpening[g.Opening.substr(0, 16)].Add(g.Result);
        apm[MonthOf(g.Modified)].push_back(g.Apm);
    }
    profile.ByRace = Ranked(byRace, top);
    profile.ByOpponentRace = Ranked(byOpponentRace, top);
    profile.ByMap = Ranked(byMap, top);
    profile.ByPatch = Ranked(byPatch, top);
    std::map<std::string, TRecord> opponentRecords;
    for (const auto& [key, shown] : byOpponent)
        opponentRecords[shown.first] = shown.second;
    profile.Opponents = Ranked(opponentRecords, top);
    for (const auto& [ids, record] : Ranked(byOpening, top)) {
        std::vector<std::string> list;
        for (size_t at = 0; at + 4 <= ids.size(); at += 4)
            list.push_back(ids.substr(at, 4));
        profile.Openings.push_back({list, record});
    }
    for (const auto& [id, use] : heroes)
        profile.Heroes.push_back(use);
    std::stable_sort(profile.Heroes.begin(), profile.Heroes.end(),
                     [](const THeroUse& a, const THeroUse& b) { return a.Games > b.Games; });
    if (profile.Heroes.size() > top)
        profile.Heroes.resize(top);
    for (const auto& [month, values] : apm)
        profile.ApmByMonth.push_back({month, static_cast<int64_t>(values.size()), Median(values),
                                      *std::min_element(values.begin(), values.end()),
                                      *std::max_element(values.begin(), values.end())});
    return profile;
}

} // namespace quillon
