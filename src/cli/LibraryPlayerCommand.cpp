// quillon-cli library player: a player's record across the library.
#include "cli/Command.h"
#include "cli/LibraryAccess.h"
#include "cli/Output.h"

#include "core/lang/StringIds.h"
#include "core/library/LibrarySearch.h"
#include "core/library/ProfileHtml.h"
#include "core/library/ProfileWords.h"
#include "core/text/Utf8.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace quillon::cli {

namespace {

struct TPlayerOptions {
    std::string LibraryPath;
    std::vector<std::string> Names, MoreNames;
    bool Json = false;
    std::string Html;
    std::optional<TLanguage> Language;
};

nlohmann::json RecordJson(const TRecord& r) {
    return {{"games", r.Games}, {"wins", r.Wins}, {"losses", r.Losses}};
}

template <class TKey, class TKeyJson>
nlohmann::json RecordsJson(const std::vector<TKeyedRecord<TKey>>& records, const char* name, TKeyJson key) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& [k, r] : records) {
        nlohmann::json item = RecordJson(r);
        item[name] = key(k);
        list.push_back(std::move(item));
    }
    return list;
}

nlohmann::json ProfileJson(const TPlayerProfile& p, TLanguage language) {
    const auto race = [](int r) { return RaceName(r); };
    const auto text = [](const std::string& s) { return JsonText(s); };
    nlohmann::json names = nlohmann::json::array(), heroes = nlohmann::json::array(), apm = nlohmann::json::array();
    for (const std::string& name : p.Names)
        names.push_back(JsonText(name));
    for (const THeroUse& h : p.Heroes)
        heroes.push_back(
            {{"id", h.Id}, {"name", ObjectWord(h.Id, language)}, {"games", h.Games}, {"first", RecordJson(h.Opened)}});
    for (const TApmMonth& m : p.ApmByMonth)
        apm.push_back({{"month", m.Month},
                       {"games", m.Games},
                       {"median", m.Median},
                       {"lowest", m.Lowest},
                       {"highest", m.Highest}});
    nlohmann::json j = RecordJson(p.Overall);
    j["names"] = names;
    j["byRace"] = RecordsJson(p.ByRace, "race", race);
    j["byOpponentRace"] = RecordsJson(p.ByOpponentRace, "race", race);
    j["byMap"] = RecordsJson(p.ByMap, "map", text);
    j["byPatch"] = RecordsJson(p.ByPatch, "patch", text);
    j["heroes"] = heroes;
    j["openings"] = RecordsJson(p.Openings, "buildings", [](const std::vector<std::string>& ids) { return ids; });
    j["apmByMonth"] = apm;
    j["opponents"] = RecordsJson(p.Opponents, "name", text);
    return j;
}

// Columns as wide as their widest cell (counted in characters; a Chinese one takes two places), numbers right.
void PrintTable(const TProfileTable& t, std::ostream& out) {
    const auto width = [](const std::string& s) {
        size_t w = 0;
        for (size_t at = 0; at < s.size(); at += std::max<size_t>(1, Utf8SequenceLength(s, at)))
            w += static_cast<unsigned char>(s[at]) >= 0xE3 ? 2 : 1; // from U+3000 on: wide CJK characters
        return w;
    };
    std::vector<size_t> widths(t.Headings.size(), 0);
    for (size_t i = 0; i < t.Headings.size(); ++i)
        widths[i] = width(t.Headings[i]);
    for (const auto& row : t.Rows)
        for (size_t i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], width(TerminalText(row[i])));
    const auto line = [&](const std::vector<std::string>& cells) {
        std::string text = " ";
        for (size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
            const std::string cell = TerminalText(cells[i]);
            const std::string pad(widths[i] - std::min(widths[i], width(cell)), ' ');
            text += "  " + (i >= t.FirstNumberColumn ? pad + cell : cell + (i + 1 < cells.size() ? pad : ""));
        }
        out << text << "\n";
    };
    out << "\n" << TerminalText(t.Title) << "\n";
    line(t.Headings);
    for (const auto& row : t.Rows)
        line(row);
}

int ShowProfile(TLibrary& library, const TPlayerOptions& o, TLanguage language, std::ostream& out, std::ostream& err) {
    const TPlayerProfile profile = PlayerProfile(library, o.Names);
    if (!o.Html.empty())
        return WriteReport(o.Html, ProfileHtml(profile, o.Names, language), language, err);
    if (o.Json) {
        out << ProfileJson(profile, language).dump() << "\n";
        return 0;
    }
    if (profile.Overall.Games == 0) {
        std::string names;
        for (const std::string& n : o.Names)
            names += (names.empty() ? "" : ", ") + n;
        err << TerminalText(FormatText(GetString(LibraryString::ProfileNone, language), {names})) << "\n";
        return 1;
    }
    out << TerminalText(ProfileTitle(profile, o.Names, language)) << "\n"
        << TerminalText(ProfileTotalsText(profile, language)) << "\n";
    for (const TProfileTable& t : ProfileTables(profile, language))
        if (!t.Rows.empty())
            PrintTable(t, out);
    return 0;
}

} // namespace

void AddLibraryPlayerCommand(CLI::App* library, TContext& context) {
    auto o = std::make_shared<TPlayerOptions>();
    auto* cmd = library->add_subcommand(
        "player", "A player's record: by race, matchup, map and patch; heroes, openings, APM by month, opponents");
    cmd->add_option("NAME", o->Names, "The player's name or its start, in any letter case");
    cmd->add_option("--player", o->MoreNames, "Another name of the same player (accounts merged into one profile)");
    cmd->add_option("--library", o->LibraryPath, "Library file (default: the user's data folder)");
    cmd->add_flag("--json", o->Json, "JSON output");
    cmd->add_option("--html", o->Html,
                    "Write the profile to OUT instead: one HTML page with its charts (an existing file is never "
                    "written over)")
        ->type_name("OUT");
    AddLanguageOption(cmd, o->Language, "Language: en or zh");
    cmd->callback([o, &context] {
        const TLanguage language = o->Language.value_or(LanguageFromLocale());
        o->Names.insert(o->Names.end(), o->MoreNames.begin(), o->MoreNames.end());
        o->Names.erase(std::remove(o->Names.begin(), o->Names.end(), std::string()), o->Names.end());
        if (o->Names.empty()) {
            context.Err << "quillon-cli: library player: give a name (or --player NAME)\n";
            context.Status = 2;
            return;
        }
        // No whole-file check first (it reads every page of a large library, seconds against the profile's tenth
        // of one): a damaged page the profile reads is reported by SQLite, and checked before it is called so.
        context.Status = WithLibraryAt(o->LibraryPath, TLibrary::TAccess::Read, false, context.Err, [&](TLibrary& l) {
            return ShowProfile(l, *o, language, context.Out, context.Err);
        });
    });
}

} // namespace quillon::cli
