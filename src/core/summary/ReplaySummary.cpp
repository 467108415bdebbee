#include "core/summary/ReplaySummary.h"

#include "core/present/ActionText.h"
#include "core/present/ListRows.h"
#include "core/replay/ActionLayout.h"
#include "core/summary/HeroSkills.h"
#include "core/text/DecodeText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace quillon {

namespace {

constexpr int64_t MinuteMs = 60000;
// A second order of the same research or building upgrade this soon after the first is a repeated click: the
// game queues each of them once, and none finishes this fast.
constexpr int64_t RepeatedClickMs = 2000;

enum class TObjectClass : uint8_t { Other, Building, Unit, Hero, Upgrade, HeroSkill };

struct TObjectFacts {
    TObjectClass Class = TObjectClass::Other;
    std::string Name;
    std::optional<THeroSkillRule> Skill;
};

// What the catalogue says about each object id met, looked up once per summary.
class TObjectCatalogue {
public:
    explicit TObjectCatalogue(const TGameTables& tables) : Tables(tables) {}

    const TObjectFacts& Facts(std::string_view id) {
        static const TObjectFacts none;
        // Order codes ("0003") are hexadecimal digits; object ids start with a letter.
        if (id.size() != 4 || (id[0] >= '0' && id[0] <= '9'))
            return none;
        uint32_t key = 0;
        std::memcpy(&key, id.data(), 4);
        // The cache is empty before the first look-up, whatever key it was made with.
        if (Last != nullptr && key == LastKey)
            return *Last;
        const auto [it, fresh] = Known.try_emplace(key);
        if (fresh)
            it->second = Classify(id);
        LastKey = key;
        Last = &it->second;
        return it->second;
    }

private:
    TObjectFacts Classify(std::string_view id) const {
        TObjectFacts f;
        if ((f.Skill = HeroSkillRule(id))) {
            f.Class = TObjectClass::HeroSkill;
            f.Name = std::string(Tables.LookupName(TGameTable::Ability, id).value_or(id));
            return f;
        }
        static constexpr std::pair<TGameTable, TObjectClass> Order[] = {{TGameTable::Building, TObjectClass::Building},
                                                                        {TGameTable::Unit, TObjectClass::Unit},
                                                                        {TGameTable::Upgrade, TObjectClass::Upgrade},
                                                                        {TGameTable::Summon, TObjectClass::Unit}};
        for (const auto& [table, cls] : Order)
            if (const auto name = Tables.LookupName(table, id)) {
                f.Name = std::string(*name);
                // Heroes are the ids with an upper-case first letter, as the game has it.
                f.Class = table == TGameTable::Summon && id[0] >= 'A' && id[0] <= 'Z' ? TObjectClass::Hero : cls;
                return f;
            }
        return f;
    }

    const TGameTables& Tables;
    std::unordered_map<uint32_t, TObjectFacts> Known; // node-based: Last stays valid
    uint32_t LastKey = 0;
    const TObjectFacts* Last = nullptr;
};

bool IsOrder(TActionMeaning m) {
    using M = TActionMeaning;
    return m == M::OrderNoTarget || m == M::OrderPoint || m == M::OrderObject || m == M::GiveOrDropItem ||
           m == M::OrderTwoTargets || m == M::OrderTwoTargetsObject;
}

TBuildKind BuildKindOf(TObjectClass c) {
    switch (c) {
    case TObjectClass::Building:
        return TBuildKind::Building;
    case TObjectClass::Hero:
        return TBuildKind::Hero;
    case TObjectClass::Upgrade:
        return TBuildKind::Upgrade;
    default:
        return TBuildKind::Unit;
    }
}

class TSummaryBuilder {
public:
    TSummaryBuilder(const TReplayInfo& replay, const TGameTables& tables)
        : Replay(replay), Catalogue(tables), Names(replay) {
        IndexById.fill(-1);
    }

