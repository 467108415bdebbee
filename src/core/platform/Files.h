#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

enum class TFileKind { Missing, File, Folder, Other }; // Other: a device, a FIFO, a socket

/// What the file system says of a path (links followed).
struct TFileStatus {
    TFileKind Kind = TFileKind::Missing;
    uint64_t Size = 0;
    int64_t Modified = 0; // seconds since 1970
};

TFileStatus FileStatus(const std::string& path);

/// A file opened for reading by its UTF-8 path. Opening never blocks: a FIFO or device is opened and then
/// reported as Other, so callers refuse it before reading anything.
class TReadOnlyFile {
public:
    explicit TReadOnlyFile(const std::string& path);
    ~TReadOnlyFile();
    TReadOnlyFile(const TReadOnlyFile&) = delete;
    TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;

    bool IsOpen() const { return Handle != -1; }
    /// Why it could not be opened: the system's text; Missing() when there is no such file.
    const std::string& Failure() const { return Reason; }
    bool Missing() const { return NotThere; }
    TFileKind Kind() const { return FileKind; }
    uint64_t Size() const { return FileSize; }
    /// Up to n bytes at offset; fewer only where the file ends, and -1 on a read error.
    int64_t ReadAt(uint64_t offset, void* out, size_t n);

private:
    intptr_t Handle = -1; // the descriptor, or the Windows handle
    bool NotThere = false;
    std::string Reason;
    TFileKind FileKind = TFileKind::Missing;
    uint64_t FileSize = 0;
};

/// Whether the file system marks the entry hidden or a system file (Windows' attributes; names starting with "."
/// are the caller's to judge).
bool MarkedHidden(const std::string& path);

enum class TRenameResult { Renamed, TargetExists, Failed };

/// Renames without ever replacing: TargetExists when "to" exists, even when another program creates it at the
/// same moment. On Failed, reason holds the system's text.
TRenameResult RenameNoReplace(const std::string& from, const std::string& to, std::string* reason = nullptr);

/// An advisory lock on a file of its own, held while the object lives; another process (or another object)
/// cannot take it meanwhile. A killed holder loses it.
class TFileLock {
public:
    /// Creates the lock file when needed; IsHeld() tells whether the lock was taken.
    explicit TFileLock(const std::string& path);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;
    bool IsHeld() const { return Handle != -1; }

private:
    intptr_t Handle = -1;
};

/// The system's text for the last failed call of this thread.
std::string LastSystemError();

} // namespace quillon
