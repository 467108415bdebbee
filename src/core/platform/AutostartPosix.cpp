#include "core/platform/Autostart.h"

#include "core/platform/AtomicFile.h"
#include "core/platform/FreedesktopFiles.h"
#include "core/platform/Paths.h"
#include "core/platform/System.h"

#include <filesystem>
#include <system_error>

namespace quillon {

namespace {

namespace fs = std::filesystem;

fs::path EntryPath() {
    const std::string config =
        EnvironmentText("XDG_CONFIG_HOME").value_or(WithTrailingSeparator(UserFolder(TUserFolder::Home)) + ".config");
    return PathOf(config) / "autostart" / (std::string(DesktopId) + "-autosave.desktop");
}

} // namespace

bool SetStartWithSystem(bool on, const std::string& programPath, std::string* reason) {
    std::error_code ec;
    const fs::path entry = EntryPath();
    if (!on) {
        fs::remove(entry, ec);
        if (ec && reason)
            *reason = ec.message();
        return !ec;
    }
    if (!CanBeExecPath(programPath)) {
        if (reason)
            *reason = "the program's path cannot stand in a desktop entry";
        return false;
    }
    fs::create_directories(entry.parent_path(), ec);
    if (!WriteFileAtomically(Utf8Of(entry), AutostartEntryText(programPath, TrayArgument))) {
        if (reason)
            *reason = "the autostart entry cannot be written";
        return false;
    }
    return true;
}

bool StartsWithSystem() {
    std::error_code ec;
    return fs::is_regular_file(EntryPath(), ec);
}

} // namespace quillon
