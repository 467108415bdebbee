#include "core/replay/internal/ReplaySource.h"

#include "core/replay/ReplayError.h"
#include "core/replay/ReplayInfo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

// Big enough that a whole replay of ordinary size takes a handful of reads.
constexpr size_t WindowSize = 256 * 1024;

[[noreturn]] void ThrowCannotOpen(const std::string& path, const char* reason) {
    throw TReplayError("Cannot open file \"" + path + "\". " + reason, TReplayError::TKind::Open);
}

} // namespace

std::unique_ptr<TReplaySource> TReplaySource::OpenFile(const std::string& path) {
    std::unique_ptr<TReplaySource> source(new TReplaySource());
    source->Path = path;
    // Non-blocking, so a FIFO without a writer cannot hold us; then only a regular file is read.
    source->Fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (source->Fd < 0)
        ThrowCannotOpen(path, std::strerror(errno));
    struct stat st {};
    if (::fstat(source->Fd, &st) != 0)
        ThrowCannotOpen(path, std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        ThrowCannotOpen(path, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        ThrowCannotOpen(path, "Not a regular file");
    source->Total = static_cast<uint64_t>(st.st_size);
    source->FindWrappedReplay();
    return source;
}

std::unique_ptr<TReplaySource> TReplaySource::FromBuffer(std::vector<uint8_t> bytes) {
    std::unique_ptr<TReplaySource> source(new TReplaySource());
    source->Total = bytes.size();
    source->Buffer = std::move(bytes);
    source->InMemory = true;
    source->FindWrappedReplay();
    return source;
}

TReplaySource::~TReplaySource() {
    if (Fd >= 0)
        ::close(Fd);
}

void TReplaySource::FindWrappedReplay() {
    const std::vector<uint8_t> head = ReadUpTo(0, 16);
    Base = ReplayStart(head, Total);
}

void TReplaySource::Fill(uint64_t offset, size_t n) {
    // offset and n are absolute and already checked against the file's size.
    const size_t want = std::max(n, WindowSize);
    const size_t size = static_cast<size_t>(std::min<uint64_t>(want, Total - offset));
    Buffer.resize(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(Fd, Buffer.data() + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // the file shrank since it was opened
        done += static_cast<size_t>(got);
    }
    Buffer.resize(done);
    WindowStart = offset;
}

void TReplaySource::ReadExact(uint64_t offset, uint8_t* out, size_t n) {
    const uint64_t at = Base + offset;
    if (offset > Size() || n > Size() - offset)
        ThrowStreamReadError();
    if (n == 0)
        return;
    if (!InMemory && (at < WindowStart || at + n > WindowStart + Buffer.size()))
        Fill(at, n);
    if (at < WindowStart || at + n > WindowStart + Buffer.size())
        ThrowStreamReadError();
    std::memcpy(out, Buffer.data() + (at - WindowStart), n);
}

std::vector<uint8_t> TReplaySource::ReadUpTo(uint64_t offset, size_t n) {
    if (offset >= Size())
        return {};
    std::vector<uint8_t> out(static_cast<size_t>(std::min<uint64_t>(n, Size() - offset)));
    ReadExact(offset, out.data(), out.size());
    return out;
}

} // namespace quillon
