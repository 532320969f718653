// Bitmaps, palettes and what a device context holds: creation counts, descriptions, selection and
// deletion.
#include <algorithm>
#include <cstring>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_probe.h"

namespace {

int g_liveBitmaps = 0;
int g_livePalettes = 0;

} // namespace

GdiObject::GdiObject(Kind k) : kind(k) {
    ++(kind == Kind::Bitmap ? g_liveBitmaps : g_livePalettes);
}

GdiObject::~GdiObject() {
    --(kind == Kind::Bitmap ? g_liveBitmaps : g_livePalettes);
}

namespace pibo::gdi {

// The palette every device context starts with: the twenty static colours of the system.
Palette* DefaultPalette() {
    static Palette* palette = [] {
        static const BYTE kColors[20][3] = {
            {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
            {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
            {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
            {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        auto* p = new Palette;
        p->stock = true;
        for (const auto& c : kColors)
            p->entries.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
        return p;
    }();
    return palette;
}

// The bitmap every memory context starts with: one black pixel.
DibSection* StockBitmap() {
    static DibSection* bitmap = [] {
        auto* b = new DibSection;
        b->stock = true;
        b->header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1, 1, 1, 1, BI_RGB, 4, 0, 0, 0, 0};
        b->colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        b->stride = 4;
        b->bits = PixelMemory(static_cast<BYTE*>(std::calloc(4, 1)));
        return b;
    }();
    return bitmap;
}

// The stock objects are made on first use; counting makes them first, so that a count taken before
// and after some work differs by what that work left.
int LiveBitmapCount() {
    StockBitmap();
    return g_liveBitmaps;
}

int LivePaletteCount() {
    DefaultPalette();
    return g_livePalettes;
}

} // namespace pibo::gdi

DeviceContext::DeviceContext(Kind k) : kind(k) {
    palette = pibo::gdi::DefaultPalette();
    ++palette->selectCount;
    bitmap = pibo::gdi::StockBitmap();
}

DeviceContext::~DeviceContext() {
    --palette->selectCount;
    if (bitmap->selectedInto == this)
        bitmap->selectedInto = nullptr;
}

int GetObjectA(HGDIOBJ hObject, int cbBuffer, LPVOID pv) {
    if (!hObject || !pv || cbBuffer <= 0 || pibo::gdi::TakeFault(pibo::gdi::GdiFault::GetObject))
        return 0;
    const auto size = static_cast<std::size_t>(cbBuffer);
    if (hObject->kind == GdiObject::Kind::Palette) {
        if (size < sizeof(WORD))
            return 0;
        const auto count = static_cast<WORD>(static_cast<Palette*>(hObject)->entries.size());
        std::memcpy(pv, &count, sizeof count);
        return sizeof(WORD);
    }
    const auto* dib = static_cast<const DibSection*>(hObject);
    if (size < sizeof(BITMAP))
        return 0;
    DIBSECTION ds{};
    ds.dsBm.bmType = 0;
    ds.dsBm.bmWidth = dib->header.biWidth;
    ds.dsBm.bmHeight = dib->header.biHeight;
    ds.dsBm.bmWidthBytes = dib->stride;
    ds.dsBm.bmPlanes = 1;
    ds.dsBm.bmBitsPixel = dib->header.biBitCount;
    ds.dsBm.bmBits = dib->bits.get();
    if (size < sizeof(DIBSECTION)) {
        std::memcpy(pv, &ds.dsBm, sizeof(BITMAP));
        return sizeof(BITMAP);
    }
    ds.dsBmih = dib->header;
    if (dib->header.biCompression == BI_BITFIELDS)
        std::memcpy(ds.dsBitfields, dib->masks, sizeof ds.dsBitfields);
    std::memcpy(pv, &ds, sizeof ds);
    return sizeof(DIBSECTION);
}

BOOL DeleteObject(HGDIOBJ ho) {
    if (!ho)
        return FALSE;
    if (ho->stock)
        return TRUE;
    // An object still selected into a device context stays: the context would paint from freed
    // memory otherwise.
    if (ho->kind == GdiObject::Kind::Bitmap && static_cast<DibSection*>(ho)->selectedInto)
        return FALSE;
    if (ho->kind == GdiObject::Kind::Palette && static_cast<Palette*>(ho)->selectCount > 0)
        return FALSE;
    delete ho;
    return TRUE;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    if (!hdc)
        return nullptr;
    if (type == static_cast<UINT>(OBJ_PAL))
        return hdc->palette;
    if (type == static_cast<UINT>(OBJ_BITMAP))
        return hdc->bitmap;
    return nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    // Only bitmaps go through here (palettes through SelectPalette), and only into memory contexts.
    if (!hdc || !h || h->kind != GdiObject::Kind::Bitmap ||
        hdc->kind != DeviceContext::Kind::Memory)
        return nullptr;
    auto* bitmap = static_cast<DibSection*>(h);
    if (bitmap->selectedInto && bitmap->selectedInto != hdc)
        return nullptr;
    DibSection* previous = hdc->bitmap;
    if (previous->selectedInto == hdc)
        previous->selectedInto = nullptr;
    hdc->bitmap = bitmap;
    if (!bitmap->stock)
        bitmap->selectedInto = hdc;
    return previous;
}

UINT GetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, RGBQUAD* prgbq) {
    if (!hdc || !prgbq || hdc->kind != DeviceContext::Kind::Memory || hdc->bitmap->stock)
        return 0;
    const std::vector<RGBQUAD>& colors = hdc->bitmap->colors;
    if (iStart >= colors.size())
        return 0;
    const auto n = static_cast<UINT>(std::min<std::size_t>(cEntries, colors.size() - iStart));
    std::copy_n(colors.begin() + iStart, n, prgbq);
    return n;
}
