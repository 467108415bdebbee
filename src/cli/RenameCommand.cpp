// quillon-cli rename: a file by the single-rename rules (without the question unless --interactive), a folder
// by the batch walk.
#include "cli/Commands.h"
#include "cli/ReplayJson.h"

#include "core/lang/StringIds.h"
#include "core/platform/Console.h"
#include "core/platform/Paths.h"
#include "core/platform/System.h"
#include "core/rename/Rename.h"
#include "core/replay/ReplayError.h"

#include <chrono>
#include <filesystem>
#include <istream>
#include <ostream>
#include <thread>

namespace quillon::cli {

namespace {

namespace fs = std::filesystem;

const char* OutcomeName(TBatchRow::TOutcome outcome) {
    switch (outcome) {
    case TBatchRow::TOutcome::Renamed:
        return "renamed";
    case TBatchRow::TOutcome::AlreadyNamed:
        return "already-named";
    case TBatchRow::TOutcome::CannotName:
        return "cannot-name";
    case TBatchRow::TOutcome::Failed:
        return "failed";
    case TBatchRow::TOutcome::Unlisted:
        return "unlisted";
    case TBatchRow::TOutcome::Skipped:
        return "skipped";
    case TBatchRow::TOutcome::Unreadable:
        break;
    }
    return "unreadable";
}

} // namespace

void PrintBatchRow(const TBatchRow& row, bool json, std::ostream& out) {
    if (json) {
        nlohmann::json line = {{"outcome", OutcomeName(row.Outcome)}};
        AddPath(line, "path", row.Path);
        if (row.Outcome == TBatchRow::TOutcome::Renamed)
            AddPath(line, "result", row.Result);
        else
            line["result"] = JsonText(row.Result);
        out << line.dump() << "\n";
    } else {
        out << TerminalText(row.Path) << "\t" << TerminalText(row.Result) << "\n";
    }
}

bool BatchRowSucceeded(const TBatchRow& row) {
    return row.Outcome == TBatchRow::TOutcome::Renamed || row.Outcome == TBatchRow::TOutcome::AlreadyNamed ||
           row.Outcome == TBatchRow::TOutcome::Skipped; // the user's own choice is no failure
}

namespace {

TBatchRow RenameFile(const std::string& path, const TRenameOptions& o, TLanguage language, TRenameFileSystem& files,
                     std::istream& in, std::ostream& err) {
    TBatchRow row;
    row.Path = path;
    TLoaded loaded = LoadReplay(path, 1, language);
    if (!loaded.Replay) {
        row.Result = loaded.Error;
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

} // namespace

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

} // namespace quillon::cli
