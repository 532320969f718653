#include "platform/gdi/bmp_reader.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/gdi/dib_limits.h"
#include "platform/gdi/dib_pixels.h"
#include "platform/gdi/large_memory.h"

namespace pibo::gdi {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr DWORD kCoreHeaderSize = 12;

// Little-endian reads that fail instead of reading past the end.
class Bytes {
public:
    explicit Bytes(std::span<const BYTE> d) : data_(d) {}
    std::size_t size() const { return data_.size(); }
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    WORD u16(std::size_t o) const { return static_cast<WORD>(data_[o] | (data_[o + 1] << 8)); }
    DWORD u32(std::size_t o) const {
        return DWORD{data_[o]} | (DWORD{data_[o + 1]} << 8) | (DWORD{data_[o + 2]} << 16) |
               (DWORD{data_[o + 3]} << 24);
    }
    LONG i32(std::size_t o) const { return static_cast<LONG>(u32(o)); }
    const BYTE* at(std::size_t o) const { return data_.data() + o; }

private:
    std::span<const BYTE> data_;
};

struct Header {
    DWORD size = 0;
    LONG width = 0;
    LONG height = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD compression = BI_RGB;
    DWORD sizeImage = 0;
    LONG xPelsPerMeter = 0;
    LONG yPelsPerMeter = 0;
    DWORD clrUsed = 0;
    DWORD clrImportant = 0;
    DWORD masks[3]{};
    bool core = false;
};

std::optional<Header> ReadHeader(const Bytes& in, std::size_t at) {
    if (!in.has(at, 4))
        return std::nullopt;
    Header h;
    h.size = in.u32(at);
    if (!in.has(at, h.size))
        return std::nullopt;
    if (h.size == kCoreHeaderSize) {
        h.core = true;
        h.width = in.u16(at + 4);
        h.height = in.u16(at + 6);
        h.planes = in.u16(at + 8);
        h.bitCount = in.u16(at + 10);
        return h;
    }
    // BITMAPINFOHEADER (40), its forms with masks (52, 56), V4 (108) and V5 (124).
    if (h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 && h.size != 124)
        return std::nullopt;
    h.width = in.i32(at + 4);
    h.height = in.i32(at + 8);
    h.planes = in.u16(at + 12);
    h.bitCount = in.u16(at + 14);
    h.compression = in.u32(at + 16);
    h.sizeImage = in.u32(at + 20);
    h.xPelsPerMeter = in.i32(at + 24);
    h.yPelsPerMeter = in.i32(at + 28);
    h.clrUsed = in.u32(at + 32);
    h.clrImportant = in.u32(at + 36);
    if (h.size >= 52)
        for (int c = 0; c < 3; ++c)
            h.masks[c] = in.u32(at + 40 + 4 * static_cast<std::size_t>(c));
    return h;
}

bool ValidShape(const Header& h) {
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        break;
    case 16:
    case 32:
        if (h.core)
            return false;
        break;
    default:
        return false;
    }
    switch (h.compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
        if (h.bitCount != 8)
            return false;
        break;
    case BI_RLE4:
        if (h.bitCount != 4)
            return false;
        break;
    case BI_BITFIELDS:
        if (h.bitCount != 16 && h.bitCount != 32)
            return false;
        break;
    default:
        return false;
    }
    if (h.planes != 1 || h.width < 1 || h.width > kMaxBitmapSide || h.height == 0 ||
        h.height < -kMaxBitmapSide || h.height > kMaxBitmapSide)
        return false;
    // Compressed bitmaps are bottom-up by definition.
    const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    return !(rle && h.height < 0);
}

// Pixel memory. A compressed picture needs it cleared, since skipped pixels keep index 0; an
// uncompressed one overwrites every byte, padding included.
PixelMemory AllocatePixels(std::size_t bytes, bool cleared) {
    return PixelMemory(AllocateLarge(bytes, cleared));
}

inline void PutPixel(BYTE* row, LONG x, WORD bitCount, BYTE value) {
    if (bitCount == 8) {
        row[x] = value;
    } else {
        BYTE& b = row[x >> 1];
        b = (x & 1) ? static_cast<BYTE>((b & 0xF0) | value)
                    : static_cast<BYTE>((b & 0x0F) | (value << 4));
    }
}

