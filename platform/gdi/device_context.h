// The object behind an HDC. A device context is the screen (no surface: palettes and memory
// contexts are made for it), a memory context (a bitmap selected into it, the source of bit-block
// transfers) or a surface context that paints through a QPainter onto a widget or an image.
#pragma once

#include <array>

#include "platform/gdi/gdi_objects.h"

class QPainter;
namespace pibo::gdi {
class RetainedSurface;
}

struct DeviceContext {
    enum class Kind { Screen, Memory, Surface };

    explicit DeviceContext(Kind k);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    const Kind kind;
    QPainter* painter = nullptr; // surface contexts only
    // A surface context of a window's kept client area paints there instead; its painter is
    // SurfacePainter's to give.
    pibo::gdi::RetainedSurface* retained = nullptr;
    int width = 0; // surface size in the painter's logical units
    int height = 0;

    Palette* palette = nullptr; // selected palette, never null (the default palette at first)
    bool paletteBackground = true;
    DibSection* bitmap = nullptr; // selected bitmap, never null (a stock 1x1 bitmap at first)
    int stretchMode = BLACKONWHITE;

    // What tests may look at: the latest palette selections made on this context, oldest first,
    // kept in a fixed ring so that selecting takes no memory.
    struct PaletteSelection {
        HPALETTE palette;
        BOOL background;
    };
    std::array<PaletteSelection, 8> paletteLog{};
    unsigned paletteLogCount = 0; // selections made in all
};

namespace pibo::gdi {

Palette* DefaultPalette();
DibSection* StockBitmap();

// What drawing on a surface context paints with: its painter, or that of its kept client area,
// whose pixels are then made. Null for other contexts.
QPainter* SurfacePainter(DeviceContext* dc);
// True for a context that paints on a surface.
bool IsSurface(const DeviceContext* dc);

} // namespace pibo::gdi