    TReplaySummary Build() {
        AddPlayers();
        S.MinuteCount = MinuteCount();
        for (auto& p : S.Players)
            p.Apm.PerMinute.assign(static_cast<size_t>(S.MinuteCount), 0);
        if (Replay.Actions)
            for (int32_t i = 0; i < Replay.Actions->Count(); ++i)
                Add(Replay.Actions->At(i));
        for (auto& p : S.Players)
            FinishCurve(p.Apm);
        return std::move(S);
    }

private:
    void AddPlayers() {
        if (!Replay.Players)
            return;
        for (int i = 0; i < Replay.Players->Count(); ++i) {
            const TPlayerInfo& p = Replay.Players->At(i);
            if (p.SlotStatus != 2 || IndexById[p.Id] >= 0)
                continue;
            IndexById[p.Id] = static_cast<int>(S.Players.size());
            TPlayerSummary ps;
            ps.Id = p.Id;
            ps.Name = PlayerShownName(Replay, p);
            ps.Color = p.Color;
            ps.Observer = p.Observer;
            ps.Computer = p.Computer;
            S.Players.push_back(std::move(ps));
        }
    }

    // Minutes that the game (or its last action) reached into; an action right on the last minute's end
    // belongs to that minute rather than to a minute of its own.
    int MinuteCount() const {
        int64_t last = std::max<int64_t>(Replay.Length, 0);
        const bool anyAction = Replay.Actions && Replay.Actions->Count() > 0;
        if (anyAction)
            last = std::max(last, Replay.Actions->At(Replay.Actions->Count() - 1).Time);
        return std::max(anyAction ? 1 : 0, static_cast<int>((last + MinuteMs - 1) / MinuteMs));
    }

    void Add(const TActionInfo& a) {
        const int index = IndexById[a.PlayerId];
        TPlayerSummary* player = index >= 0 ? &S.Players[static_cast<size_t>(index)] : nullptr;
        if (player) {
            const auto minute = static_cast<size_t>(std::max<int64_t>(a.Time, 0) / MinuteMs);
            ++player->Apm.PerMinute[std::min(minute, player->Apm.PerMinute.size() - 1)];
        }
        const TActionMeaning meaning = KindMeaning(a.Kind, Replay.Layout);
        if (meaning == TActionMeaning::Chat)
            AddChat(a);
        else if (meaning == TActionMeaning::PlayerLeft)
            AddLeave(a);
        else if (player && IsOrder(meaning) && a.ParamCount() >= 2)
            AddOrder(*player, a, meaning, a.Params[1]);
        else if (player && meaning == TActionMeaning::RemoveFromQueue && a.ParamCount() >= 1)
            Cancel(*player, a.Params[0]);
    }

    void AddOrder(TPlayerSummary& p, const TActionInfo& a, TActionMeaning meaning, std::string_view id) {
        const TObjectFacts& f = Catalogue.Facts(id);
        switch (f.Class) {
        case TObjectClass::Other:
            return;
        case TObjectClass::HeroSkill:
            if (meaning == TActionMeaning::OrderNoTarget)
                Learn(p, a.Time, id, f);
            return;
        case TObjectClass::Hero:
            if (HasHero(p, id))
                return; // each hero once: a second order is a repeated click
            p.Heroes.push_back({a.Time, std::string(id), f.Name, id[0] == 'N', true, false, {}});
            break;
        case TObjectClass::Upgrade:
            if (RecentlyOrdered(p, id, a.Time))
                return;
            break;
        case TObjectClass::Building:
            // Without a target a building order upgrades the selected building in place.
            if (meaning == TActionMeaning::OrderNoTarget && RecentlyOrdered(p, id, a.Time))
                return;
            break;
        default:
            break;
        }
        p.Builds.push_back({a.Time, BuildKindOf(f.Class), std::string(id), f.Name, false});
    }

    static bool HasHero(const TPlayerSummary& p, std::string_view id) {
        return std::any_of(p.Heroes.begin(), p.Heroes.end(),
                           [id](const THeroRecord& h) { return h.Id == id && !h.Cancelled; });
    }

    static bool RecentlyOrdered(const TPlayerSummary& p, std::string_view id, int64_t time) {
        for (auto it = p.Builds.rbegin(); it != p.Builds.rend() && time - it->Time < RepeatedClickMs; ++it)
            if (it->Id == id && !it->Cancelled)
                return true;
        return false;
    }

