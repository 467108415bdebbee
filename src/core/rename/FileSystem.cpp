#include "core/rename/FileSystem.h"

#include "core/platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace quillon {

namespace fs = std::filesystem;

bool TRenameFileSystem::FileExists(const std::string& path) const {
    const TFileKind kind = FileStatus(path).Kind;
    return kind != TFileKind::Missing && kind != TFileKind::Folder;
}

bool TRenameFileSystem::FolderExists(const std::string& path) const {
    return FileStatus(path).Kind == TFileKind::Folder;
}

std::vector<TRenameFileSystem::TEntry> TRenameFileSystem::List(const std::string& folder, std::string& error) const {
    std::vector<TEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(PathOf(folder), ec);
    if (ec)
        error = ec.message();
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        TEntry e;
        e.Name = Utf8Of(it->path().filename());
        const bool folder = it->is_directory(ec); // follows links
        e.Folder = folder && !it->is_symlink(ec);
        e.File = !folder && it->exists(ec);
        e.Hidden = (!e.Name.empty() && e.Name.front() == '.') ||
                   (BackslashSeparates && MarkedHidden(Utf8Of(it->path()))); // Windows' attributes
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
    return entries;
}

TRenameResult TRenameFileSystem::Rename(const std::string& from, const std::string& to) {
    Failure.clear();
    return RenameNoReplace(from, to, &Failure);
}

bool TDryRunFileSystem::FileExists(const std::string& path) const {
    if (Added.count(path))
        return true;
    return !Removed.count(path) && TRenameFileSystem::FileExists(path);
}

std::vector<TRenameFileSystem::TEntry> TDryRunFileSystem::List(const std::string& folder, std::string& error) const {
    // Files renamed so far in this run appear under their new names only.
    auto entries = TRenameFileSystem::List(folder, error);
    std::erase_if(entries, [&](const TEntry& e) { return Removed.count(folder + e.Name) > 0; });
    // Paths below the folder sit together in the sorted set.
    for (auto it = Added.lower_bound(folder); it != Added.end() && it->compare(0, folder.size(), folder) == 0; ++it)
        if (it->size() > folder.size() &&
            std::none_of(it->begin() + static_cast<ptrdiff_t>(folder.size()), it->end(), IsPathSeparator))
            entries.push_back({it->substr(folder.size()), false, true, (*it)[folder.size()] == '.'});
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
    return entries;
}

TRenameResult TDryRunFileSystem::Rename(const std::string& from, const std::string& to) {
    if (FileExists(to))
        return TRenameResult::TargetExists;
    if (!FileExists(from)) {
        Failure = std::strerror(ENOENT);
        return TRenameResult::Failed;
    }
    Added.erase(from);
    Removed.insert(from);
    Removed.erase(to);
    Added.insert(to);
    return TRenameResult::Renamed;
}

} // namespace quillon
