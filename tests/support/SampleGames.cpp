#include "SampleGames.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace quillon::testing {

namespace {

// Small deterministic generator so every build writes the same bytes.
struct TLcg {
    uint32_t State;
    uint32_t Next(uint32_t bound) {
        State = State * 1664525u + 1013904223u;
        return (State >> 8) % bound;
    }
};

TBytes RandomAction(TLcg& rng, uint32_t version) {
    static const char* const Trains[] = {"hfoo", "hpea", "hkni", "ogru", "opeo", "ewsp", "uaco", "ugho"};
    static const char* const Abilities[] = {"AHbz", "AHtb", "AOcl", "AEer"};
    switch (rng.Next(8)) {
    case 0:
    case 1: {
        const char* code = Trains[rng.Next(8)];
        const char order[5] = {code[0], code[1], code[2], code[3], 0};
        return act::OrderNoTarget(version, order);
    }
    case 2:
    case 3: {
        // right-click at a point: order code 0x000D0003
        TBytes a = act::OrderPoint(version, "xxxx", static_cast<int32_t>(rng.Next(8000)) - 4000,
                                   static_cast<int32_t>(rng.Next(8000)) - 4000);
        const size_t codeAt = version >= 13 ? 3 : 2;
        a[codeAt] = 0x03, a[codeAt + 1] = 0x00, a[codeAt + 2] = 0x0D, a[codeAt + 3] = 0x00;
        return a;
    }
    case 4: {
        const char* code = Abilities[rng.Next(4)];
        const char order[5] = {code[0], code[1], code[2], code[3], 0};
        return act::OrderPoint(version, order, 100, -200);
    }
    case 5:
        return act::Select(1, static_cast<uint16_t>(1 + rng.Next(6)));
    case 6:
        return act::SelectGroup(static_cast<uint8_t>(rng.Next(3)));
    default:
        return act::AssignGroup(static_cast<uint8_t>(rng.Next(3)), static_cast<uint16_t>(1 + rng.Next(4)));
    }
}

TReplaySpec GameOf(int playersPerTeam, int minutes, int slotMs, int actionsPerSlot, uint32_t seed) {
    static const char* const Names[] = {"Arthas",  "Jaina",   "Thrall", "Sylvanas", "Uther", "Rexxar",
                                        "Tyrande", "Illidan", "Grom",   "Maiev",    "Kael",  "Muradin"};
    TReplaySpec spec;
    spec.Version = 26;
    spec.Build = 6059;
    spec.Length = minutes * 60000;
    spec.GameName = "Quillon demo";
    spec.MapPath = "Maps\\FrozenThrone\\(4)TwistedMeadows.w3x";
    spec.Creator = "Arthas";
    spec.AfterCreator = TBytes(21, 0x01);
    spec.AfterCreator[0] = 0;
    spec.GameTypeCode = 1;
    const int players = 2 * playersPerTeam;
    spec.PlayerCount = static_cast<uint32_t>(players < 12 ? players + 1 : players);
    spec.Host = {1, Names[0], TBytes(8, 0)};
    for (int i = 1; i < players; ++i)
        spec.Others.push_back({static_cast<uint8_t>(i + 1), Names[i], TBytes(8, 0)});
    spec.Others.push_back({static_cast<uint8_t>(players + 1), "Medivh", TBytes(8, 0)});
    static const uint8_t Races[] = {0x01, 0x02, 0x04, 0x08};
    for (int i = 0; i < players; ++i) {
        TWriterSlot s;
        s.PlayerId = static_cast<uint8_t>(i + 1);
        s.Team = static_cast<uint8_t>(i < playersPerTeam ? 0 : 1);
        s.Color = static_cast<uint8_t>(i);
        s.Race = Races[i % 4];
        spec.Slots.push_back(s);
    }
    TWriterSlot observer;
    observer.PlayerId = static_cast<uint8_t>(players + 1);
    observer.Team = 12;
    observer.Color = 12;
    if (players < 12) // a full map has no room for one
        spec.Slots.push_back(observer);
    else
        spec.Others.pop_back();
    while (spec.Slots.size() < 12) {
        TWriterSlot open;
        open.Status = 0;
        spec.Slots.push_back(open);
    }
    spec.StartSpots = static_cast<uint8_t>(players);

    TLcg rng{seed};
    TBytes& r = spec.Records;
    r = TBytes{0x1A, 1, 0, 0, 0, 0x1B, 1, 0, 0, 0, 0x1C, 2, 0, 0, 0};
    const int slots = minutes * 60000 / slotMs;
    for (int t = 0; t < slots; ++t) {
        std::vector<TBytes> perPlayer(static_cast<size_t>(players));
        const uint32_t count = rng.Next(static_cast<uint32_t>(2 * actionsPerSlot + 1));
        for (uint32_t i = 0; i < count; ++i) {
            TBytes a = RandomAction(rng, spec.Version);
            TBytes& into = perPlayer[rng.Next(static_cast<uint32_t>(players))];
            into.insert(into.end(), a.begin(), a.end());
        }
        std::vector<rec::TBlock> blocks;
        for (int p = 0; p < players; ++p)
            if (!perPlayer[static_cast<size_t>(p)].empty())
                blocks.push_back({static_cast<uint8_t>(p + 1), perPlayer[static_cast<size_t>(p)]});
        TBytes slot = rec::TimeSlot(static_cast<uint16_t>(slotMs), blocks);
        r.insert(r.end(), slot.begin(), slot.end());
        if (t % 997 == 500) {
            TBytes chat = rec::Chat(static_cast<uint8_t>(1 + rng.Next(static_cast<uint32_t>(players))), 0, "glhf");
            r.insert(r.end(), chat.begin(), chat.end());
        }
    }
    // The second team gives up first; the winners leave last.
    for (int p = players; p >= 1; --p) {
        TBytes leave = rec::Leave(static_cast<uint8_t>(p), p > playersPerTeam ? 8 : 9);
        r.insert(r.end(), leave.begin(), leave.end());
    }
    TBytes end = rec::End();
    r.insert(r.end(), end.begin(), end.end());
    return spec;
}

// One order of a scripted game: at a time, by a player.
struct TScripted {
    int32_t Time;
    uint8_t Player;
    TBytes Action;
};

} // namespace

