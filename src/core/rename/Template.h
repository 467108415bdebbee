#pragma once

#include "core/lang/StringIds.h"
#include "core/lang/Translations.h"
#include "core/present/GameText.h"
#include "core/rename/RenameRule.h"
#include "core/replay/ReplayInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

/// True for the nine bytes that may not stand in a file name; bytes below 0x20 and from 0x80 always pass.
bool IsBadNameChar(unsigned char c);

/// The first problem of a rename rule part: its message and the part of the text to select.
struct TTemplateCheck {
    bool Ok = true;
    std::string Message;
    int Start = 0;
    int Length = 0;
};

TTemplateCheck CheckPlayerTemplate(std::string_view text, TLanguage language);
TTemplateCheck CheckConjunction(std::string_view text, TLanguage language);
TTemplateCheck CheckGlobalTemplate(std::string_view text, TLanguage language);

/// The player template with a player's values in place of its tokens.
std::string ExpandPlayerTemplate(std::string_view tmpl, const TPlayerInfo& player);

/// What the rule makes of the rule editor's fixed sample game (P1+P2 beat P3+P4 on LostTemple): the text
/// before bad characters are dropped, so the user sees what the file name will lose. today is "yymmdd".
std::string RuleSampleName(std::string_view playerTemplate, std::string_view conjunction,
                           std::string_view globalTemplate, std::string_view today);

/// Today's date of the computer's clock as "yymmdd".
std::string TodayText();

/// The map's name from its path: "Maps\(4)LostTemple.w3m" gives "LostTemple".
std::string MapShortName(std::string_view path);

/// The first problem of a whole rule, and which part has it.
struct TRuleProblem {
    enum class TPart { PlayerTemplate, Conjunction, GlobalTemplate } Part;
    TTemplateCheck Check;
    /// "player template", "conjunction" or "global template".
    /// The part's name in the translation table.
    AppString PartNameString() const;
};
std::optional<TRuleProblem> CheckRule(const TRenameRule& rule, TLanguage language);

/// The longest file name the file systems take, in bytes, ".w3g" and a collision number included.
inline constexpr size_t MaxFileNameBytes = 255;

/// A base name with collision number n (1: none) that fits MaxFileNameBytes with ".w3g": the base is cut at a
/// whole UTF-8 character to make room for the number.
std::string FitReplayName(const std::string& base, int n);

/// A replay's new base name (without ".w3g") from a rename rule; empty when the replay does not have
/// exactly two teams or when nothing usable is left. The name never holds the characters a file name may not
/// have nor control characters, never starts with "." and fits the file name limit. The replay must be loaded at detail
/// 1 or 2; "<date>" reads its file's time and throws TReplayError when the file cannot be read.
std::string MakeReplayName(std::string_view playerTemplate, std::string_view conjunction,
                           std::string_view globalTemplate, const TReplayInfo& replay);

} // namespace quillon
