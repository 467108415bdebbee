#include "core/platform/VersionInfo.h"

#include <libdeflate.h>
#include <sqlite3.h>
#include <zlib.h>

namespace quillon {

// The build compiles the project's version in; there is no resource to read at run time.
std::string GetVersionString(std::string_view name) {
    if (name == "ProductVersion")
        return QUILLON_VERSION;
    if (name == "FileVersion")
        return GetFileVersionText(1);
    if (name == "ProductName")
        return "Quillon";
    return {};
}

std::string GetFileVersionText(int mode) {
    const std::string major = std::to_string(QUILLON_VERSION_MAJOR), minor = std::to_string(QUILLON_VERSION_MINOR);
    if (mode == 0)
        return major + "." + minor;
    if (mode == 1)
        return major + "." + minor + "." + std::to_string(QUILLON_VERSION_PATCH) + "." +
               std::to_string(QUILLON_VERSION_TWEAK);
    return {};
}

std::string LibraryVersions() {
    return std::string("zlib ") + zlibVersion() + ", libdeflate " + LIBDEFLATE_VERSION_STRING + ", SQLite " +
           sqlite3_libversion();
}

} // namespace quillon