// Decodes BI_RLE8 or BI_RLE4 data into bottom-up rows. Every run must stay inside its row and
// the picture, every index inside the colour table, and the data must end with its end mark.
bool DecodeRle(const Bytes& in, std::size_t from, std::size_t length, DibSection& dib,
               UINT colorCount) {
    const WORD bits = dib.header.biBitCount;
    const LONG width = dib.header.biWidth;
    const LONG height = dib.header.biHeight;
    std::size_t p = from;
    const std::size_t end = from + length;
    LONG x = 0;
    LONG y = 0;
    auto rowAt = [&](LONG r) { return dib.bits.get() + static_cast<std::size_t>(r) * dib.stride; };
    while (true) {
        if (end - p < 2)
            return false; // ran out before the end mark
        const BYTE count = in.at(p)[0];
        const BYTE second = in.at(p)[1];
        p += 2;
        if (count > 0) {
            if (y >= height || count > width - x)
                return false;
            BYTE* row = rowAt(y);
            if (bits == 8) {
                if (second >= colorCount)
                    return false;
                std::memset(row + x, second, count);
            } else {
                const BYTE hi = static_cast<BYTE>(second >> 4);
                const BYTE lo = static_cast<BYTE>(second & 0xF);
                if (hi >= colorCount || (count > 1 && lo >= colorCount))
                    return false;
                for (int i = 0; i < count; ++i)
                    PutPixel(row, x + i, 4, (i & 1) ? lo : hi);
            }
            x += count;
            continue;
        }
        switch (second) {
        case 0: // end of line
            x = 0;
            if (++y > height)
                return false;
            break;
        case 1: // end of bitmap
            return true;
        case 2: // move right and up
            if (end - p < 2)
                return false;
            x += in.at(p)[0];
            y += in.at(p)[1];
            p += 2;
            if (x > width || y > height)
                return false;
            break;
        default: { // a literal run of `second` pixels, padded to an even number of bytes
            const std::size_t bytes = bits == 8 ? second : (second + 1u) / 2;
            const std::size_t padded = bytes + (bytes & 1);
            if (end - p < padded || y >= height || second > width - x)
                return false;
            BYTE* row = rowAt(y);
            const BYTE* src = in.at(p);
            for (int i = 0; i < second; ++i) {
                const BYTE v = bits == 8 ? src[i]
                                         : static_cast<BYTE>((i & 1) ? (src[i >> 1] & 0xF)
                                                                     : (src[i >> 1] >> 4));
                if (v >= colorCount)
                    return false;
                PutPixel(row, x + i, bits, v);
            }
            x += second;
            p += padded;
            break;
        }
        }
    }
}

// True when every pixel of an indexed bitmap names an entry of its colour table.
bool IndicesWithinTable(const DibSection& dib, UINT colorCount) {
    const WORD bits = dib.header.biBitCount;
    if (colorCount >= (1u << bits))
        return true;
    const LONG width = dib.header.biWidth;
    for (LONG y = 0; y < dib.header.biHeight; ++y) {
        const BYTE* row = dib.bits.get() + static_cast<std::size_t>(y) * dib.stride;
        for (LONG x = 0; x < width; ++x) {
            UINT v;
            if (bits == 8)
                v = row[x];
            else if (bits == 4)
                v = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
            else
                v = (row[x >> 3] >> (7 - (x & 7))) & 1;
            if (v >= colorCount)
                return false;
        }
    }
    return true;
}

