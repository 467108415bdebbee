#pragma once

#include <QList>
#include <QRect>

namespace quillon::gui {

/// A stored window frame moved and shrunk as needed so that it lies on one of the screens it can still be shown
/// on (their available areas): on the screen it overlaps most, else centred on the first one. Screens change
/// between runs: a monitor unplugged, another resolution.
QRect KeepOnScreen(const QRect& frame, const QList<QRect>& screens);

} // namespace quillon::gui
