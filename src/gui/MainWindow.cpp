#include "gui/MainWindow.h"

#include "core/lang/StringIds.h"
#include "core/library/Library.h"
#include "core/platform/ReplayFolder.h"
#include "core/platform/VersionInfo.h"
#include "core/rename/Rename.h"
#include "core/rename/Template.h"
#include "core/replay/ReplayError.h"
#include "core/settings/SettingsError.h"
#include "gui/AboutDialog.h"
#include "gui/AppIcon.h"
#include "gui/BatchRenamer.h"
#include "gui/LanguageApplier.h"
#include "gui/LibraryWindow.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/RenResultWindow.h"
#include "gui/ReplayFileList.h"
#include "gui/ReplayLoader.h"
#include "gui/ReplayPane.h"
#include "gui/RuleDialog.h"
#include "gui/SettingDialog.h"
#include "gui/Tr.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace quillon::gui {

namespace {

QString WithSlash(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

TQuillonMain::TQuillonMain(TMainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), Options(std::move(options)),
      OwnBoxes(Options.Boxes ? nullptr : std::make_unique<TDesktopMessageBoxes>()),
      Boxes(Options.Boxes ? *Options.Boxes : *OwnBoxes) {
    setObjectName(QStringLiteral("QuillonMain"));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    BuildLayout();
    Load = new TReplayLoader(this);
    Renamer = new TBatchRenamer(this);
    // The other forms exist from the start, hidden, so a language switch reaches them all.
    RuleForm = new TRule(Boxes, this);
    // Its own window, not a child: it must stay usable while the main window is disabled by the batch.
    Results = new TRenResult();
    SettingForm = new TSetting(Boxes, this);
    ConnectControls();
    FormCreate();
    resize(800, 555);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TQuillonMain::~TQuillonMain() {
    Renamer->Stop();
    delete Results;
}

void TQuillonMain::FormCreate() {
    const TSettingsRead read = ReadSettings(Options.SettingsPath);
    Current = read.Settings;
    SettingsProblem = read.Problem;
    Lang = LanguageFromSettingOrLocale(Current.Language);
    Pane->Show(nullptr, Current, Lang);
    {
        const QSignalBlocker quiet(LanguageBox);
        LanguageBox->setCurrentIndex(SettingFromLanguage(Lang));
    }
    // The design's texts first: entries a language leaves empty (the page buttons in Chinese) keep them.
    ApplyLanguage(this, TForm::Main, QStringLiteral("TQuillonMain"), TLanguage::English);
    LanguageChange(LanguageBox->currentIndex());
    if (!SettingsProblem.empty()) // said once the window is up; the file is then left as it is
        QTimer::singleShot(0, this, [this] {
            Boxes.Error(this, Tr(AppString::SettingsUnusable, Lang, {Options.SettingsPath, SettingsProblem}));
        });
    // A stored rule the editor would refuse is still the user's rule: renames use it as it stands, as they always
    // have, and the user hears once, at start, where it fails.
    if (const auto problem = CheckRule(Current.Rule, Lang))
        QTimer::singleShot(0, this, [this, problem = *problem] {
            const std::string where =
                FormatText(GetString(AppString::RuleProblemShort, Lang),
                           {GetString(problem.PartNameString(), Lang), problem.Check.Message,
                            std::to_string(problem.Check.Start), std::to_string(problem.Check.Length)});
            Boxes.Inform(this, Tr(AppString::StoredRuleFails, Lang, {Options.SettingsPath, where}));
        });
}

void TQuillonMain::ConnectControls() {
    connect(RenameBtn, &QPushButton::clicked, this, &TQuillonMain::RenameBtnClick);
    connect(BtnBatcnRen, &QPushButton::clicked, this, &TQuillonMain::BtnBatcnRenClick);
    connect(RuleBtn, &QPushButton::clicked, this, &TQuillonMain::RuleBtnClick);
    connect(BtnConfig, &QPushButton::clicked, this, &TQuillonMain::BtnConfigClick);
    connect(BtnAbout, &QPushButton::clicked, this, &TQuillonMain::BtnAboutClick);
    connect(BtnLibrary, &QPushButton::clicked, this, &TQuillonMain::BtnLibraryClick);
    connect(SelDir, &QToolButton::clicked, this, &TQuillonMain::SelDirClick);
    connect(ParentButton, &QToolButton::clicked, this, &TQuillonMain::SpeedButton1Click);
    connect(LanguageBox, &QComboBox::currentIndexChanged, this, &TQuillonMain::LanguageChange);
    connect(DirTxt, &QLineEdit::returnPressed, this, [this] {
        const QFileInfo info(DirTxt->text());
        if (info.isDir())
            ShowFolder(info.absoluteFilePath());
        else
            statusBar()->showMessage(Tr(AppString::FolderMissing, Lang, {ToUtf8(DirTxt->text())}), 5000);
    });
    connect(FileList->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TQuillonMain::FileListChange);
    connect(FileList, &TReplayFileList::OpenRequested, this, &TQuillonMain::OpenPath);
    connect(FileModel, &TReplayFileModel::Renamed, this, [this](const QString& from, const QString& to) {
        if (from == ShownPath)
            FollowShownReplay(to);
    });
    // A selection made before the folder was read is kept until its entry appears.
    connect(FileModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        if (!PendingSelect.isEmpty() && WithSlash(path) == Folder) {
            FileList->SelectName(PendingSelect);
            PendingSelect.clear();
        }
    });

    connect(Load, &TReplayLoader::Finished, this, &TQuillonMain::ShowLoaded);
    connect(Renamer, &TBatchRenamer::Listed, Results, &TRenResult::SetTotal);
    connect(Renamer, &TBatchRenamer::Row, Results, &TRenResult::AddRow);
    connect(Renamer, &TBatchRenamer::Finished, this, &TQuillonMain::BatchEnded);
    connect(Results, &TRenResult::StopClicked, Renamer, &TBatchRenamer::Stop);
    connect(Results, &TRenResult::Hidden, this, &TQuillonMain::ResultHidden);
}

// ---- Folder and file list ----

void TQuillonMain::ShowFolder(const QString& folder) {
    Folder = WithSlash(QDir::cleanPath(QDir(folder).absolutePath()));
    PendingSelect.clear();
    FileList->setRootIndex(FileModel->setRootPath(Folder));
    DirTxt->setText(QDir::toNativeSeparators(Folder));
}

void TQuillonMain::OpenPath(const QString& text) {
    const QFileInfo info(QDir::current(), text.trimmed());
    if (!text.trimmed().isEmpty() && info.isFile()) {
        ShowFolder(info.absolutePath());
        const QString name = info.fileName();
        if (!name.endsWith(QStringLiteral(".w3g"), Qt::CaseInsensitive) || !FileList->SelectName(name)) {
            FileList->clearSelection();
            if (name.endsWith(QStringLiteral(".w3g"), Qt::CaseInsensitive))
                PendingSelect = name; // the folder is still being read
        }
        FileList->setFocus();
    } else if (!text.trimmed().isEmpty() && info.isDir()) {
        ShowFolder(info.absoluteFilePath()); // a folder shows itself rather than the default one
    } else {
        try {
            ShowFolder(FromPath(DefaultReplayFolder()));
        } catch (const TRegistryError& e) { // a registry value of the wrong type (Windows): the folder stays
            Boxes.Error(this, ToQString(e.what()));
        }
    }
}

void TQuillonMain::SpeedButton1Click() {
    QDir dir(Folder);
    if (dir.cdUp())
        ShowFolder(dir.absolutePath());
}

void TQuillonMain::SelDirClick() {
    const QString chosen = Boxes.ChooseFolder(this, Folder);
    if (!chosen.isEmpty())
        ShowFolder(chosen);
}

void TQuillonMain::FileListChange() {
    const QString name = FileList->FirstSelectedName();
    if (!name.isEmpty())
        LoadAndShow(Folder + name);
}

// ---- Opening and showing a replay ----

void TQuillonMain::LoadAndShow(const QString& path) {
    if (path == RequestedPath || !QFileInfo(path).isFile())
        return;
    RequestedPath = path;
    statusBar()->showMessage(Tr(AppString::StatusLoading, Lang, {ToUtf8(QFileInfo(path).fileName())}));
    Load->Request(path, Current.ParseActions ? 2 : 1);
}

void TQuillonMain::ShowLoaded(const QString& path, std::shared_ptr<TLoadResult> result) {
    if (!result->Ok()) {
        const QString name = QFileInfo(path).fileName();
        // The replay on show stays; the status bar says why this one cannot be shown.
        statusBar()->showMessage(Tr(AppString::StatusLoadFailed, Lang, {ToUtf8(name), LoadErrorText(*result, Lang)}));
        emit ReplayShown(path, false);
        return;
    }
    ShownPath = path;
    Pane->Show(std::shared_ptr<TReplayInfo>(std::move(result->Replay)), Current, Lang);
    ShowReplayStatus();
    emit ReplayShown(path, true);
}

void TQuillonMain::FollowShownReplay(const QString& renamedTo) {
    // A rename keeps the replay on show; selecting it under its new name must not read it again.
    ShownPath = RequestedPath = renamedTo;
    Pane->FollowRename(ToPath(renamedTo));
}

void TQuillonMain::ShowReplayStatus() {
    const TReplayInfo* shown = Pane->Replay();
    const int32_t actions = shown && shown->Actions ? shown->Actions->Count() : 0;
    statusBar()->showMessage(
        Tr(AppString::StatusShown, Lang, {ToUtf8(QFileInfo(ShownPath).fileName()), Numbers.Integer(actions)}));
}

// ---- Renaming ----

void TQuillonMain::RenameBtnClick() {
    const QString name = FileList->FirstSelectedName();
    // The replay on show stands for the selection only when it is that file (a failed or pending load is not).
    const TReplayInfo* replay = !name.isEmpty() && ShownPath == Folder + name ? Pane->Replay() : nullptr;
    TRenameFileSystem files;
    TSingleRenamePlan plan;
    try {
        plan = PlanSingleRename(ToPath(Folder), ToPath(name), replay, Current.Rule, Lang, files);
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
    const std::string failure = ExecuteSingleRename(plan, Lang, files);
    if (!failure.empty()) {
        Boxes.Inform(this, FromPath(failure));
        return;
    }
    // The renamed replay stays on show and selected under its new name.
    FollowShownReplay(FromPath(plan.To));
    const QString newName = QFileInfo(ShownPath).fileName();
    if (!FileList->SelectName(newName))
        PendingSelect = newName;
}

void TQuillonMain::BtnBatcnRenClick() {
    if (Renamer->Running())
        return;
    const QString folder = Boxes.ChooseFolder(this, Folder);
    if (folder.isEmpty())
        return;
    setEnabled(false);
    Results->BatchStarted();
    Results->move(geometry().center() - Results->rect().center());
    Results->show();
    Results->raise();
    Renamer->Start(folder, Current.Rule, Lang);
}

void TQuillonMain::BatchEnded(bool stopped) {
    Results->BatchEnded(stopped);
    if (!Results->isVisible())
        ResultHidden();
}

void TQuillonMain::ResultHidden() {
    if (Renamer->Running())
        return; // enabled again only once the batch has ended
    setEnabled(true);
    activateWindow();
}

// ---- Dialogs ----

void TQuillonMain::RuleBtnClick() {
    RuleForm->SetRule(Current.Rule);
    if (RuleForm->exec() == QDialog::Accepted)
        Current.Rule = RuleForm->Rule();
}

void TQuillonMain::BtnConfigClick() {
    SettingForm->SetValues(Current.ShowUnused, Current.ShowObservers, Current.ParseActions, Current.ActionsPerPage);
    if (SettingForm->exec() != QDialog::Accepted)
        return;
    const bool parseWasOff = !Current.ParseActions;
    Current.ShowUnused = SettingForm->ShowUnused();
    Current.ShowObservers = SettingForm->ShowObservers();
    Current.ParseActions = SettingForm->ParseActions();
    Current.ActionsPerPage = SettingForm->Position();
    const TReplayInfo* shown = Pane->Replay();
    Pane->ApplySettings(Current);
    if (shown && Current.ParseActions && parseWasOff && !shown->Actions) {
        // Switched on for a replay read without its actions: read it again so they appear at once.
        RequestedPath.clear();
        LoadAndShow(ShownPath);
    }
}

void TQuillonMain::BtnLibraryClick() {
    if (!LibraryForm) {
        const std::string path = Options.LibraryPath.empty() ? DefaultLibraryPath(ProgramDir()) : Options.LibraryPath;
        LibraryForm = new TLibraryWindow(path, Boxes, this);
        LibraryForm->ApplyLanguage(Lang);
        connect(LibraryForm, &TLibraryWindow::OpenRequested, this, [this](const QString& path) {
            OpenPath(path);
            raise();
            activateWindow();
        });
    }
    LibraryForm->show();
    LibraryForm->raise();
    LibraryForm->activateWindow();
    LibraryForm->OpenLibrary();
}

void TQuillonMain::BtnAboutClick() {
    TAbout about(this);
    about.exec();
}

// ---- Language ----

void TQuillonMain::LanguageChange(int index) {
    Lang = index == 1 ? TLanguage::Chinese : TLanguage::English;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ApplyLanguageToForms();
    if (Options.RegisterFileType)
        Options.RegisterFileType(GetString(MainString::OpenVerb, Lang), Lang);
    if (Pane->Replay())
        ShowReplayStatus();
    QGuiApplication::restoreOverrideCursor();
}

void TQuillonMain::ApplyLanguageToForms() {
    setFont(FormFont(ToQString(FormText(TForm::Main, "font", "TQuillonMain", Lang))));
    ApplyLanguage(this, TForm::Main, QStringLiteral("TQuillonMain"), Lang);
    setWindowTitle(ToQString(FormText(TForm::Main, "caption", "TQuillonMain", Lang)) + QLatin1Char(' ') +
                   ToQString(GetVersionString("ProductVersion")));
    Pane->ApplyLanguage(Lang);
    FileList->setAccessibleDescription(Tr(AppString::FileListName, Lang));
    DirTxt->setAccessibleDescription(Tr(AppString::FolderBox, Lang));
    DirTxt->setToolTip(Tr(AppString::FolderBox, Lang));
    ParentButton->setToolTip(Tr(AppString::ParentFolder, Lang));
    ParentButton->setAccessibleName(Tr(AppString::ParentFolder, Lang));
    SelDir->setToolTip(Tr(AppString::ChooseFolder, Lang));
    SelDir->setAccessibleName(Tr(AppString::ChooseFolder, Lang));
    FileModel->SetLanguage(Lang);
    FileList->SetLanguage(Lang);
    RuleForm->ApplyLanguage(Lang);
    Results->ApplyLanguage(Lang);
    SettingForm->ApplyLanguage(Lang);
    if (LibraryForm)
        LibraryForm->ApplyLanguage(Lang);
}

// ---- Shut-down, drag and drop ----

bool TQuillonMain::SaveSettingsNow() {
    Current.Language = LanguageBox->currentIndex();
    try {
        SaveSettings(Options.SettingsPath, Current);
        return true;
    } catch (const TSettingsError& e) {
        Boxes.Error(this, ToQString(e.what()));
        return false;
    }
}

void TQuillonMain::closeEvent(QCloseEvent* event) {
    if (Renamer->Running()) {
        event->ignore(); // a batch ends or is stopped first
        return;
    }
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
