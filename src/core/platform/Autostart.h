#pragma once

#include <string>

namespace quillon {

/// The argument the window starts with from the session's autostart: straight into the tray.
inline constexpr const char* TrayArgument = "--tray";

/// Starts the program (with TrayArgument) when the user logs in, or no longer: a desktop entry in the XDG
/// autostart folder (Linux), the per-user Run key (Windows). False, with the reason, when that cannot be done.
bool SetStartWithSystem(bool on, const std::string& programPath, std::string* reason = nullptr);

/// Whether the program starts with the user's session now.
bool StartsWithSystem();

} // namespace quillon
