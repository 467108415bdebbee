#pragma once

#include "core/lang/Translations.h"
#include "core/present/NumberFormat.h"
#include "core/replay/ReplayInfo.h"
#include "core/summary/ReplaySummary.h"

#include <string>

namespace quillon {

/// One self-contained HTML page about a replay, in a language: the information and player lists, the APM chart
/// as inline SVG (one line per player who plays), build orders, heroes with their skills, chat and leaves. It
/// needs nothing beside it: no scripts, fonts, images or links to load. Every text from the replay is escaped.
std::string ReplayReportHtml(const TReplayInfo& replay, const TReplaySummary& summary, const TNumberFormat& numbers,
                             TLanguage language);

/// The style sheet of Quillon's pages (the replay report, the player profile).
std::string ReportStyle();

/// Text made safe inside HTML elements and quoted attributes.
std::string HtmlEscape(std::string_view text);

} // namespace quillon
