#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

/// The tokens of the rename rule, in the order they are replaced: the check, the expansion and the rule
/// editor's buttons all read this one table.
enum class TToken {
    Name,
    RaceLong,
    RaceShort,
    Color,
    Apm,
    Actions,
    Handicap,
    Map,
    Game,
    Version,
    Length,
    Type,
    Tag,
    Tag2,
    Win,
    Loss,
    Date
};

struct TRenameToken {
    TToken Token;
    std::string_view Text;   // "<name>"
    bool Player;             // a player template's token; else the global template's
    std::string_view Button; // the rule editor's button and the label that explains it
    std::string_view Label;
};

inline constexpr TRenameToken RenameTokens[] = {
    {TToken::Name, "<name>", true, "SpeedButton1", "Label5"},
    {TToken::RaceLong, "<racelong>", true, "SpeedButton2", "Label6"},
    {TToken::RaceShort, "<raceshort>", true, "SpeedButton3", "Label7"},
    {TToken::Color, "<color>", true, "SpeedButton4", "Label8"},
    {TToken::Apm, "<apm>", true, "SpeedButton5", "Label9"},
    {TToken::Actions, "<actions>", true, "SpeedButton6", "Label10"},
    {TToken::Handicap, "<handicap>", true, "SpeedButton13", "Label17"},
    {TToken::Map, "<map>", false, "SpeedButton7", "Label11"},
    {TToken::Game, "<game>", false, "SpeedButton14", "Label18"},
    {TToken::Version, "<version>", false, "SpeedButton8", "Label12"},
    {TToken::Length, "<length>", false, "SpeedButton9", "Label13"},
    {TToken::Type, "<type>", false, "SpeedButton10", "Label14"},
    {TToken::Tag, "<tag>", false, "SpeedButton11", "Label15"},
    {TToken::Tag2, "<tag2>", false, "SpeedButton12", "Label16"},
    {TToken::Win, "<win>", false, "SpeedButton15", "Label19"},
    {TToken::Loss, "<loss>", false, "SpeedButton16", "Label20"},
    {TToken::Date, "<date>", false, "SpeedButton17", "Label22"},
};

/// Replaces every occurrence left to right; text it inserted is not scanned again.
std::string ReplaceAll(std::string text, std::string_view token, std::string_view value);

/// text with the tokens of one kind (player or global) replaced in table order by what value gives; a token
/// for which value gives nothing stays as it is.
template <typename TValue> std::string ExpandTokens(std::string text, bool player, TValue&& value) {
    for (const auto& t : RenameTokens) {
        if (t.Player != player || text.find(t.Text) == std::string::npos)
            continue;
        if (const std::optional<std::string> v = value(t.Token))
            text = ReplaceAll(std::move(text), t.Text, *v);
    }
    return text;
}

} // namespace quillon