// The DIB starting at `at`. `pixelOffset` is the file header's offset of the pixels, or nothing
// for a packed DIB, whose pixels follow the colour table.
std::unique_ptr<DibSection> ReadDib(const Bytes& in, std::size_t at,
                                    std::optional<std::size_t> pixelOffset) {
    const std::optional<Header> parsed = ReadHeader(in, at);
    if (!parsed || !ValidShape(*parsed))
        return nullptr;
    const Header& h = *parsed;
    const LONG height = h.height < 0 ? -h.height : h.height;
    const std::size_t stride = DibStride(h.width, h.bitCount);
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
    if (pixelBytes > kMaxPixelBytes)
        return nullptr;

    // Masks: inside headers of 52 bytes and more, after a 40-byte header.
    std::size_t tableAt = at + h.size;
    DWORD masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
    if (h.compression == BI_BITFIELDS) {
        if (h.size == 40) {
            if (!in.has(tableAt, 12))
                return nullptr;
            for (int c = 0; c < 3; ++c)
                masks[c] = in.u32(tableAt + 4 * static_cast<std::size_t>(c));
            tableAt += 12;
        }
        if (!ValidMasks(masks, h.bitCount))
            return nullptr;
    }

    // Colour table: a full one for biClrUsed 0; above 8 bits an optional table that is skipped.
    if (h.clrUsed > kMaxColors)
        return nullptr;
    const UINT fullTable = h.bitCount <= 8 ? (1u << h.bitCount) : 0;
    const UINT tableEntries = (h.clrUsed == 0 || h.core) ? fullTable : h.clrUsed;
    const std::size_t entrySize = h.core ? 3 : 4;
    const std::size_t tableBytes = tableEntries * entrySize;
    if (!in.has(tableAt, tableBytes))
        return nullptr;
    const UINT colorCount = tableEntries < fullTable ? tableEntries : fullTable;
    if (h.bitCount <= 8 && colorCount == 0)
        return nullptr;

    const std::size_t tableEnd = tableAt + tableBytes;
    const std::size_t pixelsAt = pixelOffset.value_or(tableEnd);
    if (pixelsAt < tableEnd || pixelsAt > in.size())
        return nullptr;
    const std::size_t available = in.size() - pixelsAt;
    const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    std::size_t compressed = 0;
    if (rle) {
        compressed = h.sizeImage == 0 ? available : h.sizeImage;
        if (compressed > available)
            return nullptr;
    } else if (pixelBytes > available) {
        return nullptr;
    }

    auto dib = std::make_unique<DibSection>();
    dib->bits = AllocatePixels(pixelBytes, rle);
    if (!dib->bits)
        return nullptr;
    dib->stride = static_cast<LONG>(stride);
    BITMAPINFOHEADER& out = dib->header;
    out.biSize = sizeof(BITMAPINFOHEADER);
    out.biWidth = h.width;
    out.biHeight = height;
    out.biPlanes = 1;
    out.biBitCount = h.bitCount;
    out.biCompression = h.compression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
    out.biSizeImage = static_cast<DWORD>(pixelBytes);
    out.biXPelsPerMeter = h.xPelsPerMeter;
    out.biYPelsPerMeter = h.yPelsPerMeter;
    if (h.bitCount <= 8) {
        out.biClrUsed = (h.clrUsed == 0 || h.core) ? 0 : colorCount;
        out.biClrImportant = h.clrImportant <= colorCount ? h.clrImportant : 0;
        dib->colors.resize(colorCount);
        for (UINT i = 0; i < colorCount; ++i) {
            const BYTE* e = in.at(tableAt + i * entrySize);
            dib->colors[i] = RGBQUAD{e[0], e[1], e[2], 0};
        }
    }
    if (h.compression == BI_BITFIELDS)
        std::memcpy(dib->masks, masks, sizeof masks);

    if (rle) {
        if (!DecodeRle(in, pixelsAt, compressed, *dib, colorCount))
            return nullptr;
        return dib;
    }
    for (LONG r = 0; r < height; ++r) {
        // Stored bottom-up whatever the file's order.
        const LONG target = h.height < 0 ? height - 1 - r : r;
        std::memcpy(dib->bits.get() + static_cast<std::size_t>(target) * stride,
                    in.at(pixelsAt + static_cast<std::size_t>(r) * stride), stride);
    }
    if (h.bitCount <= 8 && !IndicesWithinTable(*dib, colorCount))
        return nullptr;
    return dib;
}

} // namespace

std::unique_ptr<DibSection> ReadBmpFile(std::span<const BYTE> data) {
    const Bytes in(data);
    if (!in.has(0, kFileHeaderSize) || in.u16(0) != 0x4D42) // "BM"
        return nullptr;
    return ReadDib(in, kFileHeaderSize, std::size_t{in.u32(10)});
}

std::unique_ptr<DibSection> ReadPackedDib(std::span<const BYTE> data) {
    return ReadDib(Bytes(data), 0, std::nullopt);
}

} // namespace pibo::gdi
