#pragma once

#include <string>
#include <string_view>

namespace quillon {

/// s with A-Z made a-z; other bytes (UTF-8 included) stay as they are.
inline std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace quillon
