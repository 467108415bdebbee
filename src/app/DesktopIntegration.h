#pragma once

#include <string>

namespace quillon::app {

/// Ties "*.w3g" to this program on the desktop (a per-user mime package and desktop entry, with the open verb in
/// the language on show), and has the desktop's databases refreshed when a file changed. Quiet about refusals.
void RegisterReplayType(const std::string& openVerb);

} // namespace quillon::app
