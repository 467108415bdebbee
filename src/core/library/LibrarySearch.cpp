#include "core/library/LibrarySearch.h"

#include "core/gamedata/GameTables.h"
#include "core/library/PlayerFacts.h"
#include "core/text/AsciiCase.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <functional>

namespace quillon {

namespace {

// The lower-case keys equal to text or starting with it, as a range an index can serve: [From, To).
struct TKeyRange {
    std::string From, To;
    explicit TKeyRange(const std::string& text) : From(AsciiLower(text)), To(From + "\xFF") {}
};

// The WHERE clause of a query and its parameters, in order.
struct TFilter {
    std::string Where = "1";
    std::vector<std::function<void(TSqlStatement&, int)>> Binds;

    void Add(const std::string& condition) { Where += " AND " + condition; }
    // A parameter's placeholder, with its value bound later.
    std::string Text(std::string value) {
        Binds.push_back([v = std::move(value)](TSqlStatement& s, int i) { s.Bind(i, v); });
        return "?" + std::to_string(Binds.size());
    }
    std::string Real(double value) {
        Binds.push_back([value](TSqlStatement& s, int i) { s.Bind(i, value); });
        return "?" + std::to_string(Binds.size());
    }
    std::string Int(int64_t value) {
        Binds.push_back([value](TSqlStatement& s, int i) { s.Bind(i, value); });
        return "?" + std::to_string(Binds.size());
    }
    void BindAll(TSqlStatement& s) const {
        for (size_t i = 0; i < Binds.size(); ++i)
            Binds[i](s, static_cast<int>(i + 1));
    }
    // A lower-case key column equal to text or starting with it: a range the index can serve.
    std::string Prefix(const std::string& column, const std::string& text) {
        TKeyRange range(text);
        return "(" + column + " >= " + Text(std::move(range.From)) + " AND " + column + " < " +
               Text(std::move(range.To)) + ")";
    }
};

std::string PlayerIs(TFilter& f, const std::string& alias, const std::string& name) {
    return alias + ".observer = 0 AND " + f.Prefix(alias + ".name_key", name);
}

// How many player rows a name matches, from the name index alone.
int64_t NameRows(TLibrary& library, const std::string& name) {
    const TKeyRange range(name);
    TSqlStatement s(library.Db(), "SELECT count(*) FROM players WHERE name_key >= ?1 AND name_key < ?2");
    s.Bind(1, range.From).Bind(2, range.To);
    return s.Step() ? s.Int(0) : 0;
}

// A condition on the players of r. A rare name, or one with more to check, starts from the name index (its
// replays are then checked for the rest); a common name alone is checked replay by replay, so that a date-ordered
// search stops after its first page.
std::string PlayersWhere(TLibrary& library, TFilter& f, const std::string& name, const std::string& alias,
                         const std::string& rest) {
    constexpr int64_t FewRows = 2000;
    const std::string matches = PlayerIs(f, alias, name) + rest;
    if (!rest.empty() || NameRows(library, name) <= FewRows)
        return "r.id IN (SELECT " + alias + ".replay_id FROM players " + alias + " WHERE " + matches + ")";
    return "EXISTS (SELECT 1 FROM players " + alias + " WHERE " + alias + ".replay_id = r.id AND " + matches + ")";
}

// Whether a name is text itself, or a word of it starts with text (letter case aside); a text in another script
// than the Latin letters may stand anywhere in the name, which has no spaces between its words.
bool NameMatches(std::string_view name, std::string_view text) {
    const std::string n = AsciiLower(name), t = AsciiLower(text);
    if (t.empty())
        return false;
    const bool latin = std::all_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    for (size_t at = n.find(t); at != std::string::npos; at = n.find(t, at + 1))
        if (!latin || at == 0 || n[at - 1] == ' ' || n[at - 1] == '(')
            return true;
    return false;
}

// "a IN (?1, ?2)" for a set of ids; "0" (nothing) for none.
std::string AnyOf(TFilter& f, const std::string& column, const std::vector<std::string>& ids) {
    std::string list;
    for (const std::string& id : ids)
        list += (list.empty() ? "" : ", ") + f.Text(id);
    return list.empty() ? "0" : column + " IN (" + list + ")";
}

// Conditions on a player's row (alias) and its facts for what the player did; "" when there are none.
// The first buildings in order. The first two are looked up in the index of the opening's first eight characters
// (each choice of ids a pair; one building as a range of that index); the rest are checked building by building.
std::string OpeningConditions(TFilter& f, const std::vector<std::string>& opening) {
    constexpr size_t MostPairs = 64;
    std::vector<std::vector<std::string>> ids;
    for (const std::string& text : opening)
        ids.push_back(MatchObjectIds(TObjectKind::Building, text));
    std::string where;
    size_t checked = 0; // the buildings the index condition covers
    if (ids.size() == 1) {
        std::string any;
        for (const std::string& id : ids[0])
            any += (any.empty() ? "" : " OR ") + std::string("(substr(pf.opening, 1, 8) >= ") + f.Text(id) +
                   " AND substr(pf.opening, 1, 8) < " + f.Text(id + "\xFF") + ")";
        where += " AND (" + (any.empty() ? std::string("0") : any) + ")";
        checked = 1;
    } else if (ids[0].size() * ids[1].size() <= MostPairs) {
        std::vector<std::string> pairs;
        for (const std::string& a : ids[0])
            for (const std::string& b : ids[1])
                pairs.push_back(a + b);
        where += " AND " + AnyOf(f, "substr(pf.opening, 1, 8)", pairs);
        checked = 2;
    }
    for (size_t i = checked; i < ids.size(); ++i)
        where += " AND " + AnyOf(f, "substr(pf.opening, " + std::to_string(1 + 4 * i) + ", 4)", ids[i]);
    return where;
}

// A player's race: the slot's, or for a random slot the race the orders show.
std::string RaceIs(TFilter& f, const std::string& alias, int race) {
    const std::string r = f.Int(race);
    return "(" + alias + ".race = " + r + " OR (" + alias + ".race = 6 AND EXISTS (SELECT 1 FROM player_facts pr " +
           "WHERE pr.replay_id = " + alias + ".replay_id AND pr.slot = " + alias + ".slot AND pr.played_race = " + r +
           ")))";
}

// Conditions on the facts (pf) of what a player did; "" when there are none.
std::string FactsConditions(TFilter& f, const TPlayFilter& play) {
    std::string facts;
    if (!play.Hero.empty()) {
        std::string any;
        for (const std::string& id : MatchObjectIds(TObjectKind::Hero, play.Hero))
            any += (any.empty() ? "" : " OR ") + std::string("instr(pf.heroes, ") + f.Text("," + id + ":") + ") > 0";
        facts += " AND (" + (any.empty() ? std::string("0") : any) + ")";
    }
    if (!play.FirstHero.empty())
        facts += " AND " + AnyOf(f, "pf.first_hero", MatchObjectIds(TObjectKind::Hero, play.FirstHero));
    if (!play.Opening.empty())
        facts += OpeningConditions(f, play.Opening);
    return facts;
}

// Conditions on a player's row (alias) for what the player did; "" when there are none.
std::string PlayConditions(TFilter& f, const TPlayFilter& play, const std::string& alias) {
    std::string where;
    if (play.MinApm > 0)
        where += " AND " + alias + ".apm >= " + f.Real(play.MinApm);
    if (const std::string facts = FactsConditions(f, play); !facts.empty())
        where += " AND EXISTS (SELECT 1 FROM player_facts pf WHERE pf.replay_id = " + alias +
                 ".replay_id AND pf.slot = " + alias + ".slot" + facts + ")";
    return where;
}

TFilter FilterOf(TLibrary& library, const TLibraryQuery& q) {
    TFilter f;
    if (!q.WithUnreadable)
        f.Add("r.error IS NULL");
    // The player's conditions, and an opponent's (a player on another team) as one of them.
    std::string rest;
    if (q.Race != 0)
        rest += " AND " + RaceIs(f, "p", q.Race);
    if (q.Result != 0)
        rest += " AND p.result = " + f.Int(q.Result);
    if (q.Own.MinApm > 0)
        rest += " AND p.apm >= " + f.Real(q.Own.MinApm);
    std::string vs;
    if (q.VsRace != 0)
        vs += " AND " + RaceIs(f, "o", q.VsRace);
    if (!q.Vs.empty())
        vs += " AND " + f.Prefix("o.name_key", q.Vs);
    vs += PlayConditions(f, q.VsPlay, "o");
    if (!vs.empty())
        rest += " AND EXISTS (SELECT 1 FROM players o WHERE o.replay_id = p.replay_id AND o.observer = 0 AND o.team "
                "<> p.team" +
                vs + ")";
    const std::string ownFacts = FactsConditions(f, q.Own);
    const auto withFacts = [&ownFacts](const std::string& alias) {
        return ownFacts.empty() ? std::string()
                                : " AND EXISTS (SELECT 1 FROM player_facts pf WHERE pf.replay_id = " + alias +
                                      ".replay_id AND pf.slot = " + alias + ".slot" + ownFacts + ")";
    };
    if (!q.Player.empty()) {
        // A name narrows most: the name index gives the candidate replays, each checked for the rest.
        f.Add(PlayersWhere(library, f, q.Player, "p", rest + withFacts("p")));
    } else if (!q.Own.FirstHero.empty() || !q.Own.Opening.empty()) {
        // The facts' indexes give the players who did that; each is checked for the rest.
        f.Add("r.id IN (SELECT pf.replay_id FROM player_facts pf JOIN players p ON p.replay_id = pf.replay_id AND "
              "p.slot = pf.slot WHERE p.observer = 0" +
              ownFacts + rest + ")");
    } else if (!rest.empty() || !ownFacts.empty()) {
        f.Add("EXISTS (SELECT 1 FROM players p WHERE p.replay_id = r.id AND p.observer = 0" + rest + withFacts("p") +
              ")");
    }
    if (!q.Map.empty())
        f.Add("(" + f.Prefix("r.map_key", q.Map) + " OR " + f.Prefix("lower(r.map_name)", q.Map) + ")");
    if (!q.Version.empty())
        f.Add(f.Prefix("r.version", q.Version)); // versions are digits and dots: their keys are themselves
    if (q.After)
        f.Add("r.modified >= " + f.Int(*q.After));
    if (q.Before)
        f.Add("r.modified < " + f.Int(*q.Before));
    if (q.MinLength > 0)
        f.Add("r.length >= " + f.Int(q.MinLength));
    if (!q.Winner.empty())
        f.Add(PlayersWhere(library, f, q.Winner, "w", " AND w.result = 1"));
    if (!q.Text.empty()) {
        // Each word as a quoted prefix, so the user's text is never read as the index's query language.
        std::string match;
        size_t i = 0;
        while (i < q.Text.size()) {
            while (i < q.Text.size() && q.Text[i] == ' ')
                ++i;
            size_t end = q.Text.find(' ', i);
            if (end == std::string::npos)
                end = q.Text.size();
            if (end > i) {
                std::string word = q.Text.substr(i, end - i), quoted = "\"";
                for (char c : word)
                    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                match += (match.empty() ? "" : " ") + quoted + "\"*";
            }
            i = end;
        }
        if (!match.empty())
            f.Add("r.id IN (SELECT rowid FROM replay_text WHERE replay_text MATCH " + f.Text(match) + ")");
    }
    return f;
}

std::string OrderOf(const TLibraryQuery& q) {
    const char* direction = q.Descending ? " DESC" : " ASC";
    switch (q.Sort) {
    case TLibrarySort::Length:
        return std::string("r.length") + direction + ", r.id";
    case TLibrarySort::Apm:
        return std::string("r.max_apm") + direction + ", r.id";
    case TLibrarySort::Map:
        return std::string("r.map_key") + direction + ", r.modified DESC, r.id";
    case TLibrarySort::Version:
        return std::string("r.build") + direction + ", r.version" + direction + ", r.id";
    case TLibrarySort::Date:
    default:
        return std::string("r.modified") + direction + ", r.id";
    }
}

} // namespace

std::vector<std::string> MatchObjectIds(TObjectKind kind, std::string_view text) {
    const TGameTable table = kind == TObjectKind::Hero ? TGameTable::Summon : TGameTable::Building;
    const auto isKind = [kind](const std::string& id) {
        return id.size() == 4 && (kind == TObjectKind::Building || (id[0] >= 'A' && id[0] <= 'Z'));
    };
    std::vector<std::string> ids;
    const auto add = [&ids](const std::string& id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    };
    // An id as it is written: ids differ in letter case ("hfoo", "Hfoo").
    for (const auto& [id, name] : SharedTables(TLanguage::English).Lines(table))
        if (id == text && isKind(id))
            return {id};
    for (const TLanguage language : {TLanguage::English, TLanguage::Chinese})
        for (const auto& [id, name] : SharedTables(language).Lines(table))
            if (isKind(id) && (NameMatches(name, text) || AsciiLower(id) == AsciiLower(text)))
                add(id);
    return ids;
}

std::optional<std::string> UnknownObject(const TPlayFilter& filter) {
    for (const std::string* hero : {&filter.Hero, &filter.FirstHero})
        if (!hero->empty() && MatchObjectIds(TObjectKind::Hero, *hero).empty())
            return *hero;
    for (const std::string& building : filter.Opening)
        if (MatchObjectIds(TObjectKind::Building, building).empty())
            return building;
    return std::nullopt;
}

std::vector<TLibraryEntry> SearchLibrary(TLibrary& library, const TLibraryQuery& query) {
    TFilter f = FilterOf(library, query);
    const std::string sql = "SELECT " + EntryColumns("r.") + " FROM replays r WHERE " + f.Where + " ORDER BY " +
                            OrderOf(query) + " LIMIT " + f.Int(query.Limit) + " OFFSET " + f.Int(query.Offset);
    TSqlStatement s(library.Db(), sql);
    f.BindAll(s);
    std::vector<TLibraryEntry> rows;
    while (s.Step())
        rows.push_back(ReadEntry(s));
    TSqlStatement players(
        library.Db(),
        "SELECT p.name, p.race, p.team, p.color, p.actions, p.apm, p.result, p.observer, p.computer, "
        "f.heroes, f.builds, f.apm_minutes, f.peak_apm, f.played_race FROM players p LEFT JOIN player_facts f ON "
        "f.replay_id = p.replay_id AND f.slot = p.slot WHERE p.replay_id = ?1 ORDER BY p.slot");
    for (TLibraryEntry& e : rows) {
        players.Bind(1, e.Id);
        while (players.Step()) {
            TLibraryPlayer& p = e.Players.emplace_back();
            p.Name = players.Text(0);
            p.Race = static_cast<uint8_t>(players.Int(1));
            p.Team = static_cast<uint8_t>(players.Int(2));
            p.Color = static_cast<uint8_t>(players.Int(3));
            p.Actions = static_cast<int32_t>(players.Int(4));
            p.Apm = players.Real(5);
            p.Result = static_cast<int>(players.Int(6));
            p.Observer = players.Int(7) != 0;
            p.Computer = players.Int(8) != 0;
            p.Facts = ReadFacts(players, 9);
        }
        players.Reset();
    }
    return rows;
}

int64_t CountLibrary(TLibrary& library, const TLibraryQuery& query) {
    TFilter f = FilterOf(library, query);
    TSqlStatement s(library.Db(), "SELECT count(*) FROM replays r WHERE " + f.Where);
    f.BindAll(s);
    return s.Step() ? s.Int(0) : 0;
}

TLibraryStats LibraryStats(TLibrary& library, int top) {
    TLibraryStats stats;
    const auto pairs = [&library](const std::string& sql, int limit) {
        std::vector<std::pair<std::string, int64_t>> out;
        TSqlStatement s(library.Db(), sql + " LIMIT " + std::to_string(limit));
        while (s.Step())
            out.emplace_back(s.Text(0), s.Int(1));
        return out;
    };
    TSqlStatement counts(library.Db(), "SELECT count(*), count(error) FROM replays");
    if (counts.Step()) {
        stats.Replays = counts.Int(0);
        stats.Unreadable = counts.Int(1);
    }
    stats.ByVersion = pairs("SELECT version, count(*) AS n FROM replays WHERE error IS NULL GROUP BY version "
                            "ORDER BY n DESC, version",
                            top);
    for (const auto& [race, n] : pairs("SELECT race, count(*) AS n FROM players WHERE observer = 0 AND computer = 0 "
                                       "GROUP BY race ORDER BY n DESC, race",
                                       10))
        stats.ByRace.emplace_back(RaceName(std::stoi(race.empty() ? "0" : race)), n);
    stats.ByMap = pairs("SELECT map_name, count(*) AS n FROM replays WHERE error IS NULL GROUP BY map_name "
                        "ORDER BY n DESC, map_name",
                        top);
    stats.TopPlayers = pairs("SELECT min(name), count(DISTINCT replay_id) AS n FROM players WHERE observer = 0 AND "
                             "computer = 0 GROUP BY name_key ORDER BY n DESC, name_key",
                             top);
    return stats;
}

int ParseRaceName(std::string_view text) {
    const std::string t = AsciiLower(text);
    static constexpr std::pair<std::string_view, int> Names[] = {
        {"human", 1}, {"h", 1},     {"orc", 2}, {"o", 2},      {"nightelf", 3}, {"night elf", 3},
        {"elf", 3},   {"ne", 3},    {"n", 3},   {"e", 3},      {"undead", 4},   {"u", 4},
        {"ud", 4},    {"demon", 5}, {"d", 5},   {"random", 6}, {"r", 6}};
    for (const auto& [name, race] : Names)
        if (t == name)
            return race;
    return 0;
}

std::string RaceName(int race) {
    static constexpr const char* Names[] = {"?", "Human", "Orc", "Night Elf", "Undead", "Demon", "Random"};
    return race >= 0 && race <= 6 ? Names[race] : "?";
}

std::optional<int64_t> ParseDate(std::string_view text) {
    int y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto number = [&text](size_t at, size_t n, int& out) {
        const auto [end, ec] = std::from_chars(text.data() + at, text.data() + at + n, out);
        return ec == std::errc{} && end == text.data() + at + n;
    };
    if (!number(0, 4, y) || !number(5, 2, m) || !number(8, 2, d) || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1) || tm.tm_mday != d)
        return std::nullopt; // 2026-02-30 and the like
    return static_cast<int64_t>(t);
}

} // namespace quillon
