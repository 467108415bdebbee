#pragma once

#include "core/lang/Translations.h"
#include "core/library/PlayerProfile.h"
#include "core/present/ListRows.h"
#include "core/summary/ReplaySummary.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

namespace quillon::gui {

/// APM over the game's minutes: one line per player shown, in the player's slot colour. Hovering shows the
/// minute and each line's APM. The same chart shows a player's APM over the months of a profile: the median as
/// the line, the lowest and highest game as a band around it.
class TApmChart : public QWidget {
    Q_OBJECT
public:
    explicit TApmChart(QWidget* parent = nullptr);

    /// The curves of the shown players of a summary.
    void SetCurves(const TReplaySummary& summary, const TPlayerSet& shown, TLanguage language);
    /// A profile's months: the median APM of each with its range.
    void SetTrend(const std::vector<TApmMonth>& months, TLanguage language);

    int SeriesCount() const { return static_cast<int>(Series.size()); }
    /// Points along the bottom: the game's minutes, or the months of a trend.
    int MinuteCount() const { return Minutes; }
    /// The minute under the pointer (0-based), -1 when none; and its text as the tooltip shows it.
    int HoverMinute() const { return Hover; }
    QString HoverText() const;
    /// Where minute m's points are drawn, in widget coordinates.
    int MinuteX(int minute) const;

    QSize sizeHint() const override { return {320, 150}; }
    QSize minimumSizeHint() const override { return {160, 120}; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct TSeries {
        QString Name;
        QColor Color;
        std::vector<int32_t> PerMinute;
        std::vector<int32_t> Low, High; // a band around the line, when there is one
    };
    QRect PlotArea() const;
    int ScaleTop() const;
    void SetHover(int minute);

    std::vector<TSeries> Series;
    int Minutes = 0;
    int Peak = 0;
    int Hover = -1;
    TLanguage Lang = TLanguage::English;
    QStringList XLabels;    // a trend's months; the minute numbers when empty
    QStringList HoverLines; // a trend's text for each month
};

} // namespace quillon::gui
