#pragma once

#include <QColor>
#include <QIcon>

namespace quillon::gui {

/// The slot colour of the game (0 red to 23 peanut); grey for other numbers.
QColor SlotColor(int color);

/// A small square in the slot colour of the game (0 red to 23 peanut); a null icon for other numbers.
QIcon SlotColorIcon(int color);

} // namespace quillon::gui
