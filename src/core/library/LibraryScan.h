#pragma once

#include "core/library/Library.h"
#include "core/task/StopFlag.h"

#include <atomic>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

/// The library's hash of a replay's bytes (of their start).
std::string LibraryHash(std::span<const uint8_t> bytes);

/// Reads a replay with its actions into a library entry, with how each player's game went; a file that cannot be read
/// gives an entry with Error.
/// Without facts only the replay's information and players are read (much as a library of version 1 had them).
TLibraryEntry IndexReplayFile(const std::string& path, int64_t size, int64_t modified, bool facts = true);

enum class TScanStage { BatchWritten, MakingIndexes };

struct TScanOptions {
    int Threads = 0;        // replays read at once; 0: one per core
    size_t BatchSize = 256; // rows written per transaction
    /// Called from the scanning thread after each batch is written: files looked at, and files listed.
    std::function<void(size_t done, size_t total)> OnProgress;
    /// Requested (from any thread, a signal handler included) to end the scan after the batch being written.
    TStopFlag Stop;
    /// Called once when another writer holds the library and the scan waits for it.
    std::function<void()> OnWait;
    /// Called after each batch is written and before the search indexes are made (for tests that cut a scan at
    /// a known point).
    std::function<void(TScanStage)> OnStage;
    /// False: the players' facts are left for a later scan (to measure what reading them costs).
    bool Facts = true;
};

struct TScanResult {
    size_t Files = 0;      // replays found below the folders
    size_t Unchanged = 0;  // same size and time as in the library: not opened
    size_t Indexed = 0;    // read and written (unreadable ones included)
    size_t Unreadable = 0; // of those, files that could not be read: kept with their reason
    size_t Removed = 0;    // rows of files that are gone
    bool Stopped = false;
    std::vector<std::string> Problems; // folders that could not be listed or do not exist
};

/// Brings the library up to date with the replays below folders: new and changed files (and rows an earlier Quillon
/// made) are read on all cores and written in batches, unchanged ones are only looked at, and rows of files that are
/// gone are removed (never those below a folder that could not be listed). Stopping keeps every batch written so far,
/// so the next scan goes on from there.
TScanResult ScanFolders(TLibrary& library, const std::vector<std::string>& folders, const TScanOptions& options);

/// Rows whose files changed since they were read, looked at again: a file that is gone, or is now a link or no
/// regular file, loses its row (its path and reason are returned); a file of another size or time is read again.
std::vector<std::pair<std::string, std::string>> RecheckEntries(TLibrary& library,
                                                                const std::vector<TLibraryEntry>& rows);

/// A folder as the library keys its paths: absolute, links resolved, without "." or ".." parts or a trailing
/// slash.
std::string LibraryFolderKey(const std::string& folder);

} // namespace quillon
