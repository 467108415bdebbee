#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a Wine prefix keeps where: its registry files and its drives. Text and folders only; no system calls.
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

} // namespace quillon
