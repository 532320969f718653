#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "media/Dib.h"
#include "platform/gdi/gdi_probe.h"
#include "platform/win/resource_module.h"
#include "res/module.h"
#include "tests/unit/gdi_test_surface.h"

// CDib: loading pictures with their palettes, painting them through DrawDib and through bit-block
// transfers, and what it holds after each step.

namespace {

using bmp_fixtures::Picture;
using gdi_test::CountTouchedOutside;
using gdi_test::CountWrong;
using gdi_test::Surface;
using pibo::gdi::PaletteSelections;

constexpr int kHalftone = 4; // a stretch mode the blit path must leave alone

// The view's way of painting: client rectangle, whole picture, DrawDib, own palette, background.
BOOL PaintLikeTheView(CDib& dib, CDC& dc, const RECT& client) {
    return dib.Paint(&dc, &client, nullptr, TRUE, nullptr, FALSE);
}

// A CDC over a test surface; the surface keeps the context.
struct SurfaceDC : CDC {
    explicit SurfaceDC(Surface& s) { Attach(s.hdc); }
    ~SurfaceDC() override { Detach(); }
};

class DibTest : public testing::Test {
protected:
    std::string Write(const char* name, const Picture& p) {
        const std::string path = dir.path().toStdString() + "/" + name;
        EXPECT_TRUE(bmp_fixtures::WriteFile(path, bmp_fixtures::BmpFile(p)));
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(DibTest, ANewObjectHoldsNothingAndPaintsNothing) {
    CDib dib;
    EXPECT_EQ(dib.GetSafeHandle(), nullptr);
    EXPECT_EQ(dib.m_palette.GetSafeHandle(), nullptr);
    EXPECT_EQ(dib.m_hDrawDib, nullptr);
    EXPECT_EQ(dib.m_bitmapDesc.bmBits, nullptr);
    EXPECT_STREQ(dib.GetRuntimeClass()->m_lpszClassName, "CDib");
    EXPECT_TRUE(dib.IsKindOf(RUNTIME_CLASS(CBitmap)));

    Surface s(64, 48);
    SurfaceDC dc(s);
    HGDIOBJ before = GetCurrentObject(s.hdc, OBJ_PAL);
    const RECT client{0, 0, 64, 48};
    EXPECT_FALSE(PaintLikeTheView(dib, dc, client));
    EXPECT_FALSE(dib.Paint(&dc, nullptr, nullptr, FALSE, nullptr, TRUE));
    EXPECT_EQ(GetCurrentObject(s.hdc, OBJ_PAL), before);
    EXPECT_TRUE(PaletteSelections(s.hdc).empty()) << "the palette is not touched";
    EXPECT_EQ(CountTouchedOutside(s, 0, 0, 0, 0), 0);
    EXPECT_EQ(dib.m_hDrawDib, nullptr);

    RGBQUAD colors[4];
    EXPECT_EQ(dib.ReadColorTable(colors, 4), 0u);
    const SIZE size = BitmapSize(dib);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    EXPECT_FALSE(dib.Release());
    EXPECT_FALSE(dib.Release());
}

TEST_F(DibTest, ABuiltInPictureFillsTheClientAreaWithItsSixteenColours) {
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(129)));
    EXPECT_EQ(dib.m_bitmapDesc.bmWidth, 250);
    EXPECT_EQ(dib.m_bitmapDesc.bmHeight, 250);
    EXPECT_EQ(dib.m_bitmapDesc.bmBitsPixel, 4);
    EXPECT_NE(dib.m_bitmapDesc.bmBits, nullptr);

    const std::vector<PALETTEENTRY> palette = pibo::gdi::PaletteEntries(dib.m_palette);
    const std::vector<RGBQUAD> shared = bmp_fixtures::SharedColorTable16();
    ASSERT_EQ(palette.size(), 16u);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(palette[i].peRed, shared[i].rgbRed) << i;
        EXPECT_EQ(palette[i].peGreen, shared[i].rgbGreen) << i;
        EXPECT_EQ(palette[i].peBlue, shared[i].rgbBlue) << i;
    }

