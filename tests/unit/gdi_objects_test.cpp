#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <tuple>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_probe.h"
#include "tests/support/bmp_fixtures.h"

// Bitmaps, palettes and device contexts as the picture code uses them: descriptions, colour
// tables, selection and deletion.

namespace {

HBITMAP MakeBitmap(const bmp_fixtures::Picture& p) {
    return pibo::gdi::ReadPackedDib(bmp_fixtures::PackedDib(p)).release();
}

LOGPALETTE* Log(std::vector<BYTE>& storage, WORD version, WORD count) {
    storage.assign(4 + 4 * std::size_t{count ? count : 1u}, 0);
    auto* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
    lp->palVersion = version;
    lp->palNumEntries = count;
    for (WORD i = 0; i < count; ++i)
        lp->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i), 2, 3, 0x01 /* PC_RESERVED */};
    return lp;
}

TEST(GdiObjects, GetObjectDescribesABitmapAndItsSection) {
    HBITMAP bitmap = MakeBitmap(bmp_fixtures::IndexedPicture(21, 13, 4, 16));
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof(BITMAP), &bm), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(bm.bmType, 0);
    EXPECT_EQ(bm.bmWidth, 21);
    EXPECT_EQ(bm.bmHeight, 13);
    EXPECT_EQ(bm.bmWidthBytes, 12);
    EXPECT_EQ(bm.bmPlanes, 1);
    EXPECT_EQ(bm.bmBitsPixel, 4);
    EXPECT_EQ(bm.bmBits, bitmap->bits.get());

    // The 64-bit DIBSECTION: the section's header follows the BITMAP record.
    BYTE raw[sizeof(DIBSECTION)];
    ASSERT_EQ(GetObjectA(bitmap, sizeof raw, raw), static_cast<int>(sizeof(DIBSECTION)));
    BITMAPINFOHEADER header;
    std::memcpy(&header, raw + sizeof(BITMAP), sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 21);
    EXPECT_EQ(header.biHeight, 13);
    EXPECT_EQ(header.biBitCount, 4);
    EXPECT_EQ(header.biCompression, BI_RGB);

    EXPECT_EQ(GetObjectA(bitmap, sizeof(BITMAP) - 1, &bm), 0);
    EXPECT_EQ(GetObjectA(bitmap, sizeof(BITMAP), nullptr), 0);
    EXPECT_EQ(GetObjectA(nullptr, sizeof(BITMAP), &bm), 0);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(GdiObjects, GetObjectGivesTheMasksOfABitFieldSection) {
    const DWORD m565[3] = {0xF800, 0x07E0, 0x001F};
    HBITMAP bitmap = MakeBitmap(bmp_fixtures::TrueColorPicture(4, 4, 16, BI_BITFIELDS, m565));
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biCompression, BI_BITFIELDS);
    EXPECT_EQ(ds.dsBitfields[0], 0xF800u);
    EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);
    EXPECT_EQ(ds.dsBitfields[2], 0x001Fu);
    DeleteObject(bitmap);
}

TEST(GdiObjects, ColourTableThroughAMemoryContext) {
    HBITMAP bitmap = MakeBitmap(bmp_fixtures::IndexedPicture(8, 8, 8, 40));
    HBITMAP trueColour = MakeBitmap(bmp_fixtures::TrueColorPicture(8, 8, 24));
    HDC screen = GetWindowDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    RGBQUAD colors[256];

    EXPECT_EQ(GetDIBColorTable(mem, 0, 256, colors), 0u) << "nothing selected yet";
    HGDIOBJ stock = SelectObject(mem, bitmap);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(GetCurrentObject(mem, OBJ_BITMAP), bitmap);
    EXPECT_EQ(GetDIBColorTable(mem, 0, 256, colors), 40u);
    EXPECT_EQ(GetDIBColorTable(mem, 0, 5, colors), 5u);
    EXPECT_EQ(GetDIBColorTable(mem, 38, 10, colors), 2u);
    const std::vector<RGBQUAD> want = bmp_fixtures::DistinctColors(40);
    EXPECT_EQ(colors[0].rgbRed, want[38].rgbRed);
    EXPECT_EQ(GetDIBColorTable(mem, 40, 10, colors), 0u);

    EXPECT_EQ(SelectObject(mem, trueColour), bitmap);
    EXPECT_EQ(GetDIBColorTable(mem, 0, 256, colors), 0u) << "no table above 8 bits";
    EXPECT_EQ(SelectObject(mem, stock), trueColour);

    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    DeleteObject(trueColour);
}

