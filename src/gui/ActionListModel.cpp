#include "gui/ActionListModel.h"

#include "gui/QtText.h"

namespace quillon::gui {

void TActionListModel::SetRows(std::vector<TActionCells> rows) {
    beginResetModel();
    Rows = std::move(rows);
    endResetModel();
}

int TActionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TActionListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TActionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const TActionCells& row = Rows[static_cast<size_t>(index.row())];
    const std::string& cell = index.column() == 0 ? row.Player : index.column() == 1 ? row.Time : row.Action;
    return ToQString(cell);
}

} // namespace quillon::gui
