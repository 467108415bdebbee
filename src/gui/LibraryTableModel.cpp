#include "gui/LibraryTableModel.h"

#include "core/library/LibraryRows.h"

#include "core/lang/StringIds.h"
#include "core/present/GameText.h"
#include "core/text/DecodeText.h"
#include "gui/QtText.h"
#include "gui/Tr.h"

#include <QDateTime>

namespace quillon::gui {

TLibraryTableModel::TLibraryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TLibraryTableModel::SetQuery(TLibrary* library, const TLibraryQuery& query) {
    beginResetModel();
    Library = library;
    Query = query;
    Query.Offset = 0;
    Query.Limit = PageSize;
    Rows.clear();
    Count = 0;
    if (Library) {
        try {
            Count = CountLibrary(*Library, Query);
            Rows = SearchLibrary(*Library, Query);
        } catch (const TLibraryError& e) {
            Rows.clear();
            Count = 0;
            if (OnError)
                OnError(e.what());
        }
    }
    endResetModel();
}

void TLibraryTableModel::SetLanguage(TLanguage language) {
    Lang = language;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!Rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int TLibraryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TLibraryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool TLibraryTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && Library && static_cast<int64_t>(Rows.size()) < Count;
}

void TLibraryTableModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    TLibraryQuery page = Query;
    page.Offset = static_cast<int>(Rows.size());
    std::vector<TLibraryEntry> more;
    try {
        more = SearchLibrary(*Library, page);
    } catch (const TLibraryError& e) {
        Count = static_cast<int64_t>(Rows.size()); // nothing more to fetch after a failure
        if (OnError)
            OnError(e.what());
        return;
    }
    if (more.empty()) {
        Count = static_cast<int64_t>(Rows.size()); // rows went away since the count
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    for (auto& e : more)
        Rows.push_back(std::move(e));
    endInsertRows();
}

std::optional<TLibrarySort> TLibraryTableModel::SortOfColumn(int column) {
    static constexpr std::pair<int, TLibrarySort> Sorts[] = {{Date, TLibrarySort::Date},
                                                             {Map, TLibrarySort::Map},
                                                             {Length, TLibrarySort::Length},
                                                             {Apm, TLibrarySort::Apm},
                                                             {Version, TLibrarySort::Version}};
    for (const auto& [c, sortBy] : Sorts)
        if (c == column)
            return sortBy;
    return std::nullopt;
}

void TLibraryTableModel::sort(int column, Qt::SortOrder order) {
    if (const auto sortBy = SortOfColumn(column)) {
        TLibraryQuery q = Query;
        q.Sort = *sortBy;
        q.Descending = order == Qt::DescendingOrder;
        SetQuery(Library, q);
    }
}

QVariant TLibraryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TLibraryEntry& e = Rows[static_cast<size_t>(index.row())];
    if (role == Qt::ToolTipRole)
        return ShownPath(e.Path);
    if (role == Qt::TextAlignmentRole && (index.column() == Length || index.column() == Apm))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Date:
        return QDateTime::fromSecsSinceEpoch(e.Modified).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    case Map:
        return ToQString(DecodeUtf8Text(e.MapName));
    case Players:
        return ToQString(LibraryPlayersCell(e, Lang, false)); // the winners have their own column
    case Winner:
        return ToQString(LibraryWinnersCell(e));
    case Length:
        return ToQString(GameTimeText(e.Length, Lang));
    case Apm:
        return QString::number(e.MaxApm, 'f', 0);
    case Version:
        return ToQString(e.Version);
    default:
        return {};
    }
}

QVariant TLibraryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    static constexpr LibraryString Headings[] = {LibraryString::ColumnDate,    LibraryString::ColumnMap,
                                                 LibraryString::ColumnPlayers, LibraryString::ColumnWinner,
                                                 LibraryString::ColumnLength,  LibraryString::ColumnApm,
                                                 LibraryString::ColumnVersion};
    return Tr(Headings[section], Lang);
}

} // namespace quillon::gui
