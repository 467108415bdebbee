#pragma once

#include <string>
#include <vector>

namespace quillon {

class TIniFile;

/// The window's auto-save: kept in the section "autosave" of Quillon.ini.
struct TAutoSaveSettings {
    static constexpr size_t MaxFolders = 20;

    bool Enabled = false;
    std::string Collection;           // empty: ~/Warcraft III Replays
    std::string FolderTemplate;       // empty: no sub-folders
    std::vector<std::string> Folders; // watched besides the game's own folders
    bool KeepInTray = true;           // closing the window keeps Quillon in the tray while auto-save is on
    bool StartWithSystem = false;

    bool operator==(const TAutoSaveSettings&) const = default;
};

TAutoSaveSettings ReadAutoSaveSettings(const TIniFile& ini);
void WriteAutoSaveSettings(TIniFile& ini, const TAutoSaveSettings& settings);

} // namespace quillon
