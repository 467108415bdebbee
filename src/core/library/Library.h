#pragma once

#include "core/library/Sqlite.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillon {

class TFileLock;

struct TLibraryPlayer {
    std::string Name; // stored bytes
    uint8_t Race = 0; // 1 Human, 2 Orc, 3 Night Elf, 4 Undead, 5 Demon, 6 Random; 0 unknown
    uint8_t Team = 0;
    uint8_t Color = 0;
    int32_t Actions = 0;
    double Apm = 0;
    int Result = 0; // 1 won, 2 lost, 0 unknown
    bool Observer = false;
    bool Computer = false;
};

/// One replay file as the library keeps it; Error is set for a file that could not be read.
struct TLibraryEntry {
    int64_t Id = 0;
    std::string Path;
    int64_t Size = 0;
    int64_t Modified = 0; // seconds since 1970: the replay's date, as the <date> token has it
    std::string Hash;     // of the first 64 KiB, hexadecimal
    std::string Error;
    std::string Version; // "1.26", "2.00"
    int Build = 0;
    int64_t Length = 0; // ms
    std::string GameName, MapPath, MapName, Creator;
    int GameType = 0;
    int WinnerTeam = 0;
    double MaxApm = 0;
    std::vector<TLibraryPlayer> Players;
};

/// Reads a replay at detail 1 into a library entry; a file that cannot be read gives an entry with Error.
TLibraryEntry IndexReplayFile(const std::string& path, int64_t size, int64_t modified);

/// The library file of this user: $XDG_DATA_HOME/Quillon/library.sqlite (else ~/.local/share/...;
/// %LOCALAPPDATA%\Quillon\library.sqlite on Windows), or library.sqlite beside the program in a portable install
/// (where a Quillon.ini is).
std::string DefaultLibraryPath(const std::string& programDir);

/// The start every path below folder has: the folder and one separator ("/" for the root itself).
std::string PathPrefixOf(const std::string& folder);
/// Whether path lies below folder (not beside it: "/a/bc" is not below "/a/b").
bool PathBelow(const std::string& path, const std::string& folder);

/// A replay library in one SQLite file: versioned schema, write-ahead log, foreign keys on.
class TLibrary {
public:
    /// Opens the library at path, creating it (and its folder) when missing. A file that is no Quillon library,
    /// is damaged or was made by a newer Quillon throws TLibraryError and is left as it is.
    explicit TLibrary(const std::string& path);
    ~TLibrary();
    TLibrary(const TLibrary&) = delete;
    TLibrary& operator=(const TLibrary&) = delete;

    /// Removes the file at path (and its log files) and makes an empty library there.
    static void Reset(const std::string& path);

    const std::string& Path() const { return FilePath; }
    TSqlite& Db() { return *Connection; }

    struct TStamp {
        int64_t Id = 0;
        int64_t Size = 0;
        int64_t Modified = 0;
    };
    /// Size and time of every row whose path lies below folder (given without a trailing slash).
    std::unordered_map<std::string, TStamp> StampsBelow(const std::string& folder);
    /// Writes entries (new rows, or replacing the rows of their paths) in one transaction.
    void Store(const std::vector<TLibraryEntry>& entries);
    void Remove(const std::vector<int64_t>& ids);
    void UpdatePath(int64_t id, const std::string& path);
    int64_t Count();

    /// For writing many rows: the text index and the search indexes are left out until EndBulk makes them again
    /// from the rows (much faster than keeping them row by row). Kept in the file, so a library whose bulk write
    /// was cut short makes them when it is next opened. A lock beside the file (held until EndBulk or the
    /// process ends) tells a live bulk writer from a dead one; false when another process holds it.
    bool BeginBulk();
    void EndBulk();
    bool InBulk();

    static constexpr int SchemaVersion = 1;

private:
    struct THeader {
        int64_t Application = 0, Version = 0, Tables = 0;
    };
    THeader ReadHeader();
    void CreateOrCheckSchema();
    bool TakeBulkLock();
    void ReleaseBulkLock();

    std::string FilePath;
    std::unique_ptr<TSqlite> Connection;
    bool Bulk = false;
    std::unique_ptr<TFileLock> BulkLock; // held on the "-bulk" file while writing in bulk
};

} // namespace quillon
