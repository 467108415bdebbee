#include "gui/CopyRows.h"

#include "core/lang/StringIds.h"
#include "gui/Tr.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QTableView>
#include <QTreeView>

#include <algorithm>

namespace quillon::gui {

namespace {

const QString CopyActionName = QStringLiteral("CopyRows");

bool ColumnShown(const QAbstractItemView& view, int column) {
    if (const auto* tree = qobject_cast<const QTreeView*>(&view))
        return !tree->isColumnHidden(column);
    if (const auto* table = qobject_cast<const QTableView*>(&view))
        return !table->isColumnHidden(column);
    if (const auto* list = qobject_cast<const QListView*>(&view))
        return column == list->modelColumn();
    return true;
}

} // namespace

QString SelectedRowsText(const QAbstractItemView& view) {
    const QItemSelectionModel* selection = view.selectionModel();
    if (!selection)
        return {};
    // One index per selected row, whichever cells of it are selected.
    QList<QModelIndex> rows;
    for (const QModelIndex& index : selection->selectedIndexes()) {
        const QModelIndex first = index.siblingAtColumn(0);
        if (!rows.contains(first))
            rows << first;
    }
    // In the order the list shows them: a tree's children under their parent.
    std::sort(rows.begin(), rows.end(), [&view](const QModelIndex& a, const QModelIndex& b) {
        const int ya = view.visualRect(a).top(), yb = view.visualRect(b).top();
        return ya != yb ? ya < yb : a.row() < b.row();
    });
    QString text;
    for (const QModelIndex& row : rows) {
        QStringList cells;
        const QAbstractItemModel* model = row.model();
        for (int c = 0; c < model->columnCount(row.parent()); ++c)
            if (ColumnShown(view, c))
                cells << model->index(row.row(), c, row.parent()).data(Qt::DisplayRole).toString();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void AddCopyAction(QAbstractItemView* view) {
    auto* copy = new QAction(view);
    copy->setObjectName(CopyActionName);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, view, [view] {
        const QString text = SelectedRowsText(*view);
        if (!text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
    });
    view->addAction(copy);
    if (view->contextMenuPolicy() == Qt::DefaultContextMenu && !qobject_cast<QListView*>(view))
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ApplyCopyLanguage(QWidget* root, TLanguage language) {
    for (QAction* copy : root->findChildren<QAction*>(CopyActionName))
        copy->setText(Tr(AppString::MenuCopy, language));
}

} // namespace quillon::gui
