#include "core/library/LibraryScan.h"

#include "core/rename/Rename.h"

#include <sys/stat.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace quillon {

namespace {

namespace fs = std::filesystem;

struct TFileToRead {
    std::string Path;
    int64_t Size = 0;
    int64_t Modified = 0;
};

bool Below(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

// Reads files on a pool of threads; the caller takes finished entries in batches and writes them.
class TReaderPool {
public:
    TReaderPool(const std::vector<TFileToRead>& files, int threads, const std::atomic<bool>* stop)
        : Files(files), Stop(stop) {
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

    /// Up to max finished entries; waits for at least one. Empty when every worker has ended.
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

private:
    void Work() {
        while (!Abandon && !(Stop && Stop->load())) {
            const size_t i = Next++;
            if (i >= Files.size())
                break;
            TLibraryEntry entry = IndexReplayFile(Files[i].Path, Files[i].Size, Files[i].Modified);
            std::unique_lock lock(Mutex);
            // Keep memory bounded when writing falls behind.
            Room.wait(lock, [this] { return Done.size() < 4096 || Abandon; });
            Done.push_back(std::move(entry));
            Ready.notify_one();
        }
        std::lock_guard lock(Mutex);
        --Running;
        Ready.notify_all();
    }

    const std::vector<TFileToRead>& Files;
    const std::atomic<bool>* Stop;
    std::atomic<size_t> Next{0};
    std::atomic<bool> Abandon{false};
    std::mutex Mutex;
    std::condition_variable Ready, Room;
    std::vector<TLibraryEntry> Done;
    int Running = 0;
    std::vector<std::thread> Workers;
};

} // namespace

std::string LibraryFolderKey(const std::string& folder) {
    std::error_code ec;
    std::string key = fs::absolute(fs::path(folder), ec).lexically_normal().string();
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    return key;
}

TScanResult ScanFolders(TLibrary& library, const std::vector<std::string>& folders, const TScanOptions& options) {
    TScanResult result;
    const auto stopped = [&options] { return options.Stop && options.Stop->load(); };
    TRenameFileSystem files;
    std::vector<TFileToRead> toRead;
    std::vector<int64_t> gone;
    for (const std::string& given : folders) {
        const std::string folder = LibraryFolderKey(given);
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) {
            // A folder that is not there (an unplugged disk) keeps its rows.
            result.Problems.push_back(folder + ": not a folder");
            continue;
        }
        auto stamps = library.StampsBelow(folder);
        std::vector<std::string> unlisted;
        for (const TBatchItem& item : ListBatch(folder, files, stopped)) {
            if (!item.ListError.empty()) {
                unlisted.push_back(item.Path);
                result.Problems.push_back(item.Path + ": " + item.ListError);
                continue;
            }
            struct stat st {};
            if (::stat(item.Path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
                continue; // special files are no replays
            ++result.Files;
            const auto known = stamps.find(item.Path);
            if (known != stamps.end()) {
                const bool same = known->second.Size == st.st_size && known->second.Modified == st.st_mtime;
                stamps.erase(known);
                if (same) {
                    ++result.Unchanged;
                    continue;
                }
            }
            toRead.push_back({item.Path, static_cast<int64_t>(st.st_size), static_cast<int64_t>(st.st_mtime)});
        }
        if (stopped()) {
            result.Stopped = true;
            return result; // a listing cut short cannot tell what is gone
        }
        for (const auto& [path, stamp] : stamps)
            if (std::none_of(unlisted.begin(), unlisted.end(), [&](const std::string& u) { return Below(path, u); }))
                gone.push_back(stamp.Id);
    }
    library.Remove(gone);
    result.Removed = gone.size();

    const int threads = options.Threads > 0 ? options.Threads : static_cast<int>(std::thread::hardware_concurrency());
    if (!toRead.empty()) {
        TReaderPool pool(toRead, threads, options.Stop);
        while (true) {
            std::vector<TLibraryEntry> batch = pool.Take(std::max<size_t>(1, options.BatchSize));
            if (batch.empty())
                break;
            library.Store(batch);
            result.Indexed += batch.size();
            result.Unreadable += static_cast<size_t>(
                std::count_if(batch.begin(), batch.end(), [](const TLibraryEntry& e) { return !e.Error.empty(); }));
            if (options.OnProgress)
                options.OnProgress(result.Indexed, toRead.size());
        }
    }
    result.Stopped = stopped() && result.Indexed < toRead.size();
    return result;
}

} // namespace quillon
