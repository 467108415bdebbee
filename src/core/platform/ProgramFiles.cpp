#include "core/platform/Paths.h"
#include "core/platform/System.h"

#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

std::string ProgramFilePath(const std::string& programDir, TUserFolder kind, const std::string& name) {
    std::error_code ec;
    if (!programDir.empty() && fs::is_regular_file(PathOf(programDir) / "Quillon.ini", ec))
        return Utf8Of(PathOf(programDir) / name);
    return Utf8Of(PathOf(UserFolder(kind)) / "Quillon" / name);
}
} // namespace quillon