    Surface s(1024, 768);
    SurfaceDC dc(s);
    HGDIOBJ before = GetCurrentObject(s.hdc, OBJ_PAL);
    ASSERT_TRUE(PaintLikeTheView(dib, dc, RECT{0, 0, 1024, 768}));
    long foreign = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            const std::uint32_t c = s.rgb(x, y);
            bool inTable = false;
            for (const RGBQUAD& q : shared)
                inTable |= c == (std::uint32_t{q.rgbRed} << 16 | std::uint32_t{q.rgbGreen} << 8 |
                                 q.rgbBlue);
            foreign += !inTable;
        }
    EXPECT_EQ(foreign, 0) << "the background shows through or colours were blended";

    // Own palette as a background palette, DrawDib told so, the earlier palette back after.
    const auto log = PaletteSelections(s.hdc);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].palette, dib.m_palette.GetSafeHandle());
    EXPECT_TRUE(log[0].background);
    EXPECT_EQ(log[1].palette, before);
    EXPECT_TRUE(log[1].background);
    EXPECT_EQ(GetCurrentObject(s.hdc, OBJ_PAL), before);
    ASSERT_NE(dib.m_hDrawDib, nullptr);
    EXPECT_EQ(pibo::gdi::DrawDibLastFlags(dib.m_hDrawDib), DDF_BACKGROUNDPAL);
}

TEST_F(DibTest, PaintThroughDrawDibMatchesTheNearestNeighbourReference) {
    const Picture p = bmp_fixtures::BuiltInLikePicture();
    const std::string folder = dir.path().toStdString() + "/";
    ASSERT_TRUE(bmp_fixtures::WriteFile(folder + "140.dib", bmp_fixtures::PackedDib(p)));
    ResourceModule module{};
    module.bitmapFolder = folder.c_str();
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(&module, MAKEINTRESOURCE(140)));
    Surface s(1366, 705);
    SurfaceDC dc(s);
    ASSERT_TRUE(PaintLikeTheView(dib, dc, RECT{0, 0, 1366, 705}));
    EXPECT_EQ(CountWrong(s, p, 0, 0, 1366, 705), 0);
}

TEST_F(DibTest, ForegroundSelectsTheGivenPaletteAndDrawDibGetsNoFlag) {
    CDib dib;
    ASSERT_TRUE(
        dib.LoadFromFile(Write("p.bmp", bmp_fixtures::IndexedPicture(20, 10, 8, 30)).c_str()));
    CPalette other;
    ASSERT_TRUE(other.CreateHalftonePalette(nullptr));
    Surface s(40, 20);
    SurfaceDC dc(s);
    HGDIOBJ before = GetCurrentObject(s.hdc, OBJ_PAL);
    const RECT client{0, 0, 40, 20};
    ASSERT_TRUE(dib.Paint(&dc, &client, nullptr, TRUE, &other, TRUE));
    const auto log = PaletteSelections(s.hdc);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].palette, other.GetSafeHandle());
    EXPECT_FALSE(log[0].background);
    EXPECT_EQ(log[1].palette, before);
    EXPECT_TRUE(log[1].background) << "the earlier palette goes back as a background palette";
    EXPECT_EQ(pibo::gdi::DrawDibLastFlags(dib.m_hDrawDib), 0u);
}

