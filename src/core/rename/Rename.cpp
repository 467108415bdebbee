#include "core/rename/Rename.h"

#include "core/lang/StringIds.h"
#include "core/platform/Paths.h"
#include "core/rename/Template.h"
#include "core/replay/LoadReplay.h"
#include "core/replay/ReplayError.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace quillon {

namespace {

constexpr const char* Extension = ".w3g";

bool IsReplayName(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext == Extension;
}

// What the batch remembers while it walks: the next number to try for each name, so a thousand replays that make
// the same name cost a thousand probes, not half a million.
using TNextNumbers = std::unordered_map<std::string, int>;

// The number a file's own name carries for this base (1 for the plain name), or 0 when it is no candidate.
int OwnNumber(const std::string& dir, const std::string& name, const std::string& path) {
    if (path.size() < dir.size() + 4 || path.compare(0, dir.size(), dir) != 0 ||
        path.compare(path.size() - 4, 4, Extension) != 0)
        return 0;
    const std::string stem = path.substr(dir.size(), path.size() - dir.size() - 4);
    if (stem == FitReplayName(name, 1))
        return 1;
    size_t digits = 0;
    while (digits < stem.size() && std::isdigit(static_cast<unsigned char>(stem[stem.size() - 1 - digits])))
        ++digits;
    if (digits == 0 || digits > 9 || stem[stem.size() - digits] == '0')
        return 0;
    const int n = std::stoi(stem.substr(stem.size() - digits));
    return n >= 2 && stem == FitReplayName(name, n) ? n : 0;
}

// The outcome of one replay of a batch: the name it makes and where it goes.
TBatchRow RenameOne(const std::string& dir, const std::string& path, const TBatchOptions& options,
                    TRenameFileSystem& files, TNextNumbers& next) {
    TBatchRow row;
    row.Path = path;
    const auto is = [&row](TBatchRow::TOutcome outcome, std::string result) {
        row.Outcome = outcome;
        row.Result = std::move(result);
        return row;
    };
    const TLoadResult loaded = LoadReplay(path, 1);
    if (!loaded.Ok()) // gone since listed, or no replay: the row says why, and the walk goes on
        return is(TBatchRow::TOutcome::Unreadable, LoadErrorText(loaded, options.Language));
    std::string name;
    try {
        name = MakeReplayName(options.Rule.PlayerTemplate, options.Rule.Conjunction, options.Rule.GlobalTemplate,
                              *loaded.Replay);
    } catch (const TReplayError& e) { // "<date>" of a file that vanished since it was read
        return is(TBatchRow::TOutcome::Unreadable, e.what());
    }
    if (name.empty())
        return is(TBatchRow::TOutcome::CannotName, GetString(MainString::CannotName, options.Language));
    const std::string alreadyNamed = GetString(MainString::AlreadyNamed, options.Language);
    int& first = next.try_emplace(dir + name, 1).first->second;
    // The file's own name among the candidates before the first free one means it is named right already.
    if (const int own = OwnNumber(dir, name, path); own > 0 && own < first)
        return is(TBatchRow::TOutcome::AlreadyNamed, alreadyNamed);
    for (int n = first;; ++n) {
        const std::string candidate = dir + FitReplayName(name, n) + Extension;
        if (candidate == path) {
            first = std::max(first, n + 1);
            return is(TBatchRow::TOutcome::AlreadyNamed, alreadyNamed);
        }
        if (files.FileExists(candidate))
            continue;
        switch (files.Rename(path, candidate)) {
        case TRenameResult::Renamed:
            first = n + 1;
            return is(TBatchRow::TOutcome::Renamed, candidate);
        case TRenameResult::Failed:
            first = n;
            return is(TBatchRow::TOutcome::Failed,
                      GetString(MainString::RenameFailed, options.Language) + " (" + files.LastFailure() + ")");
        case TRenameResult::TargetExists:
            break; // created since the test: take the next number
        }
    }
}

} // namespace

