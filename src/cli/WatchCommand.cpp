// quillon-cli watch: keeps every finished replay of the game's folders in a collection, under the rename rule's
// name, once per game.
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/RuleFlags.h"

#include "core/autosave/AutoSaver.h"
#include "core/autosave/GameFolders.h"
#include "core/lang/StringIds.h"
#include "core/library/Library.h"
#include "core/platform/Console.h"
#include "core/platform/Paths.h"
#include "core/platform/System.h"
#include "core/settings/Settings.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <thread>

namespace quillon::cli {

namespace {

struct TWatchOptions {
    std::vector<std::string> Folders;
    std::string To;
    std::string FoldersTemplate;
    bool Once = false;
    bool Json = false;
    int64_t SettleMs = 2000;
    int64_t PollMs = 500;
    std::string Library;
    TRuleFlags RuleFlags;
};

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

const char* ResultKey(TSaveEvent::TKind kind) {
    switch (kind) {
    case TSaveEvent::TKind::Kept:
        return "kept";
    case TSaveEvent::TKind::AlreadyKept:
        return "already-kept";
    case TSaveEvent::TKind::Unfinished:
        return "unfinished";
    case TSaveEvent::TKind::Failed:
        break;
    }
    return "failed";
}

void PrintEvent(const TSaveEvent& e, bool json, TLanguage language, std::ostream& out) {
    if (json) {
        nlohmann::json line;
        AddPath(line, "source", e.Source);
        line["result"] = ResultKey(e.Kind);
        if (e.Kept.empty())
            line["kept"] = nullptr;
        else
            AddPath(line, "kept", e.Kept);
        line["reason"] = e.Reason.empty() ? nlohmann::json(nullptr) : nlohmann::json(JsonText(e.Reason));
        out << line.dump() << "\n";
    } else {
        out << TerminalText(SaveEventText(e, language)) << "\n";
    }
    out.flush();
}

int RunWatch(TWatchOptions& o, std::ostream& out, std::ostream& err) {
    TRenameRule rule;
    TLanguage language = TLanguage::English;
    if (const int status = ResolveRule(o.RuleFlags, rule, language, err); status != 0)
        return status;
    // What the window's auto-save keeps in the settings, where no flag says otherwise.
    const TAutoSaveSettings stored = ReadSettings(SettingsPath(ProgramDir(), o.RuleFlags.Settings)).AutoSave;
    if (o.Folders.empty()) {
        o.Folders = GameReplayFolders();
        o.Folders.insert(o.Folders.end(), stored.Folders.begin(), stored.Folders.end());
    }
    if (o.To.empty())
        o.To = !stored.Collection.empty() ? stored.Collection : DefaultCollectionFolder();
    if (o.FoldersTemplate.empty())
        o.FoldersTemplate = stored.FolderTemplate;
    // Ctrl+C stops after the file in hand: a copy is whole in the collection or not there at all.
    TInterruptGuard guard;
    const TStopFlag stop = TStopFlag::Watching(TInterruptGuard::Interrupted());
    TAutoSaveOptions options{o.To, o.FoldersTemplate, rule, language, o.SettleMs};
    // The library when it is in use: the one given, else the user's library when there is one.
    options.LibraryPath = o.Library;
    if (const std::string usual = DefaultLibraryPath(ProgramDir());
        o.Library.empty() && IsFolder(PathOf(usual).parent_path()) && std::filesystem::exists(PathOf(usual)))
        options.LibraryPath = usual;
    TAutoSaver saver(options);
    if (!o.Once)
        err << TerminalText(
                   FormatText(GetString(AppString::WatchStarted, language), {std::to_string(o.Folders.size()), o.To}))
            << std::endl;
    int status = 0;
    while (!stop.Requested()) {
        for (const TSaveEvent& e : saver.Poll(o.Folders, NowMs(), stop)) {
            PrintEvent(e, o.Json, language, out);
            if (e.Kind == TSaveEvent::TKind::Failed || e.Kind == TSaveEvent::TKind::Unfinished)
                status = 1;
        }
        if (o.Once)
            return status;
        // Short naps, so Ctrl+C is answered at once; the folders are looked at twice a second.
        for (int64_t slept = 0; slept < o.PollMs && !stop.Requested(); slept += 50)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 130;
}

} // namespace

void AddWatchCommand(CLI::App& app, TContext& context) {
    auto o = std::make_shared<TWatchOptions>();
    auto* cmd = app.add_subcommand(
        "watch", "Keep every finished replay of the game's folders in a collection, named by the rename rule");
    cmd->add_option("FOLDER", o->Folders,
                    "Folders to watch (default: the game's replay folders, the install's and the documents')");
    cmd->add_option("--to", o->To,
                    "The collection (default: the window's auto-save folder, else ~/Warcraft III Replays)")
        ->type_name("DIR");
    cmd->add_option("--folders-template", o->FoldersTemplate,
                    "A sub-folder per replay from the global template's tokens and <year>, <month>")
        ->type_name("T");
    cmd->add_flag("--once", o->Once, "Handle what is there now, then end");
    cmd->add_option("--library", o->Library,
                    "The replay library kept replays go into (default: the user's library, when there is one)")
        ->type_name("FILE");
    cmd->add_flag("--json", o->Json, "One JSON object per replay and line");
    // For tests and slow disks: how long a file must stay unchanged, and how often the folders are looked at.
    cmd->add_option("--settle-ms", o->SettleMs)->group("")->check(CLI::Range(0, 600000));
    cmd->add_option("--poll-ms", o->PollMs)->group("")->check(CLI::Range(50, 60000));
    AddRuleFlags(cmd, o->RuleFlags, "--player", "--conj", "--global");
    cmd->callback([o, &context] { context.Status = RunWatch(*o, context.Out, context.Err); });
}

} // namespace quillon::cli
