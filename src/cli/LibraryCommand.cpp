// quillon-cli library: index replay folders, search the index, count, rename what a search finds.
#include "cli/Command.h"
#include "cli/LibraryAccess.h"
#include "cli/Output.h"
#include "cli/RuleFlags.h"

#include "core/library/LibraryRows.h"
#include "core/library/LibraryScan.h"
#include "core/library/LibrarySearch.h"
#include "core/platform/Console.h"
#include "core/platform/System.h"
#include "core/present/GameText.h"
#include "core/settings/Settings.h"
#include "core/text/CommaList.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <ostream>
#include <thread>
#include <tuple>

namespace quillon::cli {

namespace {

struct TLibraryOptions {
    std::string LibraryPath;
    std::vector<std::string> Folders;
    TLibraryQuery Query;
    bool Json = false;
    bool DryRun = false;
    bool ShowProgress = true;
    TRuleFlags RuleFlags;
    TRenameRule Rule;
    std::optional<TLanguage> LanguageFlag;
    TLanguage Language = TLanguage::English;
};

// Search flags whose text needs reading before use.
struct TQueryFlags {
    std::string Race, VsRace, After, Before, Sort = "date", Result, Opening, VsOpening;
    int64_t MinLength = 0; // minutes
    int Limit = 0;         // 0: not given
    bool Ascending = false;
};

void AddQueryFlags(CLI::App* cmd, TQueryFlags& f, TLibraryQuery& q) {
    cmd->add_option("--player", q.Player, "A player's name or its start, in any letter case");
    cmd->add_option("--race", f.Race, "That player's race (any player's without --player): human, orc, ...");
    cmd->add_option("--vs-race", f.VsRace, "An opponent's race");
    cmd->add_option("--map", q.Map, "The map's name or its start");
    cmd->add_option("--version", q.Version, "The patch, as 1.26 (or its start, as 1.3)");
    cmd->add_option("--after", f.After, "Played on or after this day (YYYY-MM-DD)");
    cmd->add_option("--before", f.Before, "Played before this day (YYYY-MM-DD)");
    // Bounded, so the minutes can never overflow into a length every replay has: a replay lasts under 36,000.
    cmd->add_option("--min-length", f.MinLength, "At least this many minutes long")
        ->check(CLI::Range(int64_t{0}, int64_t{1000000}));
    cmd->add_option("--winner", q.Winner, "A player on the winning team");
    cmd->add_option("--result", f.Result, "That player's result (any player's without --player)")
        ->check(CLI::IsMember({"win", "loss"}));
    cmd->add_option("--vs", q.Vs, "An opponent's name or its start");
    // What the player did, and what an opponent did: heroes and buildings by id or name (or a word's start).
    for (const auto& [prefix, play, opening, whose] :
         {std::tuple{"--", &q.Own, &f.Opening, "That player (any player without --player)"},
          std::tuple{"--vs-", &q.VsPlay, &f.VsOpening, "An opponent"}}) {
        const std::string p = prefix, w = whose;
        cmd->add_option(p + "hero", play->Hero, w + " had this hero (id or name, as Obla or blade)");
        cmd->add_option(p + "first-hero", play->FirstHero, w + " had this hero first");
        cmd->add_option(p + "opening", *opening, w + " built these first, in order: B1,B2,... (ids or names)");
        cmd->add_option(p + "min-apm", play->MinApm, w + " played at least this APM")->check(CLI::Range(0.0, 100000.0));
    }
    cmd->add_option("--text", q.Text, "Words in game names, maps and player names");
    cmd->add_option("--sort", f.Sort, "date, length, apm, map or version (default date, newest first)")
        ->check(CLI::IsMember({"date", "length", "apm", "map", "version"}));
    cmd->add_flag("--asc", f.Ascending, "Sort from the lowest up");
    cmd->add_option("--limit", f.Limit, "At most this many replays (search: default 50)")
        ->check(CLI::Range(1, 100000000));
    cmd->add_flag("--with-unreadable", q.WithUnreadable, "Also list files that could not be read");
}

// 2 (after saying why) for a race, date, hero or building that cannot be read.
int FinishQuery(const TQueryFlags& f, TLibraryQuery& q, std::ostream& err) {
    for (const auto& [text, race] : {std::pair{&f.Race, &q.Race}, std::pair{&f.VsRace, &q.VsRace}})
        if (!text->empty() && (*race = ParseRaceName(*text)) == 0) {
            err << "quillon-cli: unknown race \"" << TerminalText(*text)
                << "\" (human, orc, nightelf, undead, random)\n";
            return 2;
        }
    for (const auto& [text, date] : {std::pair{&f.After, &q.After}, std::pair{&f.Before, &q.Before}})
        if (!text->empty() && !(*date = ParseDate(*text))) {
            err << "quillon-cli: \"" << TerminalText(*text) << "\" is no date: write YYYY-MM-DD\n";
            return 2;
        }
    for (const auto& [text, list] : {std::pair{&f.Opening, &q.Own.Opening}, std::pair{&f.VsOpening, &q.VsPlay.Opening}})
        *list = CommaList(*text);
    for (const TPlayFilter* play : {&q.Own, &q.VsPlay})
        if (const auto unknown = UnknownObject(*play)) {
            err << "quillon-cli: no hero or building is called \"" << TerminalText(*unknown) << "\"\n";
            return 2;
        }
    q.Result = f.Result == "win" ? 1 : f.Result == "loss" ? 2 : 0;
    static constexpr std::pair<std::string_view, TLibrarySort> Sorts[] = {{"date", TLibrarySort::Date},
                                                                          {"length", TLibrarySort::Length},
                                                                          {"apm", TLibrarySort::Apm},
                                                                          {"map", TLibrarySort::Map},
                                                                          {"version", TLibrarySort::Version}};
    for (const auto& [name, sort] : Sorts)
        if (f.Sort == name)
            q.Sort = sort;
    q.Descending = !f.Ascending;
    q.MinLength = f.MinLength * 60000;
    q.Limit = f.Limit > 0 ? f.Limit : 50;
    return 0;
}

std::string DateText(int64_t seconds) {
    const std::tm tm = LocalTime(static_cast<std::time_t>(seconds));
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &tm);
    return text;
}

nlohmann::json HeroesJson(const TPlayerFacts& facts) {
    nlohmann::json heroes = nlohmann::json::array();
    for (const TLibraryHero& h : facts.Heroes)
        heroes.push_back({{"id", h.Id}, {"level", h.Level}});
    return heroes;
}

nlohmann::json EntryJson(const TLibraryEntry& e) {
    nlohmann::json players = nlohmann::json::array();
    for (const auto& p : e.Players)
        players.push_back({{"name", JsonText(p.Name)},
                           {"race", RaceName(p.Race)},
                           {"team", p.Team},
                           {"color", p.Color},
                           {"actions", p.Actions},
                           {"apm", p.Apm},
                           {"result", p.Result == 1   ? "win"
                                      : p.Result == 2 ? "loss"
                                                      : "unknown"},
                           {"observer", p.Observer},
                           {"computer", p.Computer},
                           {"heroes", HeroesJson(p.Facts)},
                           {"opening", p.Facts.Opening()},
                           {"peakApm", p.Facts.PeakApm}});
    nlohmann::json j = {{"date", DateText(e.Modified)},
                        {"modified", e.Modified},
                        {"size", e.Size},
                        {"hash", e.Hash},
                        {"version", e.Version},
                        {"build", e.Build},
                        {"length", e.Length},
                        {"gameName", JsonText(e.GameName)},
                        {"map", JsonText(e.MapName)},
                        {"mapPath", JsonText(e.MapPath)},
                        {"creator", JsonText(e.Creator)},
                        {"gameType", e.GameType},
                        {"winnerTeam", e.WinnerTeam},
                        {"maxApm", e.MaxApm},
                        {"players", players}};
    AddPath(j, "path", e.Path);
    if (!e.Error.empty())
        j["error"] = JsonText(e.Error);
    return j;
}

// Tests cut a scan at a known point: QUILLON_TEST_KILL_SCAN=batch:N (after N batches) or indexes; and slow it
// down so another command meets it under way: QUILLON_TEST_SLOW_SCAN=1 (a tenth of a second per batch).
std::function<void(TScanStage)> TestKillPoint() {
    const auto spec = EnvironmentText("QUILLON_TEST_KILL_SCAN");
    const bool slow = EnvironmentText("QUILLON_TEST_SLOW_SCAN").has_value();
    if (!spec && !slow)
        return {};
    const int batches = !spec ? 0 : spec->rfind("batch:", 0) == 0 ? std::atoi(spec->c_str() + 6) : -1;
    return [batches, slow, written = 0](TScanStage stage) mutable {
        if (slow)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if ((stage == TScanStage::BatchWritten && ++written == batches) ||
            (stage == TScanStage::MakingIndexes && batches < 0))
            KillThisProcess();
    };
}

int Add(TLibrary& library, const TLibraryOptions& o, std::ostream& out, std::ostream& err) {
    TInterruptGuard guard;
    const bool progress = o.ShowProgress && StandardErrorIsTerminal();
    const auto start = std::chrono::steady_clock::now();
    TScanOptions scan;
    scan.Stop = TStopFlag::Watching(TInterruptGuard::Interrupted());
    scan.OnWait = [&err] { err << "quillon-cli: waiting for another Quillon writing to the library\n"; };
    scan.OnStage = TestKillPoint();
    if (progress)
        scan.OnProgress = [&err, start](size_t done, size_t total) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            err << "\r" << done << " of " << total << " files, "
                << static_cast<long long>(seconds > 0 ? static_cast<double>(done) / seconds : 0) << " files/s "
                << std::flush;
        };
    const TScanResult r = ScanFolders(library, o.Folders, scan);
    if (progress && r.Indexed > 0)
        err << "\n";
    for (const std::string& problem : r.Problems)
        err << "quillon-cli: " << TerminalText(problem) << "\n";
    if (o.Json) {
        out << nlohmann::json{{"files", r.Files},
                              {"unchanged", r.Unchanged},
                              {"read", r.Indexed},
                              {"unreadable", r.Unreadable},
                              {"removed", r.Removed},
                              {"stopped", r.Stopped},
                              {"library", JsonText(library.Path())}}
                   .dump()
            << "\n";
    } else {
        out << r.Files << " replays: " << r.Indexed << " read (" << r.Unreadable << " unreadable), " << r.Unchanged
            << " unchanged, " << r.Removed << " removed\n";
    }
    if (r.Stopped) {
        err << "quillon-cli: stopped; what was read is kept, and the next scan goes on from there\n";
        return 130;
    }
    return r.Problems.empty() ? 0 : 1;
}

