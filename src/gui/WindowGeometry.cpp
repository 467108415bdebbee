#include "gui/WindowGeometry.h"

#include <algorithm>

namespace quillon::gui {

QRect KeepOnScreen(const QRect& frame, const QList<QRect>& screens) {
    if (screens.isEmpty())
        return frame;
    const QRect* best = nullptr;
    qint64 bestArea = 0;
    for (const QRect& screen : screens) {
        const QRect common = screen.intersected(frame);
        const qint64 area = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    const QRect& screen = best ? *best : screens.front();
    QRect kept(frame.topLeft(), frame.size().boundedTo(screen.size()));
    if (!best) {
        kept.moveCenter(screen.center());
        return kept;
    }
    // Wholly on that screen: the title bar must stay within reach.
    kept.moveLeft(std::clamp(kept.left(), screen.left(), screen.right() - kept.width() + 1));
    kept.moveTop(std::clamp(kept.top(), screen.top(), screen.bottom() - kept.height() + 1));
    return kept;
}

} // namespace quillon::gui
