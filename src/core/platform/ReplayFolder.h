#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

/// The value of a string entry of a Wine registry file (user.reg): key as written in the registry
/// ("Software\\Blizzard Entertainment\\Warcraft III", one backslash between parts), value name without quotes.
/// Escapes in the stored text (\\, \", \xNN) are undone. Nothing when the key or value is absent or not a
/// plain string.
std::optional<std::string> ReadWineRegistryString(std::string_view regText, std::string_view key,
                                                  std::string_view valueName);

/// A Windows path ("C:\\Games\\Warcraft III") as a path under a Wine prefix, through the prefix's drive links
/// (dosdevices/c:); nothing for a path without a drive letter.
std::optional<std::string> WinePathToUnix(const std::string& prefix, std::string_view windowsPath);

/// Where the game keeps its replays under a Wine prefix: the install folder's "replay" folder, else the newer
/// game's "Documents/Warcraft III/BattleNet/.../Replays" or "Documents/Warcraft III/Replay" of any user;
/// nothing when neither exists. Ends with "/".
std::optional<std::string> WineReplayFolder(const std::string& prefix);

/// The newer game's replay folder in a documents folder: "Warcraft III/BattleNet/<account>/Replays", else
/// "Warcraft III/Replay"; nothing when neither exists. Ends with a separator.
std::optional<std::string> DocumentsReplayFolder(const std::string& documents);

/// A registry value that cannot be used, such as an "InstallPath" that is no text.
class TRegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The folder the file list shows when no replay is named, ending with a separator: the game's "replay" folder
/// (InstallPath of HKCU\Software\Blizzard Entertainment\Warcraft III on Windows; read from the Wine prefix's
/// user.reg here, $WINEPREFIX else ~/.wine), else the newer game's folder in the documents, else the home folder.
/// Throws TRegistryError "Invalid data type for 'InstallPath'" on Windows when the value is not a string.
std::string DefaultReplayFolder();

} // namespace quillon
