#pragma once

#include <vector>

namespace quillon::gui {

/// One step of giving way: a column shrinks to at most this width.
struct TGiveWay {
    int Column = 0;
    int Least = 0;
};

/// Widths for columns that should fit a width: each gets what it wants when they fit; else the steps are taken in
/// order, each column shrinking toward its step's width only as far as needed, until they fit (or no step is left).
std::vector<int> FitColumnWidths(const std::vector<int>& wanted, const std::vector<TGiveWay>& steps, int available);

} // namespace quillon::gui
