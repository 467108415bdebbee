#pragma once

#include "core/lang/Translations.h"

#include <QString>

#include <string>

class QWidget;

namespace quillon::gui {

class IMessageBoxes;

/// Writes a page to the file the user chose in a save dialog. The dialog has asked before a file is written over
/// (that one is replaced whole or not at all); a file that came meanwhile is never replaced. False after an error
/// box saying why.
bool WriteChosenPage(QWidget* parent, IMessageBoxes& boxes, const QString& path, const std::string& page,
                     TLanguage language);

} // namespace quillon::gui
