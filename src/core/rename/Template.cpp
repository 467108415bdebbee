#include "core/rename/Template.h"

#include "core/lang/StringIds.h"
#include "core/platform/Files.h"
#include "core/platform/System.h"
#include "core/present/GameText.h"
#include "core/rename/Tokens.h"
#include "core/replay/ReplayError.h"
#include "core/text/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

namespace quillon {

std::string ReplaceAll(std::string text, std::string_view token, std::string_view value) {
    std::string out;
    size_t pos = 0;
    while (true) {
        const size_t hit = text.find(token, pos);
        if (hit == std::string::npos)
            break;
        out.append(text, pos, hit - pos);
        out.append(value);
        pos = hit + token.size();
    }
    if (pos == 0)
        return text;
    out.append(text, pos, std::string::npos);
    return out;
}

namespace {

constexpr const char* RaceLongNames[] = {"Human", "Orc", "NightElf", "Undead", "Demon", "Random"};
constexpr const char* RaceShortNames[] = {"Hum", "Orc", "NE", "UD", "Dem", "Ran"};
constexpr const char* ColorNames[] = {"Red",   "Blue", "Teal", "Purple",    "Yellow",    "Orange",
                                      "Green", "Pink", "Gray", "LightBlue", "DarkGreen", "Brown"};
constexpr const char* GameTypeNames[] = {"Ladder", "Custom", "Single", "Team"};

TTemplateCheck CheckTokens(std::string_view text, bool player, TLanguage language) {
    TTemplateCheck check;
    bool inside = false;
    size_t open = 0;
    const auto fail = [&](std::string message, size_t start, size_t length) {
        check.Ok = false;
        check.Message = std::move(message);
        check.Start = static_cast<int>(start);
        check.Length = static_cast<int>(length);
        return check;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '>') {
            if (!inside)
                return fail(GetString(RuleString::BadTokenSign, language), i, 1);
            inside = false;
            const std::string_view name = text.substr(open + 1, i - open - 1);
            const std::string_view token = text.substr(open, i - open + 1);
            bool known = false;
            for (const auto& t : RenameTokens)
                known = known || (t.Player == player && t.Text == token);
            if (!known)
                return fail(GetString(RuleString::UnknownToken, language) + ": <" + std::string(name) + ">", open,
                            name.size() + 2);
        } else if (c == '<') {
            if (inside)
                return fail(GetString(RuleString::BadTokenSign, language), i, 1);
            inside = true;
            open = i;
        } else if (IsBadNameChar(static_cast<unsigned char>(c))) {
            return fail(GetString(RuleString::BadFileNameChar, language), i, 1);
        }
    }
    if (inside) // an unclosed token: point at it from its "<" on, and say what is wrong with it
        return fail(GetString(RuleString::BadTokenSign, language) + " " +
                        FormatText(GetString(AppString::UnclosedToken, language), {text.substr(open)}),
                    open, text.size() - open);
    return check;
}

std::string FileDate(const std::string& fileName) {
    const TFileStatus st = FileStatus(fileName);
    if (st.Kind == TFileKind::Missing)
        ThrowCannotOpen(fileName, LastSystemError());
    const std::tm local = LocalTime(static_cast<std::time_t>(st.Modified));
    char buf[16];
    std::strftime(buf, sizeof buf, "%y%m%d", &local);
    return buf;
}

std::string TeamText(const TReplayInfo& replay, const TTeamInfo& team, std::string_view tmpl,
                     std::string_view conjunction) {
    std::string text;
    for (size_t m = 0; m < team.Members.size(); ++m) {
        const uint8_t index = replay.Players->IndexOfId(team.Members[m]);
        const TPlayerInfo player = index == NotFound ? TPlayerInfo{} : replay.Players->GetItem(index);
        if (m > 0)
            text.append(conjunction);
        text += ExpandPlayerTemplate(tmpl, player);
    }
    return text;
}

} // namespace

