#include "core/library/Library.h"

#include "core/present/GameText.h"
#include "core/replay/LoadReplay.h"
#include "core/text/AsciiCase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quillon {

namespace {

namespace fs = std::filesystem;

constexpr int64_t ApplicationId = 0x51554C4C; // "QULL": marks a file as ours
constexpr size_t HashedBytes = 64 * 1024;

const char* const Schema = R"(
CREATE TABLE replays(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    size INTEGER NOT NULL,
    modified INTEGER NOT NULL,
    hash TEXT NOT NULL,
    error TEXT,
    version TEXT, build INTEGER, length INTEGER,
    game_name TEXT, map_path TEXT, map_name TEXT, map_key TEXT,
    game_type INTEGER, creator TEXT, winner_team INTEGER, max_apm REAL);
CREATE INDEX replays_modified ON replays(modified);
CREATE INDEX replays_map_key ON replays(map_key);
CREATE TABLE players(
    replay_id INTEGER NOT NULL REFERENCES replays(id) ON DELETE CASCADE,
    slot INTEGER NOT NULL,
    name TEXT NOT NULL, name_key TEXT NOT NULL,
    race INTEGER, team INTEGER, color INTEGER, actions INTEGER, apm REAL, result INTEGER,
    observer INTEGER NOT NULL, computer INTEGER NOT NULL,
    PRIMARY KEY(replay_id, slot)) WITHOUT ROWID;
CREATE INDEX players_name_key ON players(name_key);
CREATE VIRTUAL TABLE replay_text USING fts5(game_name, map_name, players, tokenize='unicode61');
)";

// The map's file name without folders and extension: "(4)TwistedMeadows".
std::string MapName(const std::string& mapPath) {
    const size_t slash = mapPath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? mapPath : mapPath.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
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

std::string HashOfStart(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(HashedBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    uint64_t h = 0xcbf29ce484222325ull; // FNV-1a: enough to tell changed content, nothing secret
    for (const unsigned char c : head) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

} // namespace

TLibraryEntry IndexReplayFile(const std::string& path, int64_t size, int64_t modified) {
    TLibraryEntry e;
    e.Path = path;
    e.Size = size;
    e.Modified = modified;
    e.Hash = HashOfStart(path);
    TLoadResult loaded = LoadReplay(path, 1);
    if (!loaded.Ok()) {
        e.Error = LoadErrorText(loaded, TLanguage::English);
        return e;
    }
    const TReplayInfo& r = *loaded.Replay;
    e.Version = VersionNumberText(DisplayVersion(r));
    e.Build = r.Build;
    e.Length = r.Length;
    e.GameName = r.Game.GameName;
    e.MapPath = r.Game.MapPath;
    e.MapName = MapName(r.Game.MapPath);
    e.Creator = r.Game.Creator;
    e.GameType = r.Game.GameType;
    e.WinnerTeam = r.SlotsRecorded ? r.Winner : 0;
    for (int i = 0; r.Players && i < r.Players->Count(); ++i) {
        const TPlayerInfo& p = r.Players->At(i);
        if (p.SlotStatus != 2)
            continue;
        TLibraryPlayer lp;
        lp.Name = p.Name;
        lp.Race = r.SlotsRecorded ? p.Race : 0;
        lp.Team = r.SlotsRecorded ? p.Team : 0;
        lp.Color = p.Color;
        lp.Actions = p.Actions;
        lp.Apm = p.Apm;
        lp.Observer = p.Observer;
        lp.Computer = p.Computer;
        if (!p.Observer && e.WinnerTeam != 0)
            lp.Result = p.Team == e.WinnerTeam ? 1 : 2;
        if (!p.Observer && !p.Computer)
            e.MaxApm = std::max(e.MaxApm, p.Apm);
        e.Players.push_back(std::move(lp));
    }
    return e;
}

std::string DefaultLibraryPath(const std::string& programDir) {
    std::error_code ec;
    const fs::path beside = fs::path(programDir) / "Quillon.ini";
    if (!programDir.empty() && fs::is_regular_file(beside, ec))
        return (fs::path(programDir) / "library.sqlite").string();
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return (fs::path(data) / "Quillon" / "library.sqlite").string();
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : ".") / ".local/share/Quillon/library.sqlite").string();
}

TLibrary::TLibrary(const std::string& path) : FilePath(path) {
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty())
        fs::create_directories(folder, ec);
    if (fs::exists(path, ec) && !fs::is_regular_file(path, ec))
        throw TLibraryError(TLibraryError::TKind::NotALibrary, path + " is not a file");
    Connection = std::make_unique<TSqlite>(path, true);
    CreateOrCheckSchema();
}

void TLibrary::CreateOrCheckSchema() {
    TSqlite& db = *Connection;
    const auto pragma = [&db](const char* name) {
        TSqlStatement s(db, std::string("PRAGMA ") + name);
        return s.Step() ? s.Int(0) : 0;
    };
    int64_t application = 0, version = 0, tables = 0;
    try {
        application = pragma("application_id");
        version = pragma("user_version");
        TSqlStatement count(db, "SELECT count(*) FROM sqlite_schema");
        tables = count.Step() ? count.Int(0) : 0;
    } catch (const TLibraryError& e) {
        throw TLibraryError(TLibraryError::TKind::NotALibrary,
                            FilePath + " is not a Quillon library or is damaged (" + e.what() + ")");
    }
    if (tables > 0 && application != ApplicationId)
        throw TLibraryError(TLibraryError::TKind::NotALibrary,
                            FilePath + " is another program's database, not a Quillon library");
    if (version > SchemaVersion)
        throw TLibraryError(TLibraryError::TKind::Newer, FilePath + " was made by a newer Quillon (library version " +
                                                             std::to_string(version) + ")");
    db.Exec("PRAGMA journal_mode=WAL");
    db.Exec("PRAGMA foreign_keys=ON");
    db.Exec("PRAGMA synchronous=NORMAL"); // with the log, a crash loses at most the last batches, never the file
    if (tables == 0) {
        TSqlTransaction t(db);
        db.Exec(Schema);
        db.Exec("PRAGMA application_id=" + std::to_string(ApplicationId));
        db.Exec("PRAGMA user_version=" + std::to_string(SchemaVersion));
        t.Commit();
    }
    // Later schema versions add their migrations here, each in its own transaction, from version up.
}

