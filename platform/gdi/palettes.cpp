// Logical palettes and their selection into device contexts. Surfaces are true colour, so a
// palette changes no painted colour; what is selected, and how, is kept for the program's logic
// and for tests.
#include "platform/gdi/device_context.h"
#include "platform/gdi/dib_limits.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_probe.h"

namespace {

constexpr WORD kPaletteVersion = 0x300;

} // namespace

HPALETTE CreatePalette(const LOGPALETTE* plpal) {
    if (!plpal || plpal->palVersion != kPaletteVersion || plpal->palNumEntries == 0 ||
        plpal->palNumEntries > pibo::gdi::kMaxColors ||
        pibo::gdi::TakeFault(pibo::gdi::GdiFault::CreatePalette))
        return nullptr;
    auto* palette = new Palette;
    palette->entries.assign(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries);
    for (PALETTEENTRY& e : palette->entries)
        e.peFlags = 0;
    return palette;
}

// A palette for pictures without a colour table: the 6x6x6 colour cube and forty greys between
// its levels, 256 colours spread evenly over the colour space.
HPALETTE CreateHalftonePalette(HDC) {
    if (pibo::gdi::TakeFault(pibo::gdi::GdiFault::CreateHalftonePalette))
        return nullptr;
    auto* palette = new Palette;
    palette->entries.reserve(256);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette->entries.push_back(PALETTEENTRY{static_cast<BYTE>(r * 51),
                                                        static_cast<BYTE>(g * 51),
                                                        static_cast<BYTE>(b * 51), 0});
    for (int k = 1; k <= 40; ++k) {
        const auto v = static_cast<BYTE>(k * 255 / 41);
        palette->entries.push_back(PALETTEENTRY{v, v, v, 0});
    }
    return palette;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBackground) {
    if (!hdc || !hPal)
        return nullptr;
    Palette* previous = hdc->palette;
    --previous->selectCount;
    ++hPal->selectCount;
    hdc->palette = hPal;
    hdc->paletteBackground = bForceBackground != FALSE;
    hdc->paletteLog[hdc->paletteLogCount % hdc->paletteLog.size()] = {hPal, bForceBackground};
    ++hdc->paletteLogCount;
    return previous;
}

UINT RealizePalette(HDC hdc) {
    if (!hdc)
        return 0xFFFFFFFFu; // GDI_ERROR
    return static_cast<UINT>(hdc->palette->entries.size());
}

namespace pibo::gdi {

std::vector<PaletteSelection> PaletteSelections(HDC hdc) {
    std::vector<PaletteSelection> out;
    if (!hdc)
        return out;
    const unsigned size = static_cast<unsigned>(hdc->paletteLog.size());
    const unsigned count = hdc->paletteLogCount < size ? hdc->paletteLogCount : size;
    for (unsigned i = hdc->paletteLogCount - count; i < hdc->paletteLogCount; ++i) {
        const auto& s = hdc->paletteLog[i % size];
        out.push_back({s.palette, s.background});
    }
    return out;
}

BOOL IsBackgroundPalette(HDC hdc) {
    return hdc && hdc->paletteBackground ? TRUE : FALSE;
}

std::vector<PALETTEENTRY> PaletteEntries(HPALETTE hPal) {
    return hPal ? hPal->entries : std::vector<PALETTEENTRY>{};
}

} // namespace pibo::gdi