bool IsBadNameChar(unsigned char c) {
    switch (c) {
    case '"':
    case '*':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '\\':
    case '|':
        return true;
    default:
        return false;
    }
}

TTemplateCheck CheckPlayerTemplate(std::string_view text, TLanguage language) {
    return CheckTokens(text, true, language);
}

TTemplateCheck CheckGlobalTemplate(std::string_view text, TLanguage language) {
    return CheckTokens(text, false, language);
}

TTemplateCheck CheckConjunction(std::string_view text, TLanguage language) {
    TTemplateCheck check;
    for (size_t i = 0; i < text.size(); ++i)
        if (IsBadNameChar(static_cast<unsigned char>(text[i]))) {
            check.Ok = false;
            check.Message = GetString(RuleString::BadFileNameChar, language);
            check.Start = static_cast<int>(i);
            check.Length = 1;
            break;
        }
    return check;
}

std::string ExpandPlayerTemplate(std::string_view tmpl, const TPlayerInfo& p) {
    return ExpandTokens(std::string(tmpl), true, [&p](TToken token) -> std::optional<std::string> {
        const bool knownRace = p.Race >= 1 && p.Race <= 6;
        switch (token) {
        case TToken::Name:
            return p.Computer ? ComputerName(p.AiStrength) : p.Name;
        case TToken::RaceLong:
            return knownRace ? std::optional<std::string>(RaceLongNames[p.Race - 1]) : std::nullopt;
        case TToken::RaceShort:
            return knownRace ? std::optional<std::string>(RaceShortNames[p.Race - 1]) : std::nullopt;
        case TToken::Color:
            return p.Color < 12 ? std::optional<std::string>(ColorNames[p.Color]) : std::nullopt;
        case TToken::Apm: // halfway values go to the even neighbour (the default rounding mode)
            return std::to_string(static_cast<long long>(std::nearbyint(p.Apm)));
        case TToken::Actions:
            return std::to_string(p.Actions);
        case TToken::Handicap:
            return std::to_string(p.Handicap);
        default:
            return std::nullopt;
        }
    });
}

std::string RuleSampleName(std::string_view playerTemplate, std::string_view conjunction,
                           std::string_view globalTemplate, std::string_view today) {
    static constexpr const char* Names[] = {"P1", "P2", "P3", "P4"};
    std::string players[4];
    for (int i = 0; i < 4; ++i) {
        TPlayerInfo p;
        p.Name = Names[i];
        p.Race = p.Color = static_cast<uint8_t>(i + 1);
        p.SlotStatus = 2;
        p.Actions = 500;
        p.Apm = 100.0;
        p.Handicap = 100;
        players[i] = ExpandPlayerTemplate(playerTemplate, p);
    }
    const std::string win = players[0] + std::string(conjunction) + players[1];
    const std::string loss = players[2] + std::string(conjunction) + players[3];
    return ExpandTokens(std::string(globalTemplate), false, [&](TToken token) -> std::optional<std::string> {
        switch (token) {
        case TToken::Map:
            return "LostTemple";
        case TToken::Game:
            return "BNet";
        case TToken::Version:
            return "1.11";
        case TToken::Length:
            return "15:20";
        case TToken::Type:
            return "Ladder";
        case TToken::Tag:
            return "W3XP";
        case TToken::Tag2:
            return "TFT";
        case TToken::Win:
            return win;
        case TToken::Loss:
            return loss;
        case TToken::Date:
            return std::string(today);
        default:
            return std::nullopt;
        }
    });
}

std::string TodayText() {
    const std::tm local = LocalTime(std::time(nullptr));
    char buf[16];
    std::strftime(buf, sizeof buf, "%y%m%d", &local);
    return buf;
}

