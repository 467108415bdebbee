#pragma once

#include <string>

namespace quillon {

/// The replay type and the desktop entry that ties it to Quillon on freedesktop.org desktops.
inline constexpr const char* ReplayMimeType = "application/x-warcraft3-replay";
inline constexpr const char* DesktopId = "io.github.quillon.Quillon";

/// The shared-mime-info package: "*.w3g", and the magic of a replay or of its GRBN wrapper at offset 0.
std::string MimePackageText();
/// The desktop entry: Exec the program's full path with %f, the replay type, and an action named by the open verb
/// (its "&" mnemonic removed).
std::string DesktopEntryText(const std::string& programPath, const std::string& openVerb);

/// False for a program path no desktop entry can hold safely: text that is not UTF-8 (desktop files are), a control
/// character (a line break would start a key of its own), or "%" (GLib reads it as a field code).
bool CanBeExecPath(const std::string& programPath);

/// $XDG_DATA_HOME, else ~/.local/share.
std::string UserDataHome();

/// True when a system-wide install carries the desktop entry (the program's prefix, /usr or /usr/local): the
/// per-user one would show the program twice in menus.
bool InstalledSystemWide(const std::string& programPath);

/// What RegisterFileType did.
struct TRegistration {
    bool Skipped = false;        // installed system-wide
    bool UnsafePath = false;     // nothing written: the program's path cannot be put in a desktop entry
    bool MimeWritten = false;    // the mime package changed on disk
    bool DesktopWritten = false; // the desktop entry changed on disk
};

/// Ties "*.w3g" to the program for the current user the way the system does it, with the open verb in the
/// language on show: the freedesktop.org files below the user's data folder here (RegisterFileType), the per-user
/// registry classes on Windows (RegisterFileTypeForUser, reported as DesktopWritten).
TRegistration RegisterReplayTypeForUser(const std::string& openVerb, const std::string& programPath);

/// freedesktop.org: writes the per-user mime package and desktop entry below dataHome, each only when its content
/// changes and atomically; a refused write is skipped without a word. The caller refreshes the desktop's databases
/// when something was written.
TRegistration RegisterFileType(const std::string& openVerb, const std::string& programPath,
                               const std::string& dataHome);

/// Windows: ties .w3g files to the program for the current user, under HKCU\Software\Classes: ".w3g" names the
/// class "Quillon" ("Warcraft III Replay File"), whose icon is the program's first and whose open verb, captioned
/// with openVerb, runs "program" "%1". A value is written only when it differs, and the shell is told; a refused
/// write is skipped without a word, and the program works on without the association. True when anything was
/// written.
bool RegisterFileTypeForUser(const std::string& openVerb, const std::string& programPath);

} // namespace quillon
