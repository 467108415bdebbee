#pragma once

#include "core/lang/Translations.h"

#include <cstdint>
#include <string>

namespace quillon {

/// The page state of the action list: which page is on show, how many there are, what the four page buttons
/// may do and what the page label says. Pages are fixed ranges of positions; the player filter never changes them.
class TActionPager {
public:
    /// A replay on show with actionCount recorded actions (0 when none were recorded): page 1 of the count.
    /// A perPage below 1 counts as 1, so the arithmetic never divides by zero.
    void Reset(int32_t actionCount, int32_t perPage);
    /// No replay on show: page 0 of 0, every button does nothing.
    void Clear();

    int32_t CurrentPage() const { return Current; }
    int32_t PageCount() const { return Count; }
    int32_t PerPage() const { return Size; }

    bool CanGoBack() const { return Current > 1; }                     // "<<" and "<"
    bool CanGoForward() const { return Count > 0 && Current < Count; } // ">" and ">>"

    /// Each turns the page as its button does; false when the button's rule says nothing happens.
    bool First();
    bool Previous();
    bool Next();
    bool Last();
    /// Shows a page of the count (a found action's); false when it is on show already or no such page exists.
    bool GoTo(int32_t page);

    /// "Page:  3/12"; before any replay the form's own text "Page:  1/1".
    std::string Label(TLanguage language) const;

private:
    int32_t Current = 0;
    int32_t Count = 0;
    int32_t Size = 50;
};

} // namespace quillon
