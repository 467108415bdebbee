#pragma once

#include "core/lang/Translations.h"

#include <QWidget>

class QComboBox;
class QToolButton;

namespace quillon::gui {

class IMessageBoxes;
class TReplayFileList;
class TReplayFileModel;

/// The main window's replay browser: the folder row (parent, folder box, chooser) over the list of the folder's
/// replays. It keeps the folder on show and a name to select once the folder has been read.
class TReplayBrowser : public QWidget {
    Q_OBJECT
public:
    TReplayBrowser(IMessageBoxes& boxes, QWidget* parent = nullptr);

    /// Selects a replay (showing its folder), or shows a folder. Without a path: the folder of the last run when
    /// it still exists; else, and for a path that is neither, the default replay folder. Relative paths are taken
    /// from the working folder.
    void OpenPath(const QString& text);
    void ShowFolder(const QString& folder);
    /// Selects a replay of the folder on show, now or once the folder has been read.
    void SelectSoon(const QString& name);
    /// The first selected replay's name; empty when none is.
    QString FirstSelectedName() const;
    void ApplyLanguage(TLanguage language);

    /// The folders the folder box offers, the latest first; the first is the one a start without a path opens.
    void SetRecentFolders(const QStringList& folders);
    QStringList RecentFolders() const { return Recent; }
    /// F5, Alt+Up and Ctrl+L.
    void Refresh();
    void GoToParent() { SpeedButton1Click(); }
    void FocusFolderBox();
    TReplayFileList& GetFileList() const { return *FileList; }
    /// The folder on show, with a trailing slash.
    QString GetReplayDir() const { return ReplayDir; }
    /// The browser's controls in the order Tab visits them.
    QList<QWidget*> TabChain() const;

signals:
    /// A replay was selected: its full path.
    void ReplayChosen(const QString& path);
    /// A path to open (from the list's context menu).
    void OpenRequested(const QString& path);
    /// A replay was renamed in place in the list.
    void Renamed(const QString& from, const QString& to);
    /// A line for the status bar.
    void Message(const QString& text);

private:
    void SpeedButton1Click();
    void SelDirClick();
    void FileListChange();
    void FolderTyped(const QString& text);
    void FillFolderBox();

    IMessageBoxes& Boxes;
    TLanguage Language = TLanguage::English;
    QString ReplayDir;
    QString PendingSelect;     // a name to select once the folder has been read
    QStringList Recent;        // folders shown, the latest first
    QToolButton* ParentButton; // SpeedButton1
    QComboBox* DirTxt;
    QToolButton* SelDir;
    TReplayFileModel* FileModel;
    TReplayFileList* FileList;
};

} // namespace quillon::gui
