#include "gui/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quillon::gui {

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient ground(0, 0, 0, 64);
    ground.setColorAt(0, QColor(0x2B, 0x3F, 0x7A));
    ground.setColorAt(1, QColor(0x12, 0x1C, 0x3A));
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The play mark of a recorded game.
    QPainterPath play;
    play.moveTo(14, 40);
    play.lineTo(14, 58);
    play.lineTo(30, 49);
    play.closeSubpath();
    p.setBrush(QColor(0xF2, 0xB1, 0x34));
    p.drawPath(play);

    // The quill: a feather leaning right, its shaft ending in a nib.
    QPainterPath feather;
    feather.moveTo(54, 8);
    feather.cubicTo(40, 10, 26, 24, 24, 44);
    feather.cubicTo(34, 38, 48, 26, 54, 8);
    p.setBrush(QColor(0xF4, 0xF1, 0xE8));
    p.drawPath(feather);
    p.setPen(QPen(QColor(0x8A, 0x93, 0xB0), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(52, 11), QPointF(22, 50));
    p.setPen(QPen(QColor(0xF4, 0xF1, 0xE8), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 47), QPointF(20, 54));
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(AppIconPixmap(size));
    return icon;
}

} // namespace quillon::gui
