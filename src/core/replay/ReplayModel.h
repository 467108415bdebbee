#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// What a load at detail 2 keeps of each action: everything, or (for an index that only summarises the game) the
/// time, player and kind of every action and the parameters only of orders, queue removals, chat and leaves.
enum class TActionDetail : uint8_t { Full, ForSummary };

/// "Not found" answer of the lookups by player id or team number.
inline constexpr uint8_t NotFound = 255;

/// Highest player id and team number of any patch (24 from 1.29 on).
inline constexpr int MaxPlayerId = 24;

struct TGameInfo {
    std::string GameName;
    std::string MapPath;
    std::string Creator;
    int32_t GameType = 0; // 1 ladder, 2 custom, 3 single-player or local, 4 ladder team
    uint8_t StartSpots = 0;
};

struct TPlayerInfo {
    uint8_t Id = 0;
    uint8_t SlotStatus = 0; // 0 open, 1 closed, 2 used
    std::string Name;       // stored bytes, at most 20 characters
    bool Observer = false;
    uint8_t Team = 0; // slot team byte + 1; 0 for observers, open and closed slots
    uint8_t Color = 0;
    uint8_t Race = 0; // 1 Human, 2 Orc, 3 Night Elf, 4 Undead, 5 Demon, 6 Random
    int32_t Actions = 0;
    double Apm = 0;
    uint8_t Handicap = 0;
    int64_t Time = 0; // ms of game time at which the player left
    bool Computer = false;
    uint8_t AiStrength = 0;  // 0 easy, 1 normal, 2 insane
    uint8_t Slot = NotFound; // position in the slot records; private chat names its addressee by it
};

struct TTeamInfo {
    uint8_t Number = 0;
    uint8_t Count = 0;
    std::vector<uint8_t> Members; // player ids in slot order
};

/// The parameter texts of one action, packed into one buffer (two length bytes before each text):
/// a replay holds hundreds of thousands of actions, and a vector of strings each would triple the model.
class TParamList {
public:
    /// Appends one parameter to a packed buffer, for building a list in a reused buffer.
    static void Pack(std::string& packed, std::string_view text);
    /// A list from a buffer built with Pack.
    void Assign(std::string_view packed, uint16_t count);

    void Add(std::string_view text);
    size_t Count() const { return Number; }
    bool Empty() const { return Number == 0; }
    std::string_view operator[](size_t index) const;
    std::vector<std::string> ToVector() const;
    bool operator==(const TParamList& other) const = default;

private:
    std::string Packed;
    uint16_t Number = 0;
};

struct TActionInfo {
    int64_t Time = 0;
    uint8_t PlayerId = 0;
    uint8_t Kind = 0; // stored identifier, or 0x20 chat, 0x21 player left, 0x33 the stored identifier 0x20
    TParamList Params;

    size_t ParamCount() const { return Params.Count(); }
};

/// How a player left, as a leave action (kind 0x21) keeps it.
enum class TLeaveResult : uint8_t { Disconnect, Quit, Win };
TLeaveResult LeaveResultOf(const TActionInfo& leave);

class TPlayersInfo {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    void SetCount(uint8_t n) { Items.resize(n); }
    TPlayerInfo GetItem(int index) const { return Items.at(static_cast<size_t>(index)); }
    void SetItem(int index, const TPlayerInfo& item) { Items.at(static_cast<size_t>(index)) = item; }
    /// Index of the first element with this id, or NotFound.
    uint8_t IndexOfId(uint8_t id) const;
    /// Largest id (unsigned); 0 for an empty collection.
    uint8_t MaxId() const;
    /// Adds one to Actions of element index; an index outside the collection is ignored.
    void AddAction(int index);

    /// In-place access for the parser, which updates elements many times per replay.
    TPlayerInfo& At(int index) { return Items.at(static_cast<size_t>(index)); }
    const TPlayerInfo& At(int index) const { return Items.at(static_cast<size_t>(index)); }
    void Append(TPlayerInfo item) { Items.push_back(std::move(item)); }

private:
    std::vector<TPlayerInfo> Items;
};

class TTeamsInfo {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    void SetCount(uint8_t n) { Items.resize(n); }
    TTeamInfo GetItem(int index) const { return Items.at(static_cast<size_t>(index)); }
    void SetItem(int index, const TTeamInfo& item) { Items.at(static_cast<size_t>(index)) = item; }
    uint8_t IndexOfTeam(uint8_t number) const;
    const TTeamInfo& At(int index) const { return Items.at(static_cast<size_t>(index)); }

private:
    std::vector<TTeamInfo> Items;
};

/// The recorded actions. Storage grows by chunks of ActionChunk records, so appending never moves
/// what is already there (Capacity grows in those steps).
class TActionsInfo {
public:
    static constexpr int32_t ActionChunk = 1000;

    int32_t Count() const { return Size; }
    int32_t Capacity() const { return static_cast<int32_t>(Chunks.size()) * ActionChunk; }
    void SetCount(int32_t n);
    TActionInfo GetItem(int32_t index) const { return At(index); }
    void SetItem(int32_t index, const TActionInfo& item) { Slot(index) = item; }
    const TActionInfo& At(int32_t index) const;
    void Append(TActionInfo&& item);

private:
    TActionInfo& Slot(int32_t index);

    std::vector<std::unique_ptr<TActionInfo[]>> Chunks;
    int32_t Size = 0;
};

} // namespace quillon
