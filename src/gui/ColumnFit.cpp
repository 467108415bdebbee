#include "gui/ColumnFit.h"

#include <algorithm>
#include <numeric>

namespace quillon::gui {

std::vector<int> FitColumnWidths(const std::vector<int>& wanted, const std::vector<TGiveWay>& steps, int available) {
    std::vector<int> widths = wanted;
    int excess = std::accumulate(widths.begin(), widths.end(), 0) - available;
    for (const TGiveWay& step : steps) {
        if (excess <= 0)
            break;
        if (step.Column < 0 || step.Column >= static_cast<int>(widths.size()))
            continue;
        int& width = widths[static_cast<size_t>(step.Column)];
        const int give = std::clamp(width - step.Least, 0, excess);
        width -= give;
        excess -= give;
    }
    return widths;
}

} // namespace quillon::gui
