#include "core/library/ProfileWords.h"

#include "core/gamedata/GameTables.h"
#include "core/lang/StringIds.h"
#include "core/text/DecodeText.h"

#include <cmath>

namespace quillon {

namespace {

std::string Number(int64_t n) {
    return std::to_string(n);
}

std::string Apm(double apm) {
    return std::to_string(static_cast<long long>(std::lround(apm)));
}

std::vector<std::string> RecordCells(const TRecord& r) {
    return {Number(r.Games), Number(r.Wins), Number(r.Losses), WinRateText(r)};
}

// A table of records, one row per key, with the key's words in the first column.
template <class TKey, class TWords>
TProfileTable RecordTable(const char* id, LibraryString title, LibraryString tab, LibraryString keyHeading,
                          const std::vector<TKeyedRecord<TKey>>& records, TLanguage language, TWords words) {
    TProfileTable t{id, GetString(title, language), GetString(tab, language), {GetString(keyHeading, language)}, {}};
    for (const LibraryString h : {LibraryString::ColumnGames, LibraryString::ColumnWins, LibraryString::ColumnLosses,
                                  LibraryString::ColumnWinRate})
        t.Headings.push_back(GetString(h, language));
    for (const auto& [key, record] : records) {
        std::vector<std::string> row = {words(key)};
        for (std::string& cell : RecordCells(record))
            row.push_back(std::move(cell));
        t.Rows.push_back(std::move(row));
    }
    return t;
}

} // namespace

std::string RaceWord(int race, TLanguage language) {
    static constexpr MainString Names[] = {MainString::Human,  MainString::Orc,   MainString::NightElf,
                                           MainString::Undead, MainString::Demon, MainString::Random};
    return race >= 1 && race <= 6 ? GetString(Names[race - 1], language) : std::string("?");
}

std::string ObjectWord(const std::string& id, TLanguage language) {
    const TGameTables& tables = SharedTables(language);
    for (const TGameTable table : {TGameTable::Summon, TGameTable::Building})
        if (const auto name = tables.LookupName(table, id))
            return std::string(*name);
    return DecodeUtf8Text(id);
}

std::string OpeningWords(const std::vector<std::string>& ids, TLanguage language) {
    std::string text;
    for (const std::string& id : ids)
        text += (text.empty() ? "" : ", ") + ObjectWord(id, language);
    return text;
}

std::string WinRateText(const TRecord& record) {
    if (record.Wins + record.Losses == 0)
        return "-";
    return std::to_string(static_cast<long long>(std::lround(record.WinRate() * 100))) + "%";
}

std::string ProfileTitle(const TPlayerProfile& profile, const std::vector<std::string>& asked, TLanguage language) {
    std::string names;
    for (const std::string& name : profile.Names.empty() ? asked : profile.Names)
        names += (names.empty() ? "" : ", ") + DecodeUtf8Text(name);
    return FormatText(GetString(LibraryString::ProfileOf, language), {names});
}

std::string ProfileTotalsText(const TPlayerProfile& profile, TLanguage language) {
    const TRecord& r = profile.Overall;
    return FormatText(GetString(LibraryString::ProfileTotals, language),
                      {Number(r.Games), Number(r.Wins), Number(r.Losses), WinRateText(r)});
}

std::vector<TProfileTable> ProfileTables(const TPlayerProfile& profile, TLanguage language) {
    using S = LibraryString;
    const auto race = [language](int r) { return RaceWord(r, language); };
    const auto text = [](const std::string& s) { return DecodeUtf8Text(s); };
    std::vector<TProfileTable> tables;
    tables.push_back(RecordTable("races", S::ByRace, S::TabRaces, S::ColumnRace, profile.ByRace, language, race));
    tables.push_back(RecordTable("matchups", S::ByOpponentRace, S::TabMatchups, S::ColumnRace, profile.ByOpponentRace,
                                 language, race));
    tables.push_back(RecordTable("maps", S::ByMap, S::TabMaps, S::ColumnMap, profile.ByMap, language, text));
    tables.push_back(
        RecordTable("patches", S::ByPatch, S::TabPatches, S::ColumnPatch, profile.ByPatch, language, text));

    TProfileTable heroes{"heroes",
                         GetString(S::ProfileHeroes, language),
                         GetString(S::ProfileHeroes, language),
                         {GetString(S::ColumnHero, language), GetString(S::ColumnGames, language),
                          GetString(S::ColumnOpened, language), GetString(S::ColumnOpenedWinRate, language)},
                         {}};
    for (const THeroUse& h : profile.Heroes)
        heroes.Rows.push_back(
            {ObjectWord(h.Id, language), Number(h.Games), Number(h.Opened.Games), WinRateText(h.Opened)});
    tables.push_back(std::move(heroes));

    tables.push_back(
        RecordTable("openings", S::ProfileOpenings, S::TabOpenings, S::ColumnOpening, profile.Openings, language,
                    [language](const std::vector<std::string>& ids) { return OpeningWords(ids, language); }));

    TProfileTable apm{"apm",
                      GetString(S::ProfileApm, language),
                      GetString(S::TabApm, language),
                      {GetString(S::ColumnMonth, language), GetString(S::ColumnGames, language),
                       GetString(S::ColumnMedianApm, language), GetString(S::ColumnRange, language)},
                      {}};
    for (const TApmMonth& m : profile.ApmByMonth)
        apm.Rows.push_back({m.Month, Number(m.Games), Apm(m.Median), Apm(m.Lowest) + " – " + Apm(m.Highest)});
    tables.push_back(std::move(apm));

    tables.push_back(RecordTable("opponents", S::ProfileOpponents, S::TabOpponents, S::ColumnOpponent,
                                 profile.Opponents, language, text));
    return tables;
}

} // namespace quillon