TSingleRenamePlan PlanSingleRename(const std::string& folder, const std::string& selectedName, const TReplayInfo* shown,
                                   const TRenameRule& rule, TLanguage language, const TRenameFileSystem& files) {
    TSingleRenamePlan plan;
    const std::string dir = WithTrailingSeparator(folder);
    plan.From = dir + selectedName;
    if (selectedName.empty() || !shown || !files.FileExists(plan.From)) {
        plan.Message = GetString(MainString::ChooseFile, language);
        return plan;
    }
    plan.NewName = MakeReplayName(rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate, *shown);
    plan.To = dir + plan.NewName + Extension;
    using R = TSingleRenamePlan::TRefusal;
    if (plan.NewName + Extension == selectedName) {
        plan.Refusal = R::AlreadyNamed;
        plan.Message = GetString(MainString::AlreadyNamed, language);
    } else if (plan.NewName.empty()) {
        plan.Refusal = R::CannotName;
        plan.Message = GetString(MainString::CannotName, language);
    } else if (files.FileExists(plan.To)) {
        plan.Refusal = R::TargetExists;
        plan.Message = plan.NewName + GetString(MainString::AlreadyExists, language);
    } else {
        plan.Refusal = R::None;
        plan.Step = TSingleRenamePlan::TStep::Confirm;
        plan.Message = GetString(MainString::RenameQuestionStart, language) + selectedName +
                       GetString(MainString::RenameQuestionTo, language) + plan.NewName + Extension + "?";
    }
    return plan;
}

std::string ExecuteSingleRename(const TSingleRenamePlan& plan, TLanguage language, TRenameFileSystem& files) {
    if (plan.Step != TSingleRenamePlan::TStep::Confirm)
        return plan.Message;
    switch (files.Rename(plan.From, plan.To)) {
    case TRenameResult::Renamed:
        return {};
    case TRenameResult::TargetExists: // another program made it since the question
        return plan.NewName + GetString(MainString::AlreadyExists, language);
    case TRenameResult::Failed:
        break;
    }
    return plan.NewName + GetString(MainString::RenameFailed, language) + " (" + files.LastFailure() + ")";
}

namespace {

bool ListInto(const std::string& folder, const TRenameFileSystem& files, const TStopFlag& stop,
              std::vector<TBatchItem>& items) {
    const std::string dir = WithTrailingSeparator(folder);
    if (!files.FolderExists(dir))
        return true;
    if (stop.Requested())
        return false;
    std::string error;
    const auto entries = files.List(dir, error);
    if (!error.empty())
        items.push_back({dir, error});
    for (const auto& e : entries)
        if (e.Folder && !e.Hidden && !ListInto(dir + e.Name, files, stop, items))
            return false;
    for (const auto& e : entries)
        if (e.File && IsReplayName(e.Name))
            items.push_back({dir + e.Name, {}});
    return true;
}

} // namespace

std::vector<TBatchItem> ListBatch(const std::string& folder, const TRenameFileSystem& files, const TStopFlag& stop) {
    std::vector<TBatchItem> items;
    ListInto(folder, files, stop, items);
    return items;
}

bool RenameListed(const std::vector<TBatchItem>& items, const TBatchOptions& options, TRenameFileSystem& files) {
    TNextNumbers next;
    for (const auto& item : items) {
        if (options.Stop.Requested())
            return false;
        TBatchRow row;
        if (!item.ListError.empty()) {
            row = {TBatchRow::TOutcome::Unlisted, item.Path,
                   FormatText(GetString(AppString::CannotListFolder, options.Language), {item.ListError})};
        } else {
            row = RenameOne(item.Path.substr(0, FileNameStart(item.Path)), item.Path, options, files, next);
        }
        if (options.OnRow)
            options.OnRow(row);
    }
    return true;
}

bool RenameFolder(const std::string& folder, const TBatchOptions& options, TRenameFileSystem& files) {
    const auto items = ListBatch(folder, files, options.Stop);
    if (options.Stop.Requested())
        return false;
    return RenameListed(items, options, files);
}

} // namespace quillon
