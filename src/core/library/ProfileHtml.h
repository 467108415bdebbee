#pragma once

#include "core/lang/Translations.h"
#include "core/library/PlayerProfile.h"

#include <string>
#include <vector>

namespace quillon {

/// A player profile as one self-contained HTML page in a language: the totals, the matchups, APM over time and
/// hero use as inline SVG charts, and every table. Nothing to load beside it; every name is escaped.
std::string ProfileHtml(const TPlayerProfile& profile, const std::vector<std::string>& asked, TLanguage language);

} // namespace quillon
