// quillon-cli rename: a file by the single-rename rules (without the question unless --interactive), a folder
// by the batch walk.
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/RuleFlags.h"

#include "core/lang/StringIds.h"
#include "core/platform/Console.h"
#include "core/platform/Paths.h"
#include "core/platform/System.h"
#include "core/rename/Rename.h"
#include "core/replay/LoadReplay.h"
#include "core/replay/ReplayError.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <filesystem>
#include <istream>
#include <ostream>
#include <thread>

namespace quillon::cli {

namespace {

namespace fs = std::filesystem;

struct TRenameOptions {
    std::vector<std::string> Paths;
    bool DryRun = false;
    bool Json = false;
    bool Interactive = false;
    bool ShowProgress = true;
    TRuleFlags RuleFlags;
    TRenameRule Rule;
    TLanguage Language = TLanguage::English;
};

TBatchRow RenameFile(const std::string& path, const TRenameOptions& o, TLanguage language, TRenameFileSystem& files,
                     std::istream& in, std::ostream& err) {
    TBatchRow row;
    row.Path = path;
    const TLoadResult loaded = LoadReplay(path, 1);
    if (!loaded.Ok()) {
        row.Result = LoadErrorText(loaded, language);
        return row;
    }

    const fs::path p = PathOf(path);
    const std::string folder = p.has_parent_path() ? WithTrailingSeparator(Utf8Of(p.parent_path())) : std::string("./");
    TSingleRenamePlan plan;
    try {
        plan = PlanSingleRename(folder, Utf8Of(p.filename()), loaded.Replay.get(), o.Rule, language, files);
    } catch (const TReplayError& e) { // "<date>" of a file that vanished since it was read
        row.Result = e.what();
        return row;
    }
    if (plan.Step == TSingleRenamePlan::TStep::Refuse) {
        using R = TSingleRenamePlan::TRefusal;
        row.Result = plan.Message;
        row.Outcome = plan.Refusal == R::AlreadyNamed ? TBatchRow::TOutcome::AlreadyNamed
                      : plan.Refusal == R::CannotName ? TBatchRow::TOutcome::CannotName
                                                      : TBatchRow::TOutcome::Failed;
        return row;
    }
    if (o.Interactive) {
        err << TerminalText(plan.Message) << " [y/N] " << std::flush;
        std::string answer;
        std::getline(in, answer);
        if (answer != "y" && answer != "Y" && answer != "yes") {
            row.Outcome = TBatchRow::TOutcome::Skipped; // declined: nothing happens, and the row says so
            row.Result = GetString(AppString::Skipped, language);
            return row;
        }
    }
    const std::string failure = ExecuteSingleRename(plan, language, files);
    row.Outcome = failure.empty() ? TBatchRow::TOutcome::Renamed : TBatchRow::TOutcome::Failed;
    row.Result = failure.empty() ? plan.To : failure;
    return row;
}

int RunRename(const TRenameOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    // Ctrl+C stops after the file in hand: what was renamed is said, the rest is left as it was.
    TInterruptGuard guard;
    const TStopFlag stop = TStopFlag::Watching(TInterruptGuard::Interrupted());
    // Tests slow the walk down so a signal meets it under way: QUILLON_TEST_SLOW_RENAME=1 (a tenth of a second
    // per file).
    const bool slow = EnvironmentText("QUILLON_TEST_SLOW_RENAME").has_value();
    const TLanguage language = o.Language;
    TRenameFileSystem real;
    TDryRunFileSystem dry;
    TRenameFileSystem& files = o.DryRun ? dry : real;
    const bool progress = o.ShowProgress && StandardErrorIsTerminal();
    int status = 0;
    size_t done = 0;
    const auto report = [&](const TBatchRow& row) {
        PrintBatchRow(row, o.Json, out);
        if (!BatchRowSucceeded(row))
            status = 1;
        if (progress && ++done >= 5)
            err << "\r" << GetString(MainString::Renaming, language) << " " << done << std::flush;
        out.flush();
        if (slow)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    for (const auto& path : o.Paths) {
        if (stop.Requested())
            break;
        std::error_code ec;
        if (fs::is_directory(PathOf(path), ec)) {
            TBatchOptions batch;
            batch.Rule = o.Rule;
            batch.Language = language;
            batch.OnRow = report;
            batch.Stop = stop;
            RenameFolder(path, batch, files);
        } else {
            report(RenameFile(path, o, language, files, in, err));
        }
    }
    if (progress && done >= 5)
        err << "\n";
    if (stop.Requested()) {
        err << "quillon-cli: stopped; the files above were handled, the rest were left as they were\n";
        return 130;
    }
    return status;
}

} // namespace

void AddRenameCommand(CLI::App& app, TContext& context) {
    auto o = std::make_shared<TRenameOptions>();
    auto* cmd = app.add_subcommand("rename", "Rename replays by the rename rule: files, or folders and all below");
    cmd->add_option("PATH", o->Paths, "Replay files or folders")->required();
    cmd->add_flag("--dry-run", o->DryRun, "Decide and report everything, change nothing");
    cmd->add_flag("--json", o->Json, "One JSON object per file and line");
    cmd->add_flag("--interactive", o->Interactive, "Ask before renaming a single file");
    AddRuleFlags(cmd, o->RuleFlags, "--player", "--conj", "--global");
    cmd->callback([o, &context] {
        context.Status = ResolveRule(o->RuleFlags, o->Rule, o->Language, context.Err);
        if (context.Status == 0)
            context.Status = RunRename(*o, context.In, context.Out, context.Err);
    });
}

} // namespace quillon::cli
