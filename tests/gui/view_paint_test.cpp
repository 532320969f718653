// What the view paints: the prompt on one line in the middle of the client area on the window
// colour, and after a key the picture stretched over the whole client area.
#include <algorithm>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPalette>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "res/module.h"
#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;

// A built-in picture, decoded here from its resource: 250 by 250, 4 bits, bottom-up rows.
struct BuiltIn {
    explicit BuiltIn(int number) {
        QFile f(QString(":/pictures/%1.dib").arg(number));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        data = f.readAll();
    }
    QRgb at(int x, int y) const {
        const int row = 249 - y;
        const auto byte = static_cast<unsigned char>(data[104 + row * 128 + x / 2]);
        const int index = (x % 2 == 0) ? byte >> 4 : byte & 15;
        const auto* c = reinterpret_cast<const unsigned char*>(data.constData()) + 40 + index * 4;
        return qRgb(c[2], c[1], c[0]);
    }
    QByteArray data;
};

QImage Grab(QWidget* client) {
    return client->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(ViewPaint, ThePromptStandsOnOneLineInTheMiddleOnTheWindowColour) {
    Program p;
    ASSERT_TRUE(p.Start());
    QWidget* client = p.client();
    const QImage img = Grab(client);
    ASSERT_EQ(img.width(), client->width());
    const QRgb background = client->palette().color(QPalette::Window).rgb();

    int left = img.width(), right = -1, top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if ((img.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, 0) << "nothing drawn";
    const int lineHeight = client->fontMetrics().height();
    EXPECT_LE(bottom - top + 1, lineHeight);
    EXPECT_GE(right - left + 1,
              client->fontMetrics().horizontalAdvance("Press any key to begin!") - 4);
    EXPECT_NEAR((left + right) / 2.0, img.width() / 2.0, 2.0);
    EXPECT_NEAR((top + bottom) / 2.0, img.height() / 2.0, lineHeight / 2.0);
}

TEST(ViewPaint, AKeyPaintsItsPictureStretchedOverTheClientAreaBeforeItsSound) {
    Program p;
    ASSERT_TRUE(p.Start());
    p.frameWidget()->showNormal();
    p.frameWidget()->resize(640, 300); // wider than high: no proportions kept
    for (int i = 0; i < 100 && p.frameWidget()->size() != QSize(640, 300); ++i)
        gui_test::ProcessEvents(10);
    ASSERT_EQ(p.frameWidget()->size(), QSize(640, 300));
    p.sounds.clear();
    bool paintedBeforeSound = false;
    p.windows.onEvent = [&](const pibo::framework::WindowEvent& e) {
        if (e.kind == pibo::framework::WindowEvent::Kind::Paint && p.sounds.requests().empty())
            paintedBeforeSound = true;
    };
    p.view()->SendMessage(WM_KEYDOWN, 'A', MAKELPARAM(1, 0x1E));
    EXPECT_TRUE(paintedBeforeSound);

    QWidget* client = p.client();
    const QImage img = Grab(client);
    const int w = img.width(), h = img.height();
    ASSERT_GT(w, h);
    const BuiltIn picture(129);
    int mismatches = 0;
    for (int y = 0; y < h; y += 7) {
        for (int x = 0; x < w; x += 7) {
            const int sx = x * 250 / w, sy = y * 250 / h;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = picture.at(std::clamp(sx + dx, 0, 249), std::clamp(sy + dy, 0, 249)) ==
                            (img.pixel(x, y) | 0xFF000000);
            mismatches += found ? 0 : 1;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // The corners are the picture's, not the window colour.
    EXPECT_EQ(img.pixel(0, 0) | 0xFF000000, picture.at(0, 0));
    EXPECT_EQ(img.pixel(w - 1, h - 1) | 0xFF000000, picture.at(249, 249));
}

TEST(ViewPaint, APictureThatCannotLoadLeavesTheClientAreaBlank) {
    static const ResourceModule noPictures{":/no-such-folder/",
                                           g_piboModule.strings,
                                           g_piboModule.stringCount,
                                           nullptr,
                                           nullptr,
                                           0,
                                           nullptr,
                                           0};
    Program p;
    ASSERT_TRUE(p.Start());
    AfxSetResourceHandle(&noPictures);
    p.view()->SendMessage(WM_KEYDOWN, 'A', MAKELPARAM(1, 0x1E));
    AfxSetResourceHandle(&g_piboModule);
    const QImage img = Grab(p.client());
    const QRgb background = p.client()->palette().color(QPalette::Window).rgb();
    for (int y = 0; y < img.height(); y += 5)
        for (int x = 0; x < img.width(); x += 5)
            ASSERT_EQ(img.pixel(x, y) & 0xFFFFFF, background & 0xFFFFFF) << x << "," << y;
}

TEST(ViewPaint, ASmallClientAreaGetsScrollBarsAndIsPaintedWhole) {
    Program p;
    ASSERT_TRUE(p.Start());
    auto* area = qobject_cast<QAbstractScrollArea*>(p.viewWidget());
    ASSERT_NE(area, nullptr);
    EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
    p.frameWidget()->showNormal();
    p.frameWidget()->resize(90, 120);
    for (int i = 0; i < 100 && p.client()->width() >= 100; ++i)
        gui_test::ProcessEvents(10);
    ASSERT_LT(p.client()->width(), 100);
    gui_test::ProcessEvents(20); // the bars are shown from the event loop
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
    // Scrolling moves nothing: the picture still fills the client area from its corner.
    p.view()->SendMessage(WM_KEYDOWN, 'A', MAKELPARAM(1, 0x1E));
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    const QImage img = Grab(p.client());
    EXPECT_EQ(img.pixel(0, 0) | 0xFF000000, BuiltIn(129).at(0, 0));
}

} // namespace
