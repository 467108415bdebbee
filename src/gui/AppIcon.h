#pragma once

#include <QIcon>
#include <QPixmap>

namespace quillon::gui {

/// The program's icon, drawn in code at any size: a quill over a replay's play mark.
QPixmap AppIconPixmap(int size);
QIcon AppIcon();

} // namespace quillon::gui
