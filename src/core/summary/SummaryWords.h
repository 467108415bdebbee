#pragma once

#include "core/lang/Translations.h"
#include "core/summary/ReplaySummary.h"

#include <string>
#include <string_view>

namespace quillon {

/// The words of the summary in a language: "Building", "Private", "Quit Game" ...
std::string BuildKindText(TBuildKind kind, TLanguage language);
std::string ChannelText(TChatChannel channel, TLanguage language);
std::string LeaveResultText(TLeaveResult result, TLanguage language);

/// Fixed English keys for machine-read output: "building", "private", "quit" ...
std::string_view BuildKindKey(TBuildKind kind);
std::string_view ChannelKey(TChatChannel channel);
std::string_view LeaveResultKey(TLeaveResult result);

/// One line of blocks per minute ("▁▃█ ..."), each minute's count against peak; a space for no actions.
std::string Sparkline(const std::vector<int32_t>& perMinute, int32_t peak);

} // namespace quillon
