#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// The items of "a, b,c": split at commas, blanks around each dropped, empty items left out.
inline std::vector<std::string> CommaList(std::string_view text) {
    std::vector<std::string> items;
    while (!text.empty()) {
        const size_t end = text.find(',');
        std::string_view item = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!item.empty() && (item.front() == ' ' || item.front() == '\t'))
            item.remove_prefix(1);
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
            item.remove_suffix(1);
        if (!item.empty())
            items.emplace_back(item);
    }
    return items;
}

} // namespace quillon
