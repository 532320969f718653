// The objects behind the graphics handles: an HBITMAP points at a DibSection, an HPALETTE at a
// Palette, both GdiObjects. Plain C++ so that code holding handles can convert them to HGDIOBJ.
#pragma once

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/win/windows.h"

struct GdiObject {
    enum class Kind { Bitmap, Palette };

    explicit GdiObject(Kind k);
    virtual ~GdiObject();
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const Kind kind;
    // Stock objects belong to the platform: deleting one does nothing.
    bool stock = false;
};

struct PixelMemoryDeleter {
    void operator()(BYTE* p) const { std::free(p); }
};
using PixelMemory = std::unique_ptr<BYTE[], PixelMemoryDeleter>;

// A device-independent bitmap section: header, colour table and pixel memory at the bitmap's own
// depth. Rows are stored bottom-up (header.biHeight > 0), each padded to a multiple of 4 bytes.
// header.biCompression is BI_RGB or BI_BITFIELDS (then `masks` holds red, green, blue).
struct DibSection : GdiObject {
    DibSection() : GdiObject(Kind::Bitmap) {}

    BITMAPINFOHEADER header{};
    DWORD masks[3]{};
    std::vector<RGBQUAD> colors; // up to 256 entries; empty above 8 bits per pixel
    LONG stride = 0;             // bytes per row
    PixelMemory bits;
    // The memory device context this bitmap is selected into, if any: a bitmap lives in at most
    // one, and is not deleted while it is there.
    DeviceContext* selectedInto = nullptr;
};

struct Palette : GdiObject {
    Palette() : GdiObject(Kind::Palette) {}

    std::vector<PALETTEENTRY> entries;
    // How many device contexts have this palette selected; it is not deleted while any has.
    int selectCount = 0;
};
