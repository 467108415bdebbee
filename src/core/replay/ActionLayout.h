#pragma once

#include "core/replay/LayoutContext.h"

#include <array>
#include <cstdint>

namespace quillon {

/// What a stored command-block identifier means. The stored identifier of a meaning moved between
/// patches; this is the one name for it whatever the patch.
enum class TActionMeaning : uint8_t {
    Unknown,
    Pause,
    Resume,
    SetSpeed,
    SpeedUp,
    SpeedDown,
    SaveGame,
    SaveFinished,
    OrderNoTarget,
    OrderPoint,
    OrderObject,
    GiveOrDropItem,
    OrderTwoTargets,
    OrderTwoTargetsObject,
    ChangeSelection,
    AssignGroup,
    SelectGroup,
    SelectSubgroup,
    SubgroupState,
    PreSubselection,
    ScenarioRecord,
    SelectionEcho,
    SelectGroundItem,
    CancelHeroRevival,
    RemoveFromQueue,
    Cheat,
    Unknown21,
    AllyOptions,
    TransferResources,
    ChatCommand,
    Esc,
    ScenarioTrigger,
    Unknown63,
    TrackableClick,
    TrackableHover,
    HeroSkillSubmenu,
    BuildingSubmenu,
    MinimapSignal,
    ContinueGame,
    CacheStoreInteger,
    CacheStoreReal,
    CacheStoreBoolean,
    CacheClear,
    ArrowKey,
    MouseEvent,
    ScriptInputEvent,
    ScriptSyncData,
    UiFrameEvent,
    Unknown7A,
    CommandButtonEcho,
    // Kinds the parser makes for records outside command blocks.
    Chat,
    PlayerLeft,
};

/// How the length of an action is found.
enum class TSizeRule : uint8_t {
    Fixed,        // Before bytes
    Texts,        // Before bytes, Texts zero-terminated texts, After bytes
    UnitList,     // 4 + 8 x the u16 count at offset 2 (selections, group assignment)
    TrailingBytes // Before bytes + the u32 count at offset Before - 4
};

enum class TCountRule : uint8_t {
    No,
    Yes,
    Selection, // counted when the selection is not empty afterwards
    Subgroup   // counted unless the byte at offset 1 is 0x00 or 0xFF
};

enum class TParamKind : uint8_t { Byte, Int, Id, Flags, Code, Text, UnitList };

struct TParamSpec {
    TParamKind Kind = TParamKind::Byte;
    uint8_t Offset = 0;
};

/// Layout of one identifier in one era: size, whether it counts, and the parameters it records.
struct TActionRow {
    TActionMeaning Meaning = TActionMeaning::Unknown;
    TSizeRule Size = TSizeRule::Fixed;
    uint8_t Before = 0;
    uint8_t Texts = 0;
    uint8_t After = 0;
    TCountRule Count = TCountRule::No;
    uint8_t ParamCount = 0;
    std::array<TParamSpec, 9> Params{};

    bool Known() const { return Meaning != TActionMeaning::Unknown; }
};

/// The row of a stored identifier in a replay of this context; a row that is not Known() means the
/// identifier has no layout there (the rest of its block is skipped).
const TActionRow& ActionRow(uint8_t storedId, const TLayoutContext& context);

/// Meaning of a stored command identifier for a replay of this context.
TActionMeaning ActionMeaning(uint8_t storedId, const TLayoutContext& context);

/// Meaning of a recorded action's Kind: the parser's own kinds (0x20 chat, 0x21 a player left,
/// 0x33 the cheat stored as 0x20) first, then the stored identifier's meaning.
TActionMeaning KindMeaning(uint8_t kind, const TLayoutContext& context);

} // namespace quillon
