#include "gui/SlotColors.h"

#include "core/present/GameText.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace quillon::gui {

QColor SlotColor(int color) {
    return QColor::fromRgb(SlotColorRgb(color));
}

QIcon SlotColorIcon(int color) {
    static std::array<QIcon, 24> icons;
    if (color < 0 || color >= static_cast<int>(icons.size()))
        return {};
    QIcon& icon = icons[static_cast<size_t>(color)];
    if (icon.isNull()) {
        QPixmap square(12, 12);
        square.fill(Qt::transparent);
        QPainter painter(&square);
        painter.setPen(QColor(0x30, 0x30, 0x30));
        painter.setBrush(SlotColor(color));
        painter.drawRect(0, 0, 11, 11);
        painter.end();
        icon = QIcon(square);
    }
    return icon;
}

} // namespace quillon::gui
