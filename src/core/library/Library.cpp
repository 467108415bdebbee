#include "core/library/Library.h"

#include "core/library/PlayerFacts.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/System.h"
#include "core/text/AsciiCase.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <thread>

namespace quillon {

namespace {

namespace fs = std::filesystem;

constexpr int64_t ApplicationId = 0x51554C4C; // "QULL": marks a file as ours

// The columns of a replay's row after id and path, in one place: the table is made from this list, and rows are
// written and read back through it. Columns kept only for searching are written and never read.
struct TReplayColumn {
    const char* Name;
    const char* Type;
    void (*Write)(TSqlStatement& s, int at, const TLibraryEntry& e);
    void (*Read)(const TSqlStatement& s, int at, TLibraryEntry& e); // nullptr: kept for searching only
};

std::string JoinedNames(const TLibraryEntry& e) {
    std::string names;
    for (const auto& p : e.Players)
        names += (names.empty() ? "" : " ") + p.Name;
    return names;
}

std::string MapKey(const std::string& mapName);

// clang-format off
const TReplayColumn ReplayColumns[] = {
    {"size", "INTEGER NOT NULL", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.Size); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Size = s.Int(at); }},
    {"modified", "INTEGER NOT NULL", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.Modified); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Modified = s.Int(at); }},
    {"hash", "TEXT NOT NULL", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.Hash); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Hash = s.Text(at); }},
    {"error", "TEXT",
     [](TSqlStatement& s, int at, const TLibraryEntry& e) { e.Error.empty() ? s.BindNull(at) : s.Bind(at, e.Error); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Error = s.Text(at); }},
    {"version", "TEXT", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.Version); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Version = s.Text(at); }},
    {"build", "INTEGER", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, int64_t{e.Build}); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Build = static_cast<int>(s.Int(at)); }},
    {"length", "INTEGER", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.Length); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Length = s.Int(at); }},
    {"game_name", "TEXT", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.GameName); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.GameName = s.Text(at); }},
    {"map_path", "TEXT", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.MapPath); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.MapPath = s.Text(at); }},
    {"map_name", "TEXT", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.MapName); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.MapName = s.Text(at); }},
    {"map_key", "TEXT", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, MapKey(e.MapName)); },
     nullptr},
    {"game_type", "INTEGER", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, int64_t{e.GameType}); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.GameType = static_cast<int>(s.Int(at)); }},
    {"creator", "TEXT", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.Creator); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.Creator = s.Text(at); }},
    {"winner_team", "INTEGER",
     [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, int64_t{e.WinnerTeam}); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.WinnerTeam = static_cast<int>(s.Int(at)); }},
    {"max_apm", "REAL", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, e.MaxApm); },
     [](const TSqlStatement& s, int at, TLibraryEntry& e) { e.MaxApm = s.Real(at); }},
    {"player_names", "TEXT", [](TSqlStatement& s, int at, const TLibraryEntry& e) { s.Bind(at, JoinedNames(e)); },
     nullptr},
    {"facts", "INTEGER NOT NULL DEFAULT 0",
     [](TSqlStatement& s, int at, const TLibraryEntry& e) {
         s.Bind(at, int64_t{e.FactsRead ? TLibrary::FactsVersion : 0});
     },
     nullptr},
};
// clang-format on

// The columns joined by ", ", each as prefix + name.
std::string ColumnList(bool readOnly, const std::string& prefix) {
    std::string list;
    for (const TReplayColumn& c : ReplayColumns)
        if (!readOnly || c.Read)
            list += (list.empty() ? "" : ", ") + prefix + c.Name;
    return list;
}

// What the library knows of how each player's game went (added in version 2).
constexpr const char* FactsColumns =
    "replay_id INTEGER NOT NULL, slot INTEGER NOT NULL, first_hero TEXT, heroes TEXT NOT NULL, opening TEXT NOT NULL, "
    "builds BLOB, apm_minutes BLOB, peak_apm INTEGER, played_race INTEGER, PRIMARY KEY(replay_id, slot)";

