// The game start record: host and player records, game name, map and creator, slots and teams.
#include "core/replay/ReplayInfo.h"
#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/ReplayParser.h"
#include "core/text/Utf8.h"

namespace quillon {

namespace {

constexpr size_t MaxNameCharacters = 20;

int32_t GameTypeOfCode(uint32_t code) {
    switch (code) {
    case 1:
        return 1;
    case 13:
        return 3;
    case 32:
        return 4;
    default:
        return 2;
    }
}

uint8_t RaceOfFlags(uint8_t flags) {
    switch (flags & 0x3F) {
    case 0x01:
        return 1;
    case 0x02:
        return 2;
    case 0x04:
        return 3;
    case 0x08:
        return 4;
    case 0x10:
        return 5;
    case 0x20:
        return 6;
    default:
        return 0;
    }
}

uint8_t SlotRecordSize(uint32_t version) {
    if (version < 3)
        return 7;
    return version < 7 ? 8 : 9;
}

} // namespace

void TReplayParser::ParseStartRecord(TByteReader& r) {
    R.Players = std::make_unique<TPlayersInfo>();
    R.Game = {};
    R.Layout.Has202Metadata = false;
    r.Seek(5);
    ReadPlayerRecord(r); // the host
    R.Game.GameName = r.ReadZString();
    DecodeMapAndCreator(r);

    // The player count follows the encoded string; only its position matters.
    uint8_t b = r.ReadU8();
    while (b == 0)
        b = r.ReadU8();
    r.Skip(3);
    R.Game.GameType = GameTypeOfCode(r.ReadU32Le());
    r.Skip(4);

    uint8_t id = r.ReadU8();
    while (id == 0x16) {
        ReadPlayerRecord(r);
        r.Skip(4);
        id = r.ReadU8();
    }
    // Metadata records of 1.32 and later (accounts, cosmetics) stand before the slot block;
    // 2.0.2 writes them as 0x38, earlier patches as 0x39.
    while (id == 0x38 || id == 0x39) {
        if (id == 0x38)
            R.Layout.Has202Metadata = true;
        r.Skip(1);
        r.Skip(r.ReadU32Le());
        id = r.ReadU8();
    }
    R.Teams = std::make_unique<TTeamsInfo>();
    R.SlotsRecorded = false;
    if (id == 0x19) {
        r.Skip(2);
        ReadSlotRecords(r);
    }
    if (!R.SlotsRecorded) {
        // No slot records (some ladder replays declare none): the player records are all there is. They played,
        // so they are shown as players with their actions and times; team and race stay unknown.
        for (int i = 0; i < R.Players->Count(); ++i)
            R.Players->At(i).SlotStatus = 2;
    }
    r.Skip(5);
    R.Game.StartSpots = r.ReadU8();
}

void TReplayParser::ReadPlayerRecord(TByteReader& r) {
    TPlayerInfo player;
    player.Id = r.ReadU8();
    player.Name = CutToCharacters(r.ReadZString(), MaxNameCharacters);
    const uint8_t extra = r.ReadU8();
    // Up to 1.30 a one-byte extra part marked a custom game; later patches write sizes 0 to 2 at will.
    if (extra == 1 && R.Layout.ExtraDataMarksCustom())
        R.Game.GameType = 2;
    r.Skip(extra);
    R.Players->Append(std::move(player));
}

void TReplayParser::DecodeMapAndCreator(TByteReader& r) {
    // One zero byte, then the encoded string: groups of a mask byte and up to 7 data bytes; a data byte
    // whose mask bit is clear was stored one higher. The first 13 decoded bytes are game settings.
    r.Skip(1);
    auto head = r.ReadBytes(16);
    const uint8_t firstMask = head[8];
    uint8_t first = head[15];
    if (first != 0 && !(firstMask & 0x80))
        --first;

    std::string texts[3];
    int done = 0;
    std::string current;
    if (first != 0)
        current.push_back(static_cast<char>(first));
    else if (head[15] != 0)
        done = 1; // an empty map path
    else
        return; // the string ended inside the settings
    uint8_t mask = 0;
    // A stored zero ends the whole string; from 1.26 more bytes follow the third text before it.
    for (uint32_t i = 0;; ++i) {
        uint8_t byte = r.ReadU8();
        if (byte == 0)
            break;
        if (i % 8 == 0) {
            mask = byte;
            continue;
        }
        if (done >= 3)
            continue;
        if (!(mask & (1u << (i % 8))))
            --byte;
        if (byte != 0) {
            current.push_back(static_cast<char>(byte));
        } else {
            texts[done++] = std::move(current);
            current.clear();
        }
    }
    if (done < 3)
        texts[done] = std::move(current);
    R.Game.MapPath = std::move(texts[0]);
    R.Game.Creator = std::move(texts[1]);
}

void TReplayParser::ReadSlotRecords(TByteReader& r) {
    const uint8_t count = r.ReadU8();
    R.SlotsRecorded = count > 0;
    const uint8_t size = SlotRecordSize(R.Layout.Version);
    // From 1.29 there are 24 teams and observers sit on team byte 24.
    const uint8_t firstObserverTeam = R.Layout.TwentyFourPlayers() ? 24 : 12;
    for (int slot = 0; slot < count; ++slot) {
        const uint8_t id = r.ReadU8();
        int index = R.Players->IndexOfId(id);
        if (index == NotFound) {
            TPlayerInfo synthetic;
            synthetic.Id = static_cast<uint8_t>(R.Players->MaxId() + 1);
            R.Players->Append(std::move(synthetic));
            index = R.Players->Count() - 1;
        }
        TPlayerInfo p = R.Players->GetItem(index);
        p.Slot = static_cast<uint8_t>(slot);
        r.Skip(1);
        p.SlotStatus = r.ReadU8();
        if (p.SlotStatus == 2) {
            const uint8_t computer = r.ReadU8();
            const uint8_t team = r.ReadU8();
            p.Observer = team >= firstObserverTeam;
            if (p.Observer) {
                r.Skip(size - 5u);
            } else {
                p.Computer = computer == 1;
                p.Team = static_cast<uint8_t>(team + 1);
                uint8_t at = R.Teams->IndexOfTeam(p.Team);
                if (at == NotFound) {
                    TTeamInfo fresh;
                    fresh.Number = p.Team;
                    R.Teams->SetCount(static_cast<uint8_t>(R.Teams->Count() + 1));
                    at = static_cast<uint8_t>(R.Teams->Count() - 1);
                    R.Teams->SetItem(at, fresh);
                }
                TTeamInfo t = R.Teams->GetItem(at);
                ++t.Count;
                t.Members.push_back(p.Id);
                R.Teams->SetItem(at, t);
                p.Color = r.ReadU8();
                p.Race = RaceOfFlags(r.ReadU8());
                if (size >= 8) {
                    const uint8_t strength = r.ReadU8();
                    if (p.Computer)
                        p.AiStrength = strength;
                }
                if (size == 9)
                    p.Handicap = r.ReadU8();
            }
        } else {
            r.Skip(size - 3u);
        }
        R.Players->SetItem(index, p);
    }
}

} // namespace quillon
