#pragma once

#include "core/lang/Translations.h"
#include "core/settings/AutoSaveSettings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace quillon::gui {

class IMessageBoxes;

/// Auto-save's settings: on or off, the collection, its sub-folder template, the watched folders (the game's
/// own, shown, and the user's, added and removed here), the tray and the start with the system.
class TAutoSaveDialog : public QDialog {
    Q_OBJECT
public:
    TAutoSaveDialog(IMessageBoxes& boxes, TLanguage language, QWidget* parent = nullptr);

    void SetValues(const TAutoSaveSettings& settings, const std::vector<std::string>& gameFolders);
    TAutoSaveSettings Values() const;

private:
    IMessageBoxes& Boxes;
    QCheckBox* Enabled;
    QLineEdit* Collection;
    QLineEdit* Template;
    QListWidget* Folders;
    QCheckBox* KeepInTray;
    QCheckBox* StartWithSystem;
    int GameFolderCount = 0;
};

} // namespace quillon::gui
