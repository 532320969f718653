// The largest bitmap the graphics layer takes: a picture over these limits is refused before any
// of its pixels are allocated.
#pragma once

#include <cstddef>

#include "platform/win/types.h"

namespace pibo::gdi {

inline constexpr LONG kMaxBitmapSide = 16384;
inline constexpr std::size_t kMaxPixelBytes = std::size_t{256} << 20;
// A bitmap file is its pixels plus headers and a colour table; anything larger is not read.
inline constexpr std::size_t kMaxBitmapFileBytes = kMaxPixelBytes + (std::size_t{64} << 10);
inline constexpr UINT kMaxColors = 256;

// Bytes per row of a bitmap `width` pixels wide at `bitCount` bits, padded to 4 bytes.
constexpr std::size_t DibStride(LONG width, WORD bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

} // namespace pibo::gdi