void TLibrary::Reset(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::error_code ec;
        fs::remove(path + suffix, ec);
        if (ec)
            throw TLibraryError(TLibraryError::TKind::Failed, "cannot remove " + path + suffix + ": " + ec.message());
    }
    TLibrary fresh(path);
}

std::unordered_map<std::string, TLibrary::TStamp> TLibrary::StampsBelow(const std::string& folder) {
    std::unordered_map<std::string, TStamp> stamps;
    TSqlStatement s(Db(), "SELECT path, id, size, modified FROM replays WHERE path >= ?1 AND path < ?2");
    const std::string prefix = folder + "/";
    s.Bind(1, prefix).Bind(2, folder + "0"); // '0' follows '/': every path below, nothing beside
    while (s.Step())
        stamps.emplace(s.Text(0), TStamp{s.Int(1), s.Int(2), s.Int(3)});
    return stamps;
}

void TLibrary::Store(const std::vector<TLibraryEntry>& entries) {
    TSqlite& db = Db();
    TSqlTransaction t(db);
    TSqlStatement upsert(db, R"(INSERT INTO replays(path, size, modified, hash, error, version, build, length,
        game_name, map_path, map_name, map_key, game_type, creator, winner_team, max_apm)
        VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)
        ON CONFLICT(path) DO UPDATE SET size=excluded.size, modified=excluded.modified, hash=excluded.hash,
        error=excluded.error, version=excluded.version, build=excluded.build, length=excluded.length,
        game_name=excluded.game_name, map_path=excluded.map_path, map_name=excluded.map_name,
        map_key=excluded.map_key, game_type=excluded.game_type, creator=excluded.creator,
        winner_team=excluded.winner_team, max_apm=excluded.max_apm
        RETURNING id)");
    TSqlStatement clearPlayers(db, "DELETE FROM players WHERE replay_id = ?1");
    TSqlStatement addPlayer(db, R"(INSERT INTO players(replay_id, slot, name, name_key, race, team, color, actions,
        apm, result, observer, computer) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12))");
    TSqlStatement clearText(db, "DELETE FROM replay_text WHERE rowid = ?1");
    TSqlStatement addText(db, "INSERT INTO replay_text(rowid, game_name, map_name, players) VALUES(?1, ?2, ?3, ?4)");
    for (const TLibraryEntry& e : entries) {
        upsert.Bind(1, e.Path).Bind(2, e.Size).Bind(3, e.Modified).Bind(4, e.Hash);
        if (e.Error.empty())
            upsert.BindNull(5);
        else
            upsert.Bind(5, e.Error);
        upsert.Bind(6, e.Version).Bind(7, int64_t{e.Build}).Bind(8, e.Length).Bind(9, e.GameName);
        upsert.Bind(10, e.MapPath).Bind(11, e.MapName).Bind(12, MapKey(e.MapName)).Bind(13, int64_t{e.GameType});
        upsert.Bind(14, e.Creator).Bind(15, int64_t{e.WinnerTeam}).Bind(16, e.MaxApm);
        if (!upsert.Step())
            throw TLibraryError(TLibraryError::TKind::Failed, "database: no row written for " + e.Path);
        const int64_t id = upsert.Int(0);
        upsert.Reset();
        clearPlayers.Bind(1, id).Run();
        std::string names;
        for (size_t slot = 0; slot < e.Players.size(); ++slot) {
            const TLibraryPlayer& p = e.Players[slot];
            addPlayer.Bind(1, id).Bind(2, static_cast<int64_t>(slot)).Bind(3, p.Name).Bind(4, AsciiLower(p.Name));
            addPlayer.Bind(5, int64_t{p.Race}).Bind(6, int64_t{p.Team}).Bind(7, int64_t{p.Color});
            addPlayer.Bind(8, int64_t{p.Actions}).Bind(9, p.Apm).Bind(10, int64_t{p.Result});
            addPlayer.Bind(11, int64_t{p.Observer}).Bind(12, int64_t{p.Computer}).Run();
            names += (names.empty() ? "" : " ") + p.Name;
        }
        clearText.Bind(1, id).Run();
        addText.Bind(1, id).Bind(2, e.GameName).Bind(3, e.MapName).Bind(4, names).Run();
    }
    t.Commit();
}

void TLibrary::Remove(const std::vector<int64_t>& ids) {
    TSqlTransaction t(Db());
    TSqlStatement row(Db(), "DELETE FROM replays WHERE id = ?1");
    TSqlStatement text(Db(), "DELETE FROM replay_text WHERE rowid = ?1");
    for (const int64_t id : ids) {
        row.Bind(1, id).Run();
        text.Bind(1, id).Run();
    }
    t.Commit();
}

void TLibrary::UpdatePath(int64_t id, const std::string& path) {
    TSqlStatement s(Db(), "UPDATE replays SET path = ?2 WHERE id = ?1");
    s.Bind(1, id).Bind(2, path).Run();
}

int64_t TLibrary::Count() {
    TSqlStatement s(Db(), "SELECT count(*) FROM replays");
    return s.Step() ? s.Int(0) : 0;
}

} // namespace quillon