std::string MapShortName(std::string_view path) {
    // Later patches store the path with forward slashes: cut there as well.
    const size_t sep = path.find_last_of("\\:/");
    std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
    size_t letter = 0;
    while (letter < name.size() &&
           !((name[letter] >= 'A' && name[letter] <= 'Z') || (name[letter] >= 'a' && name[letter] <= 'z')))
        ++letter;
    name = name.substr(letter);
    const size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string MakeReplayName(std::string_view playerTemplate, std::string_view conjunction,
                           std::string_view globalTemplate, const TReplayInfo& replay) {
    if (!replay.Teams || !replay.Players || replay.Teams->Count() != 2)
        return {};
    uint8_t win = replay.Winner > 0 && replay.Winner < 256
                      ? replay.Teams->IndexOfTeam(static_cast<uint8_t>(replay.Winner))
                      : NotFound;
    if (win == NotFound)
        win = 0;
    const std::string winText = TeamText(replay, replay.Teams->At(win), playerTemplate, conjunction);
    const std::string lossText = TeamText(replay, replay.Teams->At(1 - win), playerTemplate, conjunction);

    const uint32_t version = DisplayVersion(replay);
    const std::string text =
        ExpandTokens(std::string(globalTemplate), false, [&](TToken token) -> std::optional<std::string> {
            switch (token) {
            case TToken::Map:
                return MapShortName(replay.Game.MapPath);
            case TToken::Game:
                return replay.Game.GameName;
            case TToken::Version:
                return VersionNumberText(version);
            case TToken::Length:
                return FormatGameTime(replay.Length, false, TLanguage::English);
            case TToken::Type:
                if (replay.Game.GameType >= 1 && replay.Game.GameType <= 4)
                    return GameTypeNames[replay.Game.GameType - 1];
                return std::nullopt;
            case TToken::Tag:
                return version <= 6 ? "WAR3" : replay.ProductId;
            case TToken::Tag2:
                return version <= 6 || replay.ProductId == "WAR3" ? "ROC" : "TFT";
            case TToken::Win:
                return winText;
            case TToken::Loss:
                return lossText;
            case TToken::Date: // the file's date is read only when the name asks for it
                return FileDate(replay.FileName);
            default:
                return std::nullopt;
            }
        });

    // What a file name cannot hold goes: the nine bad characters and control characters (a newline or an
    // escape in a player's name must not reach a file name); no hidden file, no "." or ".."; no name too long.
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (!IsBadNameChar(b) && b >= 0x20 && b != 0x7F && !(clean.empty() && c == '.'))
            clean.push_back(c);
    }
    return FitReplayName(clean, 1);
}

std::string FitReplayName(const std::string& base, int n) {
    const std::string number = n > 1 ? std::to_string(n) : std::string();
    const size_t room = MaxFileNameBytes - 4 - number.size();
    if (base.size() <= room)
        return base + number;
    size_t end = 0; // cut at a whole character: a byte that starts none counts as one
    while (end < base.size()) {
        const size_t length = std::max<size_t>(Utf8SequenceLength(base, end), 1);
        if (end + length > room)
            break;
        end += length;
    }
    return base.substr(0, end) + number;
}

AppString TRuleProblem::PartNameString() const {
    switch (Part) {
    case TPart::PlayerTemplate:
        return AppString::PartPlayerTemplate;
    case TPart::Conjunction:
        return AppString::PartConjunction;
    case TPart::GlobalTemplate:
        break;
    }
    return AppString::PartGlobalTemplate;
}

std::optional<TRuleProblem> CheckRule(const TRenameRule& rule, TLanguage language) {
    using P = TRuleProblem::TPart;
    if (auto c = CheckPlayerTemplate(rule.PlayerTemplate, language); !c.Ok)
        return TRuleProblem{P::PlayerTemplate, c};
    if (auto c = CheckConjunction(rule.Conjunction, language); !c.Ok)
        return TRuleProblem{P::Conjunction, c};
    if (auto c = CheckGlobalTemplate(rule.GlobalTemplate, language); !c.Ok)
        return TRuleProblem{P::GlobalTemplate, c};
    return std::nullopt;
}

} // namespace quillon
