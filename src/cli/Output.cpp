#include "cli/Output.h"

#include "core/lang/StringIds.h"
#include "core/platform/AtomicFile.h"
#include "core/replay/LoadReplay.h"
#include "core/text/Utf8.h"

#include <ostream>

namespace quillon::cli {

namespace {

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

void ReportLoadError(const std::string& path, const std::string& error, bool json, std::ostream& out,
                     std::ostream& err) {
    if (json) {
        nlohmann::json line = nlohmann::json::object();
        AddPath(line, "file", path);
        line["error"] = JsonText(error);
        out << line.dump() << "\n";
    } else {
        err << "quillon-cli: " << TerminalText(path) << ": " << TerminalText(error) << "\n";
    }
}

std::unique_ptr<TReplayInfo> LoadOrReport(const std::string& path, uint8_t detail, TLanguage language, bool json,
                                          std::ostream& out, std::ostream& err) {
    TLoadResult loaded = LoadReplay(path, detail);
    if (!loaded.Ok())
        ReportLoadError(path, LoadErrorText(loaded, language), json, out, err);
    return std::move(loaded.Replay);
}

std::string JsonText(const std::string& bytes) {
    return Utf8WithReplacement(bytes);
}

std::string TerminalText(std::string_view bytes) {
    return EscapedText(bytes, true);
}

void AddPath(nlohmann::json& object, const std::string& key, const std::string& path) {
    object[key] = JsonText(path);
    if (!IsValidUtf8(path))
        object[key + "Bytes"] = EscapedText(path, false);
}

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

int WriteReport(const std::string& path, const std::string& page, TLanguage language, std::ostream& err) {
    std::string reason;
    switch (WriteNewFile(path, page, &reason)) {
    case TRenameResult::Renamed:
        return 0;
    case TRenameResult::TargetExists:
        err << TerminalText(FormatText(GetString(AppString::ReportExists, language), {path})) << "\n";
        break;
    case TRenameResult::Failed:
        err << TerminalText(FormatText(GetString(AppString::ReportFailed, language), {path, reason})) << "\n";
        break;
    }
    return 1;
}

} // namespace quillon::cli
