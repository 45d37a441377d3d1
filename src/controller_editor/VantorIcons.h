#pragma once
// The pictures of the Vantor-5 window. Kinds, lamps and menu items are tied to
// pictures by the image numbers the configuration model uses (KindImage and the
// menus' own numbers); the pictures themselves are the SVG files in icons/.

#include <QIcon>

namespace vantor::editor {

// Group and menu pictures: 1 delete, 2 transport, 3 pedestrian, 5 arrow, 6 tram,
// 8 and 9 reversible, 10 lamp, 11 information section, 12 WAIT panel, 13 GO panel,
// 14 triggers, 17 block output. Any other number gives an empty icon.
QIcon GroupImage(int image);

// Lamp pictures by lamp position 0..6 (red, yellow, green, the three upper tram
// lamps and the lower one).
QIcon LampIcon(int lampPos);

// The picture of a signal-group type 0..8 in menus (transport 2, pedestrian 3,
// arrow 5, tram 6, reversible 8, lamp 10; none for the others).
QIcon SigGroupTypeIcon(int sigGroupType);

QIcon HeadIcon();
QIcon BlockIcon();
QIcon DirectionIcon();
// The monitoring marks of the "КК" and "КЗ" columns.
QIcon RedCheckIcon();
QIcon GreenCheckIcon();

} // namespace vantor::editor
