#pragma once

#include "core/lang/Translations.h"
#include "core/present/ListRows.h"
#include "core/summary/ReplaySummary.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

namespace quillon::gui {

/// APM over the game's minutes: one line per player shown, in the player's slot colour. Hovering shows the
/// minute and each line's APM.
class TApmChart : public QWidget {
    Q_OBJECT
public:
    explicit TApmChart(QWidget* parent = nullptr);

    /// The curves of the shown players of a summary.
    void SetCurves(const TReplaySummary& summary, const TPlayerSet& shown, TLanguage language);

    int SeriesCount() const { return static_cast<int>(Series.size()); }
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
    };
    QRect PlotArea() const;
    int ScaleTop() const;
    void SetHover(int minute);

    std::vector<TSeries> Series;
    int Minutes = 0;
    int Peak = 0;
    int Hover = -1;
    TLanguage Lang = TLanguage::English;
};

} // namespace quillon::gui
