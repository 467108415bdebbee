#pragma once

#include "lang/Translations.h"
#include "replay/ReplayInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

/// Game time as text: compact "01:02:03", or verbose "1hr2min3sec45" with the unit words of the rule
/// editor's table in the given language.
std::string FormatGameTime(int32_t ms, bool verbose, TLanguage language = ActiveLanguage());

/// n in decimal with a leading "0" below 10.
std::string TwoDigits(int32_t n);

/// True for the nine bytes that may not stand in a file name; bytes below 0x20 and from 0x80 always pass.
bool IsBadNameChar(unsigned char c);

/// The first problem of a rename rule part: its message and the part of the text to select.
struct TTemplateCheck {
    bool Ok = true;
    std::string Message;
    int Start = 0;
    int Length = 0;
};

TTemplateCheck CheckPlayerTemplate(std::string_view text, TLanguage language = ActiveLanguage());
TTemplateCheck CheckConjunction(std::string_view text, TLanguage language = ActiveLanguage());
TTemplateCheck CheckGlobalTemplate(std::string_view text, TLanguage language = ActiveLanguage());

/// "Computer(Easy)", "Computer(Normal)" or "Computer(Insane)" (any strength above 1).
std::string ComputerName(uint8_t strength);

/// The player template with a player's values in place of its tokens.
std::string ExpandPlayerTemplate(std::string_view tmpl, const TPlayerInfo& player);

/// The map's name from its path: "Maps\(4)LostTemple.w3m" gives "LostTemple".
std::string MapShortName(std::string_view path);

/// The patch as the user knows it: "1.26", "1.04", "1.30" for 10030, "2.00" for 10100.
std::string VersionNumberText(uint32_t version);
/// The version to show for a replay; from the build when the header's field holds no version.
uint32_t DisplayVersion(const TReplayInfo& replay);

/// A replay's new base name (without ".w3g") from a rename rule; empty when the replay does not have
/// exactly two teams. The replay must be loaded at detail 1 or 2; "<date>" reads its file's time and
/// throws TReplayError when the file cannot be read.
std::string MakeReplayName(std::string_view playerTemplate, std::string_view conjunction,
                           std::string_view globalTemplate, const TReplayInfo& replay);

} // namespace quillon
