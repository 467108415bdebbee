#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace quillon {

// Paths travel through the program as UTF-8 text. std::filesystem takes narrow text in the system's code page
// on Windows, so every conversion goes through these two.

inline std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32
inline constexpr bool BackslashSeparates = true;
#else
inline constexpr bool BackslashSeparates = false;
#endif

/// True for the characters that separate folders in a path here ("/", and "\" on Windows).
inline bool IsPathSeparator(char c) {
    return c == '/' || (BackslashSeparates && c == '\\');
}

/// The folder with one separator at its end (an existing one is kept). A Windows path written with backslashes
/// goes on with them.
inline std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty() || !IsPathSeparator(folder.back()))
        folder += BackslashSeparates && folder.find('\\') != std::string::npos ? '\\' : '/';
    return folder;
}

/// True for an existing folder (or a link to one); false on any error.
inline bool IsFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

/// Where the file name part of a path starts: after its last separator (or a drive's colon on Windows).
inline size_t FileNameStart(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1]) || (BackslashSeparates && path[i - 1] == ':'))
            return i;
    return 0;
}

} // namespace quillon
