// Device contexts over Qt surfaces: the same drawing code paints a widget in its paint event and a
// QImage in tests.
#pragma once

#include "platform/win/windows.h"

class QPainter;

// A device context that paints through `painter` on its device. `width` and `height` are the
// surface's size in the painter's coordinates (for a widget, its client size); drawing outside
// it is skipped. Free it with DeleteDC or ReleaseDC, before the painter ends.
HDC CreateSurfaceDC(QPainter* painter, int width, int height);
