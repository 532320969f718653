#include "platform/gdi/dib_pixels.h"

#include <bit>
#include <cstring>

#include "platform/gdi/dib_limits.h"

namespace pibo::gdi {

namespace {

constexpr DWORD kMasks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD kMasks888[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

bool SupportedDepth(WORD bitCount) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

void SetChannels(DibPixels& view, const DWORD masks[3]) {
    for (int c = 0; c < 3; ++c) {
        DibPixels::Channel& ch = view.channels[c];
        ch.shift = std::countr_zero(masks[c]);
        ch.width = std::popcount(masks[c]);
        if (ch.width <= 8) {
            const unsigned max = (1u << ch.width) - 1;
            for (unsigned v = 0; v <= max; ++v)
                ch.scale[v] = static_cast<BYTE>((v * 255 + max / 2) / max);
        }
    }
}

void FillLut(DibPixels& view, const RGBQUAD* colors, UINT count) {
    for (UINT i = 0; i < 256; ++i)
        view.lut[i] = 0xFF000000u;
    for (UINT i = 0; i < count && i < 256; ++i)
        view.lut[i] = 0xFF000000u | (std::uint32_t{colors[i].rgbRed} << 16) |
                      (std::uint32_t{colors[i].rgbGreen} << 8) | colors[i].rgbBlue;
}

inline std::uint32_t Field(const DibPixels::Channel& ch, DWORD px) {
    const DWORD v = (px >> ch.shift) & ((ch.width >= 32) ? 0xFFFFFFFFu : ((1u << ch.width) - 1));
    return ch.width <= 8 ? ch.scale[v] : static_cast<std::uint32_t>(v >> (ch.width - 8));
}

inline std::uint32_t FromFields(const DibPixels& view, DWORD px) {
    return 0xFF000000u | (Field(view.channels[0], px) << 16) | (Field(view.channels[1], px) << 8) |
           Field(view.channels[2], px);
}

} // namespace

bool ValidMasks(const DWORD masks[3], WORD bitCount) {
    const DWORD limit = bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (int c = 0; c < 3; ++c) {
        const DWORD m = masks[c];
        if (m == 0 || (m & ~limit) != 0)
            return false;
        const DWORD shifted = m >> std::countr_zero(m);
        if ((shifted & (shifted + 1)) != 0) // not one run of set bits
            return false;
    }
    return (masks[0] & masks[1]) == 0 && (masks[0] & masks[2]) == 0 && (masks[1] & masks[2]) == 0;
}

bool DescribeDib(const BITMAPINFOHEADER* header, const void* bits, DibPixels& view) {
    if (!header || !bits || header->biSize < sizeof(BITMAPINFOHEADER))
        return false;
    const BITMAPINFOHEADER& h = *header;
    if (!SupportedDepth(h.biBitCount) || h.biWidth < 1 || h.biWidth > kMaxBitmapSide ||
        h.biHeight == 0 || h.biHeight < -kMaxBitmapSide || h.biHeight > kMaxBitmapSide)
        return false;
    const bool bitfields = h.biCompression == BI_BITFIELDS;
    if (bitfields ? (h.biBitCount != 16 && h.biBitCount != 32) : h.biCompression != BI_RGB)
        return false;

    view.width = h.biWidth;
    view.topDown = h.biHeight < 0;
    view.height = view.topDown ? -h.biHeight : h.biHeight;
    view.bitCount = h.biBitCount;
    view.stride = static_cast<LONG>(DibStride(h.biWidth, h.biBitCount));
    view.bits = static_cast<const BYTE*>(bits);

    const BYTE* after = reinterpret_cast<const BYTE*>(header) + h.biSize;
    if (h.biBitCount <= 8) {
        const UINT full = 1u << h.biBitCount;
        UINT count = h.biClrUsed == 0 ? full : h.biClrUsed;
        if (count > full)
            count = full;
        FillLut(view, reinterpret_cast<const RGBQUAD*>(after), count);
    } else if (bitfields) {
        DWORD masks[3];
        // A header of 52 bytes or more carries the masks itself; a 40-byte one is followed by them.
        std::memcpy(masks, h.biSize >= 52 ? reinterpret_cast<const BYTE*>(header) + 40 : after,
                    sizeof masks);
        if (!ValidMasks(masks, h.biBitCount))
            return false;
        SetChannels(view, masks);
    } else if (h.biBitCount == 16) {
        SetChannels(view, kMasks555);
    } else {
        SetChannels(view, kMasks888);
        view.plain32 = true;
    }
    return true;
}

bool DescribeDib(const DibSection& dib, DibPixels& view) {
    if (!dib.bits)
        return false;
    const BITMAPINFOHEADER& h = dib.header;
    view.width = h.biWidth;
    view.height = h.biHeight;
    view.topDown = false;
    view.bitCount = h.biBitCount;
    view.stride = dib.stride;
    view.bits = dib.bits.get();
    if (h.biBitCount <= 8)
        FillLut(view, dib.colors.data(), static_cast<UINT>(dib.colors.size()));
    else if (h.biCompression == BI_BITFIELDS)
        SetChannels(view, dib.masks);
    else
        SetChannels(view, h.biBitCount == 16 ? kMasks555 : kMasks888);
    view.plain32 = h.biBitCount == 32 && h.biCompression == BI_RGB;
    return true;
}

void ConvertRow(const DibPixels& view, LONG y, LONG x, LONG count, std::uint32_t* out) {
    const LONG storedRow = view.topDown ? y : view.height - 1 - y;
    const BYTE* row = view.bits + static_cast<std::ptrdiff_t>(storedRow) * view.stride;
    const LONG end = x + count;
    switch (view.bitCount) {
    case 1:
        for (LONG i = x; i < end; ++i)
            *out++ = view.lut[(row[i >> 3] >> (7 - (i & 7))) & 1];
        break;
    case 4:
        for (LONG i = x; i < end; ++i)
            *out++ = view.lut[(row[i >> 1] >> ((i & 1) ? 0 : 4)) & 0xF];
        break;
    case 8:
        for (LONG i = x; i < end; ++i)
            *out++ = view.lut[row[i]];
        break;
    case 16:
        for (LONG i = x; i < end; ++i)
            *out++ = FromFields(view, DWORD{row[2 * i]} | (DWORD{row[2 * i + 1]} << 8));
        break;
    case 24:
        for (LONG i = x; i < end; ++i) {
            const BYTE* p = row + 3 * i;
            *out++ = 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
        }
        break;
    case 32:
        for (LONG i = x; i < end; ++i) {
            const BYTE* p = row + 4 * i;
            const DWORD px =
                DWORD{p[0]} | (DWORD{p[1]} << 8) | (DWORD{p[2]} << 16) | (DWORD{p[3]} << 24);
            *out++ = view.plain32 ? (0xFF000000u | (px & 0xFFFFFFu)) : FromFields(view, px);
        }
        break;
    default:
        break;
    }
}

} // namespace pibo::gdi
