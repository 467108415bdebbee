#pragma once

#include "core/present/ListRows.h"
#include "gui/HeaderedModel.h"

#include <vector>

namespace quillon::gui {

/// "Players Information": one row per player or slot; full rows carry a check box and the slot colour.
class TPlayerListModel : public TRowsModel<TPlayerRow, 10> {
    Q_OBJECT
public:
    using TRowsModel::TRowsModel;
    /// What a click on a heading sorts by: the slot order in the first column, numbers by value, texts by text.
    static constexpr int SortRole = Qt::UserRole;
    // Rows() has the check boxes as the user left them.
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    /// A check box was toggled by the user.
    void CheckChanged();
};

} // namespace quillon::gui
