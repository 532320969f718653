// What tests may observe of the graphics layer and the failures they may provoke. Not used by the
// program itself.
#pragma once

#include <vector>

#include "platform/gdi/gdi.h"

namespace pibo::gdi {

// The palette selections made on a device context, oldest first (the latest eight at most).
struct PaletteSelection {
    HPALETTE palette;
    BOOL background; // selected as a background palette
};
std::vector<PaletteSelection> PaletteSelections(HDC hdc);
// Whether the palette now selected into the context was selected as a background palette.
BOOL IsBackgroundPalette(HDC hdc);

// The entries of a palette.
std::vector<PALETTEENTRY> PaletteEntries(HPALETTE hPal);

// The flags of the latest DrawDibDraw on a DrawDib handle, and how many draws it made.
UINT DrawDibLastFlags(HDRAWDIB hdd);
int DrawDibDrawCount(HDRAWDIB hdd);

// How many bitmaps and palettes exist now, stock objects included.
int LiveBitmapCount();
int LivePaletteCount();

// Makes the next call of one operation fail as it may fail on a real system.
enum class GdiFault { GetObject, CreatePalette, CreateHalftonePalette, DrawDibOpen, DrawDibDraw };
void FailNext(GdiFault fault);
// Used by the graphics layer: true once for each FailNext of that operation.
bool TakeFault(GdiFault fault);

} // namespace pibo::gdi
