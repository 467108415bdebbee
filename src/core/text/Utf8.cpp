#include "core/text/Utf8.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

size_t Utf8SequenceLength(std::string_view s, size_t pos) {
    auto at = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
    const size_t left = s.size() - pos;
    const uint8_t b0 = at(pos);
    if (b0 < 0x80)
        return 1;
    size_t len;
    uint8_t lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        if (b0 == 0xE0)
            lo = 0xA0;
        if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        if (b0 == 0xF0)
            lo = 0x90;
        if (b0 == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (left < len)
        return 0;
    if (at(pos + 1) < lo || at(pos + 1) > hi)
        return 0;
    for (size_t i = 2; i < len; ++i)
        if ((at(pos + i) & 0xC0) != 0x80)
            return 0;
    return len;
}

bool IsValidUtf8(std::string_view s) {
    for (size_t pos = 0; pos < s.size();) {
        size_t len = Utf8SequenceLength(s, pos);
        if (len == 0)
            return false;
        pos += len;
    }
    return true;
}

std::string CutToCharacters(std::string_view s, size_t maxChars) {
    size_t pos = 0;
    for (size_t chars = 0; chars < maxChars && pos < s.size(); ++chars) {
        size_t len = Utf8SequenceLength(s, pos);
        pos += len == 0 ? 1 : len;
    }
    return std::string(s.substr(0, pos));
}

std::string Utf8WithReplacement(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) {
        size_t len = Utf8SequenceLength(s, pos);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++pos;
        } else {
            out.append(s.substr(pos, len));
            pos += len;
        }
    }
    return out;
}

std::string Utf8OrLatin1(std::string_view s) {
    if (IsValidUtf8(s))
        return std::string(s);
    std::string out;
    out.reserve(s.size() * 2);
    for (char c : s) {
        auto b = static_cast<uint8_t>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

void AppendEscaped(std::string& out, unsigned char c) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    out += "\\x";
    out.push_back(Hex[c >> 4]);
    out.push_back(Hex[c & 0x0F]);
}

std::string EscapedText(std::string_view bytes, bool controlsToo) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const size_t length = Utf8SequenceLength(bytes, i);
        const bool c0 = length == 1 && (c < 0x20 || c == 0x7F);
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(bytes[i + 1]) < 0xA0;
        if (length == 0 || (controlsToo && (c0 || c1))) {
            for (size_t k = 0; k < std::max<size_t>(length, 1); ++k)
                AppendEscaped(out, static_cast<unsigned char>(bytes[i + k]));
            i += std::max<size_t>(length, 1);
            continue;
        }
        out.append(bytes.substr(i, length));
        i += length;
    }
    return out;
}

} // namespace quillon
