#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quillon {

/// A replay file as a folder listing shows it.
struct TSeenFile {
    std::string Path;
    uint64_t Size = 0;
    int64_t ModifiedMs = 0; // the file's time, ms since 1970 (the same clock as the tracker's now)

    bool operator==(const TSeenFile&) const = default;
};

/// Tells when files have stopped changing: a file counts as settled once its size and time have stayed the
/// same for the settle time, measured from when the tracker first saw it so (or from its time, for a file that
/// was already that old when first seen). Each state of a file is handed out once; a file that changes again
/// is watched anew. Times come from the caller, so tests need no waiting.
class TSettleTracker {
public:
    explicit TSettleTracker(int64_t settleMs) : SettleMs(settleMs) {}

    /// The listing of every watched folder at time now; returns the files that have settled since the last call.
    std::vector<TSeenFile> Settled(const std::vector<TSeenFile>& listing, int64_t nowMs);

    /// Hands a settled state out again at the next call (its keeping failed and is to be tried again).
    void Retry(const std::string& path);

private:
    struct TTrack {
        TSeenFile File;
        int64_t StableSince = 0;
        bool HandedOut = false;
    };
    int64_t SettleMs;
    std::map<std::string, TTrack> Tracks;
};

} // namespace quillon
