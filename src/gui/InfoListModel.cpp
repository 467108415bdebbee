#include "gui/InfoListModel.h"

#include "gui/QtText.h"

namespace quillon::gui {

void TInfoListModel::SetRows(std::vector<TInfoRow> rows) {
    beginResetModel();
    Rows = std::move(rows);
    endResetModel();
}

int TInfoListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TInfoListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant TInfoListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const TInfoRow& row = Rows[static_cast<size_t>(index.row())];
    if (index.column() == 0)
        return ToQString(row.Caption);
    return row.Value ? QVariant(ToQString(*row.Value)) : QVariant();
}

} // namespace quillon::gui
