#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace quillon::gui {

/// A table model whose column headings come from the translation table and change with the language.
class THeaderedModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetHeaders(const QStringList& headers) {
        Headers = headers;
        if (!Headers.isEmpty())
            emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(Headers.size()) - 1);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < Headers.size())
            return Headers[section];
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QStringList Headers;
};

/// A table of the core's rows, replaced whole: the lists are rebuilt, never edited in place.
template <typename TRow, int Columns> class TRowsModel : public THeaderedModel {
public:
    using THeaderedModel::THeaderedModel;

    void SetRows(std::vector<TRow> rows) {
        beginResetModel();
        Items = std::move(rows);
        endResetModel();
    }
    const std::vector<TRow>& Rows() const { return Items; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(Items.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Columns; }

protected:
    /// The row of an index that belongs to this model, or nullptr.
    const TRow* RowOf(const QModelIndex& index) const {
        return index.isValid() && index.row() < rowCount() ? &Items[static_cast<size_t>(index.row())] : nullptr;
    }
    TRow* RowOf(const QModelIndex& index) {
        return index.isValid() && index.row() < rowCount() ? &Items[static_cast<size_t>(index.row())] : nullptr;
    }

private:
    std::vector<TRow> Items;
};

} // namespace quillon::gui
