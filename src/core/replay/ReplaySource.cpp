#include "core/replay/internal/ReplaySource.h"

#include "core/replay/ReplayError.h"
#include "core/replay/ReplayInfo.h"

#include "core/platform/Files.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

// Big enough that a whole replay of ordinary size takes a handful of reads.
constexpr size_t WindowSize = 256 * 1024;

} // namespace

std::unique_ptr<TReplaySource> TReplaySource::OpenFile(const std::string& path) {
    std::unique_ptr<TReplaySource> source(new TReplaySource());
    source->Path = path;
    // Opening never blocks, so a FIFO without a writer cannot hold us; then only a regular file is read.
    source->File = std::make_unique<TReadOnlyFile>(path);
    const TReadOnlyFile& file = *source->File;
    if (!file.IsOpen())
        ThrowCannotOpen(path, file.Failure());
    if (file.Kind() == TFileKind::Folder)
        ThrowCannotOpen(path, "Is a directory");
    if (file.Kind() != TFileKind::File)
        ThrowCannotOpen(path, NotRegularFileText);
    source->Total = file.Size();
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

TReplaySource::~TReplaySource() = default;

void TReplaySource::FindWrappedReplay() {
    const std::vector<uint8_t> head = ReadUpTo(0, 16);
    Base = ReplayStart(head, Total);
}

void TReplaySource::Fill(uint64_t offset, size_t n) {
    // offset and n are absolute and already checked against the file's size.
    const size_t want = std::max(n, WindowSize);
    const size_t size = static_cast<size_t>(std::min<uint64_t>(want, Total - offset));
    Buffer.resize(size);
    // A file that shrank since it was opened gives fewer bytes, and a read error none.
    const int64_t done = File->ReadAt(offset, Buffer.data(), size);
    Buffer.resize(static_cast<size_t>(std::max<int64_t>(done, 0)));
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
