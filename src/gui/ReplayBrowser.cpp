#include "gui/ReplayBrowser.h"

#include "core/platform/ReplayFolder.h"
#include "core/settings/WindowState.h"
#include "gui/CopyRows.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/ReplayFileList.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

QString WithSlash(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

TReplayBrowser::TReplayBrowser(IMessageBoxes& boxes, QWidget* parent) : QWidget(parent), Boxes(boxes) {
    setObjectName(QStringLiteral("ReplayBrowser"));
    ParentButton = Named<QToolButton>("SpeedButton1", this);
    ParentButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    ParentButton->setFixedSize(22, 22);
    // A drop-down of the recent folders that one can also type a path into.
    DirTxt = NamedField<QComboBox>("DirTxt", this);
    DirTxt->setEditable(true);
    DirTxt->setInsertPolicy(QComboBox::NoInsert);
    DirTxt->setMaxVisibleItems(static_cast<int>(TWindowState::MaxRecentFolders));
    DirTxt->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    DirTxt->setMinimumContentsLength(8);
    auto* folders = new QFileSystemModel(DirTxt);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders->setRootPath(QString());
    DirTxt->setCompleter(new QCompleter(folders, DirTxt)); // typing a path offers the folders that match
    SelDir = Named<QToolButton>("SelDir", this);
    SelDir->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SelDir->setFixedSize(22, 22);
    for (QToolButton* b : {ParentButton, SelDir})
        b->setFocusPolicy(Qt::StrongFocus);
    FileModel = new TReplayFileModel(Boxes, this);
    FileList = new TReplayFileList(FileModel, this);
    FileList->setAccessibleName(QStringLiteral("FileList"));
    AddCopyAction(FileList);

    auto* folderRow = new QHBoxLayout;
    folderRow->setSpacing(4);
    folderRow->addWidget(ParentButton);
    folderRow->addWidget(DirTxt, 1);
    folderRow->addWidget(SelDir);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(folderRow);
    layout->addWidget(FileList, 1);

    connect(SelDir, &QToolButton::clicked, this, &TReplayBrowser::SelDirClick);
    connect(ParentButton, &QToolButton::clicked, this, &TReplayBrowser::SpeedButton1Click);
    // Return in the box, and a pick from the drop-down.
    connect(DirTxt->lineEdit(), &QLineEdit::returnPressed, this, [this] { FolderTyped(DirTxt->currentText()); });
    connect(DirTxt, &QComboBox::activated, this, [this](int index) { FolderTyped(DirTxt->itemText(index)); });
    connect(FileList->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TReplayBrowser::FileListChange);
    connect(FileList, &TReplayFileList::OpenRequested, this, &TReplayBrowser::OpenRequested);
    connect(FileModel, &TReplayFileModel::Renamed, this, &TReplayBrowser::Renamed);
    // A selection made before the folder was read is kept until its entry appears.
    connect(FileModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        if (!PendingSelect.isEmpty() && WithSlash(path) == ReplayDir) {
            FileList->SelectName(PendingSelect);
            PendingSelect.clear();
        }
    });
}

QList<QWidget*> TReplayBrowser::TabChain() const {
    return {ParentButton, DirTxt, SelDir, FileList};
}

void TReplayBrowser::ShowFolder(const QString& folder) {
    ReplayDir = WithSlash(QDir::cleanPath(QDir(folder).absolutePath()));
    PendingSelect.clear();
    FileList->setRootIndex(FileModel->setRootPath(ReplayDir));
    Recent.removeAll(ReplayDir);
    Recent.prepend(ReplayDir);
    while (Recent.size() > static_cast<qsizetype>(TWindowState::MaxRecentFolders))
        Recent.removeLast();
    FillFolderBox();
}

void TReplayBrowser::FolderTyped(const QString& text) {
    const QFileInfo info(text.trimmed());
    if (!text.trimmed().isEmpty() && info.isDir()) {
        ShowFolder(info.absoluteFilePath());
        return;
    }
    emit Message(Tr(AppString::FolderMissing, Language, {ToUtf8(text)}));
    if (Recent.contains(WithSlash(QDir::fromNativeSeparators(text.trimmed())))) {
        Recent.removeAll(WithSlash(QDir::fromNativeSeparators(text.trimmed()))); // gone since: offered no more
        FillFolderBox();
    }
}

