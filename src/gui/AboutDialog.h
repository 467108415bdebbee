#pragma once

#include <QDialog>

namespace quillon::gui {

/// The About window: icon, name and file version, the makers and two links. English in both languages.
class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);
};

} // namespace quillon::gui
