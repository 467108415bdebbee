#include "gui/AutoSaveDialog.h"

#include "core/autosave/GameFolders.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

TAutoSaveDialog::TAutoSaveDialog(IMessageBoxes& boxes, TLanguage language, QWidget* parent)
    : QDialog(parent), Boxes(boxes) {
    setObjectName(QStringLiteral("AutoSaveDialog"));
    setWindowTitle(Tr(AppString::AutoSaveTitle, language));
    Enabled = Named<QCheckBox>("AutoSaveEnabled", this);
    Enabled->setText(Tr(AppString::AutoSaveEnable, language));
    Collection = NamedField<QLineEdit>("AutoSaveCollection", this);
    Collection->setPlaceholderText(QDir::toNativeSeparators(FromPath(DefaultCollectionFolder())));
    auto* choose = Named<QToolButton>("AutoSaveChoose", this);
    choose->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    choose->setToolTip(Tr(AppString::ChooseFolder, language));
    Template = NamedField<QLineEdit>("AutoSaveTemplate", this);
    Template->setPlaceholderText(Tr(AppString::AutoSaveTemplateHint, language));
    Template->setToolTip(Tr(AppString::AutoSaveTemplateHint, language));
    Folders = NamedField<QListWidget>("AutoSaveFolders", this);
    auto* add = Named<QPushButton>("AutoSaveAdd", this);
    add->setText(Tr(AppString::AutoSaveAdd, language));
    auto* remove = Named<QPushButton>("AutoSaveRemove", this);
    remove->setText(Tr(AppString::AutoSaveRemove, language));
    KeepInTray = Named<QCheckBox>("AutoSaveKeepInTray", this);
    KeepInTray->setText(Tr(AppString::AutoSaveKeepInTray, language));
    StartWithSystem = Named<QCheckBox>("AutoSaveStartWithSystem", this);
    StartWithSystem->setText(Tr(AppString::AutoSaveStartWithSystem, language));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* collectionRow = new QHBoxLayout;
    collectionRow->addWidget(Collection, 1);
    collectionRow->addWidget(choose);
    auto* form = new QFormLayout;
    form->addRow(Tr(AppString::AutoSaveCollection, language), collectionRow);
    form->addRow(Tr(AppString::AutoSaveTemplate, language), Template);
    auto* folderButtons = new QHBoxLayout;
    folderButtons->addStretch();
    folderButtons->addWidget(add);
    folderButtons->addWidget(remove);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Enabled);
    layout->addLayout(form);
    layout->addWidget(new QLabel(Tr(AppString::AutoSaveFolders, language), this));
    layout->addWidget(Folders, 1);
    layout->addLayout(folderButtons);
    layout->addWidget(KeepInTray);
    layout->addWidget(StartWithSystem);
    layout->addWidget(buttons);
    resize(560, 420);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(choose, &QToolButton::clicked, this, [this] {
        const QString folder = Boxes.ChooseFolder(this, Collection->text());
        if (!folder.isEmpty())
            Collection->setText(QDir::toNativeSeparators(folder));
    });
    connect(add, &QPushButton::clicked, this, [this] {
        const QString folder = Boxes.ChooseFolder(this, QString());
        if (!folder.isEmpty() && Folders->findItems(QDir::toNativeSeparators(folder), Qt::MatchExactly).isEmpty())
            Folders->addItem(QDir::toNativeSeparators(folder));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = Folders->currentRow();
        if (row >= GameFolderCount) // the game's own folders stay
            delete Folders->takeItem(row);
    });
}

void TAutoSaveDialog::SetValues(const TAutoSaveSettings& s, const std::vector<std::string>& gameFolders) {
    Enabled->setChecked(s.Enabled);
    Collection->setText(QDir::toNativeSeparators(FromPath(s.Collection)));
    Template->setText(FromPath(s.FolderTemplate));
    Folders->clear();
    for (const std::string& folder : gameFolders) {
        auto* item = new QListWidgetItem(QDir::toNativeSeparators(FromPath(folder)), Folders);
        item->setFlags(item->flags() & ~Qt::ItemIsEnabled); // shown, not removable
    }
    GameFolderCount = Folders->count();
    for (const std::string& folder : s.Folders)
        Folders->addItem(QDir::toNativeSeparators(FromPath(folder)));
    KeepInTray->setChecked(s.KeepInTray);
    StartWithSystem->setChecked(s.StartWithSystem);
}

TAutoSaveSettings TAutoSaveDialog::Values() const {
    TAutoSaveSettings s;
    s.Enabled = Enabled->isChecked();
    s.Collection = ToPath(QDir::fromNativeSeparators(Collection->text().trimmed()));
    s.FolderTemplate = ToUtf8(Template->text().trimmed());
    for (int i = GameFolderCount; i < Folders->count(); ++i)
        s.Folders.push_back(ToPath(QDir::fromNativeSeparators(Folders->item(i)->text())));
    s.KeepInTray = KeepInTray->isChecked();
    s.StartWithSystem = StartWithSystem->isChecked();
    return s;
}

} // namespace quillon::gui
