#pragma once

#include "core/autosave/AutoSaver.h"
#include "core/lang/Translations.h"
#include "core/present/NumberFormat.h"
#include "core/replay/LoadReplay.h"
#include "core/settings/Settings.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QComboBox;
class QSystemTrayIcon;
class QLabel;
class QPushButton;
class QSplitter;
class QWidget;

namespace quillon::gui {

class IMessageBoxes;
class TAutoSaveWatcher;
class TBatchRenamer;
class TLibraryWindow;
class TRenResult;
class TReplayBrowser;
class TReplayLoader;
class TReplayPane;
class TRule;
class TSetting;

/// Where the window reads and writes its settings, and the boxes it shows.
struct TMainWindowOptions {
    std::string SettingsPath;
    IMessageBoxes* Boxes = nullptr; // the desktop's when none is given
    /// Called at start and at every language switch with the open verb's text (the file association).
    std::function<void(const std::string& verb, TLanguage language)> RegisterFileType;
    /// The replay library's file; none: the user's default library.
    std::string LibraryPath;
};

/// The main window: the replay browser and the rename buttons on the left, the replay pane on the right, and the
/// settings kept for the whole run.
class TQuillonMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TQuillonMain(TMainWindowOptions options, QWidget* parent = nullptr);
    ~TQuillonMain() override;

    /// Opens a replay (selects it in the file list), shows a folder, or else the default replay folder.
    /// Relative paths are taken from the working folder.
    Q_SLOT void OpenPath(const QString& text);

    // The parts tests and the single-instance hand-off reach.
    const TSettings& GetSettings() const { return Settings; }
    TLanguage GetLanguage() const { return Language; }
    TReplayPane& GetReplayPane() const { return *ReplayPane; }
    QString GetLoadedFile() const { return LoadedFile; }
    QString GetReplayDir() const;
    TReplayLoader& GetLoader() const { return *Loader; }
    TBatchRenamer& GetBatchRenamer() const { return *BatchRenamer; }
    TRenResult& GetResultWindow() const { return *ResultWindow; }
    TRule& GetRuleWindow() const { return *RuleWindow; }
    TSetting& GetSettingWindow() const { return *SettingWindow; }
    /// The library window, made at the first click on Library (nullptr before).
    TLibraryWindow* GetLibraryWindow() const { return LibraryWindow; }
    /// Shows a finished load: its replay in the three lists, or in the status bar why it cannot be shown (the
    /// replay on show then stays). The loader calls it; benchmarks call it directly.
    void ShowLoaded(const QString& path, std::shared_ptr<TLoadResult> result);
    /// Writes the settings and the window's state now (the window does it when it closes); false after showing
    /// the error.
    bool SaveSettingsNow();
    /// The window's state as it would be stored now.
    TWindowState CurrentWindowState() const;
    TReplayBrowser& GetReplayBrowser() const { return *ReplayBrowser; }
    /// Ctrl+O: a replay from anywhere, chosen in the file dialog.
    void OpenReplayDialog();
    /// Auto-save as it stands; whether the window lives in the tray (auto-save on, and a tray to live in).
    const TAutoSaveSettings& GetAutoSave() const { return AutoSave; }
    bool InTray() const;
    TAutoSaveWatcher& GetAutoSaveWatcher() const { return *AutoSaveWatcher; }
    /// The auto-save dialog's values, as if given there and confirmed.
    void SetAutoSave(const TAutoSaveSettings& settings);
    /// Ctrl+S, "Save report...": the replay on show as one HTML page, where the save dialog says.
    void SaveReport();

signals:
    /// A finished game was kept (the tray says so, when there is a tray): its new path.
    void GameKept(const QString& path);
    /// A load has ended and its result is on show (or its failure said).
    void ReplayShown(const QString& path, bool ok);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout();
    void ConnectControls();
    void AddShortcuts();
    void RestoreWindowState();
    void FormCreate();

    void LoadAndShow(const QString& path);
    void ShowReplayStatus();
    void FollowShownReplay(const QString& renamedTo);

    void RenameBtnClick();
    void BtnBatcnRenClick();
    void RuleBtnClick();
    void BtnConfigClick();
    void BtnAboutClick();
    void BtnLibraryClick();
    void MakeLibraryWindow();
    /// A player's profile across the library, in the library's profile window.
    void ShowProfile(const QString& name);
    void BtnAutoSaveClick();
    void ApplyAutoSave();
    void AutoSaveEvent(const TSaveEvent& event);
    void LanguageChange(int index);
    void ApplyLanguageToForms();
    void BatchEnded(bool stopped);
    void ResultHidden();

    TMainWindowOptions Options;
    std::unique_ptr<IMessageBoxes> OwnBoxes;
    IMessageBoxes& Boxes;
    TSettings Settings;
    TWindowState WindowState; // as read at start; the window's own state is taken from it at close
    TAutoSaveSettings AutoSave;
    TAutoSaveWatcher* AutoSaveWatcher;
    QSystemTrayIcon* Tray = nullptr;
    QString LastKept;
    bool Quitting = false;      // Quit in the tray's menu: the window closes for good
    bool ToldAboutTray = false; // the first close to the tray says that Quillon goes on there
    TLanguage Language = TLanguage::English;
    TNumberFormat Numbers = TNumberFormat::FromSystem();
    QString LoadedFile;    // the replay on show
    QString RequestedPath; // the latest selection, loaded or being loaded
    bool SettingsWritten = false;
    std::string SettingsProblem; // the settings file there cannot be used: never written over

    // Controls (object names as in the design).
    QPushButton* RenameBtn;
    QPushButton* BtnBatcnRen;
    QPushButton* RuleBtn;
    QPushButton* BtnConfig;
    QPushButton* BtnAbout;
    QPushButton* BtnLibrary;
    QPushButton* BtnAutoSave;
    TReplayBrowser* ReplayBrowser;
    QLabel* LanguageLabel;  // Label4
    QComboBox* LanguageBox; // Language
    QSplitter* Splitter2;
    TReplayPane* ReplayPane;

    TReplayLoader* Loader;
    TBatchRenamer* BatchRenamer;
    TRenResult* ResultWindow;
    TRule* RuleWindow;
    TSetting* SettingWindow;
    TLibraryWindow* LibraryWindow = nullptr;
};

} // namespace quillon::gui
