// A window's kept client area: what is painted into it shows exactly as if it had been painted on
// the window, whether it was kept as pixels or as a description (the erased background, a
// stretched picture), and a later paint of part of it keeps the rest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/dib_pixels.h"
#include "platform/gdi/paint_dib.h"
#include "platform/gdi/retained_surface.h"
#include "tests/unit/gdi_test_surface.h"

namespace {

using pibo::gdi::DibPixels;
using pibo::gdi::Rect;
using pibo::gdi::RetainedSurface;

constexpr QRgb kErase = 0xFFD4D0C8;
constexpr QRgb kMarker = 0xFF00FF00;

struct Loaded {
    explicit Loaded(const bmp_fixtures::Picture& p) : picture(p) {
        dib = pibo::gdi::ReadPackedDib(bmp_fixtures::PackedDib(p));
        EXPECT_NE(dib, nullptr);
        EXPECT_TRUE(pibo::gdi::DescribeDib(*dib, pixels));
    }
    bmp_fixtures::Picture picture;
    std::unique_ptr<DibSection> dib;
    DibPixels pixels;
};

// A paint of the kept area as the view's WM_PAINT makes one, with a context on it.
struct Paint {
    Paint(RetainedSurface& s, QSize size, const QRegion& region) : surface(s) {
        surface.BeginPaint(size, region, kErase);
        dc->retained = &surface;
        dc->width = size.width();
        dc->height = size.height();
    }
    ~Paint() {
        dc.reset();
        surface.EndPaint();
    }
    bool Stretch(const Loaded& l, Rect dst) {
        return pibo::gdi::PaintDib(dc.get(), dst, l.pixels,
                                   {0, 0, l.picture.width, l.picture.height});
    }
    RetainedSurface& surface;
    std::unique_ptr<DeviceContext> dc =
        std::make_unique<DeviceContext>(DeviceContext::Kind::Surface);
};

// What the window system is shown of the surface within `region`; the rest stays the marker.
QImage Shown(RetainedSurface& s, const QRegion& region) {
    QImage image(s.size(), QImage::Format_RGB32);
    image.fill(kMarker);
    QPainter painter(&image);
    s.Present(painter, region);
    return image;
}

QImage Shown(RetainedSurface& s) {
    return Shown(s, QRect(QPoint(0, 0), s.size()));
}

// Pixels of `image` inside `dst` that are not the stretched picture, and outside it that are not
// `outside`.
long Wrong(const QImage& image, const Loaded& l, Rect dst, QRgb outside) {
    long wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool in =
                x >= dst.x && x < dst.x + dst.width && y >= dst.y && y < dst.y + dst.height;
            const std::uint32_t want =
                in ? gdi_test::Nearest(l.picture, 0, 0, l.picture.width, l.picture.height,
                                       dst.width, dst.height, x - dst.x, y - dst.y)
                   : (outside & 0xFFFFFF);
            wrong += (image.pixel(x, y) & 0xFFFFFF) != want ? 1 : 0;
        }
    return wrong;
}

TEST(RetainedSurface, APictureShowsExactlyWhereverItWasStretched) {
    const Loaded indexed(bmp_fixtures::IndexedPicture(23, 17, 4, 16));
    const Loaded trueColour(bmp_fixtures::TrueColorPicture(31, 9, 24));
    struct Case {
        const char* name;
        const Loaded& picture;
        Rect dst;
    };
    const Case cases[] = {
        {"over the whole area", indexed, {0, 0, 61, 37}},
        {"beyond every edge", trueColour, {-5, -3, 70, 44}},
        {"over part of it", indexed, {7, 4, 30, 20}},
        {"shrunk into a corner", trueColour, {0, 0, 9, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RetainedSurface s;
        {
            Paint paint(s, {61, 37}, QRect(0, 0, 61, 37));
            EXPECT_TRUE(paint.Stretch(c.picture, c.dst));
        }
        EXPECT_EQ(Wrong(Shown(s), c.picture, c.dst, kErase), 0);
    }
}

TEST(RetainedSurface, DrawingOverAPictureKeepsThePictureAround) {
    const Loaded l(bmp_fixtures::IndexedPicture(13, 11, 8, 100));
    RetainedSurface s;
    {
        Paint paint(s, {40, 30}, QRect(0, 0, 40, 30));
        ASSERT_TRUE(paint.Stretch(l, {0, 0, 40, 30}));
        pibo::gdi::SurfacePainter(paint.dc.get())->fillRect(10, 10, 5, 4, QColor(kMarker));
    }
    const QImage shown = Shown(s);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool filled = x >= 10 && x < 15 && y >= 10 && y < 14;
            const std::uint32_t want =
                filled ? (kMarker & 0xFFFFFF)
                       : gdi_test::Nearest(l.picture, 0, 0, 13, 11, 40, 30, x, y);
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, want) << x << "," << y;
        }
}

