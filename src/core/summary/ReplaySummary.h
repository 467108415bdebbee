#pragma once

#include "core/gamedata/GameTables.h"
#include "core/replay/ReplayInfo.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

/// Actions per minute of game time, counted as the Actions column counts them: the minutes add up to it.
struct TApmCurve {
    std::vector<int32_t> PerMinute; // one entry per minute of the game, minute 0 first
    int PeakMinute = -1;            // the first minute with the most actions; -1 when there are none
    int32_t PeakCount = 0;
    int32_t Total = 0;
};

enum class TBuildKind : uint8_t { Building, Unit, Hero, Upgrade };

/// One entry of a build order: an order to place or upgrade a building, train a unit or hero, or research.
struct TBuildStep {
    int64_t Time = 0; // ms of game time of the order
    TBuildKind Kind = TBuildKind::Unit;
    std::string Id;         // four-character object id
    std::string Name;       // in the tables' language
    bool Cancelled = false; // removed from the queue later
};

struct TSkillStep {
    int64_t Time = 0;
    std::string Id;
    std::string Name;
    int SkillLevel = 1; // the ability's level after this learn
    int HeroLevel = 1;  // the hero's level after this learn: one skill point per level
};

struct THeroRecord {
    int64_t Time = 0; // of the training order; of the first skill when the training was not recorded
    std::string Id;
    std::string Name;
    bool FromTavern = false;  // a neutral hero trained: only a tavern sells them
    bool TrainingSeen = true; // false for a hero the map gave (known only from its skills)
    bool Cancelled = false;   // removed from the queue
    std::vector<TSkillStep> Skills;

    int Level() const { return static_cast<int>(Skills.size()); }
};

struct TPlayerSummary {
    uint8_t Id = 0;
    std::string Name; // as the player list shows it
    uint8_t Color = 0;
    bool Observer = false;
    bool Computer = false;
    TApmCurve Apm;
    std::vector<TBuildStep> Builds;
    std::vector<THeroRecord> Heroes;
};

enum class TChatChannel : uint8_t { All, Allies, Observers, Private };

struct TChatLine {
    int64_t Time = 0;
    uint8_t PlayerId = 0;
    std::string Sender;
    TChatChannel Channel = TChatChannel::All;
    uint8_t ToPlayerId = 0; // private messages: the addressee's id; 0 when the replay cannot tell
    std::string To;
    std::string Text; // as the action list shows it
};

struct TLeaveLine {
    int64_t Time = 0;
    uint8_t PlayerId = 0;
    std::string Name;
    TLeaveResult Result = TLeaveResult::Quit;
};

/// How the game went, from a replay loaded at detail 2.
struct TReplaySummary {
    int MinuteCount = 0;                 // minutes of every APM curve
    std::vector<TPlayerSummary> Players; // every used slot, in the player list's order
    std::vector<TChatLine> Chat;
    std::vector<TLeaveLine> Leaves;
};

/// A round top for an APM scale, at least peak (and 10): 10, 15, 20, 25, 30, 40, 50, 60, 80, 100, 150 ...
int ApmScaleTop(int peak);

/// The summary of a replay loaded at detail 2; names in the tables' language. Without an action list
/// (lower detail) only the players and their empty lists are there.
TReplaySummary SummarizeReplay(const TReplayInfo& replay, const TGameTables& tables);

} // namespace quillon