    void Learn(TPlayerSummary& p, int64_t time, std::string_view id, const TObjectFacts& f) {
        const THeroSkillRule& rule = *f.Skill;
        THeroRecord* chosen = nullptr;
        int chosenSkillLevel = 0;
        bool anyOfType = false;
        for (THeroRecord& h : p.Heroes) {
            if (h.Cancelled || (rule.Hero != "*" && h.Id != rule.Hero))
                continue;
            anyOfType = true;
            const int skillLevel =
                1 + static_cast<int>(std::count_if(h.Skills.begin(), h.Skills.end(),
                                                   [id](const TSkillStep& s) { return s.Id == id; }));
            if (!SkillLevelAllowed(rule, skillLevel, h.Level() + 1))
                continue;
            if (!chosen || h.Level() < chosen->Level()) {
                chosen = &h;
                chosenSkillLevel = skillLevel;
            }
        }
        if (!chosen) {
            // A learn no hero could take is a repeated click; a hero never seen trained came from the map.
            if (anyOfType || rule.Hero == "*" || !SkillLevelAllowed(rule, 1, 1))
                return;
            const TObjectFacts& hero = Catalogue.Facts(rule.Hero);
            p.Heroes.push_back({time, std::string(rule.Hero), hero.Name, false, false, false, {}});
            chosen = &p.Heroes.back();
            chosenSkillLevel = 1;
        }
        chosen->Skills.push_back({time, std::string(id), f.Name, chosenSkillLevel, chosen->Level() + 1});
    }

    static void Cancel(TPlayerSummary& p, std::string_view id) {
        for (auto it = p.Builds.rbegin(); it != p.Builds.rend(); ++it)
            if (it->Id == id && !it->Cancelled) {
                it->Cancelled = true;
                break;
            }
        for (auto it = p.Heroes.rbegin(); it != p.Heroes.rend(); ++it)
            if (it->Id == id && !it->Cancelled && it->TrainingSeen && it->Skills.empty()) {
                it->Cancelled = true;
                break;
            }
    }

    void AddChat(const TActionInfo& a) {
        TChatLine line;
        line.Time = a.Time;
        line.PlayerId = a.PlayerId;
        line.Sender = SenderName(a.PlayerId);
        int mode = 0;
        if (a.ParamCount() >= 1) {
            const std::string_view m = a.Params[0];
            std::from_chars(m.data(), m.data() + m.size(), mode);
        }
        if (mode == 1 || mode == 2) {
            line.Channel = mode == 1 ? TChatChannel::Allies : TChatChannel::Observers;
        } else if (mode >= 3) {
            // Private messages name the addressee by slot.
            line.Channel = TChatChannel::Private;
            if (const TPlayerInfo* to = PlayerInSlot(mode - 3)) {
                line.ToPlayerId = to->Id;
                line.To = PlayerShownName(Replay, *to);
            }
        }
        line.Text = a.ParamCount() >= 2 ? DecodeUtf8Text(a.Params[1]) : std::string();
        S.Chat.push_back(std::move(line));
    }

    void AddLeave(const TActionInfo& a) {
        S.Leaves.push_back({a.Time, a.PlayerId, SenderName(a.PlayerId), LeaveResultOf(a)});
    }

    std::string SenderName(uint8_t id) const {
        const int index = IndexById[id];
        return index >= 0 ? S.Players[static_cast<size_t>(index)].Name : DecodeUtf8Text(Names.Name(id));
    }

    const TPlayerInfo* PlayerInSlot(int slot) const {
        if (!Replay.Players || !Replay.SlotsRecorded)
            return nullptr;
        for (int i = 0; i < Replay.Players->Count(); ++i)
            if (Replay.Players->At(i).Slot == slot && Replay.Players->At(i).SlotStatus == 2)
                return &Replay.Players->At(i);
        return nullptr;
    }

    static void FinishCurve(TApmCurve& c) {
        for (size_t m = 0; m < c.PerMinute.size(); ++m) {
            c.Total += c.PerMinute[m];
            if (c.PerMinute[m] > c.PeakCount) {
                c.PeakCount = c.PerMinute[m];
                c.PeakMinute = static_cast<int>(m);
            }
        }
    }

    const TReplayInfo& Replay;
    TObjectCatalogue Catalogue;
    TPlayerNames Names;
    std::array<int, 256> IndexById{};
    TReplaySummary S;
};

} // namespace

TReplaySummary SummarizeReplay(const TReplayInfo& replay, const TGameTables& tables) {
    return TSummaryBuilder(replay, tables).Build();
}

int ApmScaleTop(int peak) {
    peak = std::max(peak, 10);
    for (int64_t power = 1;; power *= 10)
        for (const int m : {10, 15, 20, 25, 30, 40, 50, 60, 80})
            if (power * m >= peak)
                return static_cast<int>(power * m);
}

} // namespace quillon
