#include "core/present/ActionSearch.h"

#include "core/present/ActionText.h"

#include <algorithm>

namespace quillon {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool ContainsIgnoringAsciiCase(std::string_view haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [](char a, char b) { return LowerAscii(a) == LowerAscii(b); }) != haystack.end();
}

std::optional<int32_t> FindAction(const TReplayInfo& replay, int32_t from, std::string_view text,
                                  const TPlayerSet& shown, const TGameTables& tables) {
    if (text.empty() || !replay.Actions || replay.Actions->Count() == 0)
        return std::nullopt;
    const int32_t count = replay.Actions->Count();
    from = std::clamp(from, 0, count - 1);
    const TPlayerNames names(replay);
    for (int32_t step = 0; step < count; ++step) {
        const int32_t k = (from + step) % count;
        const TActionInfo& action = replay.Actions->At(k);
        if (!shown.test(action.PlayerId))
            continue;
        const TActionCells cells = ActionCells(action, replay, tables, names);
        for (const std::string* cell : {&cells.Player, &cells.Time, &cells.Action})
            if (ContainsIgnoringAsciiCase(*cell, text))
                return k;
    }
    return std::nullopt;
}

} // namespace quillon
