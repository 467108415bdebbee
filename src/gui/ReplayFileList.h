#pragma once

#include "core/lang/Translations.h"

#include <QFileSystemModel>
#include <QFontMetrics>
#include <QListView>

namespace quillon::gui {

class IMessageBoxes;

/// A file name shortened to fit a width with "…" before its extension, which stays whole.
QString ElideKeepingExtension(const QFontMetrics& metrics, const QString& name, int width);

/// The folder's replays. Renaming an entry in place goes through the no-replace rename: it never replaces a file.
class TReplayFileModel : public QFileSystemModel {
    Q_OBJECT
public:
    explicit TReplayFileModel(IMessageBoxes& boxes, QObject* parent = nullptr);
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    /// The whole name is the tooltip: the list may show it shortened.
    QVariant data(const QModelIndex& index, int role) const override;
    void SetLanguage(TLanguage language) { Language = language; }

signals:
    void Renamed(const QString& from, const QString& to);

private:
    IMessageBoxes& Boxes;
    TLanguage Language = TLanguage::English;
};

/// The file list (object name FileList): the replays of one folder, with a context menu to open, rename in
/// place (F2) and show the file in the desktop's file manager.
class TReplayFileList : public QListView {
    Q_OBJECT
public:
    TReplayFileList(TReplayFileModel* model, QWidget* parent = nullptr);

    void SetLanguage(TLanguage language) { Language = language; }
    TReplayFileModel* FileModel() const { return Model; }
    /// The name of the first selected entry; empty when nothing is selected.
    QString FirstSelectedName() const;
    /// Selects the entry with this file name in the folder on show; false when there is none.
    bool SelectName(const QString& name);
    /// Reads the folder on show again, keeping the selection.
    void Refresh();

signals:
    /// Enter or double-click on an entry, or Open in its menu.
    void OpenRequested(const QString& path);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TReplayFileModel* Model;
    TLanguage Language = TLanguage::English;
};

} // namespace quillon::gui
