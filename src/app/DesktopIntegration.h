#pragma once

#include "core/lang/Translations.h"

#include <string>

namespace quillon::app {

/// Ties "*.w3g" to this program on the desktop (a per-user mime package and desktop entry, with the open verb in
/// the language on show, and the desktop's databases refreshed when a file changed; the per-user registry classes
/// on Windows). Quiet about refused
/// writes; a program path no desktop entry can hold is told once on standard error.
void RegisterReplayType(const std::string& openVerb, TLanguage language);

} // namespace quillon::app
