#include "core/present/ActionText.h"

#include "core/lang/StringIds.h"
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
    const auto s = [&tables](MainString n) { return GetString(n, tables.Language()); };
    const size_t n = a.ParamCount();
    const auto param = [&a](size_t i) { return std::string(a.Params[i]); };
    const auto units = [n] { return std::to_string((n - 1) / 2); };
    using M = TActionMeaning;
    switch (KindMeaning(a.Kind, replay.Layout)) {
    case M::Pause:
        return s(MainString::PauseGame);
    case M::Resume:
        return s(MainString::ResumeGame);
    case M::SetSpeed:
        if (n == 0)
            return s(MainString::SetSpeed);
        return s(FirstByte(a) == 0   ? MainString::SpeedSlow
                 : FirstByte(a) == 1 ? MainString::SpeedNormal
                                     : MainString::SpeedFast);
    case M::SpeedUp:
        return s(MainString::IncreaseSpeed);
    case M::SpeedDown:
        return s(MainString::DecreaseSpeed);
    case M::SaveGame:
        return n >= 1 ? s(MainString::SaveGameWithName) + param(0) : s(MainString::SaveGame);
    case M::OrderNoTarget:
        return n >= 2 ? tables.IdText(a.Params[1], false) : s(MainString::UseNormalAbility);
    case M::OrderPoint:
        return n >= 2 ? tables.IdText(a.Params[1], false) : s(MainString::UseSpecialAbility);
    case M::OrderObject:
    case M::OrderTwoTargets:
    case M::OrderTwoTargetsObject:
        return n >= 2 ? tables.IdText(a.Params[1], false) + s(MainString::WithTarget)
                      : s(MainString::UseAbilityWithTarget);
    case M::GiveOrDropItem:
        return n >= 2 ? tables.IdText(a.Params[1], false) : s(MainString::PutItem);
    case M::ChangeSelection:
        if (n == 0)
            return s(MainString::ChangeSelection);
        switch (FirstByte(a)) {
        case 0:
            return s(MainString::SelectPrefix) + units() + s(MainString::SelectSuffix);
        case 1:
            return s(MainString::AddPrefix) + units() + s(MainString::AddSuffix);
        default:
            return s(MainString::RemovePrefix) + units() + s(MainString::RemoveSuffix);
        }
    case M::AssignGroup:
        return n >= 1 ? s(MainString::AssignPrefix) + units() + s(MainString::AssignSuffix) +
                            std::to_string(FirstByte(a) + 1)
                      : s(MainString::AssignHotkey);
    case M::SelectGroup:
        return n >= 1 ? s(MainString::SelectGroupHotkey) + " " + std::to_string(FirstByte(a) + 1)
                      : s(MainString::SelectGroupHotkey);
    case M::SelectSubgroup:
        return n >= 1 ? s(MainString::SelectSubgroup) + " " + std::to_string(FirstByte(a) + 1)
                      : s(MainString::SelectSubgroup);
    case M::SelectGroundItem:
        return n >= 1 ? s(MainString::SelectItem) + ": " + tables.IdText(a.Params[0], true) : s(MainString::SelectItem);
    case M::RemoveFromQueue:
        return s(MainString::RemoveFromQueue);
    case M::Chat:
        return n >= 2 ? s(MainString::Chat) + ": " + DecodeUtf8Text(a.Params[1]) : s(MainString::Chat);
    case M::PlayerLeft:
        switch (LeaveResultOf(a)) {
        case TLeaveResult::Disconnect:
            return s(MainString::Disconnect);
        case TLeaveResult::Win:
            return s(MainString::EventuallyWin);
        case TLeaveResult::Quit:
            break;
        }
        return s(MainString::QuitGame);
    case M::Cheat: {
        if (CheatName(a.Kind).empty())
            return {}; // the described cheats of late patches are never recorded
        std::string text = s(MainString::UseCheatCode) + ": " + std::string(CheatName(a.Kind));
        const bool withAmount = a.Kind == 39 || a.Kind == 40 || a.Kind == 45;
        return withAmount && n >= 1 ? text + " " + param(0) : text;
    }
    case M::TransferResources:
        if (n < 3)
            return s(MainString::GiveResource);
        return s(MainString::GivePlayer) + names.Name(static_cast<uint8_t>(FirstByte(a) + 1)) + " " + param(1) +
               s(MainString::GoldsAnd) + param(2) + s(MainString::Lumber);
    case M::Esc:
        return s(MainString::EscPressed);
    case M::HeroSkillSubmenu:
        return s(MainString::HeroSkillSubmenu);
    case M::BuildingSubmenu:
        return s(MainString::BuildingSubmenu);
    case M::MinimapSignal:
        return s(MainString::MinimapSignal);
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
