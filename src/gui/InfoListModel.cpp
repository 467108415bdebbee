#include "gui/InfoListModel.h"

#include "gui/QtText.h"

namespace quillon::gui {

QVariant TInfoListModel::data(const QModelIndex& index, int role) const {
    const TInfoRow* row = RowOf(index);
    if (!row || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    if (index.column() == 0)
        return ToQString(row->Caption);
    return row->Value ? QVariant(ToQString(*row->Value)) : QVariant();
}

} // namespace quillon::gui
