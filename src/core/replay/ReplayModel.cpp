#include "core/replay/ReplayModel.h"

#include <algorithm>
#include <stdexcept>

namespace quillon {

void TParamList::Pack(std::string& packed, std::string_view text) {
    // A parameter is never longer than its block (at most 65535 bytes); cut defensively all the same.
    const size_t len = std::min<size_t>(text.size(), 0xFFFF);
    packed.push_back(static_cast<char>(len & 0xFF));
    packed.push_back(static_cast<char>(len >> 8));
    packed.append(text.substr(0, len));
}

void TParamList::Assign(std::string_view packed, uint16_t count) {
    Packed.assign(packed);
    Number = count;
}

void TParamList::Add(std::string_view text) {
    Pack(Packed, text);
    ++Number;
}

std::string_view TParamList::operator[](size_t index) const {
    if (index >= Number)
        throw std::out_of_range("parameter index");
    size_t pos = 0;
    while (true) {
        size_t len =
            static_cast<uint8_t>(Packed[pos]) | (static_cast<size_t>(static_cast<uint8_t>(Packed[pos + 1])) << 8);
        if (index == 0)
            return std::string_view(Packed).substr(pos + 2, len);
        pos += 2 + len;
        --index;
    }
}

std::vector<std::string> TParamList::ToVector() const {
    std::vector<std::string> out;
    out.reserve(Number);
    for (size_t i = 0; i < Number; ++i)
        out.emplace_back((*this)[i]);
    return out;
}

TLeaveResult LeaveResultOf(const TActionInfo& leave) {
    // The reader keeps the record's result as "0" (disconnected), "2" (left as the saver's winner) or "1".
    const char code = leave.ParamCount() >= 1 && !leave.Params[0].empty() ? leave.Params[0][0] : '1';
    return code == '0' ? TLeaveResult::Disconnect : code == '2' ? TLeaveResult::Win : TLeaveResult::Quit;
}

uint8_t TPlayersInfo::IndexOfId(uint8_t id) const {
    for (size_t i = 0; i < Items.size() && i < NotFound; ++i)
        if (Items[i].Id == id)
            return static_cast<uint8_t>(i);
    return NotFound;
}

uint8_t TPlayersInfo::MaxId() const {
    uint8_t max = 0;
    for (const auto& p : Items)
        max = std::max(max, p.Id);
    return max;
}

void TPlayersInfo::AddAction(int index) {
    if (index >= 0 && index < Count())
        ++Items[static_cast<size_t>(index)].Actions;
}

uint8_t TTeamsInfo::IndexOfTeam(uint8_t number) const {
    for (size_t i = 0; i < Items.size() && i < NotFound; ++i)
        if (Items[i].Number == number)
            return static_cast<uint8_t>(i);
    return NotFound;
}

void TActionsInfo::SetCount(int32_t n) {
    if (n < 0)
        throw std::out_of_range("action count");
    while (n > Capacity())
        Chunks.push_back(std::make_unique<TActionInfo[]>(ActionChunk));
    // Elements beyond the new count become spare: clear them so a later SetCount shows empty records.
    for (int32_t i = n; i < Size; ++i)
        Slot(i) = TActionInfo{};
    Size = n;
}

const TActionInfo& TActionsInfo::At(int32_t index) const {
    if (index < 0 || index >= Size)
        throw std::out_of_range("action index");
    return Chunks[static_cast<size_t>(index / ActionChunk)][static_cast<size_t>(index % ActionChunk)];
}

TActionInfo& TActionsInfo::Slot(int32_t index) {
    if (index < 0 || index >= Size)
        throw std::out_of_range("action index");
    return Chunks[static_cast<size_t>(index / ActionChunk)][static_cast<size_t>(index % ActionChunk)];
}

void TActionsInfo::Append(TActionInfo&& item) {
    if (Size == Capacity())
        Chunks.push_back(std::make_unique<TActionInfo[]>(ActionChunk));
    Chunks[static_cast<size_t>(Size / ActionChunk)][static_cast<size_t>(Size % ActionChunk)] = std::move(item);
    ++Size;
}

} // namespace quillon