std::string PlayerFactsTable() {
    return std::string("CREATE TABLE player_facts(") + FactsColumns +
           ", FOREIGN KEY(replay_id, slot) REFERENCES players(replay_id, slot) ON DELETE CASCADE) WITHOUT ROWID";
}

std::string Schema() {
    std::string replays = "CREATE TABLE replays(\n    id INTEGER PRIMARY KEY,\n    path TEXT NOT NULL UNIQUE";
    for (const TReplayColumn& c : ReplayColumns)
        replays += std::string(",\n    ") + c.Name + " " + c.Type;
    return replays + R"();
CREATE TABLE players(
    replay_id INTEGER NOT NULL REFERENCES replays(id) ON DELETE CASCADE,
    slot INTEGER NOT NULL,
    name TEXT NOT NULL, name_key TEXT NOT NULL,
    race INTEGER, team INTEGER, color INTEGER, actions INTEGER, apm REAL, result INTEGER,
    observer INTEGER NOT NULL, computer INTEGER NOT NULL,
    PRIMARY KEY(replay_id, slot)) WITHOUT ROWID;
CREATE TABLE state(key TEXT PRIMARY KEY, value) WITHOUT ROWID;
)" + PlayerFactsTable() +
           R"(;
CREATE VIRTUAL TABLE replay_text USING fts5(game_name, map_name, player_names, content='replays',
    content_rowid='id', tokenize='unicode61');
)";
}

// Renames between disk and row (see WillRename); not part of the versioned schema, so any version may hold it.
constexpr const char* PendingRenamesTable =
    "CREATE TABLE IF NOT EXISTS pending_renames(id INTEGER PRIMARY KEY, from_path TEXT NOT NULL, "
    "to_path TEXT NOT NULL)";

// The indexes searches use: left out while many rows are written, made again at the end.
constexpr std::pair<std::string_view, std::string_view> SearchIndexes[] = {
    {"replays_modified", "replays(modified)"},
    {"replays_map_key", "replays(map_key)"},
    {"replays_length", "replays(length)"},
    {"replays_max_apm", "replays(max_apm)"},
    {"players_name_key", "players(name_key)"},
    {"facts_first_hero", "player_facts(first_hero)"},
    {"facts_opening", "player_facts(substr(opening, 1, 8))"}};

std::string MakeSearchIndexes() {
    std::string sql;
    for (const auto& [name, on] : SearchIndexes)
        sql += "CREATE INDEX IF NOT EXISTS " + std::string(name) + " ON " + std::string(on) + ";";
    return sql;
}

std::string DropSearchIndexes() {
    std::string sql;
    for (const auto& [name, on] : SearchIndexes)
        sql += "DROP INDEX IF EXISTS " + std::string(name) + ";";
    return sql;
}

// What --map matches the start of: the name in lower case without its "(4)" player count.
std::string MapKey(const std::string& mapName) {
    std::string key = AsciiLower(mapName);
    if (key.size() > 2 && key[0] == '(') {
        const size_t close = key.find(')');
        if (close != std::string::npos)
            key.erase(0, close + 1);
    }
    return key;
}

} // namespace

std::string DefaultLibraryPath(const std::string& programDir) {
    return ProgramFilePath(programDir, TUserFolder::Data, "library.sqlite");
}

TLibrary::TLibrary(const std::string& path, TAccess access) : FilePath(path) {
    std::error_code ec;
    if (fs::exists(PathOf(path), ec) && !fs::is_regular_file(PathOf(path), ec))
        throw TLibraryError(TLibraryError::TKind::NotALibrary, path + " is not a file");
    if (access == TAccess::Read && fs::exists(PathOf(path), ec)) {
        try {
            Connection = std::make_unique<TSqlite>(path, TSqlite::TOpen::ReadWrite);
            if (!Connection->ReadOnly()) {
                CreateOrCheckSchema();
                return;
            }
        } catch (const TLibraryError& e) {
            if (e.Kind != TLibraryError::TKind::ReadOnly)
                throw;
        }
        OpenForReading();
        return;
    }
    const fs::path folder = PathOf(path).parent_path();
    if (!folder.empty())
        fs::create_directories(folder, ec);
    Connection = std::make_unique<TSqlite>(path, TSqlite::TOpen::Create);
    if (Connection->ReadOnly())
        throw TLibraryError(TLibraryError::TKind::ReadOnly, path + " is write-protected");
    CreateOrCheckSchema();
}

