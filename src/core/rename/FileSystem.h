#pragma once

#include "core/platform/Files.h"

#include <set>
#include <string>
#include <vector>

namespace quillon {

/// What renaming needs of the file system; tests and dry runs put their own in its place.
class TRenameFileSystem {
public:
    struct TEntry {
        std::string Name;
        bool Folder = false; // a real folder, not a link to one
        bool File = false;   // anything that is not a folder, links to files included
        bool Hidden = false; // a name starting with "."; on Windows also a hidden or system file
    };
    virtual ~TRenameFileSystem() = default;
    /// True only for files (folders are not files).
    virtual bool FileExists(const std::string& path) const;
    virtual bool FolderExists(const std::string& path) const;
    /// Entries of a folder in byte order of their names, without "." and ".."; folders reached through a
    /// symbolic link are reported as no folder, so a walk cannot loop. A folder that cannot be listed sets error
    /// to the system's reason.
    virtual std::vector<TEntry> List(const std::string& folder, std::string& error) const;
    virtual TRenameResult Rename(const std::string& from, const std::string& to);
    /// The system's reason for the last Rename that answered Failed.
    const std::string& LastFailure() const { return Failure; }

protected:
    std::string Failure;
};

/// Answers as if renames had happened, and changes nothing: a dry run gives the outcomes of a real one.
class TDryRunFileSystem : public TRenameFileSystem {
public:
    bool FileExists(const std::string& path) const override;
    std::vector<TEntry> List(const std::string& folder, std::string& error) const override;
    TRenameResult Rename(const std::string& from, const std::string& to) override;

private:
    std::set<std::string> Added;
    std::set<std::string> Removed;
};

} // namespace quillon