int Search(TLibrary& library, const TLibraryOptions& o, std::ostream& out) {
    const auto rows = SearchLibrary(library, o.Query);
    if (o.Json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& e : rows)
            list.push_back(EntryJson(e));
        out << list.dump() << "\n";
        return 0;
    }
    for (const auto& e : rows)
        out << DateText(e.Modified) << "\t" << GameTimeText(e.Length, o.Language) << "\t" << e.Version << "\t"
            << TerminalText(e.MapName) << "\t" << TerminalText(LibraryPlayersCell(e, o.Language, true)) << "\t"
            << TerminalText(e.Path) << "\n";
    return 0;
}

int Stats(TLibrary& library, const TLibraryOptions& o, std::ostream& out) {
    const TLibraryStats s = LibraryStats(library);
    if (o.Json) {
        const auto list = [](const std::vector<std::pair<std::string, int64_t>>& pairs) {
            nlohmann::json j = nlohmann::json::array();
            for (const auto& [name, n] : pairs)
                j.push_back({{"name", JsonText(name)}, {"count", n}});
            return j;
        };
        out << nlohmann::json{{"replays", s.Replays},           {"unreadable", s.Unreadable},
                              {"byVersion", list(s.ByVersion)}, {"byRace", list(s.ByRace)},
                              {"byMap", list(s.ByMap)},         {"topPlayers", list(s.TopPlayers)}}
                   .dump()
            << "\n";
        return 0;
    }
    out << s.Replays << " replays (" << s.Unreadable << " unreadable)\n";
    for (const auto& [title, pairs] : {std::pair{"By version", &s.ByVersion}, std::pair{"By race", &s.ByRace},
                                       std::pair{"By map", &s.ByMap}, std::pair{"Top players", &s.TopPlayers}}) {
        out << "\n" << title << "\n";
        for (const auto& [name, n] : *pairs)
            out << "  " << n << "\t" << TerminalText(name) << "\n";
    }
    return 0;
}