// A library this user may read but not write: read as it is, nothing completed or changed. Where SQLite cannot
// make its lock files beside it (a read-only folder) the file is read as unchanging.
void TLibrary::OpenForReading() {
    CanWrite = false;
    for (const auto mode : {TSqlite::TOpen::ReadOnly, TSqlite::TOpen::Immutable}) {
        try {
            Connection = std::make_unique<TSqlite>(FilePath, mode);
            const THeader header = ReadHeader();
            if (header.Tables == 0)
                throw TLibraryError(TLibraryError::TKind::NotALibrary, FilePath + " is empty, not a Quillon library");
            ShadowWhatIsMissing(header.Version);
            return;
        } catch (const TLibraryError& e) {
            if (e.Kind != TLibraryError::TKind::ReadOnly || mode == TSqlite::TOpen::Immutable)
                throw;
        }
    }
}

// What a file holds, read in one snapshot so that a library being made by another process is seen whole or not
// at all. Nothing is written: a foreign file must stay as it is.
TLibrary::THeader TLibrary::ReadHeader() {
    TSqlite& db = *Connection;
    THeader h;
    try {
        db.Exec("BEGIN");
        const auto number = [&db](const char* sql) {
            TSqlStatement s(db, sql);
            return s.Step() ? s.Int(0) : 0;
        };
        h.Application = number("PRAGMA application_id");
        h.Version = number("PRAGMA user_version");
        h.Tables = number("SELECT count(*) FROM sqlite_schema");
        db.Exec("COMMIT");
    } catch (const TLibraryError& e) {
        sqlite3_exec(db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        if (e.Kind != TLibraryError::TKind::NotALibrary && e.Kind != TLibraryError::TKind::Corrupt)
            throw;
        throw TLibraryError(TLibraryError::TKind::NotALibrary,
                            FilePath + " is not a Quillon library or is damaged (" + e.what() + ")");
    }
    if (h.Tables > 0 && h.Application != ApplicationId)
        throw TLibraryError(TLibraryError::TKind::NotALibrary,
                            FilePath + " is another program's database, not a Quillon library");
    if (h.Version > SchemaVersion)
        throw TLibraryError(TLibraryError::TKind::Newer, FilePath + " was made by a newer Quillon (library version " +
                                                             std::to_string(h.Version) + ")");
    return h;
}

void TLibrary::CreateOrCheckSchema() {
    TSqlite& db = *Connection;
    if (ReadHeader().Tables == 0) {
        // Ours to make. The write lock decides between two processes making it at once: the second finds it made.
        db.Exec("PRAGMA journal_mode=WAL");
        TSqlTransaction t(db);
        TSqlStatement count(db, "SELECT count(*) FROM sqlite_schema");
        if (count.Step() && count.Int(0) == 0) {
            db.Exec(Schema());
            db.Exec(MakeSearchIndexes());
            db.Exec("PRAGMA application_id=" + std::to_string(ApplicationId));
            db.Exec("PRAGMA user_version=" + std::to_string(SchemaVersion));
        }
        t.Commit();
        ReadHeader(); // what the other process made must be a library too
    }
    if (const int64_t stored = ReadHeader().Version; stored < SchemaVersion)
        Migrate(stored);
    db.Exec("PRAGMA journal_mode=WAL");
    db.Exec("PRAGMA foreign_keys=ON");
    db.Exec("PRAGMA synchronous=NORMAL"); // with the log, a crash loses at most the last batches, never the file
    db.Exec("PRAGMA wal_autocheckpoint=10000");
    CompleteWhatAWriterLeft();
}

// Brings a library of an earlier Quillon up to this one's schema in one transaction: every row stays, and the
// rows are marked to be read again for what they lack. Another process may have done it meanwhile.
void TLibrary::Migrate(int64_t from) {
    TSqlite& db = *Connection;
    TSqlTransaction t(db);
    if (TSqlStatement version(db, "PRAGMA user_version"); !version.Step() || version.Int(0) != from)
        return; // done by another process first; the transaction ends unused
    if (from < 2) {
        db.Exec("ALTER TABLE replays ADD COLUMN facts INTEGER NOT NULL DEFAULT 0");
        db.Exec(PlayerFactsTable());
        if (!InBulk())
            db.Exec(MakeSearchIndexes());
    }
    db.Exec("PRAGMA user_version=" + std::to_string(SchemaVersion));
    t.Commit();
}

// A library of an earlier version opened only for reading stays as it is: what it lacks is seen as empty.
void TLibrary::ShadowWhatIsMissing(int64_t version) {
    if (version < 2)
        Connection->Exec(std::string("CREATE TEMP TABLE player_facts(") + FactsColumns + ") WITHOUT ROWID");
}

// A writer killed halfway leaves its bulk state (search indexes not made) or renames between disk and row. Only
// when no writer is alive: a live one holds the lock and finishes its own work.
void TLibrary::CompleteWhatAWriterLeft() {
    bool renames = false;
    if (TSqlStatement table(Db(), "SELECT 1 FROM sqlite_schema WHERE name = 'pending_renames'"); table.Step()) {
        TSqlStatement any(Db(), "SELECT 1 FROM pending_renames LIMIT 1");
        renames = any.Step();
    }
    if (!(renames || InBulk()) || !TryLockForWriting())
        return;
    if (InBulk()) {
        // A library of an earlier Quillon may also have left its text index out during a bulk write.
        TSqlTransaction t(Db());
        Db().Exec("INSERT INTO replay_text(replay_text) VALUES('rebuild')");
        t.Commit();
        EndBulk();
    }
    struct TPending {
        int64_t Id;
        std::string From, To;
    };
    std::vector<TPending> pending;
    if (renames) {
        TSqlStatement list(Db(), "SELECT id, from_path, to_path FROM pending_renames");
        while (list.Step())
            pending.push_back({list.Int(0), list.Text(1), list.Text(2)});
    }
    for (const TPending& p : pending) {
        const bool moved = FileStatus(p.To).Kind != TFileKind::Missing && FileStatus(p.From).Kind == TFileKind::Missing;
        if (moved)
            Renamed(p.Id, p.To);
        else
            Unrenamed(p.Id);
    }
    WriterLock.reset(); // this open is not a writer unless it asks to be
}

bool TLibrary::TryLockForWriting() {
    if (!WriterLock) {
        auto lock = std::make_unique<TFileLock>(FilePath + "-lock");
        if (lock->IsHeld())
            WriterLock = std::move(lock);
    }
    return WriterLock != nullptr;
}

bool TLibrary::LockForWriting(const std::function<bool()>& stop, const std::function<void()>& onWait) {
    if (!CanWrite)
        throw TLibraryError(TLibraryError::TKind::ReadOnly, FilePath + " cannot be written");
    bool told = false;
    while (!TryLockForWriting()) {
        if (stop && stop())
            return false;
        if (!told && onWait) {
            onWait();
            told = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

TLibrary::~TLibrary() = default;

bool TLibrary::InBulk() {
    TSqlStatement s(Db(), "SELECT 1 FROM state WHERE key = 'bulk'");
    return s.Step();
}

void TLibrary::BeginBulk() {
    TSqlTransaction t(Db());
    Db().Exec("INSERT OR REPLACE INTO state(key, value) VALUES('bulk', 1);" + DropSearchIndexes());
    t.Commit();
    Bulk = true;
}

void TLibrary::EndBulk() {
    TSqlTransaction t(Db());
    Db().Exec(MakeSearchIndexes());
    Db().Exec("DELETE FROM state WHERE key = 'bulk'");
    t.Commit();
    Bulk = false;
}

void TLibrary::CheckIntegrity() {
    TSqlStatement check(Db(), "PRAGMA quick_check");
    std::string findings;
    while (check.Step())
        if (check.Text(0) != "ok" && findings.size() < 500)
            findings += (findings.empty() ? "" : "; ") + check.Text(0);
    if (!findings.empty())
        throw TLibraryError(TLibraryError::TKind::NotALibrary, FilePath + " is damaged (" + findings + ")");
}

bool TLibrary::FoundDamaged(const std::string& path) {
    try {
        TLibrary library(path, TAccess::Read);
        library.CheckIntegrity();
        return false;
    } catch (const TLibraryError& e) {
        return e.Kind == TLibraryError::TKind::NotALibrary || e.Kind == TLibraryError::TKind::Corrupt;
    }
}

void TLibrary::Reset(const std::string& path) {
    TFileLock lock(path + "-lock");
    if (!lock.IsHeld())
        throw TLibraryError(TLibraryError::TKind::Busy,
                            path + " is being written by another Quillon; reset it when that has finished");
    // The lock file itself stays: removing it would let a writer that starts now take a lock of its own.
    for (const char* suffix : {"", "-wal", "-shm", "-journal", "-bulk"}) {
        std::error_code ec;
        fs::remove(PathOf(path + suffix), ec);
        if (ec)
            throw TLibraryError(TLibraryError::TKind::Failed, "cannot remove " + path + suffix + ": " + ec.message());
    }
    TLibrary fresh(path);
}

std::string PathPrefixOf(const std::string& folder) {
    return WithTrailingSeparator(folder);
}

bool PathBelow(const std::string& path, const std::string& folder) {
    const std::string prefix = PathPrefixOf(folder);
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0;
}

std::unordered_map<std::string, TLibrary::TStamp> TLibrary::StampsBelow(const std::string& folder) {
    std::unordered_map<std::string, TStamp> stamps;
    TSqlStatement s(Db(), "SELECT path, id, CASE WHEN facts < ?3 THEN -1 ELSE size END, modified FROM replays "
                          "WHERE path >= ?1 AND path < ?2");
    const std::string prefix = PathPrefixOf(folder);
    std::string end = prefix;
    end.back() = static_cast<char>(end.back() + 1); // just after the separator: every path below, nothing beside
    s.Bind(1, prefix).Bind(2, end).Bind(3, int64_t{FactsVersion});
    while (s.Step())
        stamps.emplace(s.Text(0), TStamp{s.Int(1), s.Int(2), s.Int(3)});
    return stamps;
}

std::vector<std::string> TLibrary::PathsWithHash(const std::string& hash, int64_t size) {
    std::vector<std::string> paths;
    TSqlStatement s(Db(), "SELECT path FROM replays WHERE hash = ?1 AND size = ?2");
    s.Bind(1, hash).Bind(2, size);
    while (s.Step())
        paths.push_back(s.Text(0));
    return paths;
}

namespace {

// The text index holds no copy of the texts: a row is taken out with the values it was put in with.
constexpr const char* ForgetText = "INSERT INTO replay_text(replay_text, rowid, game_name, map_name, player_names) "
                                   "SELECT 'delete', id, game_name, map_name, player_names FROM replays ";

// All players of a replay in one statement, prepared once per player count met.
class TPlayerInserter {
public:
    explicit TPlayerInserter(TSqlite& db) : Db(db) {}
    void Insert(int64_t replayId, const std::vector<TLibraryPlayer>& players) {
        const size_t n = players.size();
        if (n == 0)
            return;
        if (Statements.size() < n)
            Statements.resize(n);
        if (!Statements[n - 1]) {
            std::string sql = "INSERT INTO players(replay_id, slot, name, name_key, race, team, color, actions, apm, "
                              "result, observer, computer) VALUES";
            for (size_t i = 0; i < n; ++i)
                sql += std::string(i ? "," : "") + "(?,?,?,?,?,?,?,?,?,?,?,?)";
            Statements[n - 1] = std::make_unique<TSqlStatement>(Db, sql);
        }
        TSqlStatement& add = *Statements[n - 1];
        for (size_t slot = 0; slot < n; ++slot) {
            const TLibraryPlayer& p = players[slot];
            const int at = 1 + 12 * static_cast<int>(slot); // this player's first parameter
            add.Bind(at, replayId).Bind(at + 1, static_cast<int64_t>(slot)).Bind(at + 2, p.Name);
            add.Bind(at + 3, AsciiLower(p.Name)).Bind(at + 4, int64_t{p.Race}).Bind(at + 5, int64_t{p.Team});
            add.Bind(at + 6, int64_t{p.Color}).Bind(at + 7, int64_t{p.Actions}).Bind(at + 8, p.Apm);
            add.Bind(at + 9, int64_t{p.Result}).Bind(at + 10, int64_t{p.Observer}).Bind(at + 11, int64_t{p.Computer});
        }
        add.Run();
    }
    void InsertFacts(int64_t replayId, const std::vector<TLibraryPlayer>& players) {
        for (size_t slot = 0; slot < players.size(); ++slot)
            if (!players[slot].Observer)
                InsertFacts(replayId, static_cast<int64_t>(slot), players[slot].Facts);
    }

private:
    void InsertFacts(int64_t replayId, int64_t slot, const TPlayerFacts& f) {
        if (!Facts)
            Facts = std::make_unique<TSqlStatement>(Db, "INSERT INTO player_facts(replay_id, slot, first_hero, heroes, "
                                                        "opening, builds, apm_minutes, peak_apm, played_race) "
                                                        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
        TSqlStatement& add = *Facts;
        add.Bind(1, replayId).Bind(2, slot);
        f.Heroes.empty() ? add.BindNull(3) : add.Bind(3, f.Heroes.front().Id);
        add.Bind(4, HeroesText(f.Heroes)).Bind(5, OpeningText(f));
        add.BindBlob(6, EncodeBuilds(f.Builds)).BindBlob(7, EncodeMinutes(f.ApmPerMinute));
        add.Bind(8, int64_t{f.PeakApm}).Bind(9, int64_t{f.PlayedRace}).Run();
    }

    TSqlite& Db;
    std::vector<std::unique_ptr<TSqlStatement>> Statements;
    std::unique_ptr<TSqlStatement> Facts;
};

} // namespace

void TLibrary::Store(const std::vector<TLibraryEntry>& entries) {
    TSqlite& db = Db();
    TSqlTransaction t(db);
    const std::string columns = ColumnList(false, "");
    std::string values;
    for (size_t i = 0; i < std::size(ReplayColumns); ++i)
        values += ", ?" + std::to_string(i + 2);
    values.erase(0, 2);
    // A new path takes one statement; a path the library has (a changed file, or one another scanner has just
    // written) first takes its old text and players out.
    TSqlStatement insert(db, "INSERT INTO replays(path, " + columns + ") VALUES(?1, " + values +
                                 ") ON CONFLICT(path) DO NOTHING RETURNING id");
    TSqlStatement forget(db, std::string(ForgetText) + "WHERE path = ?1");
    TSqlStatement update(db, "UPDATE replays SET (" + columns + ") = (" + values + ") WHERE path = ?1 RETURNING id");
    TSqlStatement clearPlayers(db, "DELETE FROM players WHERE replay_id = ?1");
    TSqlStatement addText(db, "INSERT INTO replay_text(rowid, game_name, map_name, player_names) "
                              "VALUES(?1, ?2, ?3, ?4)");
    TPlayerInserter players(db);
    for (const TLibraryEntry& e : entries) {
        const auto bind = [&e](TSqlStatement& s) {
            s.Bind(1, e.Path);
            int at = 2;
            for (const TReplayColumn& c : ReplayColumns)
                c.Write(s, at++, e);
        };
        bind(insert);
        const bool fresh = insert.Step();
        int64_t id = fresh ? insert.Int(0) : 0;
        insert.Reset();
        if (!fresh) {
            forget.Bind(1, e.Path).Run();
            bind(update);
            if (!update.Step())
                throw TLibraryError(TLibraryError::TKind::Failed, "database: no row written for " + e.Path);
            id = update.Int(0);
            update.Reset();
            clearPlayers.Bind(1, id).Run();
        }
        players.Insert(id, e.Players);
        if (e.FactsRead && e.Error.empty())
            players.InsertFacts(id, e.Players);
        addText.Bind(1, id).Bind(2, e.GameName).Bind(3, e.MapName).Bind(4, JoinedNames(e)).Run();
    }
    t.Commit();
}

std::string EntryColumns(const std::string& alias) {
    return alias + "id, " + alias + "path, " + ColumnList(true, alias);
}

TLibraryEntry ReadEntry(const TSqlStatement& s) {
    TLibraryEntry e;
    e.Id = s.Int(0);
    e.Path = s.Text(1);
    int at = 2;
    for (const TReplayColumn& c : ReplayColumns)
        if (c.Read)
            c.Read(s, at++, e);
    return e;
}

void TLibrary::Remove(const std::vector<int64_t>& ids) {
    TSqlTransaction t(Db());
    TSqlStatement text(Db(), std::string(ForgetText) + "WHERE id = ?1");
    TSqlStatement row(Db(), "DELETE FROM replays WHERE id = ?1");
    for (const int64_t id : ids) {
        text.Bind(1, id).Run();
        row.Bind(1, id).Run();
    }
    t.Commit();
}

void TLibrary::UpdatePath(int64_t id, const std::string& path) {
    TSqlStatement s(Db(), "UPDATE replays SET path = ?2 WHERE id = ?1");
    s.Bind(1, id).Bind(2, path).Run();
}

void TLibrary::WillRename(int64_t id, const std::string& from, const std::string& to) {
    Db().Exec(PendingRenamesTable); // made when first needed: opening a library writes nothing
    TSqlStatement s(Db(), "INSERT OR REPLACE INTO pending_renames(id, from_path, to_path) VALUES(?1, ?2, ?3)");
    s.Bind(1, id).Bind(2, from).Bind(3, to).Run();
}

void TLibrary::Renamed(int64_t id, const std::string& path) {
    TSqlTransaction t(Db());
    // The rename never replaces a file: a row still at the new path is of a file deleted outside Quillon.
    TSqlStatement stale(Db(), "SELECT id FROM replays WHERE path = ?1 AND id != ?2");
    stale.Bind(1, path).Bind(2, id);
    std::vector<int64_t> gone;
    while (stale.Step())
        gone.push_back(stale.Int(0));
    stale.Reset();
    for (const int64_t staleId : gone) {
        TSqlStatement(Db(), std::string(ForgetText) + "WHERE id = ?1").Bind(1, staleId).Run();
        TSqlStatement(Db(), "DELETE FROM replays WHERE id = ?1").Bind(1, staleId).Run();
    }
    UpdatePath(id, path);
    TSqlStatement(Db(), "DELETE FROM pending_renames WHERE id = ?1").Bind(1, id).Run();
    t.Commit();
}

void TLibrary::Unrenamed(int64_t id) {
    TSqlStatement(Db(), "DELETE FROM pending_renames WHERE id = ?1").Bind(1, id).Run();
}

int64_t TLibrary::Count() {
    TSqlStatement s(Db(), "SELECT count(*) FROM replays");
    return s.Step() ? s.Int(0) : 0;
}

} // namespace quillon
