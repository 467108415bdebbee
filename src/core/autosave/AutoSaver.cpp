#include "core/autosave/AutoSaver.h"

#include "core/lang/StringIds.h"
#include "core/library/Library.h"
#include "core/library/LibraryScan.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/System.h"
#include "core/present/GameText.h"
#include "core/rename/Template.h"
#include "core/rename/Tokens.h"
#include "core/replay/LoadReplay.h"
#include "core/replay/ReplayError.h"
#include "core/text/AsciiCase.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t MaxReplayBytes = 256ull << 20;
constexpr std::string_view TempPrefix = ".quillon-";
constexpr std::string_view TempSuffix = ".part";

bool IsReplayName(const std::string& name) {
    const std::string lower = AsciiLower(name);
    // The game records a running game into TempReplay.w3g: never a finished one.
    return lower.size() > 4 && lower.ends_with(".w3g") && lower != "tempreplay.w3g";
}

int64_t ModifiedMs(const fs::directory_entry& entry, std::error_code& ec) {
    const auto time = entry.last_write_time(ec);
    if (ec)
        return 0;
    const auto sys = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::milliseconds>(sys.time_since_epoch()).count();
}

// The finished-looking replays of one folder, not below it; a folder that is not there (yet) has none.
void ListFolder(const std::string& folder, std::vector<TSeenFile>& out) {
    std::error_code ec;
    for (fs::directory_iterator it(PathOf(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        if (!it->is_regular_file(fileError) || !IsReplayName(Utf8Of(it->path().filename())))
            continue; // folders, FIFOs and devices named .w3g are no replays
        const uint64_t size = it->file_size(fileError);
        const int64_t modified = ModifiedMs(*it, fileError);
        if (!fileError)
            out.push_back({Utf8Of(it->path()), size, modified});
    }
}

bool ReadWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    TReadOnlyFile file(path);
    if (!file.IsOpen() || file.Kind() != TFileKind::File || file.Size() > MaxReplayBytes)
        return false;
    bytes.resize(static_cast<size_t>(file.Size()));
    return file.ReadAt(0, bytes.data(), bytes.size()) == static_cast<int64_t>(bytes.size());
}

// A name of the rule's making for a file the rule cannot name (not two teams): its own name and its time, so
// no game is left behind for want of a name.
std::string FallbackName(const std::string& source, int64_t modifiedMs) {
    const std::tm t = LocalTime(static_cast<std::time_t>(modifiedMs / 1000));
    std::string stem = Utf8Of(PathOf(source).stem());
    for (char& c : stem)
        if (IsBadNameChar(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    return stem + "-" + std::to_string(t.tm_year + 1900) + TwoDigits(t.tm_mon + 1) + TwoDigits(t.tm_mday) + "-" +
           TwoDigits(t.tm_hour) + TwoDigits(t.tm_min) + TwoDigits(t.tm_sec);
}

std::string Said(AppString id, TLanguage language, std::initializer_list<std::string_view> args) {
    return FormatText(GetString(id, language), args);
}

} // namespace

std::string ReplayContentKey(const std::vector<uint8_t>& bytes) {
    uint64_t h = 0xcbf29ce484222325ull; // FNV-1a over every byte, with the size beside it
    for (const uint8_t c : bytes) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%016llx-%llu", static_cast<unsigned long long>(h),
                  static_cast<unsigned long long>(bytes.size()));
    return text;
}

std::string SaveEventText(const TSaveEvent& e, TLanguage language) {
    switch (e.Kind) {
    case TSaveEvent::TKind::Kept:
        return Said(AppString::SavedAs, language, {e.Source, e.Kept});
    case TSaveEvent::TKind::AlreadyKept:
        return Said(AppString::AlreadyKept, language, {e.Source, e.Kept});
    case TSaveEvent::TKind::Unfinished:
        return Said(AppString::NotFinished, language, {e.Source, e.Reason});
    case TSaveEvent::TKind::Failed:
        break;
    }
    return Said(AppString::NotKept, language, {e.Source, e.Reason});
}

TAutoSaver::TAutoSaver(TAutoSaveOptions options) : O(std::move(options)), Tracker(O.SettleMs) {}

void TAutoSaver::IndexCollection() {
    Indexed = true;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(PathOf(O.Collection), fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        if (!it->is_regular_file(fileError))
            continue;
        const std::string name = Utf8Of(it->path().filename());
        if (name.starts_with(TempPrefix) && name.find(TempSuffix) != std::string::npos) {
            fs::remove(it->path(), fileError); // the copy in hand when the last run was killed
            continue;
        }
        if (AsciiLower(name).ends_with(".w3g"))
            CollectionBySize.emplace(it->file_size(fileError), Utf8Of(it->path()));
    }
}

// A file of the collection with this content, or the empty text. Only files of the same size are read.
std::string TAutoSaver::KeptCopyOf(uint64_t size, const std::string& key) {
    const auto [from, to] = CollectionBySize.equal_range(size);
    for (auto it = from; it != to; ++it) {
        auto known = KeyOfPath.find(it->second);
        if (known == KeyOfPath.end()) {
            std::vector<uint8_t> bytes;
            if (!ReadWhole(it->second, bytes))
                continue;
            known = KeyOfPath.emplace(it->second, ReplayContentKey(bytes)).first;
        }
        if (known->second == key)
            return it->second;
    }
    return {};
}

// A file the library knows with this content (the library's hash only narrows the search; the bytes decide).
std::string TAutoSaver::LibraryCopyOf(const std::vector<uint8_t>& bytes, const std::string& key) const {
    if (O.LibraryPath.empty() || !fs::exists(PathOf(O.LibraryPath)))
        return {};
    try {
        TLibrary library(O.LibraryPath, TLibrary::TAccess::Read);
        for (const std::string& path : library.PathsWithHash(LibraryHash(bytes), static_cast<int64_t>(bytes.size()))) {
            std::vector<uint8_t> other;
            if (ReadWhole(path, other) && ReplayContentKey(other) == key)
                return path;
        }
    } catch (const std::exception&) { // a library that cannot be read: the collection alone decides
    }
    return {};
}

// The kept replay in the library. A library busy for long (a scan of a big collection) is left to its next scan.
void TAutoSaver::AddToLibrary(const std::string& path) const {
    if (O.LibraryPath.empty())
        return;
    try {
        TLibrary library(O.LibraryPath);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        if (!library.LockForWriting([deadline] { return std::chrono::steady_clock::now() > deadline; }))
            return;
        const fs::path p = PathOf(path);
        const std::string key = Utf8Of(PathOf(LibraryFolderKey(Utf8Of(p.parent_path()))) / p.filename());
        const TFileStatus st = FileStatus(path);
        library.Store({IndexReplayFile(key, static_cast<int64_t>(st.Size), st.Modified)});
    } catch (const std::exception&) { // the replay is kept; the library's next scan finds it
    }
}

std::vector<TSaveEvent> TAutoSaver::Poll(const std::vector<std::string>& folders, int64_t nowMs,
                                         const TStopFlag& stop) {
    if (!Indexed)
        IndexCollection();
    for (auto it = RetryAt.begin(); it != RetryAt.end();) {
        if (it->second > nowMs) {
            ++it;
            continue;
        }
        Tracker.Retry(it->first);
        it = RetryAt.erase(it);
    }
    std::vector<TSeenFile> listing;
    for (const std::string& folder : folders)
        ListFolder(folder, listing);
    std::vector<TSaveEvent> events;
    for (const TSeenFile& file : Tracker.Settled(listing, nowMs)) {
        if (stop.Requested()) {
            Tracker.Retry(file.Path); // the next start looks at it again
            continue;
        }
        TSaveEvent event = Keep(file);
        if (event.Kind == TSaveEvent::TKind::Failed) {
            RetryAt[file.Path] = nowMs + O.RetryMs;
            std::string& last = LastFailure[file.Path];
            if (last == event.Reason)
                continue; // said already: tried again quietly
            last = event.Reason;
        } else {
            LastFailure.erase(file.Path);
        }
        events.push_back(std::move(event));
    }
    return events;
}

TSaveEvent TAutoSaver::Keep(const TSeenFile& file) {
    TSaveEvent e;
    e.Source = file.Path;
    std::vector<uint8_t> bytes;
    if (!ReadWhole(file.Path, bytes)) {
        e.Kind = TSaveEvent::TKind::Unfinished;
        e.Reason = GetString(AppString::StreamReadError, O.Language);
        return e;
    }
    // Finished means whole: the header, every block, and the record walk reaching its end.
    TLoadResult loaded = LoadReplayFromBuffer(bytes, file.Path, 1);
    if (!loaded.Ok() || loaded.Replay->WalkEnd.Reason != TWalkEnd::TReason::End) {
        e.Kind = TSaveEvent::TKind::Unfinished;
        e.Reason = loaded.Ok() ? GetString(AppString::WalkEndsEarly, O.Language) : LoadErrorText(loaded, O.Language);
        return e;
    }
    const std::string key = ReplayContentKey(bytes);
    std::string copy = KeptCopyOf(bytes.size(), key);
    if (copy.empty())
        copy = LibraryCopyOf(bytes, key);
    if (!copy.empty()) {
        e.Kind = TSaveEvent::TKind::AlreadyKept;
        e.Kept = std::move(copy);
        return e;
    }

    std::string name, folder;
    try {
        name = MakeReplayName(O.Rule.PlayerTemplate, O.Rule.Conjunction, O.Rule.GlobalTemplate, *loaded.Replay);
        if (!O.FolderTemplate.empty()) {
            const std::tm t = LocalTime(static_cast<std::time_t>(file.ModifiedMs / 1000));
            std::string tmpl = ReplaceAll(O.FolderTemplate, "<year>", std::to_string(t.tm_year + 1900));
            tmpl = ReplaceAll(std::move(tmpl), "<month>", TwoDigits(t.tm_mon + 1));
            folder = MakeReplayName(O.Rule.PlayerTemplate, O.Rule.Conjunction, tmpl, *loaded.Replay);
        }
    } catch (const TReplayError& error) { // "<date>" of a file that went meanwhile
        e.Reason = error.what();
        return e;
    }
    if (name.empty())
        name = FallbackName(file.Path, file.ModifiedMs);
    const fs::path dir = folder.empty() ? PathOf(O.Collection) : PathOf(O.Collection) / PathOf(folder);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        e.Reason = Said(AppString::CannotMakeFolder, O.Language, {ec.message()});
        return e;
    }
    // The copy is whole before it has a replay's name; the name is taken without ever replacing a file.
    const std::string temp =
        Utf8Of(dir / (std::string(TempPrefix) + std::to_string(std::random_device{}()) + std::string(TempSuffix)));
    if (!WriteFileAtomically(temp, std::string(bytes.begin(), bytes.end()))) {
        e.Reason = GetString(AppString::CannotWriteCopy, O.Language);
        return e;
    }
    for (int n = 1;; ++n) {
        const std::string target = Utf8Of((dir / PathOf(FitReplayName(name, n) + ".w3g")).make_preferred());
        std::string reason;
        switch (RenameNoReplace(temp, target, &reason)) {
        case TRenameResult::Renamed:
            e.Kind = TSaveEvent::TKind::Kept;
            e.Kept = target;
            CollectionBySize.emplace(bytes.size(), target);
            KeyOfPath[target] = key;
            AddToLibrary(target);
            return e;
        case TRenameResult::TargetExists:
            continue;
        case TRenameResult::Failed:
            fs::remove(PathOf(temp), ec);
            e.Reason = reason;
            return e;
        }
    }
}

} // namespace quillon
