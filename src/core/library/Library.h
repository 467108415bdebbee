#pragma once

#include "core/library/Sqlite.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillon {

class TFileLock;

/// A hero as the library keeps it: its id and the highest level it reached (the skills learned).
struct TLibraryHero {
    std::string Id;
    int Level = 0;
    bool operator==(const TLibraryHero&) const = default;
};

/// An order of the build order as the library keeps it: Kind as the summary's TBuildKind numbers it.
struct TLibraryBuild {
    uint8_t Kind = 0; // 0 building, 1 unit, 3 research
    std::string Id;   // four characters
    int64_t Time = 0; // ms, kept to a tenth of a second
    bool operator==(const TLibraryBuild&) const = default;
};

/// What the library keeps of how a player's game went.
struct TPlayerFacts {
    std::vector<TLibraryHero> Heroes;  // in the order trained
    std::vector<TLibraryBuild> Builds; // the first ten buildings, the first ten units and the first ten researches
    std::vector<int32_t> ApmPerMinute; // actions in each minute
    int32_t PeakApm = 0;               // actions in the busiest minute
    uint8_t PlayedRace = 0; // the race the orders show (1 Human ... 4 Undead; 0 not known): a random pick's too

    /// The ids of the first buildings, in order, at most ten.
    std::vector<std::string> Opening() const;
    bool operator==(const TPlayerFacts&) const = default;
};

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
    TPlayerFacts Facts = {};
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
    bool FactsRead = true; // false: the players' facts were not read, and the next scan reads the file again
};

/// The columns ReadEntry takes, in its order, each after alias ("r." or nothing): for SELECT lists.
std::string EntryColumns(const std::string& alias);
/// A replay's row as selected with EntryColumns (its players are not in it).
TLibraryEntry ReadEntry(const TSqlStatement& row);

/// The library file of this user: $XDG_DATA_HOME/Quillon/library.sqlite (else ~/.local/share/...;
/// %LOCALAPPDATA%\Quillon\library.sqlite on Windows), or library.sqlite beside the program in a portable install
/// (where a Quillon.ini is).
std::string DefaultLibraryPath(const std::string& programDir);

/// The start every path below folder has: the folder and one separator ("/" for the root itself).
std::string PathPrefixOf(const std::string& folder);
/// Whether path lies below folder (not beside it: "/a/bc" is not below "/a/b").
bool PathBelow(const std::string& path, const std::string& folder);

/// A replay library in one SQLite file: versioned schema, write-ahead log, foreign keys on.
///
/// Writers (a scan, a rename, a reset) take turns: each holds the writer lock beside the file for its whole run,
/// so one never works from rows another is changing. Readers are never held up.
class TLibrary {
public:
    enum class TAccess {
        Write, // creates the library (and its folder) when missing
        Read   // also opens a library it cannot write (a read-only file or folder), for searching and counting
    };
    /// Opens the library at path. A file that is no Quillon library or was made by a newer Quillon throws
    /// TLibraryError and is left as it is. Opened for writing (or readable and writable), it first completes what
    /// a killed writer left: the search indexes of a bulk write, and renames between disk and row.
    explicit TLibrary(const std::string& path, TAccess access = TAccess::Write);
    ~TLibrary();
    TLibrary(const TLibrary&) = delete;
    TLibrary& operator=(const TLibrary&) = delete;

    /// Removes the file at path (and its log files) and makes an empty library there. Refused (Busy) while
    /// another process writes to it.
    static void Reset(const std::string& path);

    /// False when the library could only be opened for reading.
    bool Writable() const { return CanWrite; }

    /// Waits for the writer lock, asking stop every tenth of a second and calling onWait once when it has to
    /// wait; false when stopped first. Held until the library is closed.
    bool LockForWriting(const std::function<bool()>& stop = {}, const std::function<void()>& onWait = {});

    /// Throws NotALibrary with SQLite's findings when a whole-file check finds the file damaged.
    void CheckIntegrity();
    /// True when a whole-file check finds the library at path damaged: an error SQLite calls corruption is then
    /// the file's, not a passing state.
    static bool FoundDamaged(const std::string& path);

    /// A rename about to happen on disk, kept until Renamed or Unrenamed: a process killed between the disk and
    /// the row leaves it, and the next open settles the row by what is on disk.
    void WillRename(int64_t id, const std::string& from, const std::string& to);
    /// The file of row id is now at path: the row follows (a stale row of another file at path goes).
    void Renamed(int64_t id, const std::string& path);
    /// The rename did not happen.
    void Unrenamed(int64_t id);

    const std::string& Path() const { return FilePath; }
    TSqlite& Db() { return *Connection; }

    struct TStamp {
        int64_t Id = 0;
        int64_t Size = 0;
        int64_t Modified = 0;
    };
    /// Size and time of every row whose path lies below folder (given without a trailing slash); a row whose facts
    /// are older than this Quillon's has the size -1, so that it is read again.
    std::unordered_map<std::string, TStamp> StampsBelow(const std::string& folder);
    /// The paths of the rows with this hash and size: the files that may hold the same replay.
    std::vector<std::string> PathsWithHash(const std::string& hash, int64_t size);
    /// Writes entries (new rows, or replacing the rows of their paths) in one transaction.
    void Store(const std::vector<TLibraryEntry>& entries);
    void Remove(const std::vector<int64_t>& ids);
    void UpdatePath(int64_t id, const std::string& path);
    int64_t Count();

    /// For writing many rows: the search indexes are left out until EndBulk makes them again from the rows
    /// (much faster than keeping them row by row); the text index is always kept in step with the rows. Kept in
    /// the file, so a library whose bulk write was cut short makes them when it is next opened for writing. Needs
    /// the writer lock.
    void BeginBulk();
    void EndBulk();
    bool InBulk();

    static constexpr int SchemaVersion = 2;
    /// What a row's facts were made by: rows of an earlier one are read again by the next scan.
    static constexpr int FactsVersion = 1;

private:
    struct THeader {
        int64_t Application = 0, Version = 0, Tables = 0;
    };
    THeader ReadHeader();
    void CreateOrCheckSchema();
    void Migrate(int64_t from);
    void ShadowWhatIsMissing(int64_t version);
    void OpenForReading();
    void CompleteWhatAWriterLeft();
    bool TryLockForWriting();

    std::string FilePath;
    std::unique_ptr<TSqlite> Connection;
    bool CanWrite = true;
    bool Bulk = false;
    std::unique_ptr<TFileLock> WriterLock; // held on the "-lock" file beside the library
};

} // namespace quillon