TEST_F(DibTest, PalettesFollowTheColourTable) {
    struct Case {
        const char* name;
        Picture picture;
        std::size_t entries;
        UINT tableRead;
    };
    const Case cases[] = {
        {"24 bits: halftone", bmp_fixtures::TrueColorPicture(64, 48, 24), 256, 0},
        {"32 bits: halftone", bmp_fixtures::TrueColorPicture(8, 8, 32), 256, 0},
        {"8 bits, full table", bmp_fixtures::IndexedPicture(16, 16, 8, 256), 256, 256},
        {"8 bits, 40 colours", bmp_fixtures::IndexedPicture(16, 16, 8, 40), 40, 40},
        {"1 bit", bmp_fixtures::IndexedPicture(16, 16, 1, 2), 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDib dib;
        ASSERT_TRUE(dib.LoadFromFile(Write("p.bmp", c.picture).c_str()));
        EXPECT_EQ(pibo::gdi::PaletteEntries(dib.m_palette).size(), c.entries);
        RGBQUAD colors[256];
        EXPECT_EQ(dib.ReadColorTable(colors, 256), c.tableRead);
        if (c.tableRead) {
            const auto entries = pibo::gdi::PaletteEntries(dib.m_palette);
            EXPECT_EQ(entries.back().peRed, c.picture.colors.back().rgbRed);
            EXPECT_EQ(entries.back().peBlue, c.picture.colors.back().rgbBlue);
            EXPECT_EQ(dib.ReadColorTable(colors, 1), 1u);
        }
    }
}

TEST_F(DibTest, EachLoadDeletesTheBitmapBefore) {
    const std::string path = Write("p.bmp", bmp_fixtures::IndexedPicture(8, 8, 4, 16));
    const int bitmaps = pibo::gdi::LiveBitmapCount();
    const int palettes = pibo::gdi::LivePaletteCount();
    {
        CDib dib;
        for (int i = 0; i < 1000; ++i) {
            ASSERT_TRUE(i % 2 ? dib.LoadFromFile(path.c_str())
                              : dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(129 + i % 42)));
        }
        EXPECT_EQ(pibo::gdi::LiveBitmapCount(), bitmaps + 1);
        EXPECT_EQ(pibo::gdi::LivePaletteCount(), palettes + 1);
    }
    EXPECT_EQ(pibo::gdi::LiveBitmapCount(), bitmaps) << "the destructor frees everything";
    EXPECT_EQ(pibo::gdi::LivePaletteCount(), palettes);
}

TEST_F(DibTest, AFailedLoadLeavesTheObjectEmpty) {
    const int bitmaps = pibo::gdi::LiveBitmapCount();
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(130)));
    HGDIOBJ palette = dib.m_palette.GetSafeHandle();
    for (const std::string& path :
         {dir.path().toStdString() + "/missing.bmp", Write("broken.bmp", [] {
              Picture p = bmp_fixtures::IndexedPicture(8, 8, 8, 3);
              p.pixels[5] = 7; // beyond the table
              return p;
          }())}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(dib.LoadFromFile(path.c_str()));
        EXPECT_EQ(dib.GetSafeHandle(), nullptr);
        EXPECT_EQ(pibo::gdi::LiveBitmapCount(), bitmaps) << "the earlier bitmap is gone";
        EXPECT_EQ(dib.m_palette.GetSafeHandle(), palette) << "the palette stays until a success";
        Surface s(20, 20);
        SurfaceDC dc(s);
        const RECT client{0, 0, 20, 20};
        EXPECT_FALSE(PaintLikeTheView(dib, dc, client));
        EXPECT_EQ(CountTouchedOutside(s, 0, 0, 0, 0), 0);
    }
    EXPECT_FALSE(dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(171)));
    EXPECT_FALSE(dib.LoadFromResource(nullptr, MAKEINTRESOURCE(129)));
    EXPECT_FALSE(dib.AttachBitmap(nullptr));
    EXPECT_FALSE(dib.Release()) << "nothing held";
}

