#include "gui/MainWindow.h"

#include "core/autosave/GameFolders.h"
#include "core/lang/StringIds.h"
#include "core/library/Library.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/Autostart.h"
#include "core/platform/ReplayFolder.h"
#include "core/platform/System.h"
#include "core/platform/VersionInfo.h"
#include "core/rename/Rename.h"
#include "core/rename/Template.h"
#include "core/replay/ReplayError.h"
#include "core/settings/SettingsError.h"
#include "gui/AboutDialog.h"
#include "gui/AppIcon.h"
#include "gui/AutoSaveDialog.h"
#include "gui/AutoSaveWatcher.h"
#include "gui/BatchRenamer.h"
#include "gui/LanguageApplier.h"
#include "gui/LibraryWindow.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/RenResultWindow.h"
#include "gui/ReplayBrowser.h"
#include "gui/ReplayLoader.h"
#include "gui/ReplayPane.h"
#include "gui/RuleDialog.h"
#include "gui/SavePage.h"
#include "gui/SettingDialog.h"
#include "gui/Tr.h"
#include "gui/WindowGeometry.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cerrno>
#include <system_error>

namespace quillon::gui {

TQuillonMain::TQuillonMain(TMainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), Options(std::move(options)),
      OwnBoxes(Options.Boxes ? nullptr : std::make_unique<TDesktopMessageBoxes>()),
      Boxes(Options.Boxes ? *Options.Boxes : *OwnBoxes) {
    setObjectName(QStringLiteral("QuillonMain"));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    BuildLayout();
    Loader = new TReplayLoader(this);
    BatchRenamer = new TBatchRenamer(this);
    // The other forms exist from the start, hidden, so a language switch reaches them all.
    RuleWindow = new TRule(Boxes, this);
    // Its own window, not a child: it must stay usable while the main window is disabled by the batch.
    ResultWindow = new TRenResult();
    SettingWindow = new TSetting(Boxes, this);
    AutoSaveWatcher = new TAutoSaveWatcher(this);
    ConnectControls();
    AddShortcuts();
    // 800 by 555, centred, at the first start; the stored frame after that.
    resize(800, 555);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TQuillonMain::~TQuillonMain() {
    BatchRenamer->Stop();
    delete ResultWindow;
}

void TQuillonMain::FormCreate() {
    const TSettingsRead read = ReadSettings(Options.SettingsPath);
    Settings = read.Settings;
    WindowState = read.Window;
    AutoSave = read.AutoSave;
    SettingsProblem = read.Problem;
    RestoreWindowState();
    Language = LanguageFromSettingOrLocale(Settings.Language);
    ReplayPane->Show(nullptr, Settings, Language);
    {
        const QSignalBlocker quiet(LanguageBox);
        LanguageBox->setCurrentIndex(SettingFromLanguage(Language));
    }
    // The design's texts first: entries a language leaves empty (the page buttons in Chinese) keep them.
    ApplyLanguage(this, TForm::Main, QStringLiteral("TQuillonMain"), TLanguage::English);
    LanguageChange(LanguageBox->currentIndex());
    ApplyAutoSave();
    if (!SettingsProblem.empty()) // said once the window is up; the file is then left as it is
        QTimer::singleShot(0, this, [this] {
            Boxes.Error(this, Tr(AppString::SettingsUnusable, Language, {Options.SettingsPath, SettingsProblem}));
        });
    // A stored rule the editor would refuse is still the user's rule: renames use it as it stands, as they always
    // have, and the user hears once, at start, where it fails.
    if (const auto problem = CheckRule(Settings.Rule, Language))
        QTimer::singleShot(0, this, [this, problem = *problem] {
            const std::string where =
                FormatText(GetString(AppString::RuleProblemShort, Language),
                           {GetString(problem.PartNameString(), Language), problem.Check.Message,
                            std::to_string(problem.Check.Start), std::to_string(problem.Check.Length)});
            Boxes.Inform(this, Tr(AppString::StoredRuleFails, Language, {Options.SettingsPath, where}));
        });
}

void TQuillonMain::ConnectControls() {
    connect(RenameBtn, &QPushButton::clicked, this, &TQuillonMain::RenameBtnClick);
    connect(BtnBatcnRen, &QPushButton::clicked, this, &TQuillonMain::BtnBatcnRenClick);
    connect(RuleBtn, &QPushButton::clicked, this, &TQuillonMain::RuleBtnClick);
    connect(BtnConfig, &QPushButton::clicked, this, &TQuillonMain::BtnConfigClick);
    connect(BtnAbout, &QPushButton::clicked, this, &TQuillonMain::BtnAboutClick);
    connect(BtnLibrary, &QPushButton::clicked, this, &TQuillonMain::BtnLibraryClick);
    connect(BtnAutoSave, &QPushButton::clicked, this, &TQuillonMain::BtnAutoSaveClick);
    connect(AutoSaveWatcher, &TAutoSaveWatcher::Event, this, &TQuillonMain::AutoSaveEvent);
    connect(LanguageBox, &QComboBox::currentIndexChanged, this, &TQuillonMain::LanguageChange);
    connect(ReplayBrowser, &TReplayBrowser::ReplayChosen, this, &TQuillonMain::LoadAndShow);
    connect(ReplayPane, &TReplayPane::SaveReportClicked, this, &TQuillonMain::SaveReport);
    connect(ReplayPane, &TReplayPane::ProfileRequested, this, &TQuillonMain::ShowProfile);
    connect(ReplayBrowser, &TReplayBrowser::OpenRequested, this, &TQuillonMain::OpenPath);
    connect(ReplayBrowser, &TReplayBrowser::Message, this,
            [this](const QString& text) { statusBar()->showMessage(text, 5000); });
    connect(ReplayBrowser, &TReplayBrowser::Renamed, this, [this](const QString& from, const QString& to) {
        if (from == LoadedFile)
            FollowShownReplay(to);
    });

    connect(Loader, &TReplayLoader::Finished, this, &TQuillonMain::ShowLoaded);
    connect(BatchRenamer, &TBatchRenamer::Listed, ResultWindow, &TRenResult::SetTotal);
    connect(BatchRenamer, &TBatchRenamer::Row, ResultWindow, &TRenResult::AddRow);
    connect(BatchRenamer, &TBatchRenamer::Finished, this, &TQuillonMain::BatchEnded);
    connect(ResultWindow, &TRenResult::StopClicked, BatchRenamer, &TBatchRenamer::Stop);
    connect(ResultWindow, &TRenResult::Hidden, this, &TQuillonMain::ResultHidden);
}

void TQuillonMain::AddShortcuts() {
    const auto add = [this](const char* name, const QKeySequence& key, auto slot) {
        auto* action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    add("OpenReplay", QKeySequence::Open, [this] { OpenReplayDialog(); });
    add("RefreshFiles", QKeySequence(Qt::Key_F5), [this] { ReplayBrowser->Refresh(); });
    add("ParentFolder", QKeySequence(Qt::ALT | Qt::Key_Up), [this] { ReplayBrowser->GoToParent(); });
    add("FolderBox", QKeySequence(Qt::CTRL | Qt::Key_L), [this] { ReplayBrowser->FocusFolderBox(); });
    add("Find", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { ReplayPane->StartFind(); });
    add("FindNext", QKeySequence(Qt::Key_F3), [this] { ReplayPane->FindNext(); });
    add("SaveReport", QKeySequence::Save, [this] { SaveReport(); });
}

void TQuillonMain::SaveReport() {
    if (!ReplayPane->GetReplay())
        return;
    const QFileInfo replay(LoadedFile);
    const QString path =
        Boxes.ChooseSaveFile(this, Tr(AppString::SaveReport, Language).remove(QStringLiteral("...")),
                             replay.absoluteDir().filePath(replay.completeBaseName() + QStringLiteral(".html")),
                             Tr(AppString::HtmlFilter, Language));
    if (path.isEmpty())
        return;
    if (!WriteChosenPage(this, Boxes, path, ReplayPane->ReportHtml(), Language))
        return;
    statusBar()->showMessage(Tr(AppString::ReportSaved, Language, {ToUtf8(QDir::toNativeSeparators(path))}), 8000);
}

void TQuillonMain::OpenReplayDialog() {
    const QString path = Boxes.ChooseFile(this, Tr(AppString::OpenReplay, Language), ReplayBrowser->GetReplayDir(),
                                          Tr(AppString::ReplayFilter, Language));
    if (!path.isEmpty())
        OpenPath(path);
}

// ---- The window's state between runs ----

namespace {

const char* const SplitterNames[] = {"Splitter1", "Splitter2", "Splitter3"};

std::vector<int> ToVector(const QList<int>& list) {
    return {list.begin(), list.end()};
}

} // namespace

void TQuillonMain::RestoreWindowState() {
    const TWindowState& w = WindowState;
    if (w.Geometry) {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        setGeometry(KeepOnScreen(QRect(w.Geometry->X, w.Geometry->Y, w.Geometry->Width, w.Geometry->Height), screens));
    }
    if (w.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    for (const char* name : SplitterNames) {
        auto* splitter = findChild<QSplitter*>(QLatin1String(name));
        const auto stored = w.Sizes.find(name);
        if (splitter && stored != w.Sizes.end() && static_cast<int>(stored->second.size()) == splitter->count())
            splitter->setSizes(QList<int>(stored->second.begin(), stored->second.end()));
    }
    QMap<QString, QList<int>> columns;
    for (const char* name : {"InfoList", "ActionList"})
        if (const auto stored = w.Sizes.find(name); stored != w.Sizes.end())
            columns[QLatin1String(name)] = QList<int>(stored->second.begin(), stored->second.end());
    ReplayPane->SetColumnWidths(columns);
    ReplayPane->GetActionTabs().setCurrentIndex(w.Tab);
    QStringList recent;
    if (!w.LastFolder.empty())
        recent << FromPath(w.LastFolder);
    for (const std::string& folder : w.RecentFolders)
        recent << FromPath(folder);
    ReplayBrowser->SetRecentFolders(recent);
}

TWindowState TQuillonMain::CurrentWindowState() const {
    TWindowState w = WindowState;
    const QRect frame = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    if (frame.isValid())
        w.Geometry = TWindowState::TRect{frame.x(), frame.y(), frame.width(), frame.height()};
    w.Maximized = isMaximized();
    for (const char* name : SplitterNames)
        if (const auto* splitter = findChild<QSplitter*>(QLatin1String(name)))
            w.Sizes[name] = ToVector(splitter->sizes());
    const QMap<QString, QList<int>> columns = ReplayPane->ColumnWidths();
    for (auto i = columns.begin(); i != columns.end(); ++i)
        w.Sizes[ToUtf8(i.key())] = ToVector(i.value());
    w.Tab = ReplayPane->GetActionTabs().currentIndex();
    w.RecentFolders.clear();
    w.LastFolder.clear();
    const QStringList recent = ReplayBrowser->RecentFolders();
    for (auto i = recent.rbegin(); i != recent.rend(); ++i)
        RememberFolder(w, ToPath(*i));
    return w;
}

// ---- Folder and file list ----

void TQuillonMain::OpenPath(const QString& text) {
    ReplayBrowser->OpenPath(text);
}

QString TQuillonMain::GetReplayDir() const {
    return ReplayBrowser->GetReplayDir();
}

// ---- Opening and showing a replay ----

void TQuillonMain::LoadAndShow(const QString& path) {
    if (path == RequestedPath || !QFileInfo(path).isFile())
        return;
    RequestedPath = path;
    statusBar()->showMessage(Tr(AppString::StatusLoading, Language, {ToUtf8(QFileInfo(path).fileName())}));
    Loader->Request(path, Settings.ParseActions ? 2 : 1);
}

void TQuillonMain::ShowLoaded(const QString& path, std::shared_ptr<TLoadResult> result) {
    if (!result->Ok()) {
        const QString name = QFileInfo(path).fileName();
        // The replay on show stays; the status bar says why this one cannot be shown.
        statusBar()->showMessage(
            Tr(AppString::StatusLoadFailed, Language, {ToUtf8(name), LoadErrorText(*result, Language)}));
        emit ReplayShown(path, false);
        return;
    }
    LoadedFile = path;
    ReplayPane->Show(std::shared_ptr<TReplayInfo>(std::move(result->Replay)), Settings, Language);
    ShowReplayStatus();
    emit ReplayShown(path, true);
}

void TQuillonMain::FollowShownReplay(const QString& renamedTo) {
    // A rename keeps the replay on show; selecting it under its new name must not read it again.
    LoadedFile = RequestedPath = renamedTo;
    ReplayPane->FollowRename(ToPath(renamedTo));
}

void TQuillonMain::ShowReplayStatus() {
    const TReplayInfo* shown = ReplayPane->GetReplay();
    const int32_t actions = shown && shown->Actions ? shown->Actions->Count() : 0;
    statusBar()->showMessage(
        Tr(AppString::StatusShown, Language, {ToUtf8(QFileInfo(LoadedFile).fileName()), Numbers.Integer(actions)}));
}

// ---- Renaming ----

void TQuillonMain::RenameBtnClick() {
    const QString name = ReplayBrowser->FirstSelectedName();
    const QString folder = ReplayBrowser->GetReplayDir();
    // The replay on show stands for the selection only when it is that file (a failed or pending load is not).
    const TReplayInfo* replay = !name.isEmpty() && LoadedFile == folder + name ? ReplayPane->GetReplay() : nullptr;
    TRenameFileSystem files;
    TSingleRenamePlan plan;
    try {
        plan = PlanSingleRename(ToPath(folder), ToPath(name), replay, Settings.Rule, Language, files);
    } catch (const TReplayError& e) {
        Boxes.Error(this, ToQString(e.what()));
        return;
    }
    if (plan.Step == TSingleRenamePlan::TStep::Refuse) {
        Boxes.Inform(this, FromPath(plan.Message));
        return;
    }
    if (!Boxes.Ask(this, FromPath(plan.Message)))
        return;
    const std::string failure = ExecuteSingleRename(plan, Language, files);
    if (!failure.empty()) {
        Boxes.Inform(this, FromPath(failure));
        return;
    }
    // The renamed replay stays on show and selected under its new name.
    FollowShownReplay(FromPath(plan.To));
    const QString newName = QFileInfo(LoadedFile).fileName();
    ReplayBrowser->SelectSoon(newName);
}

void TQuillonMain::BtnBatcnRenClick() {
    if (BatchRenamer->Running())
        return;
    const QString folder = Boxes.ChooseFolder(this, ReplayBrowser->GetReplayDir());
    if (folder.isEmpty())
        return;
    setEnabled(false);
    ResultWindow->BatchStarted();
    ResultWindow->move(geometry().center() - ResultWindow->rect().center());
    ResultWindow->show();
    ResultWindow->raise();
    BatchRenamer->Start(folder, Settings.Rule, Language);
}

void TQuillonMain::BatchEnded(bool stopped) {
    ResultWindow->BatchEnded(stopped);
    if (!ResultWindow->isVisible())
        ResultHidden();
}

void TQuillonMain::ResultHidden() {
    if (BatchRenamer->Running())
        return; // enabled again only once the batch has ended
    setEnabled(true);
    activateWindow();
}

// ---- Dialogs ----

void TQuillonMain::RuleBtnClick() {
    RuleWindow->SetRule(Settings.Rule);
    if (RuleWindow->exec() != QDialog::Accepted)
        return;
    Settings.Rule = RuleWindow->Rule();
    ApplyAutoSave(); // kept games take the new rule's names
}

void TQuillonMain::BtnConfigClick() {
    SettingWindow->SetValues(Settings.ShowUnused, Settings.ShowObservers, Settings.ParseActions,
                             Settings.ActionsPerPage);
    if (SettingWindow->exec() != QDialog::Accepted)
        return;
    const bool parseWasOff = !Settings.ParseActions;
    Settings.ShowUnused = SettingWindow->ShowUnused();
    Settings.ShowObservers = SettingWindow->ShowObservers();
    Settings.ParseActions = SettingWindow->ParseActions();
    Settings.ActionsPerPage = SettingWindow->Position();
    const TReplayInfo* shown = ReplayPane->GetReplay();
    ReplayPane->ApplySettings(Settings);
    if (shown && Settings.ParseActions && parseWasOff && !shown->Actions) {
        // Switched on for a replay read without its actions: read it again so they appear at once.
        RequestedPath.clear();
        LoadAndShow(LoadedFile);
    }
}

void TQuillonMain::MakeLibraryWindow() {
    if (!LibraryWindow) {
        const std::string path = Options.LibraryPath.empty() ? DefaultLibraryPath(ProgramDir()) : Options.LibraryPath;
        LibraryWindow = new TLibraryWindow(path, Boxes, this);
        LibraryWindow->ApplyLanguage(Language);
        QRect frame = LibraryWindow->rect();
        frame.moveCenter(geometry().center()); // over this window, and on its screen
        LibraryWindow->setGeometry(KeepOnScreen(frame, {screen()->availableGeometry()}));
        connect(LibraryWindow, &TLibraryWindow::OpenRequested, this, [this](const QString& path) {
            OpenPath(path);
            raise();
            activateWindow();
        });
    }
}

void TQuillonMain::BtnLibraryClick() {
    MakeLibraryWindow();
    LibraryWindow->show();
    LibraryWindow->raise();
    LibraryWindow->activateWindow();
    LibraryWindow->OpenLibrary();
}

void TQuillonMain::ShowProfile(const QString& name) {
    MakeLibraryWindow();
    LibraryWindow->ShowProfile({ToUtf8(name)});
}

void TQuillonMain::BtnAboutClick() {
    TAbout about(Language, this);
    about.exec();
}

// ---- Auto-save ----

bool TQuillonMain::InTray() const {
    return AutoSave.Enabled && Tray && Tray->isVisible();
}

void TQuillonMain::BtnAutoSaveClick() {
    TAutoSaveDialog dialog(Boxes, Language, this);
    dialog.SetValues(AutoSave, GameReplayFolders());
    if (dialog.exec() == QDialog::Accepted)
        SetAutoSave(dialog.Values());
}

void TQuillonMain::SetAutoSave(const TAutoSaveSettings& settings) {
    if (settings.StartWithSystem != StartsWithSystem()) {
        std::string reason;
        if (!SetStartWithSystem(settings.StartWithSystem, ToPath(QCoreApplication::applicationFilePath()), &reason))
            Boxes.Error(this, Tr(AppString::AutostartFailed, Language, {reason}));
    }
    AutoSave = settings;
    ApplyAutoSave();
}

void TQuillonMain::ApplyAutoSave() {
    if (!AutoSave.Enabled) {
        AutoSaveWatcher->Stop();
        if (Tray)
            Tray->hide();
        return;
    }
    TAutoSaveOptions options;
    options.Collection = AutoSave.Collection.empty() ? DefaultCollectionFolder() : AutoSave.Collection;
    options.FolderTemplate = AutoSave.FolderTemplate;
    options.Rule = Settings.Rule;
    options.Language = Language;
    const std::string library = Options.LibraryPath.empty() ? DefaultLibraryPath(ProgramDir()) : Options.LibraryPath;
    if (QFileInfo::exists(FromPath(library)))
        options.LibraryPath = library; // the library when it is in use
    std::vector<std::string> folders = GameReplayFolders();
    folders.insert(folders.end(), AutoSave.Folders.begin(), AutoSave.Folders.end());
    AutoSaveWatcher->Start(options, folders);
    if (!Tray && QSystemTrayIcon::isSystemTrayAvailable()) {
        Tray = new QSystemTrayIcon(windowIcon(), this);
        auto* menu = new QMenu(this);
        connect(menu->addAction(QString()), &QAction::triggered, this, [this] {
            showNormal();
            raise();
            activateWindow();
        });
        connect(menu->addAction(QString()), &QAction::triggered, this, [this] {
            Quitting = true;
            close();
        });
        Tray->setContextMenu(menu);
        connect(Tray, &QSystemTrayIcon::messageClicked, this, [this] {
            showNormal();
            raise();
            if (!LastKept.isEmpty())
                OpenPath(LastKept);
        });
        connect(Tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                showNormal();
                raise();
                activateWindow();
            }
        });
    }
    if (Tray) {
        const QList<QAction*> actions = Tray->contextMenu()->actions();
        actions[0]->setText(Tr(AppString::TrayShow, Language));
        actions[1]->setText(Tr(AppString::TrayQuit, Language));
        Tray->setToolTip(Tr(AppString::AutoSaveTitle, Language) + QStringLiteral(" - Quillon"));
        Tray->show();
    }
}

void TQuillonMain::AutoSaveEvent(const TSaveEvent& event) {
    const QString line = FromPath(SaveEventText(event, Language));
    statusBar()->showMessage(line, 8000);
    if (event.Kind != TSaveEvent::TKind::Kept)
        return;
    LastKept = QDir::fromNativeSeparators(FromPath(event.Kept));
    if (Tray && Tray->isVisible())
        Tray->showMessage(QStringLiteral("Quillon"),
                          Tr(AppString::TraySaved, Language, {ToUtf8(QFileInfo(LastKept).fileName())}));
    emit GameKept(LastKept);
}

// ---- Language ----

void TQuillonMain::LanguageChange(int index) {
    Language = index == 1 ? TLanguage::Chinese : TLanguage::English;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ApplyLanguageToForms();
    if (Options.RegisterFileType)
        Options.RegisterFileType(GetString(MainString::OpenVerb, Language), Language);
    if (ReplayPane->GetReplay())
        ShowReplayStatus();
    if (AutoSaveWatcher->Running())
        ApplyAutoSave(); // its lines in the new language
    QGuiApplication::restoreOverrideCursor();
}

void TQuillonMain::ApplyLanguageToForms() {
    setFont(FormFont(ToQString(FormText(TForm::Main, "font", "TQuillonMain", Language))));
    ApplyLanguage(this, TForm::Main, QStringLiteral("TQuillonMain"), Language);
    setWindowTitle(ToQString(FormText(TForm::Main, "caption", "TQuillonMain", Language)) + QLatin1Char(' ') +
                   ToQString(GetVersionString("ProductVersion")));
    ReplayPane->ApplyLanguage(Language);
    ReplayBrowser->ApplyLanguage(Language);
    RuleWindow->ApplyLanguage(Language);
    ResultWindow->ApplyLanguage(Language);
    SettingWindow->ApplyLanguage(Language);
    if (LibraryWindow)
        LibraryWindow->ApplyLanguage(Language);
}

// ---- Shut-down, drag and drop ----

bool TQuillonMain::SaveSettingsNow() {
    Settings.Language = LanguageBox->currentIndex();
    WindowState = CurrentWindowState();
    try {
        SaveSettings(Options.SettingsPath, Settings, &WindowState, &AutoSave);
        return true;
    } catch (const TSettingsError& e) {
        Boxes.Error(this, ToQString(e.what()));
        return false;
    }
}

void TQuillonMain::closeEvent(QCloseEvent* event) {
    if (BatchRenamer->Running()) {
        event->ignore(); // a batch ends or is stopped first
        return;
    }
    if (InTray() && AutoSave.KeepInTray && !Quitting) {
        // Auto-save goes on from the tray; what the window would write at its end is written now.
        if (SettingsProblem.empty())
            SaveSettingsNow();
        hide();
        event->ignore();
        if (!ToldAboutTray)
            Tray->showMessage(QStringLiteral("Quillon"), Tr(AppString::TrayStillRunning, Language));
        ToldAboutTray = true;
        return;
    }
    AutoSaveWatcher->Stop();
    if (!SettingsWritten && SettingsProblem.empty()) {
        SettingsWritten = true;
        SaveSettingsNow(); // a failed write is said, and the program still ends
    }
    event->accept();
}

void TQuillonMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !event->mimeData()->urls().front().toLocalFile().isEmpty())
        event->acceptProposedAction();
}

void TQuillonMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    OpenPath(urls.front().toLocalFile());
    event->acceptProposedAction();
}

} // namespace quillon::gui
