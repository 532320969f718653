// Bitmap files and packed DIBs of every variant the loader reads, made from a description of the
// picture: headers (core, info, V4, V5), depths 1 to 32, RLE4, RLE8 and bit fields, bottom-up and
// top-down rows. Plain functions, also used as seeds for fuzzing the reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/windows.h"

namespace bmp_fixtures {

enum class HeaderKind { Core, Info, V4, V5 };

struct Picture {
    int width = 0;
    int height = 0; // rows; written negative when `topDown`
    WORD bitCount = 24;
    DWORD compression = BI_RGB; // BI_RLE4 and BI_RLE8 encode the pixels
    HeaderKind header = HeaderKind::Info;
    bool topDown = false;
    std::vector<RGBQUAD> colors; // the colour table as written
    bool clrUsedZero = false;    // write biClrUsed 0 (the table must then be full)
    DWORD masks[3] = {};         // red, green, blue for BI_BITFIELDS
    // width * height values, top row first: colour indices up to 8 bits, else the pixel as stored
    // (16 and 32 bits: the pixel value; 24 bits: 0xRRGGBB).
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Where the parts of an encoded picture lie, for tests that damage one of them.
struct Layout {
    std::size_t headerAt = 0; // the DIB header (after the file header in a file)
    std::size_t tableAt = 0;  // masks after a 40-byte header, then the colour table
    std::size_t pixelsAt = 0;
    std::size_t size = 0;
};

std::vector<BYTE> PackedDib(const Picture& picture, Layout* layout = nullptr);
std::vector<BYTE> BmpFile(const Picture& picture, Layout* layout = nullptr);

// The colour pixel (x, y) (top row 0) must paint, as 0xRRGGBB.
std::uint32_t ExpectedColor(const Picture& picture, int x, int y);

// The sixteen colours of the built-in pictures.
std::vector<RGBQUAD> SharedColorTable16();
// `count` distinct colours.
std::vector<RGBQUAD> DistinctColors(int count);

// A picture of indices cycling through `colorCount` colours in a pattern with runs and single
// pixels, so that RLE encodes both kinds; DistinctColors(colorCount) as its table.
Picture IndexedPicture(int width, int height, WORD bitCount, int colorCount);
// A true-colour picture of 16, 24 or 32 bits; masks as given for BI_BITFIELDS, the default
// layout for BI_RGB.
Picture TrueColorPicture(int width, int height, WORD bitCount, DWORD compression = BI_RGB,
                         const DWORD masks[3] = nullptr);
// A picture like the built-in ones: 250 by 250, 4 bits, the shared sixteen colours.
Picture BuiltInLikePicture();

// Helpers for damaging encoded pictures.
void PutU16(std::vector<BYTE>& bytes, std::size_t at, WORD value);
void PutU32(std::vector<BYTE>& bytes, std::size_t at, DWORD value);

// Writes `bytes` to `path`; false on failure.
bool WriteFile(const std::string& path, const std::vector<BYTE>& bytes);

} // namespace bmp_fixtures
