#include "core/rename/Rename.h"

#include "core/lang/StringIds.h"
#include "core/rename/Template.h"
#include "core/replay/LoadReplay.h"
#include "core/replay/ReplayError.h"

namespace quillon {

namespace {

constexpr const char* Extension = ".w3g";

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

bool IsReplayName(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext == Extension;
}

// The outcome of one replay of a batch: the name it makes and where it goes.
TBatchRow RenameOne(const std::string& dir, const std::string& path, const TBatchOptions& options,
                    TRenameFileSystem& files) {
    TBatchRow row;
    row.Path = path;
    const TLoadResult loaded = LoadReplay(path, 1);
    if (!loaded.Ok())
        return row; // gone since listed, or no replay: no result, and the walk goes on
    std::string name;
    try {
        name = MakeReplayName(options.Rule.PlayerTemplate, options.Rule.Conjunction, options.Rule.GlobalTemplate,
                              *loaded.Replay);
    } catch (const TReplayError&) {
        return row; // "<date>" of a file that vanished since it was read
    }
    const auto is = [&row](TBatchRow::TOutcome outcome, std::string result) {
        row.Outcome = outcome;
        row.Result = std::move(result);
        return row;
    };
    if (name.empty())
        return is(TBatchRow::TOutcome::CannotName, GetString(MainString::CannotName, options.Language));
    const std::string target = dir + name;
    if (target + Extension == path)
        return is(TBatchRow::TOutcome::AlreadyNamed, GetString(MainString::AlreadyNamed, options.Language));
    std::string candidate = target + Extension;
    for (int n = 2;; ++n) {
        if (candidate == path)
            return is(TBatchRow::TOutcome::AlreadyNamed, GetString(MainString::AlreadyNamed, options.Language));
        if (!files.FileExists(candidate)) {
            switch (files.Rename(path, candidate)) {
            case TRenameResult::Renamed:
                return is(TBatchRow::TOutcome::Renamed, candidate);
            case TRenameResult::Failed:
                return is(TBatchRow::TOutcome::Failed, GetString(MainString::RenameFailed, options.Language));
            case TRenameResult::TargetExists:
                break; // created since the test: take the next number
            }
        }
        candidate = target + std::to_string(n) + Extension;
    }
}

} // namespace

TSingleRenamePlan PlanSingleRename(const std::string& folder, const std::string& selectedName, const TReplayInfo* shown,
                                   const TRenameRule& rule, TLanguage language, const TRenameFileSystem& files) {
    TSingleRenamePlan plan;
    const std::string dir = WithSlash(folder);
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
    case TRenameResult::TargetExists:
        return plan.NewName +
               GetString(MainString::AlreadyExists, language); // another program made it since the question
    case TRenameResult::Failed:
        break;
    }
    return plan.NewName + GetString(MainString::RenameFailed, language);
}

namespace {

bool ListInto(const std::string& folder, const TRenameFileSystem& files, const std::function<bool()>& shouldStop,
              std::vector<std::string>& paths) {
    const std::string dir = WithSlash(folder);
    if (!files.FolderExists(dir))
        return true;
    if (shouldStop && shouldStop())
        return false;
    const auto entries = files.List(dir);
    for (const auto& e : entries)
        if (e.Folder && !e.Hidden && !ListInto(dir + e.Name, files, shouldStop, paths))
            return false;
    for (const auto& e : entries)
        if (e.File && IsReplayName(e.Name))
            paths.push_back(dir + e.Name);
    return true;
}

} // namespace

std::vector<std::string> ListBatch(const std::string& folder, const TRenameFileSystem& files,
                                   const std::function<bool()>& shouldStop) {
    std::vector<std::string> paths;
    ListInto(folder, files, shouldStop, paths);
    return paths;
}

bool RenameListed(const std::vector<std::string>& paths, const TBatchOptions& options, TRenameFileSystem& files) {
    for (const auto& path : paths) {
        if (options.ShouldStop && options.ShouldStop())
            return false;
        const TBatchRow row = RenameOne(path.substr(0, path.rfind('/') + 1), path, options, files);
        if (options.OnRow)
            options.OnRow(row);
    }
    return true;
}

bool RenameFolder(const std::string& folder, const TBatchOptions& options, TRenameFileSystem& files) {
    const auto paths = ListBatch(folder, files, options.ShouldStop);
    if (options.ShouldStop && options.ShouldStop())
        return false;
    return RenameListed(paths, options, files);
}

} // namespace quillon
