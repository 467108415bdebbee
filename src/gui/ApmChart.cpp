#include "gui/ApmChart.h"

#include "core/lang/StringIds.h"
#include "gui/QtText.h"
#include "gui/SlotColors.h"
#include "gui/Tr.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace quillon::gui {

namespace {

constexpr int LeftMargin = 34, RightMargin = 10;

} // namespace

TApmChart::TApmChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ApmChart"));
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("ApmChart"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void TApmChart::SetCurves(const TReplaySummary& summary, const TPlayerSet& shown, TLanguage language) {
    Lang = language;
    Series.clear();
    Minutes = summary.MinuteCount;
    Peak = 0;
    QStringList names;
    for (const auto& p : summary.Players) {
        if (!shown.test(p.Id))
            continue;
        Series.push_back({ToQString(p.Name), SlotColor(p.Color), p.Apm.PerMinute});
        Peak = std::max(Peak, p.Apm.PeakCount);
        names << ToQString(p.Name);
    }
    Hover = -1;
    XLabels.clear();
    HoverLines.clear();
    setAccessibleDescription(Tr(SummaryString::ChartDescription, Lang, {ToUtf8(names.join(QStringLiteral(", ")))}));
    update();
}

void TApmChart::SetTrend(const std::vector<TApmMonth>& months, TLanguage language) {
    Lang = language;
    Series.clear();
    XLabels.clear();
    HoverLines.clear();
    Minutes = static_cast<int>(months.size());
    Peak = 0;
    TSeries trend{{}, palette().highlight().color(), {}, {}, {}};
    const auto round = [](double apm) { return static_cast<int32_t>(std::lround(apm)); };
    for (const TApmMonth& m : months) {
        trend.PerMinute.push_back(round(m.Median));
        trend.Low.push_back(round(m.Lowest));
        trend.High.push_back(round(m.Highest));
        Peak = std::max(Peak, round(m.Highest));
        XLabels << ToQString(m.Month);
        HoverLines << Tr(LibraryString::ApmTrendHover, Lang,
                         {m.Month, std::to_string(round(m.Median)), std::to_string(round(m.Lowest)),
                          std::to_string(round(m.Highest)), std::to_string(m.Games)});
    }
    if (!months.empty())
        Series.push_back(std::move(trend));
    Hover = -1;
    setAccessibleDescription(Tr(LibraryString::ChartApm, Lang));
    update();
}

// Room above for the APM title, below for the minute numbers and the minutes title.
QRect TApmChart::PlotArea() const {
    const int line = fontMetrics().height();
    return rect().adjusted(LeftMargin, line + 4, -RightMargin, -(2 * line + 4));
}

int TApmChart::ScaleTop() const {
    return ApmScaleTop(Peak);
}

int TApmChart::MinuteX(int minute) const {
    const QRect area = PlotArea();
    if (Minutes <= 1)
        return area.center().x();
    return area.left() + static_cast<int>(static_cast<int64_t>(area.width()) * minute / (Minutes - 1));
}

QString TApmChart::HoverText() const {
    if (Hover < 0)
        return {};
    if (!HoverLines.isEmpty())
        return HoverLines.value(Hover);
    QStringList lines;
    for (const auto& s : Series) {
        const int32_t apm = static_cast<size_t>(Hover) < s.PerMinute.size() ? s.PerMinute[Hover] : 0;
        lines << Tr(SummaryString::ChartHover, Lang, {std::to_string(Hover + 1), std::to_string(apm)}) +
                     QStringLiteral("  ") + s.Name;
    }
    return lines.join(QLatin1Char('\n'));
}

void TApmChart::SetHover(int minute) {
    if (minute == Hover)
        return;
    Hover = minute;
    update();
}

void TApmChart::mouseMoveEvent(QMouseEvent* event) {
    const QRect area = PlotArea();
    if (Minutes <= 0 || Series.empty() || !area.adjusted(-6, 0, 6, 0).contains(event->position().toPoint())) {
        SetHover(-1);
        QToolTip::hideText();
        return;
    }
    const double share =
        Minutes <= 1 ? 0.0 : static_cast<double>(event->position().x() - area.left()) / area.width() * (Minutes - 1);
    SetHover(std::clamp(static_cast<int>(share + 0.5), 0, Minutes - 1));
    QToolTip::showText(event->globalPosition().toPoint(), HoverText(), this);
}

bool TApmChart::event(QEvent* event) {
    // Over a minute the tooltip is that minute's APM; elsewhere the chart's own text.
    if (event->type() == QEvent::ToolTip && Hover >= 0) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), HoverText(), this);
        return true;
    }
    return QWidget::event(event);
}

void TApmChart::leaveEvent(QEvent*) {
    SetHover(-1);
}

void TApmChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QRect area = PlotArea();
    const QColor ink = palette().text().color();
    QColor grid = palette().mid().color();
    grid.setAlpha(90);

    // Scale: four steps up to a round number (two on a low chart); minutes along the bottom.
    const int top = ScaleTop();
    const QFontMetrics metrics(font());
    // Steps of whole numbers: four where they divide the top, else five (10, 15, 25, 50 ...); fewer on a low chart.
    const bool tall = area.height() >= 4 * metrics.height();
    const int steps = tall ? (top % 4 == 0 ? 4 : top % 5 == 0 ? 5 : 2) : (top % 2 == 0 ? 2 : 1);
    for (int i = 0; i <= steps; ++i) {
        const int y = area.bottom() - area.height() * i / steps;
        painter.setPen(grid);
        painter.drawLine(area.left(), y, area.right(), y);
        painter.setPen(ink);
        painter.drawText(QRect(0, y - metrics.height() / 2, LeftMargin - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(top * i / steps));
    }
    const int line = metrics.height();
    // Beside the top of the scale, not over its number.
    painter.drawText(QRect(LeftMargin + 4, 0, width() / 2, line + 2), Qt::AlignLeft | Qt::AlignTop,
                     Tr(SummaryString::ChartApm, Lang));
    if (Minutes > 0) {
        // Each label in a room of its own: minute numbers, or a trend's months.
        const QString widest = XLabels.isEmpty() ? QStringLiteral("000") : XLabels.front();
        const int room = metrics.horizontalAdvance(widest) + metrics.horizontalAdvance(QStringLiteral("00"));
        const int labelEvery = std::max(1, (Minutes * room) / std::max(1, area.width()));
        for (int m = 0; m < Minutes; m += labelEvery) {
            const QString label = XLabels.isEmpty() ? QString::number(m + 1) : XLabels[m];
            // Within the chart: the first and last labels move in rather than lose their ends.
            const int left = std::clamp(MinuteX(m) - room / 2, 0, std::max(0, width() - room));
            painter.drawText(QRect(left, area.bottom() + 2, room, line), Qt::AlignHCenter, label);
        }
    }
    painter.drawText(QRect(area.left(), area.bottom() + 2 + line, area.width(), line), Qt::AlignHCenter,
                     XLabels.isEmpty() ? Tr(SummaryString::ChartMinutes, Lang) : Tr(LibraryString::ColumnMonth, Lang));

    const auto pointOf = [&](int minute, int32_t apm) {
        return QPointF(MinuteX(minute), area.bottom() - static_cast<double>(area.height()) * apm / top);
    };
    for (const auto& s : Series) {
        if (s.Low.size() != s.PerMinute.size() || s.High.size() != s.PerMinute.size() || s.PerMinute.empty())
            continue;
        QColor fill = s.Color;
        fill.setAlpha(50);
        if (s.PerMinute.size() == 1) { // one point: its range as a bar
            painter.setPen(QPen(fill, 10));
            painter.drawLine(pointOf(0, s.Low[0]), pointOf(0, s.High[0]));
            continue;
        }
        QPolygonF band;
        for (size_t m = 0; m < s.High.size(); ++m)
            band << pointOf(static_cast<int>(m), s.High[m]);
        for (size_t m = s.Low.size(); m-- > 0;)
            band << pointOf(static_cast<int>(m), s.Low[m]);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(band);
        painter.setBrush(Qt::NoBrush);
    }
    for (const auto& s : Series) {
        if (s.PerMinute.empty())
            continue;
        QPainterPath path(pointOf(0, s.PerMinute[0]));
        for (size_t m = 1; m < s.PerMinute.size(); ++m)
            path.lineTo(pointOf(static_cast<int>(m), s.PerMinute[m]));
        if (s.PerMinute.size() == 1)
            path.addEllipse(pointOf(0, s.PerMinute[0]), 2, 2);
        // A dark edge under each line keeps the light slot colours (yellow, white) visible.
        painter.setPen(QPen(QColor(0, 0, 0, 70), 3.5));
        painter.drawPath(path);
        painter.setPen(QPen(s.Color, 2));
        painter.drawPath(path);
    }
    if (Hover >= 0) {
        painter.setPen(QPen(ink, 1, Qt::DashLine));
        painter.drawLine(MinuteX(Hover), area.top(), MinuteX(Hover), area.bottom());
        for (const auto& s : Series)
            if (static_cast<size_t>(Hover) < s.PerMinute.size()) {
                painter.setPen(QPen(ink, 1));
                painter.setBrush(s.Color);
                painter.drawEllipse(pointOf(Hover, s.PerMinute[Hover]), 3.5, 3.5);
            }
    }
}

} // namespace quillon::gui
