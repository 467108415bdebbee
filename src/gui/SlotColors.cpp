#include "gui/SlotColors.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace quillon::gui {

namespace {

// The player colours in slot order; the last twelve came with 24-player games.
constexpr std::array<unsigned, 24> Rgb = {0xFF0303, 0x0042FF, 0x1CE6B9, 0x540081, 0xFFFC01, 0xFE8A0E,
                                          0x20C000, 0xE55BB0, 0x959697, 0x7EBFF1, 0x106246, 0x4E2A04,
                                          0x9B0000, 0x0000C3, 0x00EAFF, 0xBE00FE, 0xEBCD87, 0xF8A48B,
                                          0xBFFF80, 0xDCB9EB, 0x282828, 0xEBF0FF, 0x00781E, 0xA46F33};

} // namespace

QColor SlotColor(int color) {
    if (color < 0 || color >= static_cast<int>(Rgb.size()))
        return QColor(0x80, 0x80, 0x80);
    return QColor::fromRgb(Rgb[static_cast<size_t>(color)]);
}

QIcon SlotColorIcon(int color) {
    static std::array<QIcon, 24> icons;
    if (color < 0 || color >= static_cast<int>(Rgb.size()))
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
