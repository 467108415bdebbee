#pragma once

#include "core/lang/Translations.h"

#include <QFont>
#include <QString>

class QWidget;

namespace quillon::gui {

/// Puts a form's captions, list items and fonts of the given language on its widgets, found by object name;
/// the form itself goes by formKey ("TQuillonMain"). Entries empty in that language leave the widget as it is.
/// Column headings belong to the list models, which read them from the same table.
void ApplyLanguage(QWidget* form, TForm table, const QString& formKey, TLanguage language);

/// An installed font for a family the tables name: "宋体" becomes an installed CJK font.
QString InstalledFamily(const QString& family);

/// The forms' base font: the family at 9 points (the design's height of 12 pixels).
QFont FormFont(const QString& family);

/// A column heading of a list model from its form's table ("PlayerList.Columns[3].Caption").
QString ColumnCaption(TForm table, const char* list, int column, TLanguage language);

} // namespace quillon::gui