// The disk and the library change together: the row learns of a rename before it happens and follows it after,
// so a process killed in between leaves what the next open needs to settle it.
class TLibraryRenames : public TRenameFileSystem {
public:
    TLibraryRenames(TLibrary& library, std::unordered_map<std::string, int64_t> ids)
        : Library(library), Ids(std::move(ids)) {}
    TRenameResult Rename(const std::string& from, const std::string& to) override {
        const auto it = Ids.find(from);
        if (it == Ids.end())
            return TRenameFileSystem::Rename(from, to);
        Library.WillRename(it->second, from, to);
        const TRenameResult result = TRenameFileSystem::Rename(from, to);
        if (result == TRenameResult::Renamed)
            Library.Renamed(it->second, to);
        else
            Library.Unrenamed(it->second);
        return result;
    }

private:
    TLibrary& Library;
    std::unordered_map<std::string, int64_t> Ids;
};

int Rename(TLibrary& library, const TLibraryOptions& o, std::ostream& out, std::ostream& err) {
    library.LockForWriting({}, [&err] { err << "quillon-cli: waiting for another Quillon writing to the library\n"; });
    int status = 0;
    // What the search finds is looked at on disk first: rows of files that are gone go, changed files are read
    // again, and the search runs once more on what is true now.
    if (!o.DryRun) {
        for (const auto& [path, reason] : RecheckEntries(library, SearchLibrary(library, o.Query))) {
            PrintBatchRow({TBatchRow::TOutcome::Failed, path, reason + " (removed from the library)"}, o.Json, out);
            out.flush();
            status = 1;
        }
    }
    const auto rows = SearchLibrary(library, o.Query);
    std::vector<TBatchItem> items;
    std::unordered_map<std::string, int64_t> idOfPath;
    for (const auto& e : rows) {
        items.push_back({e.Path, {}});
        idOfPath.emplace(e.Path, e.Id);
    }
    TLibraryRenames real(library, std::move(idOfPath));
    TDryRunFileSystem dry;
    TBatchOptions batch;
    batch.Rule = o.Rule;
    batch.Language = o.Language;
    batch.OnRow = [&](const TBatchRow& row) {
        PrintBatchRow(row, o.Json, out);
        out.flush(); // the log is a true record even when the process is killed at the next file
        if (!BatchRowSucceeded(row))
            status = 1;
    };
    RenameListed(items, batch, o.DryRun ? static_cast<TRenameFileSystem&>(dry) : real);
    return status;
}

