#pragma once

#include "core/autosave/SettleTracker.h"
#include "core/lang/Translations.h"
#include "core/rename/RenameRule.h"
#include "core/task/StopFlag.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quillon {

struct TAutoSaveOptions {
    std::string Collection;     // where kept replays go
    std::string FolderTemplate; // a sub-folder per replay, from the global template's tokens and <year>, <month>
    TRenameRule Rule;
    TLanguage Language = TLanguage::English;
    int64_t SettleMs = 2000; // unchanged this long before a file is looked at
    int64_t RetryMs = 10000; // a copy that failed is tried again after this long
    /// The replay library, when in use: the same game there counts as kept, and each kept replay goes into it.
    std::string LibraryPath = {};
};

/// What became of one finished replay.
struct TSaveEvent {
    enum class TKind {
        Kept,        // copied into the collection: Kept is its path
        AlreadyKept, // the collection has the same game: Kept is that file
        Unfinished,  // it does not load completely: Reason says why
        Failed       // it could not be copied (said once per reason; tried again later): Reason says why
    } Kind = TKind::Failed;
    std::string Source;
    std::string Kept;
    std::string Reason;
};

/// The event as one line for the user.
std::string SaveEventText(const TSaveEvent& event, TLanguage language);

/// Keeps every finished replay of some folders in a collection, under the rename rule's name, once per game.
/// The game's files are only ever read. A copy appears in the collection whole or not at all (a hidden
/// temporary file beside it, then a rename that never replaces: collisions are numbered as in a batch). What
/// the collection holds is what was kept: a kill loses nothing but the copy in hand, and the next start finds
/// the games not kept yet by their content.
class TAutoSaver {
public:
    explicit TAutoSaver(TAutoSaveOptions options);

    /// Looks at the folders at time now (ms since 1970; a missing folder has no files) and keeps what has
    /// finished since the last call. Stops between two files when asked.
    std::vector<TSaveEvent> Poll(const std::vector<std::string>& folders, int64_t nowMs, const TStopFlag& stop = {});

    const TAutoSaveOptions& Options() const { return O; }

private:
    TSaveEvent Keep(const TSeenFile& file);
    std::string KeptCopyOf(uint64_t size, const std::string& key);
    std::string LibraryCopyOf(const std::vector<uint8_t>& bytes, const std::string& key) const;
    void AddToLibrary(const std::string& path) const;
    void IndexCollection();

    TAutoSaveOptions O;
    TSettleTracker Tracker;
    bool Indexed = false;
    std::multimap<uint64_t, std::string> CollectionBySize; // the collection's replays by size
    std::map<std::string, std::string> KeyOfPath;          // content keys worked out so far
    std::map<std::string, std::string> LastFailure;        // by source: the reason last said
    std::map<std::string, int64_t> RetryAt;                // by source
};

/// Whole-content key of a replay's bytes: equal for copies of one game, whatever their names.
std::string ReplayContentKey(const std::vector<uint8_t>& bytes);

} // namespace quillon
