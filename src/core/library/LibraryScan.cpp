#include "core/library/LibraryScan.h"

#include "core/library/PlayerFacts.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/present/GameText.h"
#include "core/present/ListRows.h"
#include "core/rename/Rename.h"
#include "core/replay/LoadReplay.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <unordered_set>

namespace quillon {

namespace {

namespace fs = std::filesystem;

constexpr size_t HashedBytes = 64 * 1024;
constexpr uint64_t WholeReadLimit = 16 << 20;

// The map's file name without folders and extension: "(4)TwistedMeadows".
std::string MapName(const std::string& mapPath) {
    const size_t slash = mapPath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? mapPath : mapPath.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string HashText(std::span<const uint8_t> bytes) {
    uint64_t h = 0xcbf29ce484222325ull; // FNV-1a: enough to tell changed content, nothing secret
    for (const uint8_t c : bytes.first(std::min(bytes.size(), HashedBytes))) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// A replay file read whole in one go, when it is a regular file small enough for that (nearly all are); the
// hash and the parse then share one open and one read.
std::optional<std::vector<uint8_t>> ReadSmallFile(TReadOnlyFile& file) {
    if (file.Kind() != TFileKind::File || file.Size() > WholeReadLimit)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
    const int64_t got = file.ReadAt(0, bytes.data(), bytes.size());
    bytes.resize(static_cast<size_t>(std::max<int64_t>(got, 0))); // a file that shrank meanwhile is read as it now is
    return bytes;
}

std::string HashOfStart(TReadOnlyFile& file) {
    std::vector<uint8_t> head(HashedBytes);
    const int64_t got = file.IsOpen() ? file.ReadAt(0, head.data(), head.size()) : 0;
    head.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
    return HashText(head);
}

// A listed file and what the library knows of it (nullptr: nothing).
struct TListedFile {
    std::string Path;
    const TLibrary::TStamp* Known = nullptr;
};

// Looks at the listed files on a pool of threads: unchanged ones are only counted, new and changed ones read.
// The caller takes the entries read in batches and writes them.
class TReaderPool {
public:
    TReaderPool(const std::vector<TListedFile>& files, int threads, size_t room, TStopFlag stop, bool facts)
        : Files(files), Stop(std::move(stop)), RoomFor(room), Facts(facts) {
        const int n = std::max(1, std::min<int>(threads, static_cast<int>(files.size())));
        Running = n; // before any worker can end
        for (int i = 0; i < n; ++i)
            Workers.emplace_back([this] { Work(); });
    }
    ~TReaderPool() {
        Abandon = true;
        Room.notify_all();
        for (auto& w : Workers)
            w.join();
    }

    /// Up to max entries read; waits for max of them or the end. Empty when every worker has ended.
    std::vector<TLibraryEntry> Take(size_t max) {
        std::unique_lock lock(Mutex);
        Ready.wait(lock, [this, max] { return Done.size() >= max || Running == 0; });
        const size_t n = std::min(max, Done.size());
        std::vector<TLibraryEntry> out(std::make_move_iterator(Done.begin()),
                                       std::make_move_iterator(Done.begin() + static_cast<ptrdiff_t>(n)));
        Done.erase(Done.begin(), Done.begin() + static_cast<ptrdiff_t>(n));
        Room.notify_all();
        return out;
    }

    std::atomic<size_t> Checked{0};   // files looked at
    std::atomic<size_t> Regular{0};   // of those, regular files
    std::atomic<size_t> Unchanged{0}; // of those, the same as in the library

private:
    void Work() {
        while (!Abandon && !Stop.Requested()) {
            const size_t i = Next++;
            if (i >= Files.size())
                break;
            const TListedFile& file = Files[i];
            const TFileStatus st = FileStatus(file.Path);
            const auto size = static_cast<int64_t>(st.Size);
            const bool regular = st.Kind == TFileKind::File;
            if (!regular || (file.Known && file.Known->Size == size && file.Known->Modified == st.Modified)) {
                Regular += regular;
                Unchanged += regular;
                ++Checked;
                continue; // special files are no replays; unchanged ones are not opened
            }
            ++Regular;
            TLibraryEntry entry = IndexReplayFile(file.Path, size, st.Modified, Facts);
            std::unique_lock lock(Mutex);
            // Keep memory bounded when writing falls behind.
            Room.wait(lock, [this] { return Done.size() < RoomFor || Abandon; });
            Done.push_back(std::move(entry));
            ++Checked;
            Ready.notify_one();
        }
        std::lock_guard lock(Mutex);
        --Running;
        Ready.notify_all();
    }

    const std::vector<TListedFile>& Files;
    const TStopFlag Stop;
    const size_t RoomFor; // entries waiting to be written, at most
    const bool Facts;
    std::atomic<size_t> Next{0};
    std::atomic<bool> Abandon{false};
    std::mutex Mutex;
    std::condition_variable Ready, Room;
    std::vector<TLibraryEntry> Done;
    int Running = 0;
    std::vector<std::thread> Workers;
};

bool IsLink(const std::string& path) {
    std::error_code ec;
    return fs::is_symlink(PathOf(path), ec);
}

} // namespace

std::string LibraryHash(std::span<const uint8_t> bytes) {
    return HashText(bytes);
}

TLibraryEntry IndexReplayFile(const std::string& path, int64_t size, int64_t modified, bool facts) {
    TLibraryEntry e;
    e.Path = path;
    e.Size = size;
    e.Modified = modified;
    e.FactsRead = facts;
    const uint8_t detail = facts ? 2 : 1;
    TLoadResult loaded;
    TReadOnlyFile file(path);
    if (auto bytes = ReadSmallFile(file)) {
        e.Hash = HashText(*bytes);
        loaded = LoadReplayFromBuffer(std::move(*bytes), path, detail, TActionDetail::ForSummary);
    } else {
        e.Hash = HashOfStart(file);
        loaded = LoadReplay(path, detail, TActionDetail::ForSummary);
    }
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
    const TReplaySummary summary = facts ? SummarizeReplay(r, SharedTables(TLanguage::English)) : TReplaySummary{};
    for (int i = 0; r.Players && i < r.Players->Count(); ++i) {
        const TPlayerInfo& p = r.Players->At(i);
        if (p.SlotStatus != 2)
            continue;
        TLibraryPlayer lp;
        lp.Name = p.Computer ? PlayerShownName(r, p) : p.Name;
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
        for (const TPlayerSummary& s : summary.Players)
            if (s.Id == p.Id && !p.Observer)
                lp.Facts = FactsOf(s);
        e.Players.push_back(std::move(lp));
    }
    return e;
}

std::vector<std::pair<std::string, std::string>> RecheckEntries(TLibrary& library,
                                                                const std::vector<TLibraryEntry>& rows) {
    std::vector<std::pair<std::string, std::string>> removed;
    std::vector<int64_t> gone;
    std::vector<TLibraryEntry> changed;
    for (const TLibraryEntry& row : rows) {
        const TFileStatus st = FileStatus(row.Path);
        if (st.Kind == TFileKind::Missing || IsLink(row.Path) || st.Kind != TFileKind::File) {
            gone.push_back(row.Id);
            removed.emplace_back(row.Path, st.Kind == TFileKind::Missing ? "File not found" : "Not a regular file");
        } else if (static_cast<int64_t>(st.Size) != row.Size || st.Modified != row.Modified) {
            changed.push_back(IndexReplayFile(row.Path, static_cast<int64_t>(st.Size), st.Modified));
        }
    }
    library.Remove(gone);
    if (!changed.empty())
        library.Store(changed);
    return removed;
}

std::string LibraryFolderKey(const std::string& folder) {
    // Links resolved: a folder reached by two paths is one folder, and its files one row each.
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(PathOf(folder), ec), ec);
    if (ec)
        resolved = fs::absolute(PathOf(folder), ec).lexically_normal();
    std::string key = Utf8Of(resolved);
    // Keep the separator of a root ("/", "C:\") only.
    const auto driveRoot = [&key] { return BackslashSeparates && key.size() == 3 && key[1] == ':'; };
    while (key.size() > 1 && IsPathSeparator(key.back()) && !driveRoot())
        key.pop_back();
    return key;
}

TScanResult ScanFolders(TLibrary& library, const std::vector<std::string>& folders, const TScanOptions& options) {
    TScanResult result;
    const auto stopped = [&options] { return options.Stop.Requested(); };
    // One writer at a time: a second scan, a rename or a reset waits for this one, and this one for them.
    if (!library.LockForWriting(stopped, options.OnWait)) {
        result.Stopped = true;
        return result;
    }
    TRenameFileSystem files;
    std::unordered_map<std::string, TLibrary::TStamp> stamps;
    std::vector<TListedFile> listed;
    std::unordered_set<std::string> seen;
    std::vector<int64_t> gone;
    size_t fresh = 0;
    for (const std::string& given : folders) {
        const std::string folder = LibraryFolderKey(given);
        std::error_code ec;
        if (!fs::is_directory(PathOf(folder), ec)) {
            // A folder that is not there (an unplugged disk) keeps its rows.
            result.Problems.push_back(folder + ": not a folder");
            continue;
        }
        auto below = library.StampsBelow(folder);
        std::vector<std::string> unlisted;
        for (TBatchItem& item : ListBatch(folder, files, options.Stop)) {
            if (!item.ListError.empty()) {
                unlisted.push_back(item.Path);
                result.Problems.push_back(item.Path + ": " + item.ListError);
            } else if (IsLink(item.Path)) {
                continue; // a link is no second file: each file has one row, under its own path
            } else if (seen.insert(item.Path).second) {
                listed.push_back({std::move(item.Path), nullptr});
            }
        }
        if (stopped()) {
            result.Stopped = true;
            return result; // a listing cut short cannot tell what is gone
        }
        for (auto& [path, stamp] : below) {
            if (seen.count(path))
                stamps.emplace(path, stamp);
            else if (std::none_of(unlisted.begin(), unlisted.end(),
                                  [&rowPath = path](const std::string& u) { return PathBelow(rowPath, u); }))
                gone.push_back(stamp.Id);
        }
    }
    for (TListedFile& file : listed) {
        const auto known = stamps.find(file.Path);
        file.Known = known == stamps.end() ? nullptr : &known->second;
        fresh += file.Known == nullptr;
    }
    library.Remove(gone);
    result.Removed = gone.size();

    const int threads = options.Threads > 0 ? options.Threads : static_cast<int>(std::thread::hardware_concurrency());
    // Many new rows (a first scan, a large new folder): indexes are made once at the end.
    const bool bulk = fresh >= 1000 && fresh * 4 >= static_cast<size_t>(library.Count());
    if (bulk)
        library.BeginBulk();
    if (!listed.empty()) {
        const size_t batch = std::max<size_t>(1, options.BatchSize);
        TReaderPool pool(listed, threads, 4 * batch, options.Stop, options.Facts);
        while (true) {
            std::vector<TLibraryEntry> entries = pool.Take(batch);
            if (entries.empty())
                break;
            library.Store(entries);
            if (options.OnStage)
                options.OnStage(TScanStage::BatchWritten);
            result.Indexed += entries.size();
            result.Unreadable += static_cast<size_t>(
                std::count_if(entries.begin(), entries.end(), [](const TLibraryEntry& e) { return !e.Error.empty(); }));
            if (options.OnProgress)
                options.OnProgress(pool.Checked, listed.size());
        }
        result.Files = pool.Regular;
        result.Unchanged = pool.Unchanged;
        result.Stopped = stopped() && pool.Checked < listed.size();
    }
    if (bulk) {
        if (options.OnStage)
            options.OnStage(TScanStage::MakingIndexes);
        library.EndBulk();
    }
    return result;
}

} // namespace quillon
