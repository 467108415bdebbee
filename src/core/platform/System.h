#pragma once

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

/// Tells this user's objects (sockets, pipes) from another user's: the user id here; user name and session
/// on Windows.
std::string CurrentUserKey();

/// A time as the local calendar date and time of day.
std::tm LocalTime(std::time_t t);

} // namespace quillon
