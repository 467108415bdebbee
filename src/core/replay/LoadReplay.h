#pragma once

#include "core/lang/Translations.h"
#include "core/replay/ReplayInfo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

/// Why a replay could not be loaded.
enum class TLoadError {
    None,
    NoFile,     // nothing at the path
    IsFolder,   // the path names a folder
    NotReplay,  // the file does not start with a replay's signature
    NoBlocks,   // the header declares no data blocks
    BadData,    // the blocks could not be made into the replay's data
    ReadError,  // the data ends early or is damaged
    CannotOpen, // the file layer refused
    OutOfMemory // the replay would not fit in memory
};

/// A loaded replay, or why there is none.
struct TLoadResult {
    std::unique_ptr<TReplayInfo> Replay;
    TLoadError Error = TLoadError::None;
    std::string Path;
    std::string Detail;               // the reader's or the system's own words, for ReadError and CannotOpen
    std::string OpenPath, OpenReason; // CannotOpen: the file and the system's reason

    bool Ok() const { return Error == TLoadError::None; }
};

/// Loads the replay at path at detail 0, 1 or 2. Never throws for anything the file holds.
TLoadResult LoadReplay(const std::string& path, uint8_t detail, TActionDetail actions = TActionDetail::Full);
/// The same for bytes already in memory; name is kept as the replay's file name.
TLoadResult LoadReplayFromBuffer(std::vector<uint8_t> bytes, const std::string& name, uint8_t detail,
                                 TActionDetail actions = TActionDetail::Full);

/// What to tell the user about a failed load, in a language.
std::string LoadErrorText(const TLoadResult& result, TLanguage language);

} // namespace quillon
