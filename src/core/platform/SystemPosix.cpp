#include "core/platform/System.h"

#include "core/platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace quillon {

namespace fs = std::filesystem;

std::optional<std::string> EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

std::string ProgramDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : WithTrailingSeparator(exe.parent_path().string());
}

std::string UserFolder(TUserFolder kind) {
    const auto home = EnvironmentText("HOME");
    if (kind == TUserFolder::Home)
        return home ? *home : std::string("/");
    const bool settings = kind == TUserFolder::Settings;
    if (const auto xdg = EnvironmentText(settings ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME"))
        return *xdg;
    if (home)
        return (fs::path(*home) / (settings ? ".config" : ".local/share")).string();
    std::error_code ec;
    return fs::temp_directory_path(ec).string();
}

std::string CurrentUserKey() {
    return std::to_string(::getuid());
}

std::tm LocalTime(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

} // namespace quillon
