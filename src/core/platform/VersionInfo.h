#pragma once

#include <string>
#include <string_view>

namespace quillon {

/// A string value of the program's version information: "ProductVersion" (as "0.1.0"), "FileVersion",
/// "ProductName"; the empty text for any other name.
std::string GetVersionString(std::string_view name);

/// The file version as digits and dots: mode 0 two parts ("0.1"), mode 1 four parts ("0.1.0.0"); any other
/// mode the empty text.
std::string GetFileVersionText(int mode);

/// Where Quillon's source lives.
inline constexpr std::string_view SourceUrl = "https://github.com/quillon-replays/quillon";

/// The libraries the core runs on, with the versions in use: "zlib 1.2.13, libdeflate 1.14, SQLite 3.40.1".
std::string LibraryVersions();

} // namespace quillon