TEST_F(DibTest, ThroughTheBlitPath) {
    const Picture p = bmp_fixtures::IndexedPicture(30, 20, 8, 60);
    CDib dib;
    ASSERT_TRUE(dib.LoadFromFile(Write("p.bmp", p).c_str()));
    {
        SCOPED_TRACE("both rectangles null: own size at the origin");
        Surface s(50, 40);
        SurfaceDC dc(s);
        SetStretchBltMode(s.hdc, kHalftone);
        ASSERT_TRUE(dib.Paint(&dc, nullptr, nullptr, FALSE, nullptr, FALSE));
        EXPECT_EQ(CountWrong(s, p, 0, 0, 30, 20), 0);
        EXPECT_EQ(CountTouchedOutside(s, 0, 0, 30, 20), 0);
        EXPECT_EQ(GetStretchBltMode(s.hdc), kHalftone) << "equal sizes: mode untouched";
        EXPECT_EQ(dib.m_hDrawDib, nullptr) << "DrawDib not opened for blits";
    }
    {
        SCOPED_TRACE("equal sizes elsewhere");
        Surface s(50, 40);
        SurfaceDC dc(s);
        const RECT dest{12, 9, 22, 17};
        const RECT source{5, 6, 15, 14};
        ASSERT_TRUE(dib.Paint(&dc, &dest, &source, FALSE, nullptr, FALSE));
        EXPECT_EQ(CountWrong(s, p, 12, 9, 10, 8, 5, 6, 10, 8), 0);
        EXPECT_EQ(CountTouchedOutside(s, 12, 9, 10, 8), 0);
        EXPECT_EQ(GetStretchBltMode(s.hdc), BLACKONWHITE);
    }
    {
        SCOPED_TRACE("stretched");
        Surface s(200, 150);
        SurfaceDC dc(s);
        const RECT dest{0, 0, 197, 143};
        ASSERT_TRUE(dib.Paint(&dc, &dest, nullptr, FALSE, nullptr, FALSE));
        EXPECT_EQ(CountWrong(s, p, 0, 0, 197, 143), 0);
        EXPECT_EQ(GetStretchBltMode(s.hdc), COLORONCOLOR) << "the mode stays set";
    }
    {
        SCOPED_TRACE("BlitBitmap on its own");
        Surface s(50, 40);
        SurfaceDC dc(s);
        ASSERT_TRUE(BlitBitmap(&dc, dib, nullptr, nullptr));
        EXPECT_EQ(CountWrong(s, p, 0, 0, 30, 20), 0);
        CBitmap empty;
        EXPECT_FALSE(BlitBitmap(&dc, empty, nullptr, nullptr));
        const SIZE size = BitmapSize(dib);
        EXPECT_EQ(size.cx, 30);
        EXPECT_EQ(size.cy, 20);
    }
}

TEST_F(DibTest, DrawDibWithNullRectanglesPaintsAtOwnSizeOrTheSourcesPlace) {
    const Picture p = bmp_fixtures::IndexedPicture(30, 20, 4, 16);
    CDib dib;
    ASSERT_TRUE(dib.LoadFromFile(Write("p.bmp", p).c_str()));
    {
        Surface s(50, 40);
        SurfaceDC dc(s);
        ASSERT_TRUE(dib.Paint(&dc, nullptr, nullptr, TRUE, nullptr, FALSE));
        EXPECT_EQ(CountWrong(s, p, 0, 0, 30, 20), 0);
        EXPECT_EQ(CountTouchedOutside(s, 0, 0, 30, 20), 0);
    }
    {
        Surface s(50, 40);
        SurfaceDC dc(s);
        const RECT source{4, 3, 14, 11};
        ASSERT_TRUE(dib.Paint(&dc, nullptr, &source, TRUE, nullptr, FALSE));
        EXPECT_EQ(CountWrong(s, p, 4, 3, 10, 8, 4, 3, 10, 8), 0);
        EXPECT_EQ(CountTouchedOutside(s, 4, 3, 10, 8), 0);
    }
}

// Pictures whose masks stand where the colour table would: DrawDib gets the masks.
TEST_F(DibTest, BitFieldPicturesPaintTheirColours) {
    const DWORD m565[3] = {0xF800, 0x07E0, 0x001F};
    const Picture p = bmp_fixtures::TrueColorPicture(40, 30, 16, BI_BITFIELDS, m565);
    CDib dib;
    ASSERT_TRUE(dib.LoadFromFile(Write("p.bmp", p).c_str()));
    Surface s(90, 70);
    SurfaceDC dc(s);
    const RECT client{0, 0, 90, 70};
    ASSERT_TRUE(PaintLikeTheView(dib, dc, client));
    EXPECT_EQ(CountWrong(s, p, 0, 0, 90, 70), 0);
}

