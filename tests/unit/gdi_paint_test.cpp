#include <gtest/gtest.h>

#include <QRegion>
#include <cstring>
#include <memory>
#include <set>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/drawdib.h"
#include "platform/gdi/gdi_probe.h"
#include "tests/unit/gdi_test_surface.h"

// Painting pictures on surfaces: DrawDib and the bit-block transfers put exactly the picture's
// colours on the surface, stretched by whole rows and columns.

namespace {

using bmp_fixtures::Picture;
using gdi_test::CountTouchedOutside;
using gdi_test::CountWrong;
using gdi_test::Surface;

struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// A picture read as the program reads it, with the header DrawDib is given.
struct Loaded {
    explicit Loaded(const Picture& p) : picture(p) {
        dib = pibo::gdi::ReadPackedDib(bmp_fixtures::PackedDib(p));
        EXPECT_NE(dib, nullptr);
        info.header = dib->header;
        if (dib->header.biCompression == BI_BITFIELDS)
            std::memcpy(info.colors, dib->masks, sizeof dib->masks);
        else
            std::copy(dib->colors.begin(), dib->colors.end(), info.colors);
    }
    Picture picture;
    std::unique_ptr<DibSection> dib;
    Info info{};
};

struct DrawDib {
    DrawDib() : hdd(DrawDibOpen()) {}
    ~DrawDib() { DrawDibClose(hdd); }
    HDRAWDIB hdd;
};

BOOL Draw(const DrawDib& dd, const Surface& s, Loaded& l, int x, int y, int w, int h, int sx = 0,
          int sy = 0, int sw = -1, int sh = -1, UINT flags = 0) {
    return DrawDibDraw(dd.hdd, s.hdc, x, y, w, h, &l.info.header, l.dib->bits.get(), sx, sy, sw, sh,
                       flags);
}

TEST(GdiPaint, DrawDibStretchesByWholeRowsAndColumns) {
    struct Case {
        int sw, sh, dw, dh;
    };
    const Case cases[] = {
        {250, 250, 1024, 768}, // the built-in pictures in a common window
        {250, 250, 1913, 1047},
        {250, 250, 250, 250},
        {250, 250, 97, 301}, // shrunk one way,
                             // stretched the other
        {7, 5, 7, 5},
        {3, 2, 10, 1},
        {1, 1, 5, 4},
        {640, 480, 333, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh);
        Loaded l(c.sw == 250 ? bmp_fixtures::BuiltInLikePicture()
                             : bmp_fixtures::IndexedPicture(c.sw, c.sh, 8, 200));
        Surface s(c.dw + 6, c.dh + 4);
        DrawDib dd;
        ASSERT_TRUE(Draw(dd, s, l, 3, 2, c.dw, c.dh));
        EXPECT_EQ(CountWrong(s, l.picture, 3, 2, c.dw, c.dh), 0);
        EXPECT_EQ(CountTouchedOutside(s, 3, 2, c.dw, c.dh), 0);
    }
}

TEST(GdiPaint, AStretchedPictureShowsOnlyItsOwnColours) {
    Loaded l(bmp_fixtures::BuiltInLikePicture());
    Surface s(1280, 1024);
    DrawDib dd;
    ASSERT_TRUE(Draw(dd, s, l, 0, 0, 1280, 1024));
    std::set<std::uint32_t> table;
    for (const RGBQUAD& c : bmp_fixtures::SharedColorTable16())
        table.insert(std::uint32_t{c.rgbRed} << 16 | std::uint32_t{c.rgbGreen} << 8 | c.rgbBlue);
    std::set<std::uint32_t> seen;
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1280; ++x)
            seen.insert(s.rgb(x, y));
    for (std::uint32_t c : seen)
        EXPECT_TRUE(table.count(c)) << std::hex << c;
}

TEST(GdiPaint, EveryDepthPaintsItsColours) {
    const DWORD m565[3] = {0xF800, 0x07E0, 0x001F};
    const std::vector<Picture> pictures = {
        bmp_fixtures::IndexedPicture(37, 9, 1, 2),
        bmp_fixtures::IndexedPicture(37, 9, 4, 11),
        bmp_fixtures::IndexedPicture(37, 9, 8, 256),
        bmp_fixtures::TrueColorPicture(37, 9, 16),
        bmp_fixtures::TrueColorPicture(37, 9, 16, BI_BITFIELDS, m565),
        bmp_fixtures::TrueColorPicture(37, 9, 24),
        bmp_fixtures::TrueColorPicture(37, 9, 32),
    };
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.bitCount);
        Loaded l(p);
        Surface s(80, 30);
        DrawDib dd;
        ASSERT_TRUE(Draw(dd, s, l, 0, 0, 74, 27));
        EXPECT_EQ(CountWrong(s, p, 0, 0, 74, 27), 0);
    }
}

