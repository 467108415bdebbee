#include "core/present/ActionText.h"

#include "core/present/GameText.h"
#include "core/replay/ActionLayout.h"
#include "core/text/DecodeText.h"

namespace quillon {

namespace {

constexpr std::string_view CheatNames[] = {"SomebodySetUpUsTheBomb",
                                           "WarpTen",
                                           "IocainePowder",
                                           "PointBreak",
                                           "WhosYourDaddy",
                                           "KeyserSoze",
                                           "LeafitToMe",
                                           "ThereIsNoSpoon",
                                           "StrengthAndHonor",
                                           "itvexesme",
                                           "WhoIsJohnGalt",
                                           "GreedIsGood",
                                           "DayLightSavings",
                                           "ISeeDeadPeople",
                                           "Synergy",
                                           "SharpAndShiny",
                                           "AllYourBaseAreBelongToUs",
                                           "TheDudeAbides"};
constexpr uint8_t FirstCheatKind = 34;

int FirstByte(const TActionInfo& a) {
    return a.ParamCount() >= 1 && !a.Params[0].empty() ? static_cast<unsigned char>(a.Params[0][0]) : 0;
}

} // namespace

std::string_view CheatName(uint8_t kind) {
    if (kind < FirstCheatKind || kind >= FirstCheatKind + std::size(CheatNames))
        return {};
    return CheatNames[kind - FirstCheatKind];
}

TPlayerNames::TPlayerNames(const TReplayInfo& replay) : Replay(replay) {
    IndexById.fill(NotFound);
    if (!replay.Players)
        return;
    for (int id = 1; id <= MaxPlayerId; ++id)
        IndexById[static_cast<size_t>(id)] = replay.Players->IndexOfId(static_cast<uint8_t>(id));
}

const std::string& TPlayerNames::Name(uint8_t id) const {
    static const std::string none;
    const uint8_t index = IndexById[id];
    return index == NotFound ? none : Replay.Players->At(index).Name;
}

std::string ActionText(const TActionInfo& a, const TReplayInfo& replay, const TGameTables& tables,
                       const TPlayerNames& names) {
    const auto s = [&tables](int n) { return GetString(TForm::Main, n, tables.Language()); };
    const size_t n = a.ParamCount();
    const auto param = [&a](size_t i) { return std::string(a.Params[i]); };
    const auto units = [n] { return std::to_string((n - 1) / 2); };
    using M = TActionMeaning;
    switch (KindMeaning(a.Kind, replay.Layout)) {
    case M::Pause:
        return s(52);
    case M::Resume:
        return s(53);
    case M::SetSpeed:
        if (n == 0)
            return s(57);
        return s(FirstByte(a) == 0 ? 54 : FirstByte(a) == 1 ? 55 : 56);
    case M::SpeedUp:
        return s(58);
    case M::SpeedDown:
        return s(59);
    case M::SaveGame:
        return n >= 1 ? s(60) + param(0) : s(61);
    case M::OrderNoTarget:
        return n >= 2 ? tables.IdText(a.Params[1], false) : s(62);
    case M::OrderPoint:
        return n >= 2 ? tables.IdText(a.Params[1], false) : s(63);
    case M::OrderObject:
    case M::OrderTwoTargets:
    case M::OrderTwoTargetsObject:
        return n >= 2 ? tables.IdText(a.Params[1], false) + s(64) : s(65);
    case M::GiveOrDropItem:
        return n >= 2 ? tables.IdText(a.Params[1], false) : s(66);
    case M::ChangeSelection:
        if (n == 0)
            return s(73);
        switch (FirstByte(a)) {
        case 0:
            return s(67) + units() + s(68);
        case 1:
            return s(69) + units() + s(70);
        default:
            return s(71) + units() + s(72);
        }
    case M::AssignGroup:
        return n >= 1 ? s(74) + units() + s(75) + std::to_string(FirstByte(a) + 1) : s(76);
    case M::SelectGroup:
        return n >= 1 ? s(77) + " " + std::to_string(FirstByte(a) + 1) : s(77);
    case M::SelectSubgroup:
        return n >= 1 ? s(78) + " " + std::to_string(FirstByte(a) + 1) : s(78);
    case M::SelectGroundItem:
        return n >= 1 ? s(79) + ": " + tables.IdText(a.Params[0], true) : s(79);
    case M::RemoveFromQueue:
        return s(80);
    case M::Chat:
        return n >= 2 ? s(81) + ": " + DecodeUtf8Text(a.Params[1]) : s(81);
    case M::PlayerLeft:
        if (n >= 1 && !a.Params[0].empty() && a.Params[0][0] == '0')
            return s(82);
        if (n >= 1 && !a.Params[0].empty() && a.Params[0][0] == '2')
            return s(83);
        return s(84);
    case M::Cheat: {
        if (CheatName(a.Kind).empty())
            return {}; // the described cheats of late patches are never recorded
        std::string text = s(93) + ": " + std::string(CheatName(a.Kind));
        const bool withAmount = a.Kind == 39 || a.Kind == 40 || a.Kind == 45;
        return withAmount && n >= 1 ? text + " " + param(0) : text;
    }
    case M::TransferResources:
        if (n < 3)
            return s(88);
        return s(85) + names.Name(static_cast<uint8_t>(FirstByte(a) + 1)) + " " + param(1) + s(86) + param(2) + s(87);
    case M::Esc:
        return s(89);
    case M::HeroSkillSubmenu:
        return s(90);
    case M::BuildingSubmenu:
        return s(91);
    case M::MinimapSignal:
        return s(92);
    default:
        return {};
    }
}

TActionCells ActionCells(const TActionInfo& action, const TReplayInfo& replay, const TGameTables& tables,
                         const TPlayerNames& names) {
    return {
        names.Name(action.PlayerId),
        FormatGameTime(static_cast<int32_t>(static_cast<uint32_t>(action.Time & 0xFFFFFFFF)), false, tables.Language()),
        ActionText(action, replay, tables, names)};
}

} // namespace quillon
