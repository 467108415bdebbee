#pragma once

#include "core/present/ListRows.h"
#include "gui/HeaderedModel.h"

#include <vector>

namespace quillon::gui {

/// "Basic Information": a property and its value per row.
class TInfoListModel : public TRowsModel<TInfoRow, 2> {
    Q_OBJECT
public:
    using TRowsModel::TRowsModel;
    QVariant data(const QModelIndex& index, int role) const override;
};

} // namespace quillon::gui