TReplaySpec PlausibleDuelSpec() {
    TReplaySpec spec;
    spec.Version = 26;
    spec.Build = 6059;
    const int32_t minutes = 12;
    spec.Length = minutes * 60000 + 4000;
    spec.GameName = "Jaina vs Thrall";
    spec.MapPath = "Maps\\FrozenThrone\\(2)EchoIsles.w3x";
    spec.Creator = "Jaina";
    spec.AfterCreator = TBytes(21, 0x01);
    spec.AfterCreator[0] = 0;
    spec.GameTypeCode = 1;
    spec.PlayerCount = 2;
    spec.Host = {1, "Jaina", TBytes(8, 0)};
    spec.Others = {{2, "Thrall", TBytes(8, 0)}};
    TWriterSlot human;
    human.PlayerId = 1;
    human.Race = 0x01;
    TWriterSlot orc;
    orc.PlayerId = 2;
    orc.Team = 1;
    orc.Color = 1;
    orc.Race = 0x02;
    spec.Slots = {human, orc};
    while (spec.Slots.size() < 12) {
        TWriterSlot open;
        open.Status = 0;
        spec.Slots.push_back(open);
    }
    spec.StartSpots = 2;

    const uint32_t v = spec.Version;
    const auto at = [](int m, int s) { return (m * 60 + s) * 1000; };
    // Each side trains and builds its own race's units and buildings; heroes learn a skill per level.
    std::vector<TScripted> script = {
        {at(0, 1), 1, act::OrderNoTarget(v, "hpea")},
        {at(0, 2), 2, act::OrderNoTarget(v, "opeo")},
        {at(0, 14), 1, act::OrderNoTarget(v, "hpea")},
        {at(0, 15), 2, act::OrderNoTarget(v, "opeo")},
        {at(0, 21), 1, act::OrderPoint(v, "hhou", -3200, 2900)},
        {at(0, 24), 2, act::OrderPoint(v, "otrb", 3100, -2800)},
        {at(0, 36), 1, act::OrderPoint(v, "halt", -2900, 2500)},
        {at(0, 39), 2, act::OrderPoint(v, "oalt", 2800, -2500)},
        {at(0, 52), 1, act::OrderNoTarget(v, "hpea")},
        {at(0, 56), 2, act::OrderPoint(v, "obar", 2600, -3000)},
        {at(1, 6), 1, act::OrderPoint(v, "hbar", -2600, 3100)},
        {at(1, 12), 2, act::OrderNoTarget(v, "opeo")},
        {at(1, 38), 1, act::OrderNoTarget(v, "Hamg")},
        {at(1, 43), 2, act::OrderNoTarget(v, "Obla")},
        {at(2, 3), 2, act::OrderNoTarget(v, "AOwk")},
        {at(2, 6), 1, act::OrderNoTarget(v, "AHwe")},
        {at(2, 20), 1, act::OrderPoint(v, "hhou", -3300, 2600)},
        {at(2, 31), 2, act::OrderPoint(v, "otrb", 3300, -2600)},
        {at(2, 41), 1, act::OrderNoTarget(v, "hfoo")},
        {at(2, 46), 2, act::OrderNoTarget(v, "ogru")},
        {at(3, 2), 1, act::OrderNoTarget(v, "hfoo")},
        {at(3, 7), 2, act::OrderNoTarget(v, "ogru")},
        {at(3, 25), 1, act::OrderPoint(v, "hbla", -2500, 2700)},
        {at(3, 31), 2, act::OrderPoint(v, "ofor", 2500, -2700)},
        {at(3, 50), 1, act::OrderNoTarget(v, "hfoo")},
        {at(3, 52), 2, act::OrderNoTarget(v, "ogru")},
        {at(4, 18), 1, act::OrderNoTarget(v, "AHab")},
        {at(4, 22), 2, act::OrderNoTarget(v, "AOcr")},
        {at(4, 40), 1, act::OrderPoint(v, "hhou", -3400, 2300)},
        {at(5, 1), 2, act::OrderNoTarget(v, "ohun")},
        {at(5, 10), 1, act::OrderNoTarget(v, "hfoo")},
        {at(5, 33), 2, act::OrderNoTarget(v, "Ropg")},
        {at(5, 45), 1, act::OrderPoint(v, "hlum", -2300, 3300)},
        {at(6, 2), 2, act::OrderNoTarget(v, "ostr")},
        {at(6, 5), 1, act::OrderNoTarget(v, "Rhde")},
        {at(6, 31), 1, act::OrderNoTarget(v, "hkee")},
        {at(6, 44), 2, act::OrderNoTarget(v, "AOwk")},
        {at(7, 3), 1, act::OrderNoTarget(v, "AHwe")},
        {at(7, 29), 2, act::OrderNoTarget(v, "Ofar")},
        {at(7, 35), 1, act::OrderNoTarget(v, "hrif")},
        {at(7, 50), 2, act::OrderNoTarget(v, "AOsf")},
        {at(8, 2), 1, act::OrderNoTarget(v, "hrif")},
        {at(8, 31), 1, act::OrderNoTarget(v, "Hmkg")},
        {at(8, 33), 2, act::OrderNoTarget(v, "ogru")},
        {at(8, 52), 1, act::OrderNoTarget(v, "AHtc")},
        {at(9, 4), 2, act::OrderNoTarget(v, "AOcr")},
        {at(9, 40), 1, act::OrderNoTarget(v, "Rora")},
        {at(10, 12), 1, act::OrderNoTarget(v, "AHab")},
        {at(10, 30), 2, act::OrderNoTarget(v, "ohun")},
        {at(11, 5), 1, act::OrderNoTarget(v, "hrif")},
    };
    std::stable_sort(script.begin(), script.end(),
                     [](const TScripted& a, const TScripted& b) { return a.Time < b.Time; });

    TLcg rng{2026};
    TBytes& r = spec.Records;
    r = TBytes{0x1A, 1, 0, 0, 0, 0x1B, 1, 0, 0, 0, 0x1C, 2, 0, 0, 0};
    const int slotMs = 250;
    size_t next = 0;
    const auto add = [&r](const TBytes& bytes) { r.insert(r.end(), bytes.begin(), bytes.end()); };
    const std::vector<std::pair<int32_t, TBytes>> chat = {{at(0, 4), rec::Chat(1, 0, "glhf")},
                                                          {at(0, 6), rec::Chat(2, 0, "gl hf")},
                                                          {at(11, 50), rec::Chat(2, 0, "gg")},
                                                          {at(11, 53), rec::Chat(1, 0, "gg wp")}};
    size_t nextChat = 0;
    for (int32_t time = 0; time < minutes * 60000; time += slotMs) {
        TBytes perPlayer[2];
        for (; next < script.size() && script[next].Time < time + slotMs; ++next)
            perPlayer[script[next].Player - 1].insert(perPlayer[script[next].Player - 1].end(),
                                                      script[next].Action.begin(), script[next].Action.end());
        // Between the orders: selections, groups and moves, as hands do (about 150 APM, busier later).
        for (int p = 0; p < 2; ++p) {
            const uint32_t busy = time < at(2, 0) ? 4 : 7;
            if (rng.Next(10) >= busy)
                continue;
            TBytes filler;
            switch (rng.Next(4)) {
            case 0:
                filler = act::Select(1, static_cast<uint16_t>(1 + rng.Next(6)));
                break;
            case 1:
                filler = act::SelectGroup(static_cast<uint8_t>(1 + rng.Next(3)));
                break;
            default: {
                // A right-click at a point: order 0x000D0003.
                filler = act::OrderPoint(v, "xxxx", static_cast<int32_t>(rng.Next(6000)) - 3000,
                                         static_cast<int32_t>(rng.Next(6000)) - 3000);
                const size_t codeAt = v >= 13 ? 3 : 2;
                filler[codeAt] = 0x03, filler[codeAt + 1] = 0x00, filler[codeAt + 2] = 0x0D, filler[codeAt + 3] = 0x00;
            }
            }
            perPlayer[p].insert(perPlayer[p].end(), filler.begin(), filler.end());
        }
        std::vector<rec::TBlock> blocks;
        for (uint8_t p = 0; p < 2; ++p)
            if (!perPlayer[p].empty())
                blocks.push_back({static_cast<uint8_t>(p + 1), perPlayer[p]});
        add(rec::TimeSlot(static_cast<uint16_t>(slotMs), blocks));
        for (; nextChat < chat.size() && chat[nextChat].first < time + slotMs; ++nextChat)
            add(chat[nextChat].second);
    }
    // Thrall gives up; Jaina leaves as the winner.
    add(rec::Leave(2, 8));
    add(rec::TimeSlot(static_cast<uint16_t>(2000), {}));
    add(rec::Leave(1, 9));
    add(rec::End());
    return spec;
}

