#include "core/platform/System.h"

#include "core/platform/Paths.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
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

namespace {

// A folder nobody else can put a socket in: a real folder (no link), the user's own, without rights for others.
TPrivateFolder CheckPrivate(const std::string& folder) {
    TPrivateFolder result;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        result.Problem = TPrivateFolderProblem::Unusable;
        result.Reason = std::strerror(errno);
    } else if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
        result.Problem = TPrivateFolderProblem::NotPrivate;
    }
    (result.Problem == TPrivateFolderProblem::None ? result.Path : result.Checked) = folder;
    return result;
}

} // namespace

TPrivateFolder PrivateRuntimeFolder() {
    if (const auto runtime = EnvironmentText("XDG_RUNTIME_DIR")) {
        TPrivateFolder checked = CheckPrivate(*runtime);
        if (checked.Problem == TPrivateFolderProblem::None)
            return checked;
    }
    const std::string temp = EnvironmentText("TMPDIR").value_or("/tmp");
    const std::string folder = (fs::path(temp) / ("quillon-" + std::to_string(::getuid()))).string();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        TPrivateFolder failed;
        failed.Problem = TPrivateFolderProblem::Unusable;
        failed.Checked = folder;
        failed.Reason = std::strerror(errno);
        return failed;
    }
    return CheckPrivate(folder);
}

bool LocalPeerIsCurrentUser(intptr_t descriptor, bool) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == ::getuid();
}

void KillThisProcess() {
    ::kill(::getpid(), SIGKILL);
    std::abort(); // not reached
}

std::tm LocalTime(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

} // namespace quillon
