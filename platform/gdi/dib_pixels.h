// A read-only view of a device-independent bitmap's pixels, whatever its depth, and the conversion
// of its rows to 32-bit colour (0xFFRRGGBB) for painting.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi_objects.h"

namespace pibo::gdi {

struct DibPixels {
    LONG width = 0;
    LONG height = 0; // always positive; `topDown` tells the row order
    bool topDown = false;
    WORD bitCount = 0;
    LONG stride = 0;
    const BYTE* bits = nullptr;
    // 0xFFRRGGBB for each index of a bitmap of up to 8 bits; indices beyond the colour table
    // paint black.
    std::uint32_t lut[256]{};
    // Red, green and blue fields of a 16 or 32-bit pixel (the defaults for BI_RGB).
    struct Channel {
        int shift = 0;
        int width = 0;
        BYTE scale[256]{}; // field value to 8 bits, for fields of up to 8 bits
    };
    Channel channels[3];
    bool plain32 = false; // 32 bits in the BI_RGB layout: blue, green, red, unused
};

// Fills `view` from a header as DrawDib and the bit-block transfers receive it: the colour table or
// the masks follow the header at `biSize` bytes. False for headers it cannot paint (compressed,
// unusual depths, sizes over the limits).
bool DescribeDib(const BITMAPINFOHEADER* header, const void* bits, DibPixels& view);
bool DescribeDib(const DibSection& dib, DibPixels& view);

// Converts `count` pixels of row `y` (counted from the top) starting at column `x` to 0xFFRRGGBB.
// The caller keeps x, y and count within the bitmap.
void ConvertRow(const DibPixels& view, LONG y, LONG x, LONG count, std::uint32_t* out);

// Red, green and blue masks of a bit field bitmap: each non-empty, contiguous, within the pixel
// and apart from the others.
bool ValidMasks(const DWORD masks[3], WORD bitCount);

} // namespace pibo::gdi
