#pragma once

#include "core/lang/StringIds.h"
#include "core/lang/Translations.h"
#include "gui/QtText.h"

#include <QKeySequence>

#include <initializer_list>
#include <string_view>

namespace quillon::gui {

/// A numbered string of the translation tables in a language, for a widget.
template <typename TId> QString Tr(TId id, TLanguage language) {
    return ToQString(GetString(id, language));
}
/// The same with its %s filled in order.
template <typename TId> QString Tr(TId id, TLanguage language, std::initializer_list<std::string_view> args) {
    return ToQString(FormatText(GetString(id, language), args));
}

/// A tooltip that names its key: "Parent folder (Alt+Up)".
inline QString WithKey(const QString& text, const QKeySequence& key) {
    return text + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')');
}

} // namespace quillon::gui
