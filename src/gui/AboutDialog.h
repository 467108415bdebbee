#pragma once

#include "core/lang/Translations.h"

#include <QDialog>

namespace quillon::gui {

/// The About window: the icon, the name and version, what Quillon is, its licence, where its source lives and
/// what it is built with; the licence and the third-party notices open from its buttons.
class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(TLanguage language, QWidget* parent = nullptr);

    /// The licence's text, and the third-party notices (the full ones beside the program when they are there).
    static QString LicenceText();
    static QString NoticesText();

    /// Shows a text in a window of its own, over the About box; returns the window (for tests).
    QDialog* ShowText(const QString& title, const QString& text);
};

} // namespace quillon::gui
