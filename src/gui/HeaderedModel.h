#pragma once

#include <QAbstractTableModel>
#include <QStringList>

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

} // namespace quillon::gui
