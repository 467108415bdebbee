#pragma once

#include "core/platform/FreedesktopFiles.h"

#include <string>

namespace quillon {

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
