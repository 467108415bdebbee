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

} // namespace quillon
