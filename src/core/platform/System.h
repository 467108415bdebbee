#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace quillon {

/// An environment variable as UTF-8; nothing when it is unset or empty.
std::optional<std::string> EnvironmentText(const char* name);

/// The folder of the running executable, ending with a separator; empty when the system cannot tell.
std::string ProgramDir();

enum class TUserFolder {
    Settings, // $XDG_CONFIG_HOME or ~/.config; %APPDATA% on Windows
    Data,     // $XDG_DATA_HOME or ~/.local/share; %LOCALAPPDATA% on Windows
    Home,     // $HOME; %USERPROFILE% on Windows
};

/// Where the user's files of that kind go; the temporary folder when the system names none.
std::string UserFolder(TUserFolder kind);

/// Where a file of this program's own lives: beside the executable in a portable install (one with a Quillon.ini
/// there); else in the Quillon folder of the user's folder of that kind.
std::string ProgramFilePath(const std::string& programDir, TUserFolder kind, const std::string& name);

/// Tells this user's objects (sockets, pipes) from another user's: the user id here; user name and session
/// on Windows.
std::string CurrentUserKey();

/// Why a folder for the user's sockets cannot be trusted.
enum class TPrivateFolderProblem {
    None,
    Unusable,   // cannot be made or looked at; the system's reason comes with it
    NotPrivate, // not a folder of its own, another user's, or open to other users
};

/// A folder only the current user can enter, for sockets: $XDG_RUNTIME_DIR when it is the user's own and closed to
/// others, else "quillon-UID" in the temporary folder, made with mode 0700 when missing and checked (a real folder,
/// the user's, closed to others) before use. On Windows, where sockets are named pipes, always empty.
struct TPrivateFolder {
    std::string Path; // empty when there is none to trust
    TPrivateFolderProblem Problem = TPrivateFolderProblem::None;
    std::string Checked; // the folder that was refused
    std::string Reason;  // the system's words for Unusable
};
TPrivateFolder PrivateRuntimeFolder();

/// True when the process at the other end of a connected local socket (a named pipe on Windows) runs as the
/// current user. peerIsServer: this side is the client.
bool LocalPeerIsCurrentUser(intptr_t descriptor, bool peerIsServer);

/// Ends this process at once, as a kill from outside would: nothing is flushed or cleaned up.
[[noreturn]] void KillThisProcess();

/// A time as the local calendar date and time of day.
std::tm LocalTime(std::time_t t);

} // namespace quillon
