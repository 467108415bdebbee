// quillon-cli library: index replay folders, search the index, count, rename what a search finds.
#include "cli/Commands.h"
#include "cli/ReplayJson.h"

#include "core/library/LibraryScan.h"
#include "core/platform/Console.h"
#include "core/platform/System.h"
#include "core/present/GameText.h"
#include "core/settings/Settings.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <ostream>
#include <thread>

namespace quillon::cli {

namespace {

std::string DateText(int64_t seconds) {
    const std::tm tm = LocalTime(static_cast<std::time_t>(seconds));
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &tm);
    return text;
}

// "Grubby (O) + Ally (H) vs Moon (N)": the teams in order, the winners marked.
std::string PlayersText(const TLibraryEntry& e) {
    return TeamsText(e, [](const TLibraryPlayer& p) {
        return TerminalText(p.Name) + " (" + RaceName(p.Race).substr(0, 1) + ")" + (p.Result == 1 ? "*" : "");
    });
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
                           {"computer", p.Computer}});
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
            << TerminalText(e.MapName) << "\t" << PlayersText(e) << "\t" << TerminalText(e.Path) << "\n";
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

// What went wrong with the library, and what the user can do about it. Only a file that is no library, or that a
// whole-file check finds damaged, is offered the reset.
void ReportLibraryError(const TLibraryError& e, const std::string& path, std::ostream& err) {
    using K = TLibraryError::TKind;
    const K kind = e.Kind == K::Corrupt && TLibrary::FoundDamaged(path) ? K::NotALibrary : e.Kind;
    err << "quillon-cli: library " << TerminalText(path) << ": " << TerminalText(e.what()) << "\n";
    switch (kind) {
    case K::NotALibrary:
        err << "The file was left as it is. 'quillon-cli library reset' replaces it with an empty library.\n";
        break;
    case K::Busy:
        err << "Another Quillon is writing to it; try again when it has finished.\n";
        break;
    case K::DiskFull:
        err << "The disk is full: what was written before is kept. Free some space and run the command again.\n";
        break;
    case K::ReadOnly:
        err << "The library or its folder cannot be written; searching and counting still work.\n";
        break;
    case K::Corrupt:
        err << "A check of the whole file found it sound: the library was left as it is. Try again.\n";
        break;
    default:
        break;
    }
}

} // namespace

int RunLibrary(const TLibraryOptions& o, std::ostream& out, std::ostream& err) {
    const std::string path = o.LibraryPath.empty() ? DefaultLibraryPath(ProgramDir()) : o.LibraryPath;
    try {
        if (o.Action == "reset") {
            TLibrary::Reset(path);
            out << "Made an empty library at " << TerminalText(path) << "\n";
            return 0;
        }
        const bool reads = o.Action == "search" || o.Action == "stats";
        TLibrary library(path, reads ? TLibrary::TAccess::Read : TLibrary::TAccess::Write);
        if (o.Action == "add")
            return Add(library, o, out, err);
        // Searching answers from every page of the file: a damaged page must not pass for rows.
        library.CheckIntegrity();
        if (o.Action == "stats")
            return Stats(library, o, out);
        if (o.Action == "rename")
            return Rename(library, o, out, err);
        return Search(library, o, out);
    } catch (const TLibraryError& e) {
        ReportLibraryError(e, path, err);
        return 1;
    }
}

} // namespace quillon::cli
