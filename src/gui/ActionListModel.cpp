#include "gui/ActionListModel.h"

#include "gui/QtText.h"

namespace quillon::gui {

QVariant TActionListModel::data(const QModelIndex& index, int role) const {
    const TActionCells* row = RowOf(index);
    if (!row)
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return ToQString(index.column() == 0 ? row->Player : index.column() == 1 ? row->Time : row->Action);
}

} // namespace quillon::gui
