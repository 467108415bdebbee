// The record stream after the start record: time slots with command blocks, chat, leave records.
#include "core/replay/ReplayInfo.h"
#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/ReplayParser.h"
#include "core/replay/internal/WalkState.h"

#include <memory>

namespace quillon {

namespace {
constexpr size_t MaxResiduesKept = 16;
}

void TReplayParser::WalkRecords(TByteReader& r, uint8_t detail) {
    // The tables are a few kilobytes; keep them off the stack of callers that may be deep already.
    auto st = std::make_unique<TWalkState>();
    st->IndexById.fill(NotFound);
    for (int id = 1; id <= MaxPlayerId; ++id)
        st->IndexById[static_cast<size_t>(id)] = R.Players->IndexOfId(static_cast<uint8_t>(id));
    R.Actions = std::make_unique<TActionsInfo>();
    R.BlockStats = {};

    while (true) {
        const size_t at = r.Position();
        const uint8_t id = r.ReadU8();
        switch (id) {
        case 0x00:
            FinishWalk(*st);
            R.WalkEnd = {TWalkEnd::TReason::End, 0, at};
            return;
        case 0x17:
            ReadLeave(r, *st, detail);
            break;
        case 0x1A:
        case 0x1B:
        case 0x1C:
            r.Skip(4);
            break;
        case 0x1E:
        case 0x1F:
            ReadTimeSlot(r, *st, detail);
            break;
        case 0x20:
            if (R.Layout.Version < 3)
                r.Skip(r.ReadU8()); // a checksum record before chat existed
            else
                ReadChat(r, *st, detail);
            break;
        case 0x22:
            r.Skip(r.ReadU8());
            break;
        case 0x23:
            r.Skip(10);
            break;
        case 0x2F:
            r.Skip(8);
            break;
        default:
            // An identifier we know nothing of: stop here, keep what was read.
            R.WalkEnd = {TWalkEnd::TReason::UnknownRecord, id, at};
            return;
        }
    }
}

void TReplayParser::ReadTimeSlot(TByteReader& r, TWalkState& st, uint8_t detail) {
    const uint16_t n = r.ReadU16Le();
    st.GameTime += r.ReadU16Le();
    if (n <= 2)
        return;
    TByteReader slot(r.ReadBytes(n - 2u));
    const TBlockTarget target{*R.Players, *R.Actions, R.Layout, detail, R.ActionDetail};
    const size_t slotStart = r.Position() - (n - 2u);
    while (!slot.AtEnd()) {
        const uint8_t playerId = slot.ReadU8();
        const uint16_t length = slot.ReadU16Le();
        const size_t blockStart = slotStart + slot.Position();
        auto block = slot.ReadBytes(length);
        const size_t stopped = DecodeBlock(block, playerId, st, target);
        ++R.BlockStats.Blocks;
        if (stopped == length) {
            ++R.BlockStats.ExactBlocks;
        } else if (R.BlockStats.Residues.size() < MaxResiduesKept) {
            R.BlockStats.Residues.push_back({blockStart, stopped, length, block[stopped]});
        }
    }
}

void TReplayParser::ReadChat(TByteReader& r, TWalkState& st, uint8_t detail) {
    const uint8_t playerId = r.ReadU8();
    const uint16_t n = r.ReadU16Le();
    TByteReader body(r.ReadBytes(n));
    // Flag byte, chat mode, text and its zero. Startup messages (flag 0x10) carry no mode; a body too
    // short for one is read as mode 0 so nothing runs past the record.
    body.Skip(n > 0 ? 1 : 0);
    int32_t mode = 0;
    if (n >= 6)
        mode = static_cast<int32_t>(body.ReadU32Le());
    auto text = body.ReadBytes(body.Remaining() > 0 ? body.Remaining() - 1 : 0);
    if (detail >= 2) {
        TActionInfo a;
        a.Time = st.GameTime;
        a.PlayerId = playerId;
        a.Kind = 0x20;
        a.Params.Add(std::to_string(mode));
        a.Params.Add(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
        R.Actions->Append(std::move(a));
    }
    R.Players->AddAction(st.IndexById[playerId]);
}

void TReplayParser::ReadLeave(TByteReader& r, TWalkState& st, uint8_t detail) {
    r.Skip(4);
    const uint8_t playerId = r.ReadU8();
    const uint32_t result = r.ReadU32Le();
    r.Skip(4);
    const uint8_t index = st.IndexById[playerId];
    TPlayerInfo* p = index == NotFound ? nullptr : &R.Players->At(index);

    if (detail >= 2 && result == 11 && p && p->SlotStatus == 2 && !p->Observer) {
        R.Winner = p->Team; // the saver's game reports this team as the winner
        st.WinnerProvisional = false;
    }
    // Only leavers on a team take part in the leave-order rule: an observer or a slotless id leaving
    // must not make the next real leaver's team the winner.
    if (p && p->Team != 0) {
        ++st.LeaveCount;
        if ((R.Winner == 0 || st.WinnerProvisional) && st.LeaveCount > 1 && st.LeavesByTeam[p->Team] == 0) {
            R.Winner = p->Team;
            st.WinnerProvisional = true;
        }
        ++st.LeavesByTeam[p->Team];
    }
    if (detail >= 2) {
        TActionInfo a;
        a.Time = st.GameTime;
        a.PlayerId = playerId;
        a.Kind = 0x21;
        a.Params.Add(result == 1 ? "0" : result == 11 ? "2" : "1");
        R.Actions->Append(std::move(a));
    }
    R.Players->AddAction(index);
    if (p)
        p->Time = st.GameTime;
}

void TReplayParser::FinishWalk(TWalkState& st) {
    for (int i = 0; i < R.Players->Count(); ++i) {
        TPlayerInfo& p = R.Players->At(i);
        if (p.SlotStatus != 2)
            continue;
        if (!p.Observer && !p.Computer) {
            if (p.Time == 0)
                p.Time = R.Length;
            p.Apm = p.Time > 0 ? p.Actions * 60000.0 / static_cast<double>(p.Time) : 0.0;
        } else if (p.Computer) {
            p.Time = R.Length;
        }
    }
    st.WinnerProvisional = false;
    if (R.Winner == 0 && st.LeaveCount > 0) {
        for (int i = 0; i < R.Teams->Count(); ++i) {
            const uint8_t number = R.Teams->At(i).Number;
            if (st.LeavesByTeam[number] == 0) {
                R.Winner = number;
                break;
            }
        }
    }
}

} // namespace quillon
