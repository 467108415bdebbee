#pragma once

#include "core/gamedata/GameTables.h"
#include "core/lang/Translations.h"
#include "core/present/ActionPager.h"
#include "core/present/ListRows.h"
#include "core/present/NumberFormat.h"
#include "core/replay/LoadReplay.h"
#include "core/settings/Settings.h"
#include "core/summary/ReplaySummary.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QToolButton;
class QTreeView;
class QWidget;

namespace quillon::gui {

class IMessageBoxes;
class TActionListModel;
class TBatchRenamer;
class TLibraryWindow;
class TInfoListModel;
class TPlayerListModel;
class TRenResult;
class TReplayFileList;
class TReplayFileModel;
class TReplayLoader;
class TRule;
class TSetting;
class TSummaryView;

/// Where the window reads and writes its settings, and the boxes it shows.
struct TMainWindowOptions {
    std::string SettingsPath;
    IMessageBoxes* Boxes = nullptr; // the desktop's when none is given
    /// Called at start and at every language switch with the open verb's text (the file association).
    std::function<void(const std::string& verb, TLanguage language)> RegisterFileType;
    /// The replay library's file; none: the user's default library.
    std::string LibraryPath;
};

/// The main window: the replay browser on the left, the three lists on the right, the rename buttons,
/// and the settings kept for the whole run.
class TQuillonMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TQuillonMain(TMainWindowOptions options, QWidget* parent = nullptr);
    ~TQuillonMain() override;

    /// Opens a replay (selects it in the file list), shows a folder, or else the default replay folder.
    /// Relative paths are taken from the working folder.
    Q_SLOT void OpenPath(const QString& text);

    // The parts tests and the single-instance hand-off reach.
    const TSettings& Settings() const { return Current; }
    TLanguage Language() const { return Lang; }
    const TReplayInfo* Replay() const { return Shown.get(); }
    QString LoadedFile() const { return ShownPath; }
    QString ReplayDir() const { return Folder; }
    const TActionPager& Pager() const { return Pages; }
    TReplayLoader& Loader() const { return *Load; }
    TBatchRenamer& Batch() const { return *Renamer; }
    TRenResult& ResultWindow() const { return *Results; }
    TRule& RuleWindow() const { return *RuleForm; }
    TSetting& SettingWindow() const { return *SettingForm; }
    TSummaryView& SummaryView() const { return *SummaryPage; }
    /// The library window, made at the first click on Library (nullptr before).
    TLibraryWindow* LibraryWindow() const { return LibraryForm; }
    QTabWidget& Tabs() const { return *ActionTabs; }
    /// Shows a finished load: its replay in the three lists, or in the status bar why it cannot be shown (the
    /// replay on show then stays). The loader calls it; benchmarks call it directly.
    void ShowLoaded(const QString& path, std::shared_ptr<TLoadResult> result);
    /// Writes the settings now (the window does it when it closes); false after showing the error.
    bool SaveSettingsNow();

signals:
    /// A load has ended and its result is on show (or its failure said).
    void ReplayShown(const QString& path, bool ok);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout();
    void ConnectControls();
    void FormCreate();

    void ShowFolder(const QString& folder);
    void FileListChange();
    void LoadAndShow(const QString& path);
    void FillInfoList();
    void FillPlayerList();
    void FillActionList();
    void FillSummary();
    void UpdatePageControls();
    void PlayerListChange();
    void FitColumns();
    void ShowReplayStatus();
    void FollowShownReplay(const QString& renamedTo);

    void RenameBtnClick();
    void BtnBatcnRenClick();
    void RuleBtnClick();
    void BtnConfigClick();
    void BtnAboutClick();
    void BtnLibraryClick();
    void SelDirClick();
    void SpeedButton1Click();
    void LanguageChange(int index);
    void ApplyLanguageToForms();
    void BatchEnded(bool stopped);
    void ResultHidden();

    TMainWindowOptions Options;
    std::unique_ptr<IMessageBoxes> OwnBoxes;
    IMessageBoxes& Boxes;
    TSettings Current;
    TLanguage Lang = TLanguage::English;
    TGameTables Tables;
    TNumberFormat Numbers = TNumberFormat::FromSystem();
    TActionPager Pages;
    TPlayerSet ShownPlayers, LastShownPlayers;
    TReplaySummary Summary;
    bool SummaryStale = true; // made again when its tab is shown: loads need not pay for it
    bool PlayerListReady = false;
    std::shared_ptr<TReplayInfo> Shown;
    QString ShownPath;     // the replay on show
    QString RequestedPath; // the latest selection, loaded or being loaded
    QString Folder;        // ReplayDir: the folder the file list shows, with a trailing slash
    QString PendingSelect; // a name to select once the folder has been read
    bool SettingsWritten = false;
    std::string SettingsProblem; // the settings file there cannot be used: never written over

    // Controls (object names as in the design).
    QPushButton* RenameBtn;
    QPushButton* BtnBatcnRen;
    QPushButton* RuleBtn;
    QPushButton* BtnConfig;
    QPushButton* BtnAbout;
    QPushButton* BtnLibrary;
    QToolButton* ParentButton; // SpeedButton1
    QLineEdit* DirTxt;
    QToolButton* SelDir;
    TReplayFileModel* FileModel;
    TReplayFileList* FileList;
    QLabel* LanguageLabel;  // Label4
    QComboBox* LanguageBox; // Language
    QSplitter* Splitter1;
    QSplitter* Splitter2;
    QSplitter* Splitter3;
    QTabWidget* ActionTabs;
    QWidget* Panel4; // the action area: the first tab
    TSummaryView* SummaryPage;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QToolButton* PageButtons[4]; // SpeedButton2 to SpeedButton5: <<, <, >, >>
    QLabel* PageTxt;
    QTreeView* InfoList;
    QTreeView* PlayerList;
    QTreeView* ActionList;
    TInfoListModel* InfoModel;
    TPlayerListModel* PlayerModel;
    TActionListModel* ActionModel;

    TReplayLoader* Load;
    TBatchRenamer* Renamer;
    TRenResult* Results;
    TRule* RuleForm;
    TSetting* SettingForm;
    TLibraryWindow* LibraryForm = nullptr;
};

} // namespace quillon::gui
