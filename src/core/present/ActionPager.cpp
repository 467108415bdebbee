#include "core/present/ActionPager.h"

#include "core/present/ListRows.h"

#include <algorithm>

namespace quillon {

void TActionPager::Reset(int32_t actionCount, int32_t perPage) {
    Size = std::max<int32_t>(perPage, 1);
    Count = actionCount > 0 ? (actionCount - 1) / Size + 1 : 1;
    Current = 1;
}

void TActionPager::Clear() {
    Current = Count = 0;
}

bool TActionPager::First() {
    if (!CanGoBack())
        return false;
    Current = 1;
    return true;
}

bool TActionPager::Previous() {
    if (!CanGoBack())
        return false;
    --Current;
    return true;
}

bool TActionPager::Next() {
    if (!CanGoForward())
        return false;
    ++Current;
    return true;
}

bool TActionPager::Last() {
    if (!CanGoForward())
        return false;
    Current = Count;
    return true;
}

bool TActionPager::GoTo(int32_t page) {
    if (Count == 0 || page < 1 || page > Count || page == Current)
        return false;
    Current = page;
    return true;
}

std::string TActionPager::Label(TLanguage language) const {
    return Count == 0 ? PageLabel(1, 1, language) : PageLabel(Current, Count, language);
}

} // namespace quillon
