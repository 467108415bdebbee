#include "SampleGames.h"

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
    static const char* const Names[] = {"Arthas", "Jaina",  "Thrall",  "Sylvanas",
                                        "Uther",  "Rexxar", "Tyrande", "Illidan"};
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
    spec.PlayerCount = static_cast<uint32_t>(players + 1);
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
    spec.Slots.push_back(observer);
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

} // namespace

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

} // namespace quillon::testing
