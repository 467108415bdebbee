#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

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
