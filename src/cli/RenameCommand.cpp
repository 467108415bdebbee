// quillon-cli rename: a file by the single-rename rules (without the question unless --interactive), a folder
// by the batch walk.
#include "cli/Commands.h"
#include "cli/ReplayJson.h"

#include "core/lang/StringIds.h"
#include "core/rename/Rename.h"

#include <filesystem>
#include <istream>
#include <ostream>
#include <unistd.h>

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
    case TBatchRow::TOutcome::Unreadable:
        break;
    }
    return "unreadable";
}

void PrintRow(const TBatchRow& row, bool json, std::ostream& out) {
    if (json)
        out << nlohmann::json{{"path", JsonText(row.Path)},
                              {"result", JsonText(row.Result)},
                              {"outcome", OutcomeName(row.Outcome)}}
                   .dump()
            << "\n";
    else
        out << row.Path << "\t" << row.Result << "\n";
}

bool Succeeded(const TBatchRow& row) {
    return row.Outcome == TBatchRow::TOutcome::Renamed || row.Outcome == TBatchRow::TOutcome::AlreadyNamed;
}

TBatchRow RenameFile(const std::string& path, const TRenameOptions& o, TLanguage language, TRenameFileSystem& files,
                     std::istream& in, std::ostream& err) {
    TBatchRow row;
    row.Path = path;
    TLoaded loaded = LoadReplay(path, 1);
    if (!loaded.Replay) {
        row.Result = loaded.Error;
        return row;
    }
    const fs::path p(path);
    const std::string folder = p.has_parent_path() ? p.parent_path().string() + "/" : std::string("./");
    TSingleRenamePlan plan;
    try {
        plan = PlanSingleRename(folder, p.filename().string(), loaded.Replay.get(), o.Rule, language, files);
    } catch (const std::exception& e) {
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
        err << plan.Message << " [y/N] " << std::flush;
        std::string answer;
        std::getline(in, answer);
        if (answer != "y" && answer != "Y" && answer != "yes") {
            row.Outcome = TBatchRow::TOutcome::Failed;
            return row; // declined: nothing happens
        }
    }
    const std::string failure = ExecuteSingleRename(plan, language, files);
    row.Outcome = failure.empty() ? TBatchRow::TOutcome::Renamed : TBatchRow::TOutcome::Failed;
    row.Result = failure.empty() ? plan.To : failure;
    return row;
}

} // namespace

int RunRename(const TRenameOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    const TLanguage language = o.Language;
    TRenameFileSystem real;
    TDryRunFileSystem dry;
    TRenameFileSystem& files = o.DryRun ? dry : real;
    const bool progress = o.ShowProgress && ::isatty(2);
    int status = 0;
    size_t done = 0;
    const auto report = [&](const TBatchRow& row) {
        PrintRow(row, o.Json, out);
        if (!Succeeded(row))
            status = 1;
        if (progress && ++done >= 5)
            err << "\r" << GetString(MainString::Renaming, language) << " " << done << std::flush;
    };
    for (const auto& path : o.Paths) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            TBatchOptions batch;
            batch.Rule = o.Rule;
            batch.Language = language;
            batch.OnRow = report;
            RenameFolder(path, batch, files);
        } else {
            report(RenameFile(path, o, language, files, in, err));
        }
    }
    if (progress && done >= 5)
        err << "\n";
    return status;
}

} // namespace quillon::cli