TReplaySpec TeamGameSpec(int playersPerTeam, int minutes) {
    return GameOf(playersPerTeam, minutes, 250, 3, 1234);
}

TReplaySpec DemoGameSpec() {
    return GameOf(2, 10, 250, 3, 20260101);
}

TReplaySpec DuelSpec(const std::string& winner, const std::string& loser) {
    TReplaySpec spec;
    spec.Host = {1, winner};
    spec.Others = {{2, loser, TBytes(8, 0)}};
    TWriterSlot a;
    a.PlayerId = 1;
    TWriterSlot b;
    b.PlayerId = 2;
    b.Team = 1;
    b.Color = 1;
    b.Race = 0x02;
    spec.Slots = {a, b};
    spec.Records = rec::Join({rec::Leave(2, 8), rec::End()});
    return spec;
}

TReplaySpec SmallGameSpec() {
    return GameOf(1, 1, 1000, 2, 7);
}

TReplaySpec LargeGameSpec() {
    return GameOf(4, 60, 100, 6, 42);
}

namespace {

TBytes IdBytes(const std::string& id) {
    return {static_cast<uint8_t>(id[3]), static_cast<uint8_t>(id[2]), static_cast<uint8_t>(id[1]),
            static_cast<uint8_t>(id[0])};
}

TBytes OrderBytes(const TDuelOrder& o) {
    char id[5] = {};
    std::copy(o.Id.begin(), o.Id.begin() + 4, id);
    switch (o.How) {
    case TDuelOrder::Build:
        return act::OrderPoint(26, id, 100, 200);
    case TDuelOrder::Cancel:
        return rec::Join({act::Bytes({0x1E, 0}), IdBytes(o.Id)});
    default:
        return act::OrderNoTarget(26, id);
    }
}

} // namespace