TEST(GdiPaint, DrawDibSizesOfMinusOneMeanTheImagesOwn) {
    Loaded l(bmp_fixtures::IndexedPicture(31, 17, 8, 50));
    Surface s(60, 40);
    DrawDib dd;
    ASSERT_TRUE(Draw(dd, s, l, 5, 6, -1, -1, 0, 0, -1, -1));
    EXPECT_EQ(CountWrong(s, l.picture, 5, 6, 31, 17), 0);
    EXPECT_EQ(CountTouchedOutside(s, 5, 6, 31, 17), 0);
}

TEST(GdiPaint, DrawDibPaintsASourceRectangle) {
    Loaded l(bmp_fixtures::IndexedPicture(40, 30, 4, 16));
    Surface s(100, 100);
    DrawDib dd;
    ASSERT_TRUE(Draw(dd, s, l, 10, 20, 70, 45, 5, 7, 20, 15));
    EXPECT_EQ(CountWrong(s, l.picture, 10, 20, 70, 45, 5, 7, 20, 15), 0);
    EXPECT_EQ(CountTouchedOutside(s, 10, 20, 70, 45), 0);
}

TEST(GdiPaint, DrawDibRefusesWhatItCannotDraw) {
    Loaded l(bmp_fixtures::IndexedPicture(20, 10, 8, 16));
    Surface s(40, 40);
    DrawDib dd;
    EXPECT_FALSE(Draw(dd, s, l, 0, 0, 20, 10, 15, 0, 10, 10)) << "source beyond the picture";
    EXPECT_FALSE(Draw(dd, s, l, 0, 0, 20, 10, -1, 0, 10, 10)) << "source left of the picture";
    EXPECT_FALSE(Draw(dd, s, l, 0, 0, -5, 10)) << "negative width";
    EXPECT_FALSE(DrawDibDraw(nullptr, s.hdc, 0, 0, 5, 5, &l.info.header, l.dib->bits.get(), 0, 0,
                             -1, -1, 0));
    EXPECT_FALSE(DrawDibDraw(dd.hdd, nullptr, 0, 0, 5, 5, &l.info.header, l.dib->bits.get(), 0, 0,
                             -1, -1, 0));
    EXPECT_FALSE(
        DrawDibDraw(dd.hdd, s.hdc, 0, 0, 5, 5, nullptr, l.dib->bits.get(), 0, 0, -1, -1, 0));
    EXPECT_FALSE(DrawDibDraw(dd.hdd, s.hdc, 0, 0, 5, 5, &l.info.header, nullptr, 0, 0, -1, -1, 0));
    Info rle = l.info;
    rle.header.biCompression = BI_RLE8;
    EXPECT_FALSE(
        DrawDibDraw(dd.hdd, s.hdc, 0, 0, 5, 5, &rle.header, l.dib->bits.get(), 0, 0, -1, -1, 0));
    EXPECT_EQ(CountTouchedOutside(s, 0, 0, 0, 0), 0);
    // A screen context has no surface to draw on.
    HDC screen = GetWindowDC(nullptr);
    EXPECT_FALSE(DrawDibDraw(dd.hdd, screen, 0, 0, 5, 5, &l.info.header, l.dib->bits.get(), 0, 0,
                             -1, -1, 0));
    ReleaseDC(nullptr, screen);
}

TEST(GdiPaint, DrawDibKeepsItsFlagsForTests) {
    Loaded l(bmp_fixtures::IndexedPicture(4, 4, 8, 4));
    Surface s(8, 8);
    DrawDib dd;
    Draw(dd, s, l, 0, 0, 8, 8, 0, 0, -1, -1, DDF_BACKGROUNDPAL);
    EXPECT_EQ(pibo::gdi::DrawDibLastFlags(dd.hdd), DDF_BACKGROUNDPAL);
    Draw(dd, s, l, 0, 0, 8, 8, 0, 0, -1, -1, 0);
    EXPECT_EQ(pibo::gdi::DrawDibLastFlags(dd.hdd), 0u);
    EXPECT_EQ(pibo::gdi::DrawDibDrawCount(dd.hdd), 2);
}

