#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace quillon::gui {

/// Horizontal bars, one row each: a label, the bar in parts (wins and losses, or one count), and a number after
/// it. Hovering a row shows its tooltip.
class TBarChart : public QWidget {
    Q_OBJECT
public:
    struct TPart {
        int64_t Value = 0;
        QColor Color;
    };
    struct TBar {
        QString Label;
        std::vector<TPart> Parts;
        QString Text; // after the bar
        QString Tip;
    };

    explicit TBarChart(QWidget* parent = nullptr);
    void SetBars(const QString& title, std::vector<TBar> bars);

    const std::vector<TBar>& Bars() const { return Rows; }
    /// The row under a point (widget coordinates), -1 when none.
    int RowAt(QPoint point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {200, 80}; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int RowHeight() const;
    int LabelWidth() const;

    QString Title;
    std::vector<TBar> Rows;
};

} // namespace quillon::gui