int WithLibrary(const TLibraryOptions& o, TLibrary::TAccess access, bool checkFirst, std::ostream& err,
                const std::function<int(TLibrary&)>& action) {
    return WithLibraryAt(o.LibraryPath, access, checkFirst, err, action);
}

int Reset(const TLibraryOptions& o, std::ostream& out, std::ostream& err) {
    const std::string path = LibraryPathOrDefault(o.LibraryPath);
    try {
        TLibrary::Reset(path);
        out << "Made an empty library at " << TerminalText(path) << "\n";
        return 0;
    } catch (const TLibraryError& e) {
        ReportLibraryError(e, path, err);
        return 1;
    }
}

} // namespace

void AddLibraryCommand(CLI::App& app, TContext& context) {
    auto o = std::make_shared<TLibraryOptions>();
    auto query = std::make_shared<TQueryFlags>();
    auto* libraryCmd = app.add_subcommand("library", "A searchable index of whole replay collections");
    libraryCmd->require_subcommand(1);
    auto* add = libraryCmd->add_subcommand("add", "Index the replays below folders (again: only what changed)");
    add->add_option("DIR", o->Folders, "Folders")->required();
    auto* search = libraryCmd->add_subcommand("search", "Find replays by player, race, map, date ...");
    auto* stats = libraryCmd->add_subcommand("stats", "Counts by version, race and map; the top players");
    auto* rename = libraryCmd->add_subcommand("rename", "Rename what a search finds, as Batch Rename does");
    auto* reset = libraryCmd->add_subcommand("reset", "Replace the library file with an empty library");
    for (CLI::App* cmd : {add, search, stats, rename, reset})
        cmd->add_option("--library", o->LibraryPath, "Library file (default: the user's data folder)");
    for (CLI::App* cmd : {add, search, stats, rename})
        cmd->add_flag("--json", o->Json, "JSON output");
    for (CLI::App* cmd : {search, rename})
        AddQueryFlags(cmd, *query, o->Query);
    AddRuleFlags(rename, o->RuleFlags, "--rule-player", "--rule-conj", "--rule-global");
    rename->add_flag("--dry-run", o->DryRun, "Decide and report everything, change nothing");
    AddLanguageOption(search, o->LanguageFlag, "Language of the times: en or zh");

    using TAccess = TLibrary::TAccess;
    add->callback([o, &context] {
        context.Status = WithLibrary(*o, TAccess::Write, false, context.Err,
                                     [&](TLibrary& library) { return Add(library, *o, context.Out, context.Err); });
    });
    search->callback([o, query, &context] {
        o->Language = o->LanguageFlag.value_or(LanguageFromLocale());
        if ((context.Status = FinishQuery(*query, o->Query, context.Err)) != 0)
            return;
        context.Status = WithLibrary(*o, TAccess::Read, true, context.Err,
                                     [&](TLibrary& library) { return Search(library, *o, context.Out); });
    });
    stats->callback([o, &context] {
        context.Status = WithLibrary(*o, TAccess::Read, true, context.Err,
                                     [&](TLibrary& library) { return Stats(library, *o, context.Out); });
    });
    rename->callback([o, query, &context] {
        if ((context.Status = FinishQuery(*query, o->Query, context.Err)) != 0)
            return;
        if (query->Limit == 0)
            o->Query.Limit = -1; // every match, unless a limit is given
        if ((context.Status = ResolveRule(o->RuleFlags, o->Rule, o->Language, context.Err)) != 0)
            return;
        context.Status = WithLibrary(*o, TAccess::Write, true, context.Err,
                                     [&](TLibrary& library) { return Rename(library, *o, context.Out, context.Err); });
    });
    reset->callback([o, &context] { context.Status = Reset(*o, context.Out, context.Err); });
    AddLibraryPlayerCommand(libraryCmd, context);
}

} // namespace quillon::cli
