// Dialog units: positions and sizes in a dialog template are given in units of the dialog font,
// a quarter of its average character width horizontally and an eighth of its height vertically.
#pragma once

#include <QRect>

class QFont;

namespace pibo::qt {

// The font's base units in pixels: the average width of the 52 Latin letters, rounded, and the
// character height.
struct DialogBaseUnits {
    int x;
    int y;
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

// Dialog units to pixels, rounded to the nearest pixel.
int DialogUnitsToPixelsX(int units, DialogBaseUnits base);
int DialogUnitsToPixelsY(int units, DialogBaseUnits base);
QRect DialogRectToPixels(int x, int y, int cx, int cy, DialogBaseUnits base);

} // namespace pibo::qt
