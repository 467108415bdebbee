#pragma once

#include "core/present/ActionText.h"
#include "gui/HeaderedModel.h"

#include <vector>

namespace quillon::gui {

/// The rows of one page of the action list: Player, Time, Action.
class TActionListModel : public TRowsModel<TActionCells, 3> {
    Q_OBJECT
public:
    using TRowsModel::TRowsModel;
    QVariant data(const QModelIndex& index, int role) const override;
};

} // namespace quillon::gui