TEST(RetainedSurface, APaintOfPartChangesOnlyThatPart) {
    const Loaded first(bmp_fixtures::IndexedPicture(13, 11, 8, 100));
    const Loaded second(bmp_fixtures::TrueColorPicture(5, 7, 24));
    RetainedSurface s;
    {
        Paint paint(s, {40, 30}, QRect(0, 0, 40, 30));
        ASSERT_TRUE(paint.Stretch(first, {0, 0, 40, 30}));
    }
    const QRect part(20, 5, 10, 12);
    {
        // The second picture covers the surface but may paint only the part.
        Paint paint(s, {40, 30}, part);
        ASSERT_TRUE(paint.Stretch(second, {0, 0, 40, 30}));
    }
    const QImage shown = Shown(s);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t want =
                part.contains(x, y) ? gdi_test::Nearest(second.picture, 0, 0, 5, 7, 40, 30, x, y)
                                    : gdi_test::Nearest(first.picture, 0, 0, 13, 11, 40, 30, x, y);
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, want) << x << "," << y;
        }
}

TEST(RetainedSurface, ANewSizeStartsFromTheErasedBackground) {
    const Loaded l(bmp_fixtures::IndexedPicture(13, 11, 8, 100));
    RetainedSurface s;
    {
        Paint paint(s, {40, 30}, QRect(0, 0, 40, 30));
        ASSERT_TRUE(paint.Stretch(l, {0, 0, 40, 30}));
    }
    {
        // Asked to paint a corner only, the paint covers the whole new size.
        Paint paint(s, {50, 20}, QRect(0, 0, 5, 5));
    }
    ASSERT_EQ(s.size(), QSize(50, 20));
    const QImage shown = Shown(s);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(shown.pixel(x, y), kErase) << x << "," << y;
}

TEST(RetainedSurface, TheLastPictureOfAPaintIsTheOneShown) {
    const Loaded first(bmp_fixtures::IndexedPicture(13, 11, 8, 100));
    const Loaded second(bmp_fixtures::TrueColorPicture(5, 7, 32));
    RetainedSurface s;
    {
        Paint paint(s, {40, 30}, QRect(0, 0, 40, 30));
        ASSERT_TRUE(paint.Stretch(first, {0, 0, 40, 30}));
        ASSERT_TRUE(paint.Stretch(second, {0, 0, 40, 30}));
    }
    EXPECT_EQ(Wrong(Shown(s), second, {0, 0, 40, 30}, kErase), 0);
}

TEST(RetainedSurface, ALargePictureIsPaintedAtOnceAndShowsTheSame) {
    // 2,000 by 1,500 in 24 bits: 9 MB, more than is worth copying.
    const Loaded l(bmp_fixtures::TrueColorPicture(2000, 1500, 24));
    RetainedSurface s;
    {
        Paint paint(s, {64, 48}, QRect(0, 0, 64, 48));
        ASSERT_TRUE(paint.Stretch(l, {0, 0, 64, 48}));
    }
    EXPECT_EQ(Wrong(Shown(s), l, {0, 0, 64, 48}, kErase), 0);
}

TEST(RetainedSurface, TextShowsAsIfDrawnOnTheWindowAndOverAPicture) {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "pibo_unit_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // kept for the rest of the run
    }
    const Loaded l(bmp_fixtures::IndexedPicture(13, 11, 8, 100));
    for (const bool overPicture : {false, true}) {
        SCOPED_TRACE(overPicture ? "over a picture" : "on the background");
        RECT rect{0, 0, 300, 80};
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
        RetainedSurface s;
        int kept = 0;
        {
            Paint paint(s, {300, 80}, QRect(0, 0, 300, 80));
            if (overPicture) {
                ASSERT_TRUE(paint.Stretch(l, {0, 0, 300, 80}));
            }
            kept = DrawTextA(paint.dc.get(), "Press any key to begin!", -1, &rect, format);
        }
        // The same painted on the window at once.
        QImage direct(300, 80, QImage::Format_RGB32);
        direct.fill(kErase);
        int drawn = 0;
        {
            QPainter painter(&direct);
            HDC hdc = CreateSurfaceDC(&painter, 300, 80);
            if (overPicture) {
                ASSERT_TRUE(pibo::gdi::PaintDib(hdc, {0, 0, 300, 80}, l.pixels, {0, 0, 13, 11}));
            }
            drawn = DrawTextA(hdc, "Press any key to begin!", -1, &rect, format);
            DeleteDC(hdc);
        }
        EXPECT_EQ(kept, drawn);
        EXPECT_EQ(Shown(s), direct);
    }
}

TEST(RetainedSurface, ShowingPaintsOnlyTheRegionAsked) {
    const Loaded l(bmp_fixtures::IndexedPicture(13, 11, 8, 100));
    RetainedSurface s;
    {
        Paint paint(s, {40, 30}, QRect(0, 0, 40, 30));
        ASSERT_TRUE(paint.Stretch(l, {0, 0, 40, 30}));
    }
    const QRegion region = QRegion(0, 0, 10, 30) + QRegion(25, 5, 10, 10);
    const QImage shown = Shown(s, region);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t want =
                region.contains(QPoint(x, y))
                    ? gdi_test::Nearest(l.picture, 0, 0, 13, 11, 40, 30, x, y)
                    : (kMarker & 0xFFFFFF);
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, want) << x << "," << y;
        }
}

} // namespace
