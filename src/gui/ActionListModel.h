#pragma once

#include "core/present/ActionText.h"
#include "gui/HeaderedModel.h"

#include <vector>

namespace quillon::gui {

/// The rows of one page of the action list: Player, Time, Action.
class TActionListModel : public THeaderedModel {
    Q_OBJECT
public:
    using THeaderedModel::THeaderedModel;
    void SetRows(std::vector<TActionCells> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<TActionCells> Rows;
};

} // namespace quillon::gui
