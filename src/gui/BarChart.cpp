#include "gui/BarChart.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace quillon::gui {

TBarChart::TBarChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void TBarChart::SetBars(const QString& title, std::vector<TBar> bars) {
    Title = title;
    Rows = std::move(bars);
    updateGeometry();
    update();
}

int TBarChart::RowHeight() const {
    return fontMetrics().height() + 6;
}

// The labels' column: as wide as the widest, within half the chart.
int TBarChart::LabelWidth() const {
    int widest = 0;
    for (const TBar& b : Rows)
        widest = std::max(widest, fontMetrics().horizontalAdvance(b.Label));
    return std::min(widest + 8, width() / 2);
}

QSize TBarChart::sizeHint() const {
    return {320, RowHeight() * static_cast<int>(Rows.size() + 1) + 8};
}

int TBarChart::RowAt(QPoint point) const {
    const int row = (point.y() - RowHeight() - 4) / RowHeight();
    return point.y() >= RowHeight() + 4 && row >= 0 && row < static_cast<int>(Rows.size()) ? row : -1;
}

bool TBarChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int row = RowAt(help->pos());
        if (row >= 0 && !Rows[static_cast<size_t>(row)].Tip.isEmpty())
            QToolTip::showText(help->globalPos(), Rows[static_cast<size_t>(row)].Tip, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TBarChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics(font());
    const QColor ink = palette().text().color();
    const int line = RowHeight();
    painter.setPen(ink);
    painter.drawText(QRect(2, 2, width() - 4, line), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(Title, Qt::ElideRight, width() - 4));
    int64_t most = 1;
    int textWidth = 0;
    for (const TBar& b : Rows) {
        int64_t total = 0;
        for (const TPart& p : b.Parts)
            total += p.Value;
        most = std::max(most, total);
        textWidth = std::max(textWidth, metrics.horizontalAdvance(b.Text));
    }
    const int labels = LabelWidth();
    const int barRoom = std::max(10, width() - labels - textWidth - 16);
    int y = line + 4;
    for (const TBar& b : Rows) {
        painter.setPen(ink);
        painter.drawText(QRect(2, y, labels - 6, line), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(b.Label, Qt::ElideRight, labels - 6));
        double x = labels;
        for (const TPart& p : b.Parts) {
            const double w = static_cast<double>(barRoom) * static_cast<double>(p.Value) / static_cast<double>(most);
            painter.fillRect(QRectF(x, y + 3, w, line - 6), p.Color);
            x += w;
        }
        painter.setPen(ink);
        painter.drawText(QRect(static_cast<int>(x) + 6, y, textWidth + 8, line), Qt::AlignLeft | Qt::AlignVCenter,
                         b.Text);
        y += line;
    }
}

} // namespace quillon::gui