TReplaySpec OrderedDuelSpec(const TOrderedDuel& g) {
    TReplaySpec spec = DuelSpec(g.Winner, g.Loser);
    spec.Slots[0].Race = g.WinnerRace;
    spec.Slots[1].Race = g.LoserRace;
    spec.MapPath = g.Map;
    spec.Length = 10 * 60000;
    TBytes records;
    size_t next = 0;
    for (int second = 1; second <= 600; ++second) {
        TBytes actions[2];
        if (second % 10 == 0 && next < g.Orders.size()) {
            const TDuelOrder& o = g.Orders[next++];
            actions[o.Player - 1] = OrderBytes(o);
        }
        if (g.BusyPlayer != 0) {
            const TBytes select = act::Select(1, 1);
            actions[g.BusyPlayer - 1].insert(actions[g.BusyPlayer - 1].end(), select.begin(), select.end());
        }
        std::vector<rec::TBlock> blocks;
        for (uint8_t p = 0; p < 2; ++p)
            if (!actions[p].empty())
                blocks.push_back({static_cast<uint8_t>(p + 1), actions[p]});
        const TBytes slot = rec::TimeSlot(1000, blocks);
        records.insert(records.end(), slot.begin(), slot.end());
    }
    spec.Records = rec::Join({records, rec::Leave(2, 8), rec::Leave(1, 9), rec::End()});
    return spec;
}

