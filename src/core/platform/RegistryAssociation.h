#pragma once

#include <string>

namespace quillon {

/// Windows: ties .w3g files to the program for the current user, under HKCU\Software\Classes: ".w3g" names the
/// class "Quillon" ("Warcraft III Replay File"), whose icon is the program's first and whose open verb, captioned
/// with openVerb, runs "program" "%1". A value is written only when it differs; a refused write is skipped without
/// a word, and the program works on without the association. True when anything was written.
bool RegisterFileTypeForUser(const std::string& openVerb, const std::string& programPath);

} // namespace quillon
