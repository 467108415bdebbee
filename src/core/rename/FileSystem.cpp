#include "core/rename/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace fs = std::filesystem;

TRenameResult RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return TRenameResult::Renamed;
    if (errno == EEXIST)
        return TRenameResult::TargetExists;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return TRenameResult::Failed;
    // The file system cannot rename without replacing: a hard link is created only where no file stands.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno == EEXIST ? TRenameResult::TargetExists : TRenameResult::Failed;
    if (::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str()); // keep the old name rather than two names
        return TRenameResult::Failed;
    }
    return TRenameResult::Renamed;
}

bool TRenameFileSystem::FileExists(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool TRenameFileSystem::FolderExists(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<TRenameFileSystem::TEntry> TRenameFileSystem::List(const std::string& folder, std::string& error) const {
    std::vector<TEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        error = ec.message();
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        TEntry e;
        e.Name = it->path().filename().string();
        const bool folder = it->is_directory(ec); // follows links
        e.Folder = folder && !it->is_symlink(ec);
        e.File = !folder && it->exists(ec);
        e.Hidden = !e.Name.empty() && e.Name.front() == '.';
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
    return entries;
}

TRenameResult TRenameFileSystem::Rename(const std::string& from, const std::string& to) {
    const TRenameResult result = RenameNoReplace(from, to);
    Failure = result == TRenameResult::Failed ? std::strerror(errno) : "";
    return result;
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
        if (it->size() > folder.size() && it->find('/', folder.size()) == std::string::npos)
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
