#pragma once

#include "core/lang/Translations.h"

#include <QWidget>

class QLineEdit;
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

    /// Selects a replay (showing its folder), shows a folder, or else the default replay folder. Relative paths
    /// are taken from the working folder.
    void OpenPath(const QString& text);
    void ShowFolder(const QString& folder);
    /// Selects a replay of the folder on show, now or once the folder has been read.
    void SelectSoon(const QString& name);
    /// The first selected replay's name; empty when none is.
    QString FirstSelectedName() const;
    void ApplyLanguage(TLanguage language);

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

    IMessageBoxes& Boxes;
    TLanguage Language = TLanguage::English;
    QString ReplayDir;
    QString PendingSelect;     // a name to select once the folder has been read
    QToolButton* ParentButton; // SpeedButton1
    QLineEdit* DirTxt;
    QToolButton* SelDir;
    TReplayFileModel* FileModel;
    TReplayFileList* FileList;
};

} // namespace quillon::gui
