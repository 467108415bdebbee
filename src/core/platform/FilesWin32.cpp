#include "core/platform/AtomicFile.h"
#include "core/platform/Files.h"
#include "core/platform/Win32Text.h"

#include <windows.h>

#include <algorithm>

namespace quillon {

namespace {

// 100 ns steps from 1601 to 1970.
constexpr int64_t UnixEpochInFileTime = 116444736000000000LL;

int64_t UnixSeconds(const FILETIME& t) {
    const int64_t ticks = (static_cast<int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return (ticks - UnixEpochInFileTime) / 10000000;
}

uint64_t SizeOf(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

bool IsMissingError(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME;
}

} // namespace

TFileStatus FileStatus(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool known = GetFileAttributesExW(WideOf(path).c_str(), GetFileExInfoStandard, &data);
    const int64_t modified = known ? UnixSeconds(data.ftLastWriteTime) : 0;
    if (known && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {TFileKind::Folder, 0, modified};
    if (known && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return {TFileKind::File, SizeOf(data.nFileSizeHigh, data.nFileSizeLow), modified};
    // A link, or a device such as NUL (no attributes, yet it opens): the opened file tells what it is.
    TReadOnlyFile file(path);
    return {file.IsOpen() ? file.Kind() : TFileKind::Missing, file.Size(), modified};
}

bool MarkedHidden(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideOf(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

TReadOnlyFile::TReadOnlyFile(const std::string& path) {
    // Others may read, write, rename and delete meanwhile, as they may on Linux; folders open too, to be told apart.
    const HANDLE h =
        CreateFileW(WideOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        NotThere = IsMissingError(code);
        Reason = Win32ErrorText(code);
        return;
    }
    Handle = reinterpret_cast<intptr_t>(h);
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info))
        FileKind = TFileKind::Other;
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        FileKind = TFileKind::Folder;
    else {
        FileKind = TFileKind::File;
        FileSize = SizeOf(info.nFileSizeHigh, info.nFileSizeLow);
    }
}

TReadOnlyFile::~TReadOnlyFile() {
    if (IsOpen())
        CloseHandle(reinterpret_cast<HANDLE>(Handle));
}

int64_t TReadOnlyFile::ReadAt(uint64_t offset, void* out, size_t n) {
    size_t done = 0;
    while (done < n) {
        OVERLAPPED at{};
        const uint64_t where = offset + done;
        at.Offset = static_cast<DWORD>(where);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(Handle), static_cast<char*>(out) + done, want, &got, &at))
            return GetLastError() == ERROR_HANDLE_EOF ? static_cast<int64_t>(done) : -1;
        if (got == 0)
            break;
        done += got;
    }
    return static_cast<int64_t>(done);
}

TRenameResult RenameNoReplace(const std::string& from, const std::string& to, std::string* reason) {
    // Without MOVEFILE_REPLACE_EXISTING the system refuses an existing target in the same step as the rename.
    if (MoveFileExW(WideOf(from).c_str(), WideOf(to).c_str(), 0))
        return TRenameResult::Renamed;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
        return TRenameResult::TargetExists;
    if (reason)
        *reason = Win32ErrorText(code);
    return TRenameResult::Failed;
}

TFileLock::TFileLock(const std::string& path) {
    const HANDLE h = CreateFileW(WideOf(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    OVERLAPPED whole{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) {
        CloseHandle(h);
        return;
    }
    Handle = reinterpret_cast<intptr_t>(h);
}

TFileLock::~TFileLock() {
    if (Handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(Handle)); // closing releases the lock
}

std::string LastSystemError() {
    return Win32ErrorText(GetLastError());
}

bool WriteFileAtomically(const std::string& path, const std::string& text) {
    const std::wstring target = WideOf(path);
    const std::wstring temp = target + L".tmp-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE h =
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = h != INVALID_HANDLE_VALUE;
    size_t done = 0;
    while (ok && done < text.size()) {
        DWORD n = 0;
        ok = WriteFile(h, text.data() + done, static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 30)), &n,
                       nullptr) &&
             n > 0;
        done += n;
    }
    ok = ok && FlushFileBuffers(h);
    if (h != INVALID_HANDLE_VALUE)
        ok = CloseHandle(h) && ok;
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileW(temp.c_str());
    return ok;
}

} // namespace quillon
