#pragma once

#include "core/lang/Translations.h"

#include <QString>

class QAbstractItemView;
class QWidget;

namespace quillon::gui {

/// The selected rows of a list as tab-separated text, one line per row in the order the list shows them, every
/// column the list shows (the cells quillon-cli prints); a tree's child rows as their own lines.
QString SelectedRowsText(const QAbstractItemView& view);

/// Ctrl+C on the list, and Copy in its context menu, put the selected rows on the clipboard.
void AddCopyAction(QAbstractItemView* view);

/// The Copy entries under a widget in a language.
void ApplyCopyLanguage(QWidget* root, TLanguage language);

} // namespace quillon::gui
