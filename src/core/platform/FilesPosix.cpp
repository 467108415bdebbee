#include "core/platform/AtomicFile.h"
#include "core/platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

TFileKind KindOf(const struct stat& st) {
    return S_ISREG(st.st_mode) ? TFileKind::File : S_ISDIR(st.st_mode) ? TFileKind::Folder : TFileKind::Other;
}

} // namespace

TFileStatus FileStatus(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {KindOf(st), static_cast<uint64_t>(st.st_size), static_cast<int64_t>(st.st_mtime)};
}

bool MarkedHidden(const std::string&) {
    return false; // only the name tells here
}

TReadOnlyFile::TReadOnlyFile(const std::string& path) {
    // Non-blocking, so a FIFO without a writer cannot hold us.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        NotThere = errno == ENOENT;
        Reason = std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return;
    }
    Handle = fd;
    FileKind = KindOf(st);
    FileSize = FileKind == TFileKind::File ? static_cast<uint64_t>(st.st_size) : 0;
}

TReadOnlyFile::~TReadOnlyFile() {
    if (IsOpen())
        ::close(static_cast<int>(Handle));
}

int64_t TReadOnlyFile::ReadAt(uint64_t offset, void* out, size_t n) {
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(static_cast<int>(Handle), static_cast<char*>(out) + done, n - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break; // the end, or a file that shrank since it was opened
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

TRenameResult RenameNoReplace(const std::string& from, const std::string& to, std::string* reason) {
    const auto failed = [reason] {
        if (reason)
            *reason = std::strerror(errno);
        return TRenameResult::Failed;
    };
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return TRenameResult::Renamed;
    if (errno == EEXIST)
        return TRenameResult::TargetExists;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return failed();
    // The file system cannot rename without replacing: a hard link is created only where no file stands.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno == EEXIST ? TRenameResult::TargetExists : failed();
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str()); // keep the old name rather than two names
        errno = error;
        return failed();
    }
    return TRenameResult::Renamed;
}

TFileLock::TFileLock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    Handle = fd;
}

TFileLock::~TFileLock() {
    if (Handle != -1)
        ::close(static_cast<int>(Handle)); // closing releases the lock
}

std::string LastSystemError() {
    return std::strerror(errno);
}

bool WriteFileAtomically(const std::string& path, const std::string& text) {
    const std::string temp = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? static_cast<size_t>(n) : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

} // namespace quillon
