#include "platform/qt/dialog_units.h"

#include <QFontMetrics>

namespace pibo::qt {

namespace {

// a * b / c, rounded half away from zero.
int MulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}

} // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogBaseUnits{(width / 26 + 1) / 2, fm.height()};
}

int DialogUnitsToPixelsX(int units, DialogBaseUnits base) {
    return MulDiv(units, base.x, 4);
}

int DialogUnitsToPixelsY(int units, DialogBaseUnits base) {
    return MulDiv(units, base.y, 8);
}

QRect DialogRectToPixels(int x, int y, int cx, int cy, DialogBaseUnits base) {
    return QRect(DialogUnitsToPixelsX(x, base), DialogUnitsToPixelsY(y, base),
                 DialogUnitsToPixelsX(cx, base), DialogUnitsToPixelsY(cy, base));
}

} // namespace pibo::qt