TEST_F(DibTest, APaletteThatCannotBeMadeFailsTheLoadButThePictureStillPaints) {
    const Picture p = bmp_fixtures::IndexedPicture(10, 10, 8, 5);
    const std::string path = Write("p.bmp", p);
    CDib dib;
    pibo::gdi::FailNext(pibo::gdi::GdiFault::CreatePalette);
    EXPECT_FALSE(dib.LoadFromFile(path.c_str()));
    EXPECT_NE(dib.GetSafeHandle(), nullptr) << "the bitmap stays held";
    EXPECT_EQ(dib.m_palette.GetSafeHandle(), nullptr);
    Surface s(20, 20);
    SurfaceDC dc(s);
    HGDIOBJ before = GetCurrentObject(s.hdc, OBJ_PAL);
    const RECT client{0, 0, 20, 20};
    EXPECT_TRUE(PaintLikeTheView(dib, dc, client));
    EXPECT_EQ(CountWrong(s, p, 0, 0, 20, 20), 0);
    EXPECT_TRUE(PaletteSelections(s.hdc).empty()) << "an empty palette cannot be selected";
    EXPECT_EQ(GetCurrentObject(s.hdc, OBJ_PAL), before);

    pibo::gdi::FailNext(pibo::gdi::GdiFault::CreateHalftonePalette);
    EXPECT_FALSE(
        dib.LoadFromFile(Write("t.bmp", bmp_fixtures::TrueColorPicture(4, 4, 24)).c_str()));
    EXPECT_NE(dib.GetSafeHandle(), nullptr);
    EXPECT_TRUE(dib.LoadFromFile(path.c_str()));
    EXPECT_NE(dib.m_palette.GetSafeHandle(), nullptr);
}

TEST_F(DibTest, DrawDibThatCannotOpenOrDrawFailsAndRestoresThePalette) {
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(165)));
    Surface s(30, 30);
    SurfaceDC dc(s);
    HGDIOBJ before = GetCurrentObject(s.hdc, OBJ_PAL);
    const RECT client{0, 0, 30, 30};

    pibo::gdi::FailNext(pibo::gdi::GdiFault::DrawDibOpen);
    EXPECT_FALSE(PaintLikeTheView(dib, dc, client));
    EXPECT_EQ(dib.m_hDrawDib, nullptr);
    EXPECT_EQ(GetCurrentObject(s.hdc, OBJ_PAL), before);
    EXPECT_EQ(CountTouchedOutside(s, 0, 0, 0, 0), 0);

    pibo::gdi::FailNext(pibo::gdi::GdiFault::DrawDibDraw);
    EXPECT_FALSE(PaintLikeTheView(dib, dc, client)) << "the handle opens, the drawing fails";
    EXPECT_NE(dib.m_hDrawDib, nullptr);
    EXPECT_EQ(GetCurrentObject(s.hdc, OBJ_PAL), before);

    HDRAWDIB opened = dib.m_hDrawDib;
    EXPECT_TRUE(PaintLikeTheView(dib, dc, client));
    EXPECT_EQ(dib.m_hDrawDib, opened) << "kept across paints";
    EXPECT_TRUE(dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(166)));
    EXPECT_EQ(dib.m_hDrawDib, opened) << "and across loads";
    EXPECT_TRUE(dib.Release());
    EXPECT_EQ(dib.m_hDrawDib, nullptr);
    EXPECT_EQ(dib.m_palette.GetSafeHandle(), nullptr);
    EXPECT_EQ(dib.m_bitmapDesc.bmWidth, 0);
}

// A bitmap whose description cannot be read is not kept, and nothing paints from the pixels of
// the bitmap before it.
TEST_F(DibTest, AnUnreadableDescriptionLeavesNothingToPaint) {
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(131)));
    const int bitmaps = pibo::gdi::LiveBitmapCount();
    pibo::gdi::FailNext(pibo::gdi::GdiFault::GetObject);
    EXPECT_FALSE(dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(132)));
    EXPECT_EQ(dib.m_bitmapDesc.bmBits, nullptr);
    EXPECT_EQ(dib.GetSafeHandle(), nullptr);
    EXPECT_EQ(pibo::gdi::LiveBitmapCount(), bitmaps - 1);
    Surface s(30, 30);
    SurfaceDC dc(s);
    const RECT client{0, 0, 30, 30};
    EXPECT_FALSE(PaintLikeTheView(dib, dc, client));
    EXPECT_EQ(CountTouchedOutside(s, 0, 0, 0, 0), 0);
}

} // namespace
