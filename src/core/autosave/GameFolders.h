#pragma once

#include <string>
#include <vector>

namespace quillon {

/// The folders the newer game saves replays in below a documents folder: every
/// "Warcraft III/BattleNet/<account>/Replays" with the "Autosaved" folders below it, and "Warcraft III/Replay".
/// Only folders that are there.
std::vector<std::string> DocumentsReplayFolders(const std::string& documents);

/// The game's replay folders on this system, to watch: the "replay" folder of the game's install
/// (the registry on Windows; the Wine prefix here, $WINEPREFIX else ~/.wine) and the newer game's folders in the
/// documents (the user's own, and on Linux those of the prefix's users).
std::vector<std::string> GameReplayFolders();

/// Where kept replays go when the user has named no folder: "Warcraft III Replays" in the home folder.
std::string DefaultCollectionFolder();

} // namespace quillon
