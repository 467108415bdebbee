#pragma once

#include <string>

namespace quillon {

/// Writes a whole file beside the target, flushes it to disk, then renames it over the target: a crash or a full
/// disk leaves either the old file or the new one, never half of one. False (and nothing changed) on failure.
bool WriteFileAtomically(const std::string& path, const std::string& text);

/// The file's content when it is a readable regular file of at most maxBytes; nothing otherwise.
bool ReadSmallFile(const std::string& path, std::string& text, size_t maxBytes = 1024 * 1024);

} // namespace quillon
