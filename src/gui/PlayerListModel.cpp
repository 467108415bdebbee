#include "gui/PlayerListModel.h"

#include "gui/QtText.h"
#include "gui/SlotColors.h"

#include <QRegularExpression>

namespace quillon::gui {

QVariant TPlayerListModel::data(const QModelIndex& index, int role) const {
    const TPlayerRow* found = RowOf(index);
    if (!found)
        return {};
    const TPlayerRow& row = *found;
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        if (column == 0)
            return ToQString(row.Caption);
        // The sub-items fill the columns after the first; the last one (the id) no column shows.
        const size_t sub = static_cast<size_t>(column - 1);
        return sub < row.SubItems.size() ? QVariant(ToQString(row.SubItems[sub])) : QVariant();
    }
    case SortRole: {
        if (column == 0)
            return index.row();
        const QString text = index.data(Qt::DisplayRole).toString();
        // Team, handicap, actions, APM and time played: the digit groups read as one number ("9,672",
        // "217.25", "44min31sec16"), whatever separators the number format uses.
        if (column >= 4 && column <= 8) {
            qint64 value = 0;
            bool any = false;
            for (const QString& group : text.split(QRegularExpression(QStringLiteral("\\D+")), Qt::SkipEmptyParts)) {
                value = value * 1000 + group.toLongLong();
                any = true;
            }
            return any ? QVariant(value) : QVariant(qint64(-1));
        }
        return text;
    }
    case Qt::CheckStateRole:
        if (column == 0 && row.FullRow)
            return row.Checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole:
        if (column == 0 && row.Image >= 0)
            return SlotColorIcon(row.Image);
        return {};
    default:
        return {};
    }
}

bool TPlayerListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TPlayerRow* found = RowOf(index);
    if (!found || role != Qt::CheckStateRole || index.column() != 0 || !found->FullRow)
        return false;
    TPlayerRow& row = *found;
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    if (checked == row.Checked)
        return true;
    row.Checked = checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit CheckChanged();
    return true;
}

Qt::ItemFlags TPlayerListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = THeaderedModel::flags(index);
    if (const TPlayerRow* row = RowOf(index); row && index.column() == 0 && row->FullRow)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace quillon::gui
