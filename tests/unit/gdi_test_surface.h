// A device context over a QImage for the picture tests, and the nearest-neighbour reference that
// stretched pictures are checked against.
#pragma once

#include <QImage>
#include <QPainter>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface_dc.h"
#include "tests/support/bmp_fixtures.h"

namespace gdi_test {

inline constexpr QRgb kBackground = 0xFF123456;

struct Surface {
    Surface(int width, int height) : image(width, height, QImage::Format_RGB32) {
        image.fill(kBackground);
        painter.begin(&image);
        hdc = CreateSurfaceDC(&painter, width, height);
    }
    ~Surface() {
        DeleteDC(hdc);
        painter.end();
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    std::uint32_t rgb(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }

    QImage image;
    QPainter painter;
    HDC hdc = nullptr;
};

// The colour of destination pixel (x, y) of a `dw` by `dh` rectangle showing the source
// rectangle (sx, sy, sw, sh) of the picture: the source pixel under the destination pixel's
// centre.
inline std::uint32_t Nearest(const bmp_fixtures::Picture& p, int sx, int sy, int sw, int sh, int dw,
                             int dh, int x, int y) {
    const int px = sx + static_cast<int>((2LL * x + 1) * sw / (2LL * dw));
    const int py = sy + static_cast<int>((2LL * y + 1) * sh / (2LL * dh));
    return ExpectedColor(p, px, py);
}

// Counts the pixels of the destination rectangle that differ from the reference.
inline long CountWrong(const Surface& s, const bmp_fixtures::Picture& p, int dx, int dy, int dw,
                       int dh, int sx = 0, int sy = 0, int sw = -1, int sh = -1) {
    if (sw < 0)
        sw = p.width;
    if (sh < 0)
        sh = p.height;
    long wrong = 0;
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            const int tx = dx + x;
            const int ty = dy + y;
            if (tx < 0 || ty < 0 || tx >= s.image.width() || ty >= s.image.height())
                continue;
            if (s.rgb(tx, ty) != Nearest(p, sx, sy, sw, sh, dw, dh, x, y))
                ++wrong;
        }
    return wrong;
}

// Pixels outside the rectangle that are not the background any more.
inline long CountTouchedOutside(const Surface& s, int dx, int dy, int dw, int dh) {
    long touched = 0;
    for (int y = 0; y < s.image.height(); ++y)
        for (int x = 0; x < s.image.width(); ++x) {
            const bool inside = x >= dx && x < dx + dw && y >= dy && y < dy + dh;
            if (!inside && s.image.pixel(x, y) != kBackground)
                ++touched;
        }
    return touched;
}

} // namespace gdi_test
