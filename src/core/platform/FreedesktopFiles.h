#pragma once

#include <string>

// The files freedesktop.org desktops read to tie a file type to a program: text only, no system calls.
namespace quillon {

/// The replay type and the desktop entry that ties it to Quillon on freedesktop.org desktops.
inline constexpr const char* ReplayMimeType = "application/x-warcraft3-replay";
inline constexpr const char* DesktopId = "io.github.quillon.Quillon";

/// The shared-mime-info package: "*.w3g", and the magic of a replay or of its GRBN wrapper at offset 0.
std::string MimePackageText();
/// The desktop entry: Exec the program's full path with %f, the replay type, and an action named by the open verb
/// (its "&" mnemonic removed).
std::string DesktopEntryText(const std::string& programPath, const std::string& openVerb);

/// The session's autostart entry: Exec the program's full path with one more argument.
std::string AutostartEntryText(const std::string& programPath, const std::string& argument);

/// False for a program path no desktop entry can hold safely: text that is not UTF-8 (desktop files are), a control
/// character (a line break would start a key of its own), or "%" (GLib reads it as a field code).
bool CanBeExecPath(const std::string& programPath);

} // namespace quillon
