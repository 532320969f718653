// Paints a rectangle of a bitmap onto a surface context, stretched or shrunk to the destination
// rectangle by whole rows and columns: every destination pixel takes the colour of the source
// pixel under its centre, never a blend. Shared by DrawDib and the bit-block transfers.
#pragma once

#include "platform/gdi/dib_pixels.h"

namespace pibo::gdi {

struct Rect {
    LONG x;
    LONG y;
    LONG width;
    LONG height;
};

// Source column (or row) under the centre of destination column (row) `i` of `dst` columns.
constexpr LONG SourceIndex(long long i, LONG dst, LONG src) {
    return static_cast<LONG>((2 * i + 1) * src / (2 * static_cast<long long>(dst)));
}

// `dc` must be a surface context; `src` lies within the bitmap, both sizes are not negative.
// False when the context has no surface.
bool PaintDib(DeviceContext* dc, Rect dst, const DibPixels& pixels, Rect src);

} // namespace pibo::gdi
