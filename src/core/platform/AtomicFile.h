#pragma once

#include "core/platform/Files.h"

#include <string>

namespace quillon {

/// Writes a whole file beside the target, flushes it to disk, then renames it over the target: a crash or a full
/// disk leaves either the old file or the new one, never half of one. False (and nothing changed) on failure.
bool WriteFileAtomically(const std::string& path, const std::string& text);

/// Writes a whole new file: the text goes to a file beside it first, which then takes the name without ever
/// replacing what is there. TargetExists when a file has the name (nothing written); Failed with the reason
/// (nothing left behind).
TRenameResult WriteNewFile(const std::string& path, const std::string& text, std::string* reason = nullptr);

/// The file's content when it is a readable regular file of at most maxBytes; nothing otherwise.
bool ReadSmallFile(const std::string& path, std::string& text, size_t maxBytes = 1024 * 1024);

} // namespace quillon
