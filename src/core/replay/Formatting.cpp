#include "core/replay/Formatting.h"

#include <charconv>

namespace quillon {

void FormatObjectIdTo(const uint8_t* b, char (&out)[4]) {
    if (b[2] == 0x0D) {
        static constexpr char Hex[] = "0123456789ABCDEF";
        out[0] = Hex[b[1] >> 4], out[1] = Hex[b[1] & 0xF], out[2] = Hex[b[0] >> 4], out[3] = Hex[b[0] & 0xF];
        return;
    }
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(b[3 - i]);
}

std::string FormatObjectId(const uint8_t* b) {
    char text[4];
    FormatObjectIdTo(b, text);
    return std::string(text, 4);
}

std::string FormatInt32(const uint8_t* b) {
    const uint32_t u = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                       (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    char buf[12];
    auto res = std::to_chars(buf, buf + sizeof buf, static_cast<int32_t>(u));
    return std::string(buf, res.ptr);
}

std::string FormatFlagBits(uint8_t flags) {
    std::string out;
    for (int bit = 0; bit < 5; ++bit)
        if (flags & (1u << bit))
            out.push_back(static_cast<char>('1' + bit));
    return out;
}

std::string FormatOrderCode(uint8_t code) {
    switch (code) {
    case 0x40:
        return "1";
    case 0x42:
        return "2";
    case 0x44:
        return "3";
    default:
        return "0";
    }
}

} // namespace quillon
