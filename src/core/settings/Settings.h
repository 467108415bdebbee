#pragma once

#include "core/rename/RenameRule.h"

#include "core/platform/System.h"
#include "core/settings/AutoSaveSettings.h"
#include "core/settings/WindowState.h"

#include <string>

namespace quillon {

/// What Quillon.ini keeps between runs.
struct TSettings {
    static constexpr int MinActionsPerPage = 10;
    static constexpr int MaxActionsPerPage = 100;

    int Language = -1; // 0 English, 1 Chinese(Simp); anything else: from the locale
    bool ShowUnused = true;
    bool ShowObservers = true;
    bool ParseActions = true;
    int ActionsPerPage = 50;
    TRenameRule Rule;
};

/// Reads the settings; a missing file or key gives the default, an actions-per-page outside 10 to 100 is
/// brought into that range.
TSettings LoadSettings(const std::string& path);

/// The settings with what stood in their way: Missing when there is no file (the defaults then), else Problem
/// says why the file cannot be used (the defaults then too, and the file must not be written over).
struct TSettingsRead {
    TSettings Settings;
    TWindowState Window;
    TAutoSaveSettings AutoSave;
    bool Missing = false;
    std::string Problem;
};
TSettingsRead ReadSettings(const std::string& path);

/// Writes the eight keys in their order, and the window's state and the auto-save settings when given, keeping whatever
/// else the file holds; atomic. Throws TSettingsError "Unable to write to PATH" on failure, and without writing when
/// the file there is no settings file.
void SaveSettings(const std::string& path, const TSettings& settings, const TWindowState* window = nullptr,
                  const TAutoSaveSettings* autoSave = nullptr);

/// Where the settings live: the override when given; else Quillon.ini beside the executable when there is one;
/// else the per-user settings folder ($XDG_CONFIG_HOME/Quillon/Quillon.ini, ~/.config by default;
/// %APPDATA%\Quillon\Quillon.ini on Windows).
std::string SettingsPath(const std::string& programDir, const std::string& override = {});

} // namespace quillon