// Only what lies on the surface is painted, and the painter's clipping and origin hold.
TEST(GdiPaint, PaintingFollowsTheSurfaceAndThePainter) {
    Loaded l(bmp_fixtures::IndexedPicture(23, 19, 8, 100));
    DrawDib dd;
    {
        SCOPED_TRACE("partly off the surface");
        Surface s(50, 40);
        ASSERT_TRUE(Draw(dd, s, l, -30, -11, 97, 83));
        EXPECT_EQ(CountWrong(s, l.picture, -30, -11, 97, 83), 0);
    }
    {
        SCOPED_TRACE("wholly off the surface");
        Surface s(50, 40);
        ASSERT_TRUE(Draw(dd, s, l, 60, 0, 1 << 30, 1 << 30));
        EXPECT_EQ(CountTouchedOutside(s, 0, 0, 0, 0), 0);
    }
    {
        SCOPED_TRACE("clipped to two rectangles");
        Surface s(60, 60);
        const QRegion clip = QRegion(0, 0, 20, 60) + QRegion(40, 10, 20, 20);
        s.painter.setClipRegion(clip);
        ASSERT_TRUE(Draw(dd, s, l, 0, 0, 60, 60));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const std::uint32_t want =
                    clip.contains(QPoint(x, y))
                        ? gdi_test::Nearest(l.picture, 0, 0, 23, 19, 60, 60, x, y)
                        : (gdi_test::kBackground & 0xFFFFFF);
                ASSERT_EQ(s.rgb(x, y), want) << x << "," << y;
            }
    }
    {
        SCOPED_TRACE("translated origin");
        Surface s(60, 60);
        s.painter.translate(7, 9);
        ASSERT_TRUE(Draw(dd, s, l, 0, 0, 46, 38));
        EXPECT_EQ(CountWrong(s, l.picture, 7, 9, 46, 38), 0);
        EXPECT_EQ(CountTouchedOutside(s, 7, 9, 46, 38), 0);
    }
}

// The same picture through a memory context: BitBlt copies, StretchBlt stretches as DrawDib does.
TEST(GdiPaint, BitBlockTransfersCopyAndStretch) {
    Loaded l(bmp_fixtures::IndexedPicture(30, 20, 4, 16));
    HBITMAP bitmap = l.dib.release();
    HDC mem = CreateCompatibleDC(nullptr);
    ASSERT_NE(SelectObject(mem, bitmap), nullptr);
    {
        Surface s(50, 50);
        ASSERT_TRUE(BitBlt(s.hdc, 4, 6, 30, 20, mem, 0, 0, SRCCOPY));
        EXPECT_EQ(CountWrong(s, l.picture, 4, 6, 30, 20), 0);
        EXPECT_EQ(CountTouchedOutside(s, 4, 6, 30, 20), 0);
    }
    {
        Surface s(50, 50);
        ASSERT_TRUE(BitBlt(s.hdc, 1, 2, 10, 8, mem, 12, 9, SRCCOPY));
        EXPECT_EQ(CountWrong(s, l.picture, 1, 2, 10, 8, 12, 9, 10, 8), 0);
        EXPECT_EQ(CountTouchedOutside(s, 1, 2, 10, 8), 0);
    }
    {
        Surface s(130, 90);
        SetStretchBltMode(s.hdc, COLORONCOLOR);
        ASSERT_TRUE(StretchBlt(s.hdc, 0, 0, 127, 83, mem, 3, 2, 25, 17, SRCCOPY));
        EXPECT_EQ(CountWrong(s, l.picture, 0, 0, 127, 83, 3, 2, 25, 17), 0);
    }
    {
        Surface s(50, 50);
        EXPECT_FALSE(BitBlt(s.hdc, 0, 0, 31, 20, mem, 0, 0, SRCCOPY)) << "beyond the bitmap";
        EXPECT_FALSE(BitBlt(s.hdc, 0, 0, 10, 10, mem, 0, 0, 0x00EE0086)) << "not SRCCOPY";
        EXPECT_FALSE(BitBlt(s.hdc, 0, 0, 10, 10, s.hdc, 0, 0, SRCCOPY)) << "not a memory source";
        EXPECT_FALSE(BitBlt(mem, 0, 0, 10, 10, mem, 0, 0, SRCCOPY)) << "no surface";
        EXPECT_EQ(CountTouchedOutside(s, 0, 0, 0, 0), 0);
    }
    DeleteDC(mem);
    EXPECT_TRUE(DeleteObject(bitmap));
}

} // namespace
