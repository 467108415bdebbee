#pragma once

#include "core/lang/Translations.h"
#include "core/rename/FileSystem.h"
#include "core/rename/RenameRule.h"
#include "core/replay/ReplayInfo.h"
#include "core/task/StopFlag.h"

#include <functional>
#include <string>
#include <vector>

namespace quillon {

/// What a single rename comes to before the user is asked.
struct TSingleRenamePlan {
    enum class TStep {
        Refuse, // Message says why; nothing is renamed
        Confirm // Message is the question; ExecuteSingleRename does it
    } Step = TStep::Refuse;
    enum class TRefusal {
        None,         // nothing refused: the plan asks for confirmation
        NoFile,       // no usable selection, or no replay on show
        AlreadyNamed, // the file already has its new name
        CannotName,   // the rule makes no name for this replay
        TargetExists  // a file of the new name is there
    } Refusal = TRefusal::NoFile;
    std::string Message;
    std::string NewName; // without ".w3g"
    std::string From;
    std::string To;
};

/// The single rename of the file selectedName in folder (which ends with "/"), named from the replay on show
/// (none: nullptr). Refusals in order: no usable selection, already named, no name, target exists.
/// MakeReplayName's read error (a "<date>" of a vanished file) reaches the caller.
TSingleRenamePlan PlanSingleRename(const std::string& folder, const std::string& selectedName, const TReplayInfo* shown,
                                   const TRenameRule& rule, TLanguage language, const TRenameFileSystem& files);

/// Renames a confirmed plan; the empty text on success, else the message to show.
std::string ExecuteSingleRename(const TSingleRenamePlan& plan, TLanguage language, TRenameFileSystem& files);

/// One file of a batch and its outcome.
struct TBatchRow {
    enum class TOutcome {
        Renamed,
        AlreadyNamed,
        CannotName,
        Failed,
        Unreadable, // the replay could not be read: Result says why
        Unlisted,   // Path is a folder that could not be listed: Result says why
        Skipped     // the user said no
    } Outcome = TOutcome::Unreadable;
    std::string Path;
    std::string Result; // the new full path, or a message that says why not
};

struct TBatchOptions {
    TRenameRule Rule;
    TLanguage Language = TLanguage::English;
    /// Called with each file's row as soon as it is decided.
    std::function<void(const TBatchRow&)> OnRow;
    /// Looked at between two files; once requested, the walk ends.
    TStopFlag Stop;
};

/// Every replay below folder in the order a batch renames them: subfolders first (depth first, in name order),
/// hidden folders skipped, then the folder's own replays. The whole tree is listed before anything is renamed,
/// so a progress bar knows the total and no file is met again under its new name. The stop flag is looked at
/// between two folders; a stopped listing is cut short.
/// A folder that cannot be listed is an item of its own, with the reason.
struct TBatchItem {
    std::string Path;
    std::string ListError; // non-empty: Path is a folder that could not be listed

    bool operator==(const TBatchItem&) const = default;
};
std::vector<TBatchItem> ListBatch(const std::string& folder, const TRenameFileSystem& files,
                                  const TStopFlag& stop = {});

/// Renames listed replays in order, each in its own folder; collisions are numbered from 2, and the next free
/// number of each name is remembered for the rest of the walk. Returns false when stopped (asked between two
/// files).
bool RenameListed(const std::vector<TBatchItem>& items, const TBatchOptions& options, TRenameFileSystem& files);

/// ListBatch, then RenameListed.
bool RenameFolder(const std::string& folder, const TBatchOptions& options, TRenameFileSystem& files);

} // namespace quillon