void TReplayBrowser::FillFolderBox() {
    const QSignalBlocker quiet(DirTxt);
    DirTxt->clear();
    for (const QString& folder : Recent)
        DirTxt->addItem(QDir::toNativeSeparators(folder));
    DirTxt->setCurrentIndex(Recent.indexOf(ReplayDir));
    DirTxt->setEditText(QDir::toNativeSeparators(ReplayDir));
}

void TReplayBrowser::SetRecentFolders(const QStringList& folders) {
    Recent.clear();
    for (const QString& folder : folders)
        if (!folder.isEmpty() && !Recent.contains(WithSlash(folder)) &&
            Recent.size() < static_cast<qsizetype>(TWindowState::MaxRecentFolders))
            Recent << WithSlash(folder);
    FillFolderBox();
}

void TReplayBrowser::Refresh() {
    FileList->Refresh();
}

void TReplayBrowser::FocusFolderBox() {
    DirTxt->setFocus(Qt::ShortcutFocusReason);
    DirTxt->lineEdit()->selectAll();
}

void TReplayBrowser::OpenPath(const QString& text) {
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
    } else if (text.trimmed().isEmpty() && !Recent.isEmpty() && QFileInfo(Recent.front()).isDir()) {
        ShowFolder(Recent.front()); // where the last run ended
    } else {
        try {
            ShowFolder(FromPath(DefaultReplayFolder()));
        } catch (const TRegistryError& e) { // a registry value of the wrong type (Windows): the folder stays
            Boxes.Error(window(), ToQString(e.what()));
        }
    }
}

void TReplayBrowser::SelectSoon(const QString& name) {
    if (!FileList->SelectName(name))
        PendingSelect = name;
}

QString TReplayBrowser::FirstSelectedName() const {
    return FileList->FirstSelectedName();
}

void TReplayBrowser::ApplyLanguage(TLanguage language) {
    Language = language;
    FileList->setAccessibleDescription(Tr(AppString::FileListName, language));
    DirTxt->setAccessibleDescription(Tr(AppString::FolderBox, language));
    DirTxt->setToolTip(WithKey(Tr(AppString::FolderBox, language), QKeySequence(Qt::CTRL | Qt::Key_L)));
    ParentButton->setToolTip(WithKey(Tr(AppString::ParentFolder, language), QKeySequence(Qt::ALT | Qt::Key_Up)));
    ParentButton->setAccessibleName(Tr(AppString::ParentFolder, language));
    // The chooser picks a folder; Ctrl+O, a replay from anywhere, is its neighbour.
    SelDir->setToolTip(Tr(AppString::ChooseFolder, language) + QLatin1Char('\n') +
                       WithKey(Tr(AppString::OpenReplay, language), QKeySequence::Open));
    FileList->viewport()->setToolTip(WithKey(Tr(AppString::KeyRefresh, language), QKeySequence(Qt::Key_F5)) +
                                     QLatin1Char('\n') + WithKey(Tr(AppString::KeyCopy, language), QKeySequence::Copy));
    SelDir->setAccessibleName(Tr(AppString::ChooseFolder, language));
    FileModel->SetLanguage(language);
    FileList->SetLanguage(language);
}

void TReplayBrowser::SpeedButton1Click() {
    QDir dir(ReplayDir);
    if (dir.cdUp())
        ShowFolder(dir.absolutePath());
}

void TReplayBrowser::SelDirClick() {
    const QString chosen = Boxes.ChooseFolder(window(), ReplayDir);
    if (!chosen.isEmpty())
        ShowFolder(chosen);
}

void TReplayBrowser::FileListChange() {
    const QString name = FileList->FirstSelectedName();
    if (!name.isEmpty())
        emit ReplayChosen(ReplayDir + name);
}

} // namespace quillon::gui
