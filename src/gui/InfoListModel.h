#pragma once

#include "core/present/ListRows.h"
#include "gui/HeaderedModel.h"

#include <vector>

namespace quillon::gui {

/// "Basic Information": a property and its value per row.
class TInfoListModel : public THeaderedModel {
    Q_OBJECT
public:
    using THeaderedModel::THeaderedModel;
    void SetRows(std::vector<TInfoRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<TInfoRow> Rows;
};

} // namespace quillon::gui
