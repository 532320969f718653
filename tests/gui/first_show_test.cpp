// The first show of the main window: start-up shows the frame in the ordinary state and maximises
// it at once, and the window system is to see one maximised window, never a normal one first.
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/qt/window.h"
#include "res/resource.h"
#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;

// Every show of a top-level widget, with the window state it was shown in.
class ShowLog : public QObject {
public:
    ShowLog() { qApp->installEventFilter(this); }
    ~ShowLog() override { qApp->removeEventFilter(this); }
    ShowLog(const ShowLog&) = delete;
    ShowLog& operator=(const ShowLog&) = delete;

    std::vector<std::pair<QWidget*, Qt::WindowStates>> shows;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow())
                shows.emplace_back(w, w->windowState());
        }
        return false;
    }
};

TEST(FirstShow, StartUpShowsTheFrameOnceAndMaximised) {
    ShowLog log;
    Program p;
    ASSERT_TRUE(p.Start());
    QApplication::processEvents();
    int frameShows = 0;
    for (const auto& [widget, state] : log.shows) {
        if (widget != p.frameWidget())
            continue;
        ++frameShows;
        EXPECT_TRUE(state & Qt::WindowMaximized) << "the frame was shown in another state first";
    }
    EXPECT_EQ(frameShows, 1);
    EXPECT_TRUE(p.frameWidget()->isVisible());
}

// A second frame window, made as the template makes the main one; it deletes itself when destroyed.
CFrameWnd* NewFrame() {
    auto* frame = new CFrameWnd;
    if (!frame->LoadFrame(IDR_MAINFRAME))
        return nullptr;
    return frame;
}

TEST(FirstShow, WhoeverAsksFindsAnOrdinaryFirstShowDone) {
    Program p;
    ASSERT_TRUE(p.Start());
    CFrameWnd* other = NewFrame();
    ASSERT_NE(other, nullptr);
    QWidget* w = other->m_hWnd->widget();
    EXPECT_FALSE(other->ShowWindow(SW_SHOWNORMAL));
    EXPECT_TRUE(other->IsWindowVisible());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->windowState() & Qt::WindowMaximized);
    other->DestroyWindow();
}

TEST(FirstShow, AnOrdinaryFirstShowHappensWhenTheLoopRuns) {
    Program p;
    ASSERT_TRUE(p.Start());
    CFrameWnd* other = NewFrame();
    ASSERT_NE(other, nullptr);
    QWidget* w = other->m_hWnd->widget();
    EXPECT_FALSE(other->ShowWindow(SW_SHOWNORMAL));
    QApplication::processEvents();
    EXPECT_TRUE(w->isVisible());
    // A later show reports the window as shown before.
    EXPECT_TRUE(other->ShowWindow(SW_SHOWMAXIMIZED));
    other->DestroyWindow();
}

} // namespace
