#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>

#include "tests/unit/gdi_test_surface.h"

// DrawTextA: one line, centred both ways, in the application's default font and window-text
// colour.

namespace {

void EnsureApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "pibo_unit_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // kept for the rest of the run
}

TEST(GdiDrawText, CentresOneLineInTheWindowTextColour) {
    EnsureApplication();
    const QColor text = QGuiApplication::palette().color(QPalette::WindowText);
    gdi_test::Surface s(400, 200);
    RECT rect{0, 0, 400, 200};
    const int height = DrawTextA(s.hdc, "Press any key to begin!", -1, &rect,
                                 DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EXPECT_EQ(height, QFontMetrics(QGuiApplication::font()).height());

    // The ink is all in the text colour (or blended with the background at its edges) and its
    // bounding box is centred.
    int left = 400, right = -1, top = 200, bottom = -1, exact = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) {
            const QRgb p = s.image.pixel(x, y);
            if (p == gdi_test::kBackground)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            exact += (p & 0xFFFFFF) == (text.rgb() & 0xFFFFFF);
        }
    ASSERT_GE(right, left) << "nothing drawn";
    EXPECT_GT(exact, 20);
    EXPECT_NEAR((left + right) / 2.0, 200, 3);
    EXPECT_NEAR((top + bottom) / 2.0, 100, QFontMetrics(QGuiApplication::font()).height() / 2);
    EXPECT_LT(bottom - top, 60) << "one line";
}

TEST(GdiDrawText, TakesALengthAndRefusesNothingToDrawOn) {
    EnsureApplication();
    gdi_test::Surface s(200, 50);
    RECT rect{0, 0, 200, 50};
    EXPECT_GT(DrawTextA(s.hdc, "Pibo and more", 4, &rect, DT_SINGLELINE | DT_VCENTER), 0);
    EXPECT_EQ(DrawTextA(nullptr, "x", -1, &rect, 0), 0);
    EXPECT_EQ(DrawTextA(s.hdc, nullptr, -1, &rect, 0), 0);
    EXPECT_EQ(DrawTextA(s.hdc, "x", -1, nullptr, 0), 0);
}

} // namespace
