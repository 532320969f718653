#include "tests/support/bmp_fixtures.h"

#include <bit>
#include <cstdio>
#include <stdexcept>

namespace bmp_fixtures {

namespace {

void Put8(std::vector<BYTE>& out, unsigned v) {
    out.push_back(static_cast<BYTE>(v & 0xFF));
}
void Put16(std::vector<BYTE>& out, unsigned v) {
    Put8(out, v);
    Put8(out, v >> 8);
}
void Put32(std::vector<BYTE>& out, DWORD v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::size_t Stride(const Picture& p) {
    return (static_cast<std::size_t>(p.width) * p.bitCount + 31) / 32 * 4;
}

// One row of pixels as stored, uncompressed.
std::vector<BYTE> StoredRow(const Picture& p, int y) {
    std::vector<BYTE> row(Stride(p), 0);
    for (int x = 0; x < p.width; ++x) {
        const std::uint32_t v = p.at(x, y);
        switch (p.bitCount) {
        case 1:
            row[x / 8] = static_cast<BYTE>(row[x / 8] | ((v & 1) << (7 - x % 8)));
            break;
        case 4:
            row[x / 2] = static_cast<BYTE>(row[x / 2] | ((v & 0xF) << (x % 2 ? 0 : 4)));
            break;
        case 8:
            row[x] = static_cast<BYTE>(v);
            break;
        case 16:
            row[2 * x] = static_cast<BYTE>(v);
            row[2 * x + 1] = static_cast<BYTE>(v >> 8);
            break;
        case 24:
            row[3 * x] = static_cast<BYTE>(v);           // blue
            row[3 * x + 1] = static_cast<BYTE>(v >> 8);  // green
            row[3 * x + 2] = static_cast<BYTE>(v >> 16); // red
            break;
        case 32:
            for (int b = 0; b < 4; ++b)
                row[4 * x + b] = static_cast<BYTE>(v >> (8 * b));
            break;
        default:
            throw std::invalid_argument("bit count");
        }
    }
    return row;
}

// RLE of one row: runs of two or more equal pixels as encoded runs, stretches of three or more
// differing pixels in absolute mode, anything else as runs of one.
void EncodeRleRow(const Picture& p, int y, std::vector<BYTE>& out) {
    const bool four = p.compression == BI_RLE4;
    int x = 0;
    while (x < p.width) {
        int run = 1;
        while (x + run < p.width && run < 255 && p.at(x + run, y) == p.at(x, y))
            ++run;
        if (run >= 2) {
            const unsigned v = p.at(x, y);
            Put8(out, static_cast<unsigned>(run));
            Put8(out, four ? (v << 4 | v) : v);
            x += run;
            continue;
        }
        // A literal stretch ends where a run of two begins.
        int n = 1;
        while (x + n < p.width && n < 255 &&
               !(x + n + 1 < p.width && p.at(x + n, y) == p.at(x + n + 1, y)))
            ++n;
        if (n < 3) {
            for (int i = 0; i < n; ++i) {
                Put8(out, 1);
                Put8(out, four ? p.at(x + i, y) << 4 : p.at(x + i, y));
            }
        } else {
            Put8(out, 0);
            Put8(out, static_cast<unsigned>(n));
            std::size_t bytes = 0;
            if (four) {
                for (int i = 0; i < n; i += 2) {
                    const unsigned hi = p.at(x + i, y);
                    const unsigned lo = i + 1 < n ? p.at(x + i + 1, y) : 0;
                    Put8(out, hi << 4 | lo);
                    ++bytes;
                }
            } else {
                for (int i = 0; i < n; ++i)
                    Put8(out, p.at(x + i, y));
                bytes = static_cast<std::size_t>(n);
            }
            if (bytes & 1)
                Put8(out, 0);
        }
        x += n;
    }
}

std::vector<BYTE> PixelData(const Picture& p) {
    std::vector<BYTE> out;
    const bool rle = p.compression == BI_RLE4 || p.compression == BI_RLE8;
    // Stored rows run bottom-up unless the picture is top-down.
    for (int r = 0; r < p.height; ++r) {
        const int y = p.topDown ? r : p.height - 1 - r;
        if (rle) {
            EncodeRleRow(p, y, out);
            if (r + 1 < p.height) {
                Put8(out, 0);
                Put8(out, 0); // end of line
            }
        } else {
            const std::vector<BYTE> row = StoredRow(p, y);
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    if (rle) {
        Put8(out, 0);
        Put8(out, 1); // end of bitmap
    }
    return out;
}

DWORD HeaderSize(HeaderKind kind) {
    switch (kind) {
    case HeaderKind::Core:
        return 12;
    case HeaderKind::Info:
        return 40;
    case HeaderKind::V4:
        return 108;
    case HeaderKind::V5:
        return 124;
    }
    return 40;
}

std::vector<BYTE> Dib(const Picture& p, std::size_t at, Layout& layout) {
    std::vector<BYTE> out;
    const std::vector<BYTE> pixels = PixelData(p);
    const DWORD size = HeaderSize(p.header);
    layout.headerAt = at;
    Put32(out, size);
    if (p.header == HeaderKind::Core) {
        Put16(out, static_cast<unsigned>(p.width));
        Put16(out, static_cast<unsigned>(p.height));
        Put16(out, 1);
        Put16(out, p.bitCount);
    } else {
        Put32(out, static_cast<DWORD>(p.width));
        Put32(out, static_cast<DWORD>(p.topDown ? -p.height : p.height));
        Put16(out, 1);
        Put16(out, p.bitCount);
        Put32(out, p.compression);
        const bool rle = p.compression == BI_RLE4 || p.compression == BI_RLE8;
        Put32(out, static_cast<DWORD>(rle ? pixels.size() : Stride(p) * p.height));
        Put32(out, 2835); // 72 dots per inch
        Put32(out, 2835);
        const auto used = static_cast<DWORD>(p.clrUsedZero ? 0 : p.colors.size());
        Put32(out, used);
        Put32(out, used);
        if (size > 40) {
            for (DWORD m : p.masks)
                Put32(out, p.compression == BI_BITFIELDS ? m : 0);
            Put32(out, 0);          // alpha mask
            Put32(out, 0x73524742); // "sRGB"
            while (out.size() < size)
                Put8(out, 0); // endpoints, gamma, intent, profile
        }
    }
    layout.tableAt = at + out.size();
    if (p.header == HeaderKind::Info && p.compression == BI_BITFIELDS)
        for (DWORD m : p.masks)
            Put32(out, m);
    for (const RGBQUAD& c : p.colors) {
        Put8(out, c.rgbBlue);
        Put8(out, c.rgbGreen);
        Put8(out, c.rgbRed);
        if (p.header != HeaderKind::Core)
            Put8(out, 0);
    }
    layout.pixelsAt = at + out.size();
    out.insert(out.end(), pixels.begin(), pixels.end());
    layout.size = at + out.size();
    return out;
}

unsigned Scale(std::uint32_t value, DWORD mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t v = (value & mask) >> shift;
    if (bits >= 8)
        return v >> (bits - 8);
    const unsigned max = (1u << bits) - 1;
    return static_cast<unsigned>((v * 255 + max / 2) / max);
}

} // namespace

std::vector<BYTE> PackedDib(const Picture& picture, Layout* layout) {
    Layout l;
    std::vector<BYTE> out = Dib(picture, 0, l);
    if (layout)
        *layout = l;
    return out;
}

std::vector<BYTE> BmpFile(const Picture& picture, Layout* layout) {
    Layout l;
    const std::vector<BYTE> dib = Dib(picture, 14, l);
    std::vector<BYTE> out;
    Put16(out, 0x4D42); // "BM"
    Put32(out, static_cast<DWORD>(14 + dib.size()));
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, static_cast<DWORD>(l.pixelsAt));
    out.insert(out.end(), dib.begin(), dib.end());
    if (layout)
        *layout = l;
    return out;
}

std::uint32_t ExpectedColor(const Picture& p, int x, int y) {
    const std::uint32_t v = p.at(x, y);
    if (p.bitCount <= 8) {
        const RGBQUAD& c = p.colors.at(v);
        return std::uint32_t{c.rgbRed} << 16 | std::uint32_t{c.rgbGreen} << 8 | c.rgbBlue;
    }
    if (p.bitCount == 24)
        return v & 0xFFFFFF;
    DWORD masks[3] = {p.masks[0], p.masks[1], p.masks[2]};
    if (p.compression == BI_RGB) {
        const bool sixteen = p.bitCount == 16;
        masks[0] = sixteen ? 0x7C00 : 0xFF0000;
        masks[1] = sixteen ? 0x03E0 : 0x00FF00;
        masks[2] = sixteen ? 0x001F : 0x0000FF;
    }
    return Scale(v, masks[0]) << 16 | Scale(v, masks[1]) << 8 | Scale(v, masks[2]);
}

std::vector<RGBQUAD> SharedColorTable16() {
    static const BYTE kRgb[16][3] = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    std::vector<RGBQUAD> table;
    for (const auto& c : kRgb)
        table.push_back(RGBQUAD{c[2], c[1], c[0], 0});
    return table;
}

std::vector<RGBQUAD> DistinctColors(int count) {
    std::vector<RGBQUAD> table;
    for (int i = 0; i < count; ++i)
        table.push_back(RGBQUAD{static_cast<BYTE>(i * 37 + 11), static_cast<BYTE>(255 - i),
                                static_cast<BYTE>(i), 0});
    return table;
}

Picture IndexedPicture(int width, int height, WORD bitCount, int colorCount) {
    Picture p;
    p.width = width;
    p.height = height;
    p.bitCount = bitCount;
    p.colors = DistinctColors(colorCount);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Bands of equal pixels on the left, a changing stretch on the right.
            const int v = x < width / 2 ? (x / 5 + y) : (x * 7 + y * 3);
            p.pixels.push_back(static_cast<std::uint32_t>(v % colorCount));
        }
    return p;
}

Picture TrueColorPicture(int width, int height, WORD bitCount, DWORD compression,
                         const DWORD masks[3]) {
    Picture p;
    p.width = width;
    p.height = height;
    p.bitCount = bitCount;
    p.compression = compression;
    if (masks)
        for (int c = 0; c < 3; ++c)
            p.masks[c] = masks[c];
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t r =
                static_cast<std::uint32_t>(x * 255 / (width > 1 ? width - 1 : 1));
            const std::uint32_t g =
                static_cast<std::uint32_t>(y * 255 / (height > 1 ? height - 1 : 1));
            const std::uint32_t b = static_cast<std::uint32_t>((x * 31 + y * 17) & 0xFF);
            std::uint32_t v;
            if (bitCount == 24)
                v = r << 16 | g << 8 | b;
            else if (bitCount == 16)
                v = (r * 7 + g * 13 + b) & 0xFFFF; // any 16-bit value
            else
                v = r << 24 | g << 16 | b << 8 | ((x + y) & 0xFF);
            p.pixels.push_back(v);
        }
    return p;
}

Picture BuiltInLikePicture() {
    Picture p;
    p.width = 250;
    p.height = 250;
    p.bitCount = 4;
    p.colors = SharedColorTable16();
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 250; ++x) {
            // A ring of one colour on a plain background of another, with a black shadow.
            const int dx = x - 125;
            const int dy = y - 125;
            const int d2 = dx * dx + dy * dy;
            std::uint32_t v = 11;
            if (d2 < 90 * 90 && d2 > 60 * 60)
                v = 4;
            else if (x > 200 && y > 200)
                v = 0;
            p.pixels.push_back(v);
        }
    return p;
}

void PutU16(std::vector<BYTE>& bytes, std::size_t at, WORD value) {
    bytes.at(at) = static_cast<BYTE>(value);
    bytes.at(at + 1) = static_cast<BYTE>(value >> 8);
}

void PutU32(std::vector<BYTE>& bytes, std::size_t at, DWORD value) {
    PutU16(bytes, at, static_cast<WORD>(value));
    PutU16(bytes, at + 2, static_cast<WORD>(value >> 16));
}

bool WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace bmp_fixtures
