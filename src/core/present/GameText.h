#pragma once

#include "core/lang/Translations.h"
#include "core/replay/ReplayInfo.h"

#include <cstdint>
#include <string>

namespace quillon {

/// Game time as text: compact "01:02:03", or verbose "1hr2min3sec45" with the unit words of the rule
/// editor's table in the given language.
std::string FormatGameTime(int32_t ms, bool verbose, TLanguage language);

/// A time in ms of the summary and the library (64 bits wide) as compact game time, "01:02:03".
std::string GameTimeText(int64_t ms, TLanguage language);

/// A player colour (slot colour index 0 to 23) as 0xRRGGBB; grey for any other index.
uint32_t SlotColorRgb(int color);

/// n in decimal with a leading "0" below 10.
std::string TwoDigits(int32_t n);

/// "Computer(Easy)", "Computer(Normal)" or "Computer(Insane)" (any strength above 1).
std::string ComputerName(uint8_t strength);

/// The patch as the user knows it: "1.26", "1.04", "1.30" for 10030, "2.00" for 10100.
std::string VersionNumberText(uint32_t version);
/// The version to show for a replay; from the build when the header's field holds no version.
uint32_t DisplayVersion(const TReplayInfo& replay);

} // namespace quillon
