#include "gui/ReplayFileList.h"

#include "core/lang/StringIds.h"
#include "core/rename/FileSystem.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/Tr.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QStyledItemDelegate>
#include <QUrl>

namespace quillon::gui {

TReplayFileModel::TReplayFileModel(IMessageBoxes& boxes, QObject* parent) : QFileSystemModel(parent), Boxes(boxes) {
    setFilter(QDir::Files); // case-insensitive "*.w3g"; hidden files stay hidden, as in a file manager
    setNameFilters({QStringLiteral("*.w3g")});
    setNameFilterDisables(false);
    setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    setReadOnly(false);
}

bool TReplayFileModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return QFileSystemModel::setData(index, value, role);
    const QString newName = value.toString().trimmed();
    const QString oldName = index.data(Qt::DisplayRole).toString();
    if (newName.isEmpty() || newName == oldName)
        return false;
    const QFileInfo info = fileInfo(index);
    if (newName.contains(QLatin1Char('/'))) {
        Boxes.Inform(nullptr, Tr(MainString::RenameFailed, Language));
        return false;
    }
    const QString from = info.absoluteFilePath();
    const QString to = info.absoluteDir().absoluteFilePath(newName);
    std::string reason;
    switch (RenameNoReplace(ToPath(from), ToPath(to), &reason)) {
    case TRenameResult::Renamed:
        emit Renamed(from, to);
        return true;
    case TRenameResult::TargetExists:
        Boxes.Inform(nullptr, newName + Tr(MainString::AlreadyExists, Language));
        return false;
    case TRenameResult::Failed:
        break;
    }
    Boxes.Inform(nullptr, Tr(AppString::RenameInPlaceFailed, Language, {ToUtf8(newName), reason}));
    return false;
}

QVariant TReplayFileModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::ToolTipRole && index.column() == 0)
        return QDir::toNativeSeparators(fileName(index));
    return QFileSystemModel::data(index, role);
}

namespace {

// Long names end in "…" before their extension, so ".w3g" stays in sight in a narrow column.
class TKeepExtensionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
        // The style keeps a few pixels of margin inside the text rectangle.
        opt.text = ElideKeepingExtension(opt.fontMetrics, opt.text, textRect.width() - 6);
        opt.textElideMode = Qt::ElideNone;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    }
};

} // namespace

QString ElideKeepingExtension(const QFontMetrics& metrics, const QString& name, int width) {
    if (metrics.horizontalAdvance(name) <= width)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 && name.size() - dot <= 8 ? name.mid(dot) : QString();
    const QString base = name.left(name.size() - extension.size());
    return metrics.elidedText(base, Qt::ElideRight, std::max(0, width - metrics.horizontalAdvance(extension))) +
           extension;
}

TReplayFileList::TReplayFileList(TReplayFileModel* model, QWidget* parent) : QListView(parent), Model(model) {
    setObjectName(QStringLiteral("FileList"));
    setModel(model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setUniformItemSizes(true);
    setItemDelegate(new TKeepExtensionDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    connect(this, &QListView::activated, this,
            [this](const QModelIndex& index) { emit OpenRequested(Model->filePath(index)); });
}

QString TReplayFileList::FirstSelectedName() const {
    // The list selects the name column only (the model has four), so selectedRows() would find none.
    QModelIndex first;
    for (const QModelIndex& i : selectionModel()->selectedIndexes())
        if (i.column() == 0 && (!first.isValid() || i.row() < first.row()))
            first = i; // the first selected entry in list order, as the user sees it
    return first.isValid() ? Model->fileName(first) : QString();
}

bool TReplayFileList::SelectName(const QString& name) {
    const QModelIndex index = Model->index(QDir(Model->rootPath()).absoluteFilePath(name));
    if (!index.isValid() || index.parent() != rootIndex()) {
        clearSelection();
        return false;
    }
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
    return true;
}

namespace {

// The file's folder in the desktop's file manager; Explorer also selects the file.
void ShowInFolder(const QString& path) {
#ifdef Q_OS_WIN
    QProcess::startDetached(QStringLiteral("explorer.exe"),
                            {QStringLiteral("/select,"), QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())});
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
#endif
}

} // namespace

void TReplayFileList::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    QMenu menu(this);
    if (index.isValid()) {
        const QString path = Model->filePath(index);
        menu.addAction(Tr(AppString::MenuOpen, Language), this, [this, path] { emit OpenRequested(path); });
        QAction* rename = menu.addAction(Tr(AppString::MenuRename, Language), this, [this, index] { edit(index); });
        rename->setShortcut(QKeySequence(Qt::Key_F2));
        menu.addAction(Tr(AppString::MenuShowInFolder, Language), this, [path] { ShowInFolder(path); });
        menu.addSeparator();
    }
    QAction* refresh = menu.addAction(Tr(AppString::MenuRefresh, Language), this, &TReplayFileList::Refresh);
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    menu.exec(event->globalPos());
}

void TReplayFileList::Refresh() {
    const QString selected = FirstSelectedName();
    const QString root = Model->rootPath();
    Model->setRootPath(QString());
    setRootIndex(Model->setRootPath(root));
    if (!selected.isEmpty())
        SelectName(selected);
}

} // namespace quillon::gui
