// Actions inside one command block.
#include "core/replay/ActionLayout.h"
#include "core/replay/Formatting.h"
#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/WalkState.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

constexpr int MaxSelection = 12;
constexpr int GroupCount = 10;

// Length of the action at block[pos], or 0 when it runs past the block (its decoding then ends).
size_t ActionSize(const TActionRow& row, std::span<const uint8_t> block, size_t pos) {
    const size_t left = block.size() - pos;
    uint64_t size = row.Before;
    switch (row.Size) {
    case TSizeRule::Fixed:
        break;
    case TSizeRule::Texts: {
        size_t p = pos + row.Before;
        for (int t = 0; t < row.Texts; ++t) {
            if (p >= block.size())
                return 0;
            const void* zero = std::memchr(block.data() + p, 0, block.size() - p);
            if (!zero)
                return 0;
            p = static_cast<size_t>(static_cast<const uint8_t*>(zero) - block.data()) + 1;
        }
        size = p - pos + row.After;
        break;
    }
    case TSizeRule::UnitList:
        if (left < 4)
            return 0;
        size = 4 + 8ull * (block[pos + 2] | (block[pos + 3] << 8));
        break;
    case TSizeRule::TrailingBytes:
        if (left < row.Before)
            return 0;
        size = row.Before + uint64_t{TByteReader::LoadU32Le(block.data() + pos + row.Before - 4)};
        break;
    }
    return size <= left ? static_cast<size_t>(size) : 0;
}

// Parameters are packed into one reused buffer and copied into the action once: one allocation per
// action at most, which keeps detail 2 close to the speed of detail 1.
class TParamPacker {
public:
    void Start() {
        Packed.clear();
        Count = 0;
    }
    void Add(std::string_view text) {
        TParamList::Pack(Packed, text);
        ++Count;
    }
    void AddObjectId(const uint8_t* b) {
        char text[4];
        FormatObjectIdTo(b, text);
        Add(std::string_view(text, 4));
    }
    void Add(TParamKind kind, std::span<const uint8_t> a, size_t offset) {
        switch (kind) {
        case TParamKind::Byte:
            Add(std::string_view(reinterpret_cast<const char*>(a.data() + offset), 1));
            break;
        case TParamKind::Int:
            Add(FormatInt32(a.data() + offset));
            break;
        case TParamKind::Id:
            AddObjectId(a.data() + offset);
            break;
        case TParamKind::Flags:
            Add(FormatFlagBits(a[offset]));
            break;
        case TParamKind::Code:
            Add(FormatOrderCode(a[offset]));
            break;
        case TParamKind::Text: {
            const auto* start = reinterpret_cast<const char*>(a.data() + offset);
            Add(std::string_view(start, strnlen(start, a.size() - offset)));
            break;
        }
        case TParamKind::UnitList:
            break; // built by the selection rule, which knows whether the selection was fresh
        }
    }
    // The unit list of a selection or group action: the mode or group byte, then two ids per unit.
    void AddUnitList(std::span<const uint8_t> a, uint8_t firstByte) {
        const char first = static_cast<char>(firstByte);
        Add(std::string_view(&first, 1));
        for (size_t o = 4; o + 4 <= a.size(); o += 4)
            AddObjectId(a.data() + o);
    }
    void MoveInto(TParamList& params) const { params.Assign(Packed, Count); }

private:
    std::string Packed;
    uint16_t Count = 0;
};

bool SummaryReadsParams(TActionMeaning m) {
    using M = TActionMeaning;
    switch (m) {
    case M::OrderNoTarget:
    case M::OrderPoint:
    case M::OrderObject:
    case M::GiveOrDropItem:
    case M::OrderTwoTargets:
    case M::OrderTwoTargetsObject:
    case M::RemoveFromQueue:
    case M::Chat:
    case M::PlayerLeft:
        return true;
    default:
        return false;
    }
}

} // namespace

size_t DecodeBlock(std::span<const uint8_t> block, uint8_t playerId, TWalkState& st, const TBlockTarget& target) {
    const uint8_t playerIndex = st.IndexById[playerId];
    uint8_t& selection = st.SelectionSize[playerId];
    const bool record = target.Detail >= 2;
    thread_local TParamPacker packer;
    size_t pos = 0;
    while (pos < block.size()) {
        const uint8_t id = block[pos];
        const TActionRow& row = ActionRow(id, target.Layout);
        if (!row.Known())
            return pos; // no layout: the rest of the block cannot be split
        const size_t size = ActionSize(row, block, pos);
        if (size == 0)
            return pos;
        const auto a = block.subspan(pos, size);
        pos += size;

        bool counted = row.Count == TCountRule::Yes;
        uint8_t firstParam = size > 1 ? a[1] : 0;
        switch (row.Meaning) {
        case TActionMeaning::ChangeSelection: {
            const int n = a[2] | (a[3] << 8);
            if (a[1] == 2) {
                selection = static_cast<uint8_t>(std::max(0, selection - n));
            } else {
                if (selection == 0)
                    firstParam = 0; // a fresh selection rather than an addition
                selection = static_cast<uint8_t>(std::min(MaxSelection, selection + n));
            }
            counted = selection > 0;
            break;
        }
        case TActionMeaning::AssignGroup:
            if (a[1] < GroupCount)
                st.GroupSize[playerId][a[1]] = selection;
            counted = selection > 0;
            break;
        case TActionMeaning::SelectGroup:
            if (a[1] < GroupCount)
                selection = st.GroupSize[playerId][a[1]];
            break;
        default:
            if (row.Count == TCountRule::Subgroup)
                counted = a[1] != 0x00 && a[1] != 0xFF;
            break;
        }
        if (!counted)
            continue;
        target.Players.AddAction(playerIndex);
        if (!record)
            continue;
        TActionInfo action;
        action.Time = st.GameTime;
        action.PlayerId = playerId;
        action.Kind = id == 0x20 ? 0x33 : id; // apart from the chat record's kind
        if (target.Keep == TActionDetail::ForSummary && !SummaryReadsParams(row.Meaning)) {
            target.Actions.Append(std::move(action));
            continue;
        }
        packer.Start();
        if (row.Size == TSizeRule::UnitList) {
            packer.AddUnitList(a, firstParam);
        } else {
            // A summary reads no more than an order's flags and object.
            const int count =
                target.Keep == TActionDetail::ForSummary ? std::min<int>(row.ParamCount, 2) : row.ParamCount;
            for (int i = 0; i < count; ++i)
                packer.Add(row.Params[static_cast<size_t>(i)].Kind, a, row.Params[static_cast<size_t>(i)].Offset);
        }
        packer.MoveInto(action.Params);
        target.Actions.Append(std::move(action));
    }
    return pos;
}

} // namespace quillon
