#pragma once

#include "core/lang/Translations.h"
#include "core/summary/ReplaySummary.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string>

namespace quillon::cli {

/// The summary as one JSON object: times in ms, ids as four-character codes, names as shown.
nlohmann::json SummaryJson(const std::string& file, const TReplaySummary& s, TLanguage language);
/// The summary as text in five sections, each under the line saying what the replay cannot tell.
void PrintSummary(const TReplaySummary& s, TLanguage language, std::ostream& out);

} // namespace quillon::cli
