#pragma once
// Window arrangements of the "Окна" menu that QMdiArea does not offer itself.

class QMdiArea;

namespace vantor {

// Windows one above the other, each the full width of the area.
void TileHorizontally(QMdiArea &area);
// Windows side by side, each the full height of the area.
void TileVertically(QMdiArea &area);
void MinimizeAll(QMdiArea &area);
// Lines the minimized windows up along the bottom edge of the area.
void ArrangeIcons(QMdiArea &area);

} // namespace vantor
