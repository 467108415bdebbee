#include "core/replay/ActionLayout.h"

#include <cstddef>
#include <initializer_list>

namespace quillon {

namespace {

using M = TActionMeaning;
using C = TCountRule;
using P = TParamKind;
using TEraTable = std::array<TActionRow, 256>;

TActionRow Row(M meaning, TSizeRule size, uint8_t before, uint8_t texts, uint8_t after, C count,
               std::initializer_list<TParamSpec> params) {
    TActionRow row;
    row.Meaning = meaning;
    row.Size = size;
    row.Before = before;
    row.Texts = texts;
    row.After = after;
    row.Count = count;
    for (const auto& p : params)
        row.Params[row.ParamCount++] = p;
    return row;
}

TActionRow Fixed(M meaning, uint8_t size, C count, std::initializer_list<TParamSpec> params = {}) {
    return Row(meaning, TSizeRule::Fixed, size, 0, 0, count, params);
}

TActionRow WithTexts(M meaning, uint8_t before, uint8_t texts, uint8_t after, C count,
                     std::initializer_list<TParamSpec> params = {}) {
    return Row(meaning, TSizeRule::Texts, before, texts, after, count, params);
}

// Orders of abilities (0x10-0x15). The order code follows a flag byte (a u16 from Version 13 on),
// and from Version 7 on 8 more bytes follow the code; every later field moves with them.
void AddAbilityOrders(TEraTable& t, TActionEra era) {
    const uint8_t f = era >= TActionEra::Flags16 ? 3 : 2;                       // offset of the order code
    const uint8_t e = era == TActionEra::Classic ? 0 : 8;                       // bytes after the code
    const auto at = [&](int rel) { return static_cast<uint8_t>(f + e + rel); }; // offsets after code + extra
    t[0x10] = Fixed(M::OrderNoTarget, at(4), C::Yes, {{P::Code, 1}, {P::Id, f}});
    t[0x11] = Fixed(M::OrderPoint, at(12), C::Yes, {{P::Flags, 1}, {P::Id, f}, {P::Int, at(4)}, {P::Int, at(8)}});
    t[0x12] = Fixed(M::OrderObject, at(20), C::Yes,
                    {{P::Flags, 1}, {P::Id, f}, {P::Int, at(4)}, {P::Int, at(8)}, {P::Id, at(12)}, {P::Id, at(16)}});
    t[0x13] = Fixed(M::GiveOrDropItem, at(28), C::Yes,
                    {{P::Flags, 1},
                     {P::Id, f},
                     {P::Int, at(4)},
                     {P::Int, at(8)},
                     {P::Id, at(12)},
                     {P::Id, at(16)},
                     {P::Id, at(20)},
                     {P::Id, at(24)}});
    const std::initializer_list<TParamSpec> twoTargets = {{P::Flags, 1},   {P::Id, f},      {P::Int, at(4)},
                                                          {P::Int, at(8)}, {P::Id, at(12)}, {P::Int, at(25)},
                                                          {P::Int, at(29)}};
    t[0x14] = Fixed(M::OrderTwoTargets, at(33), C::Yes, twoTargets);
    if (era >= TActionEra::Flags16) {
        t[0x15] = Fixed(M::OrderTwoTargetsObject, at(41), C::Yes,
                        {{P::Flags, 1},
                         {P::Id, f},
                         {P::Int, at(4)},
                         {P::Int, at(8)},
                         {P::Id, at(12)},
                         {P::Int, at(25)},
                         {P::Int, at(29)},
                         {P::Id, at(33)},
                         {P::Id, at(37)}});
    }
}

void AddSelectionActions(TEraTable& t, TActionEra era) {
    t[0x16] = Row(M::ChangeSelection, TSizeRule::UnitList, 4, 0, 0, C::Selection, {{P::UnitList, 1}});
    t[0x17] = Row(M::AssignGroup, TSizeRule::UnitList, 4, 0, 0, C::Selection, {{P::UnitList, 1}});
    t[0x18] = Fixed(M::SelectGroup, 3, C::Yes, {{P::Byte, 1}});
    if (era < TActionEra::NewSelection) {
        t[0x19] = Fixed(M::SelectSubgroup, 2, C::Subgroup, {{P::Byte, 1}});
        t[0x1A] = Fixed(M::ScenarioRecord, 10, C::No);
        t[0x1B] = Fixed(M::SelectGroundItem, 10, C::Yes, {{P::Id, 2}, {P::Id, 6}});
        t[0x1C] = Fixed(M::CancelHeroRevival, 9, C::Yes, {{P::Id, 1}, {P::Id, 5}});
        t[0x1D] = Fixed(M::RemoveFromQueue, 6, C::Yes, {{P::Id, 2}});
    } else {
        // 1.14b: a subgroup report pair (0x1A, 0x19) follows nearly every selection, and 0x1B echoes
        // each selected unit; neither is a command of its own.
        t[0x19] = Fixed(M::SubgroupState, 13, C::No);
        t[0x1A] = Fixed(M::PreSubselection, 1, C::No);
        t[0x1B] = Fixed(M::SelectionEcho, 10, C::No);
        t[0x1C] = Fixed(M::SelectGroundItem, 10, C::Yes, {{P::Id, 2}, {P::Id, 6}});
        t[0x1D] = Fixed(M::CancelHeroRevival, 9, C::Yes, {{P::Id, 1}, {P::Id, 5}});
        t[0x1E] = Fixed(M::RemoveFromQueue, 6, C::Yes, {{P::Id, 2}});
    }
}

void AddCheats(TEraTable& t) {
    for (int id : {0x20, 0x22, 0x23, 0x24, 0x25, 0x26, 0x29, 0x2A, 0x2B, 0x2C, 0x2F, 0x30, 0x31, 0x32})
        t[static_cast<std::size_t>(id)] = Fixed(M::Cheat, 1, C::Yes);
    for (int id : {0x27, 0x28, 0x2D})
        t[static_cast<std::size_t>(id)] = Fixed(M::Cheat, 6, C::Yes, {{P::Int, 2}});
    t[0x2E] = Fixed(M::Cheat, 5, C::Yes, {{P::Id, 1}});
}

// 0x62 and up: 1.07 inserted 0x63-0x65, so every identifier from 0x65 moved up by one.
void AddLateActions(TEraTable& t, TActionEra era) {
    if (era == TActionEra::Classic) {
        t[0x62] = Fixed(M::ScenarioTrigger, 9, C::No);
        t[0x65] = Fixed(M::HeroSkillSubmenu, 1, C::Yes);
        t[0x66] = Fixed(M::BuildingSubmenu, 1, C::Yes);
        t[0x67] = Fixed(M::MinimapSignal, 13, C::Yes, {{P::Int, 1}, {P::Int, 5}});
        t[0x68] = Fixed(M::ContinueGame, 17, C::No);
        t[0x69] = Fixed(M::ContinueGame, 17, C::No);
        return;
    }
    t[0x62] = Fixed(M::ScenarioTrigger, 13, C::No);
    t[0x63] = Fixed(M::Unknown63, 9, C::No);
    t[0x64] = Fixed(M::TrackableClick, 9, C::No);
    t[0x65] = Fixed(M::TrackableHover, 9, C::No);
    t[0x66] = Fixed(M::HeroSkillSubmenu, 1, C::Yes);
    t[0x67] = Fixed(M::BuildingSubmenu, 1, C::Yes);
    t[0x68] = Fixed(M::MinimapSignal, 13, C::Yes, {{P::Int, 1}, {P::Int, 5}});
    t[0x69] = Fixed(M::ContinueGame, 17, C::No);
    t[0x6A] = Fixed(M::ContinueGame, 17, C::No);
    // Game-cache records: file, mission and key texts, then the value.
    t[0x6B] = WithTexts(M::CacheStoreInteger, 1, 3, 4, C::No);
    t[0x6C] = WithTexts(M::CacheStoreReal, 1, 3, 4, C::No);
    t[0x6D] = WithTexts(M::CacheStoreBoolean, 1, 3, 1, C::No);
    for (int id = 0x70; id <= 0x73; ++id)
        t[static_cast<std::size_t>(id)] = WithTexts(M::CacheClear, 1, 3, 0, C::No);
    // Input echoes and script traffic of later patches; none of them is a command of the player.
    t[0x75] = Fixed(M::ArrowKey, 2, C::No);
    t[0x76] = Fixed(M::MouseEvent, 11, C::No);
    t[0x77] = Row(M::ScriptInputEvent, TSizeRule::TrailingBytes, 13, 0, 0, C::No, {});
    t[0x78] = WithTexts(M::ScriptSyncData, 1, 2, 4, C::No);
    t[0x79] = WithTexts(M::UiFrameEvent, 17, 1, 0, C::No);
    t[0x7A] = Fixed(M::Unknown7A, 21, C::No);
    t[0x7B] = Fixed(M::CommandButtonEcho, 17, C::No);
    // Described cheats of late patches, never met; their sizes keep the walk aligned.
    t[0xA0] = Fixed(M::Cheat, 15, C::No);
    t[0xA1] = Fixed(M::Cheat, 10, C::No);
}

TEraTable BuildEra(TActionEra era) {
    if (era == TActionEra::Renumbered202) {
        // 2.0.2 dropped the script input event: every identifier above 0x77 moved down by one.
        TEraTable base = BuildEra(TActionEra::NewSelection);
        TEraTable t = base;
        for (int id = 0x77; id < 0xFF; ++id)
            t[static_cast<std::size_t>(id)] = base[static_cast<std::size_t>(id + 1)];
        t[0xFF] = TActionRow{};
        return t;
    }
    TEraTable t{};
    t[0x01] = Fixed(M::Pause, 1, C::Yes);
    t[0x02] = Fixed(M::Resume, 1, C::Yes);
    t[0x03] = Fixed(M::SetSpeed, 2, C::Yes, {{P::Byte, 1}});
    t[0x04] = Fixed(M::SpeedUp, 1, C::Yes);
    t[0x05] = Fixed(M::SpeedDown, 1, C::Yes);
    t[0x06] = WithTexts(M::SaveGame, 1, 1, 0, C::Yes, {{P::Text, 1}});
    t[0x07] = Fixed(M::SaveFinished, 5, C::No);
    AddAbilityOrders(t, era);
    AddSelectionActions(t, era);
    AddCheats(t);
    t[0x21] = Fixed(M::Unknown21, 9, C::No);
    t[0x50] = Fixed(M::AllyOptions, 6, C::No);
    t[0x51] = Fixed(M::TransferResources, 10, C::Yes, {{P::Byte, 1}, {P::Int, 2}, {P::Int, 6}});
    t[0x60] = WithTexts(M::ChatCommand, 9, 1, 0, C::No);
    t[0x61] = Fixed(M::Esc, 1, C::Yes);
    AddLateActions(t, era);
    return t;
}

const std::array<TEraTable, ActionEraCount>& Tables() {
    static const std::array<TEraTable, ActionEraCount> tables = {
        BuildEra(TActionEra::Classic), BuildEra(TActionEra::Early), BuildEra(TActionEra::Flags16),
        BuildEra(TActionEra::NewSelection), BuildEra(TActionEra::Renumbered202)};
    return tables;
}

} // namespace

const TActionRow& ActionRow(uint8_t storedId, const TLayoutContext& context) {
    return Tables()[static_cast<std::size_t>(context.Era())][storedId];
}

TActionMeaning ActionMeaning(uint8_t storedId, const TLayoutContext& context) {
    return ActionRow(storedId, context).Meaning;
}

TActionMeaning KindMeaning(uint8_t kind, const TLayoutContext& context) {
    switch (kind) {
    case 0x20:
        return TActionMeaning::Chat;
    case 0x21:
        return TActionMeaning::PlayerLeft;
    case 0x33:
        return TActionMeaning::Cheat;
    default:
        return ActionMeaning(kind, context);
    }
}

} // namespace quillon
