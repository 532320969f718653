// How the view's paints reach the window system: every key paints its picture at once, the window
// system is shown the last one painted, at most once a display frame, and an exposed view is shown
// again without painting.
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;

// The colour of the top-left pixel of a built-in picture (4 bits, bottom-up rows of 128 bytes).
QRgb TopLeftOf(int number) {
    QFile f(QString(":/pictures/%1.dib").arg(number));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    const auto byte = static_cast<unsigned char>(data[104 + 249 * 128]);
    const auto* c = reinterpret_cast<const unsigned char*>(data.constData()) + 40 + (byte >> 4) * 4;
    return qRgb(c[2], c[1], c[0]);
}

// Counts the paint events Qt sends a widget: each is a showing to the window system.
class PaintEvents : public QObject {
public:
    explicit PaintEvents(QWidget* w) : m_widget(w) { w->installEventFilter(this); }
    ~PaintEvents() override { m_widget->removeEventFilter(this); }
    PaintEvents(const PaintEvents&) = delete;
    PaintEvents& operator=(const PaintEvents&) = delete;
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;

private:
    QWidget* m_widget;
};

struct Shown {
    explicit Shown(Program& p) {
        p.windows.onEvent = [this, &p](const pibo::framework::WindowEvent& e) {
            if (e.kind == pibo::framework::WindowEvent::Kind::Paint && e.wnd == p.view())
                ++wmPaints;
        };
    }
    int wmPaints = 0;
};

void Press(Program& p, UINT key) {
    p.view()->SendMessage(WM_KEYDOWN, key, MAKELPARAM(1, 0x1E));
    p.view()->SendMessage(WM_KEYUP, key, MAKELPARAM(1, 0xC01E));
}

TEST(ViewPresent, ABurstOfKeysPaintsEveryPictureAndShowsTheLast) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents(50);
    Shown shown(p);
    PaintEvents qtPaints(p.client());
    for (UINT key = 'A'; key <= 'Z'; ++key)
        Press(p, key);
    EXPECT_EQ(shown.wmPaints, 26);
    // The first picture may be shown at once; the others wait for the display's next frame.
    EXPECT_LE(qtPaints.count, 1);
    gui_test::ProcessEvents(100);
    EXPECT_LE(qtPaints.count, 2);
    EXPECT_EQ(shown.wmPaints, 26);
    const QImage img = p.client()->grab().toImage();
    EXPECT_EQ(img.pixel(0, 0) | 0xFF000000, TopLeftOf(154)); // Z
}

TEST(ViewPresent, AnIsolatedKeyIsShownBeforeItsHandlerReturns) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents(50);
    PaintEvents qtPaints(p.client());
    Press(p, 'B');
    EXPECT_EQ(qtPaints.count, 1);
}

TEST(ViewPresent, AnExposedViewIsShownWithoutPaintingAgain) {
    Program p;
    ASSERT_TRUE(p.Start());
    Press(p, 'C');
    gui_test::ProcessEvents(50);
    Shown shown(p);
    p.client()->update();
    gui_test::ProcessEvents(50);
    EXPECT_EQ(shown.wmPaints, 0);
    const QImage img = p.client()->grab().toImage();
    EXPECT_EQ(img.pixel(0, 0) | 0xFF000000, TopLeftOf(131));
}

TEST(ViewPresent, AnInvalidatedViewIsPaintedWhenTheLoopRuns) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents(50);
    Shown shown(p);
    p.view()->Invalidate(TRUE);
    EXPECT_EQ(shown.wmPaints, 0);
    gui_test::ProcessEvents(50);
    EXPECT_EQ(shown.wmPaints, 1);
}

} // namespace
