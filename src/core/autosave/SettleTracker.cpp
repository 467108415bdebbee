#include "core/autosave/SettleTracker.h"

#include <algorithm>
#include <set>

namespace quillon {

std::vector<TSeenFile> TSettleTracker::Settled(const std::vector<TSeenFile>& listing, int64_t nowMs) {
    std::vector<TSeenFile> settled;
    std::set<std::string> present;
    for (const TSeenFile& file : listing) {
        present.insert(file.Path);
        auto [at, isNew] = Tracks.try_emplace(file.Path);
        TTrack& track = at->second;
        if (isNew || !(track.File == file)) {
            // New or changed: stable since now, or since its own time when that lies further back (a file that
            // was there before the watch began).
            track.File = file;
            track.StableSince = isNew ? std::min(nowMs, file.ModifiedMs) : nowMs;
            track.HandedOut = false;
        }
        if (!track.HandedOut && nowMs - track.StableSince >= SettleMs) {
            track.HandedOut = true;
            settled.push_back(file);
        }
    }
    // Files that went are forgotten: one that comes back is new.
    std::erase_if(Tracks, [&present](const auto& entry) { return !present.contains(entry.first); });
    return settled;
}

void TSettleTracker::Retry(const std::string& path) {
    if (const auto at = Tracks.find(path); at != Tracks.end())
        at->second.HandedOut = false;
}

} // namespace quillon
