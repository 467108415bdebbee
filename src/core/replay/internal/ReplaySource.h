#pragma once

#ifndef QUILLON_REPLAY_INTERNAL
#error "parser internals: include core/replay/ReplayInfo.h instead"
#endif

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class TReadOnlyFile;

/// The bytes of a replay, read as far as its header and block headers ask and no further: a file is read
/// through a small window, so memory never follows the size of the file. A GRBN wrapper's own header is
/// skipped: offset 0 is the replay's first byte.
class TReplaySource {
public:
    /// Opens a regular file without blocking (a FIFO or device is refused before anything is read); throws
    /// TReplayError "Cannot open file ..." of kind Open.
    static std::unique_ptr<TReplaySource> OpenFile(const std::string& path);
    static std::unique_ptr<TReplaySource> FromBuffer(std::vector<uint8_t> bytes);
    ~TReplaySource();

    uint64_t Size() const { return Total - Base; }
    /// Up to n bytes from offset (fewer where the replay ends).
    std::vector<uint8_t> ReadUpTo(uint64_t offset, size_t n);
    /// Exactly n bytes from offset into out; "Stream read error" when the replay ends before.
    void ReadExact(uint64_t offset, uint8_t* out, size_t n);

private:
    TReplaySource() = default;
    void FindWrappedReplay();
    void Fill(uint64_t offset, size_t n);

    std::unique_ptr<TReadOnlyFile> File;
    std::string Path;
    std::vector<uint8_t> Buffer; // the whole replay for a buffer source, else the window
    uint64_t WindowStart = 0;    // absolute offset of Buffer[0] in the file
    uint64_t Base = 0;           // where the replay starts (after a GRBN wrapper)
    uint64_t Total = 0;          // size of the file or buffer
    bool InMemory = false;
};

} // namespace quillon