constexpr auto B = TDuelOrder::Build;
constexpr auto C = TDuelOrder::Cancel;

const std::vector<TOrderedDuel>& KnownDuels() {
    static const std::vector<TOrderedDuel> games = {
        {"1.w3g",
         "Grubby",
         0x02,
         "Moon",
         0x04,
         "Maps\\(2)EchoIsles.w3x",
         "2026-01-05",
         {{1, "otrb", B},
          {2, "eate", B},
          {1, "oalt", B},
          {2, "emow", B},
          {1, "obar", B},
          {1, "Obla"},
          {2, "Edem"},
          {1, "AOwk"},
          {1, "otrb", B},
          {1, "Ofar"},
          {1, "opeo"}}},
        {"2.w3g",
         "Moon",
         0x04,
         "Grubby",
         0x02,
         "Maps\\(4)TwistedMeadows.w3x",
         "2026-02-10",
         {{1, "emow", B},
          {2, "otrb", B},
          {1, "eate", B},
          {2, "oalt", B},
          {1, "Edem"},
          {2, "Oshd"},
          {2, "Oshd", C},
          {2, "Ofar"},
          {2, "obar", B}}},
        {"3.w3g",
         "Sky",
         0x01,
         "Grubby",
         0x02,
         "Maps\\(4)TwistedMeadows.w3x",
         "2026-02-20",
         {{1, "hhou", B}, {2, "oalt", B}, {1, "halt", B}, {2, "otrb", B}, {1, "Hamg"}, {2, "Obla"}, {1, "hbar", B}}},
        {"4.w3g",
         "Grubby",
         0x02,
         "Sky",
         0x01,
         "Maps\\(2)EchoIsles.w3x",
         "2026-03-15",
         {{1, "otrb", B},
          {2, "halt", B},
          {1, "oalt", B},
          {2, "hhou", B},
          {1, "obar", B},
          {1, "otrb", B},
          {1, "Obla"},
          {2, "Hmkg"}}},
        {"5.w3g",
         "Moon",
         0x04,
         "Sky",
         0x01,
         "Maps\\(2)EchoIsles.w3x",
         "2026-03-20",
         {{1, "eate", B}, {2, "hhou", B}, {1, "Edem"}, {2, "halt", B}, {2, "Hamg"}},
         1},
        {"6.w3g",
         "Lyn",
         0x02,
         "Moon",
         0x04,
         "Maps\\(2)EchoIsles.w3x",
         "2026-04-01",
         {{1, "otrb", B}, {1, "oalt", B}, {1, "Ofar"}, {2, "eate", B}, {2, "Ekee"}}},
        // A random pick that came out Human, against Undead.
        {"7.w3g",
         "Rnd",
         0x20,
         "Foe",
         0x08,
         "Maps\\(2)EchoIsles.w3x",
         "2026-04-10",
         {{1, "hhou", B}, {2, "usep", B}, {1, "halt", B}, {1, "Hpal"}, {2, "Udea"}}},
    };
    return games;
}

} // namespace quillon::testing