// A bitmap lives in one memory context at a time and is not freed while it is selected.
TEST(GdiObjects, SelectedBitmapsStay) {
    const int before = pibo::gdi::LiveBitmapCount();
    HBITMAP bitmap = MakeBitmap(bmp_fixtures::IndexedPicture(4, 4, 1, 2));
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    ASSERT_NE(SelectObject(first, bitmap), nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(pibo::gdi::LiveBitmapCount(), before + 1);
    DeleteDC(first);
    EXPECT_NE(SelectObject(second, bitmap), nullptr) << "free again once its context is gone";
    DeleteDC(second);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(pibo::gdi::LiveBitmapCount(), before);
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(GdiObjects, SelectObjectTakesBitmapsIntoMemoryContextsOnly) {
    HBITMAP bitmap = MakeBitmap(bmp_fixtures::IndexedPicture(4, 4, 1, 2));
    std::vector<BYTE> storage;
    HPALETTE palette = CreatePalette(Log(storage, 0x300, 4));
    HDC screen = GetWindowDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    EXPECT_EQ(SelectObject(screen, bitmap), nullptr);
    EXPECT_EQ(SelectObject(mem, palette), nullptr);
    EXPECT_EQ(SelectObject(mem, nullptr), nullptr);
    EXPECT_EQ(SelectObject(nullptr, bitmap), nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, mem), 0) << "a memory context is deleted, not released";
    EXPECT_TRUE(DeleteDC(mem));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(GetWindowDC(reinterpret_cast<HWND>(8)), nullptr) << "only the whole screen";
    DeleteObject(bitmap);
    DeleteObject(palette);
}

TEST(GdiObjects, CreatePaletteTakesAVersion3Record) {
    std::vector<BYTE> storage;
    HPALETTE palette = CreatePalette(Log(storage, 0x300, 16));
    ASSERT_NE(palette, nullptr);
    const std::vector<PALETTEENTRY> entries = pibo::gdi::PaletteEntries(palette);
    ASSERT_EQ(entries.size(), 16u);
    EXPECT_EQ(entries[9].peRed, 9);
    EXPECT_EQ(entries[9].peGreen, 2);
    EXPECT_EQ(entries[9].peBlue, 3);
    WORD count = 0;
    EXPECT_EQ(GetObjectA(palette, sizeof count, &count), 2);
    EXPECT_EQ(count, 16);
    EXPECT_TRUE(DeleteObject(palette));

    EXPECT_EQ(CreatePalette(nullptr), nullptr);
    EXPECT_EQ(CreatePalette(Log(storage, 0x200, 16)), nullptr);
    EXPECT_EQ(CreatePalette(Log(storage, 0x300, 0)), nullptr);
    EXPECT_EQ(CreatePalette(Log(storage, 0x300, 257)), nullptr);
}

TEST(GdiObjects, HalftonePaletteSpreadsOverTheColourSpace) {
    HDC screen = GetWindowDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(palette, nullptr);
    const std::vector<PALETTEENTRY> entries = pibo::gdi::PaletteEntries(palette);
    ASSERT_EQ(entries.size(), 256u);
    std::set<std::tuple<int, int, int>> distinct;
    for (const PALETTEENTRY& e : entries)
        distinct.insert({e.peRed, e.peGreen, e.peBlue});
    EXPECT_EQ(distinct.size(), 256u);
    // Every colour has a palette entry within one step of the colour cube.
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                int best = 1 << 30;
                for (const auto& [pr, pg, pb] : distinct)
                    best = std::min(best, std::abs(pr - r) + std::abs(pg - g) + std::abs(pb - b));
                ASSERT_LE(best, 3 * 26) << r << "," << g << "," << b;
            }
    DeleteObject(palette);
}

TEST(GdiObjects, SelectPaletteReturnsThePreviousAndRemembersHow) {
    std::vector<BYTE> storage;
    HPALETTE first = CreatePalette(Log(storage, 0x300, 4));
    HPALETTE second = CreatePalette(Log(storage, 0x300, 8));
    HDC mem = CreateCompatibleDC(nullptr);
    HPALETTE initial = static_cast<HPALETTE>(GetCurrentObject(mem, OBJ_PAL));
    ASSERT_NE(initial, nullptr) << "every context starts with the default palette";

    EXPECT_EQ(SelectPalette(mem, first, FALSE), initial);
    EXPECT_EQ(GetCurrentObject(mem, OBJ_PAL), first);
    EXPECT_FALSE(pibo::gdi::IsBackgroundPalette(mem));
    EXPECT_EQ(RealizePalette(mem), 4u);
    EXPECT_EQ(SelectPalette(mem, second, TRUE), first);
    EXPECT_TRUE(pibo::gdi::IsBackgroundPalette(mem));
    EXPECT_EQ(SelectPalette(mem, nullptr, TRUE), nullptr) << "no palette to select";
    EXPECT_EQ(GetCurrentObject(mem, OBJ_PAL), second);

    EXPECT_FALSE(DeleteObject(second)) << "still selected";
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_EQ(SelectPalette(mem, initial, TRUE), second);
    EXPECT_TRUE(DeleteObject(second));

    const std::vector<pibo::gdi::PaletteSelection> log = pibo::gdi::PaletteSelections(mem);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].background, FALSE);
    EXPECT_EQ(log[1].background, TRUE);
    EXPECT_EQ(log[2].palette, initial);
    DeleteDC(mem);
    EXPECT_TRUE(DeleteObject(initial)) << "deleting a stock object does nothing";
    HDC again = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetCurrentObject(again, OBJ_PAL), initial);
    DeleteDC(again);
}

TEST(GdiObjects, StretchModeStartsAtBlackOnWhite) {
    HDC mem = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetStretchBltMode(mem), BLACKONWHITE);
    EXPECT_EQ(SetStretchBltMode(mem, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(GetStretchBltMode(mem), COLORONCOLOR);
    EXPECT_EQ(SetStretchBltMode(mem, 9), 0);
    EXPECT_EQ(GetStretchBltMode(mem), COLORONCOLOR);
    DeleteDC(mem);
    EXPECT_EQ(SetStretchBltMode(nullptr, COLORONCOLOR), 0);
}

} // namespace
