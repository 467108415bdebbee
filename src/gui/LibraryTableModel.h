#pragma once

#include "core/lang/Translations.h"
#include "core/library/LibrarySearch.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>
#include <vector>

namespace quillon::gui {

/// The replays a library search finds, fetched from the database a page at a time as the view scrolls.
class TLibraryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { Date, Map, Players, Winner, Length, Apm, Version, ColumnCount };
    static constexpr int PageSize = 200;

    explicit TLibraryTableModel(QObject* parent = nullptr);
    /// The library's order of a column; nothing for the columns it cannot sort by (players, winner).
    static std::optional<TLibrarySort> SortOfColumn(int column);

    /// Runs a query against a library (nullptr: none); the first page is fetched at once.
    void SetQuery(TLibrary* library, const TLibraryQuery& query);
    void SetLanguage(TLanguage language);
    int64_t Total() const { return Count; }
    const TLibraryEntry& Entry(int row) const { return Rows.at(static_cast<size_t>(row)); }
    /// A database error met while fetching is handed here rather than thrown through Qt.
    std::function<void(const std::string&)> OnError;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order) override;

private:
    TLibrary* Library = nullptr;
    TLibraryQuery Query;
    std::vector<TLibraryEntry> Rows;
    int64_t Count = 0;
    TLanguage Lang = TLanguage::English;
};

} // namespace quillon::gui
