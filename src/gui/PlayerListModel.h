#pragma once

#include "core/present/ListRows.h"
#include "gui/HeaderedModel.h"

#include <vector>

namespace quillon::gui {

/// "Players Information": one row per player or slot; full rows carry a check box and the slot colour.
class TPlayerListModel : public THeaderedModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 10;

    using THeaderedModel::THeaderedModel;
    void SetRows(std::vector<TPlayerRow> rows);
    /// The rows with their check boxes as the user left them.
    const std::vector<TPlayerRow>& Rows() const { return Items; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    /// A check box was toggled by the user.
    void CheckChanged();

private:
    std::vector<TPlayerRow> Items;
};

} // namespace quillon::gui
