// Reads Windows bitmaps into DIB sections at their own depth and with their own colour table.
// Pure functions from bytes to a bitmap: no files, no globals, never a read outside `data`.
//
// Accepted: BITMAPCOREHEADER, BITMAPINFOHEADER and its 52, 56, V4 and V5 forms; 1, 4, 8, 16, 24
// and 32 bits; BI_RGB, BI_RLE4, BI_RLE8 and BI_BITFIELDS; bottom-up and top-down rows. RLE
// pictures become uncompressed sections of the same depth.
// Refused (null): truncated data, offsets and sizes that disagree, a colour table over 256 entries,
// colour indices beyond the table, RLE that runs past the picture or lacks its end mark, and
// pictures over the limits of dib_limits.h, which are refused before anything is allocated.
#pragma once

#include <memory>
#include <span>

#include "platform/gdi/gdi_objects.h"

namespace pibo::gdi {

// A .bmp file: BITMAPFILEHEADER, then the DIB.
std::unique_ptr<DibSection> ReadBmpFile(std::span<const BYTE> data);
// A packed DIB, as bitmap resources are stored: header, colour table, pixels.
std::unique_ptr<DibSection> ReadPackedDib(std::span<const BYTE> data);

} // namespace pibo::gdi
