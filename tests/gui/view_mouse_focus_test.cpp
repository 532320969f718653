// The view's mouse buttons and its hold on the keyboard focus, with real Qt events.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;
using Kind = pibo::framework::WindowEvent::Kind;

void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button) {
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class ViewMouse : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(p.Start());
        gui_test::ProcessEvents();
        p.sounds.clear();
        p.windows.clear();
        dir = std::string(p.view()->m_strSoundDir);
    }
    void ExpectNoRepaint() {
        gui_test::ProcessEvents();
        EXPECT_EQ(p.windows.count(Kind::Invalidate), 0u);
        EXPECT_EQ(p.windows.count(Kind::Update), 0u);
        EXPECT_EQ(p.windows.count(Kind::Paint), 0u);
    }
    Program p;
    std::string dir;
};

TEST_F(ViewMouse, ButtonsPlayTheirFourSoundsAndNeverRepaint) {
    QWidget* c = p.client();
    Mouse(c, QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(c, QEvent::MouseButtonRelease, Qt::LeftButton);
    Mouse(c, QEvent::MouseButtonPress, Qt::RightButton);
    Mouse(c, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(p.played(), (std::vector<std::string>{dir + "enter.wav", dir + "tab.wav",
                                                    dir + "ctrl.wav", dir + "back.wav"}));
    ExpectNoRepaint();
}

TEST_F(ViewMouse, TheSecondPressOfADoubleClickPlaysNothing) {
    QWidget* c = p.client();
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
        p.sounds.clear();
        Mouse(c, QEvent::MouseButtonPress, b);
        Mouse(c, QEvent::MouseButtonRelease, b);
        Mouse(c, QEvent::MouseButtonDblClick, b);
        Mouse(c, QEvent::MouseButtonRelease, b);
        const std::string down = dir + (b == Qt::LeftButton ? "enter.wav" : "ctrl.wav");
        const std::string up = dir + (b == Qt::LeftButton ? "tab.wav" : "back.wav");
        EXPECT_EQ(p.played(), (std::vector<std::string>{down, up, up}));
    }
}

TEST_F(ViewMouse, TheMiddleButtonAndTheWheelPlayNothing) {
    QWidget* c = p.client();
    Mouse(c, QEvent::MouseButtonPress, Qt::MiddleButton);
    Mouse(c, QEvent::MouseButtonRelease, Qt::MiddleButton);
    const QPointF pos(10, 10);
    QWheelEvent wheel(pos, c->mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(c, &wheel);
    EXPECT_TRUE(p.sounds.requests().empty());
    ExpectNoRepaint();
}

TEST(ViewFocus, TheViewTakesTheFocusBackFromAnyOtherPartOfTheProgram) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    QWidget* view = p.viewWidget();
    ASSERT_TRUE(view->hasFocus());

    // The menu bar, as after a menu closed in keyboard mode.
    QMenuBar* bar = qobject_cast<QMainWindow*>(p.frameWidget())->menuBar();
    bar->setFocusPolicy(Qt::StrongFocus);
    p.windows.clear();
    bar->setFocus(Qt::MenuBarFocusReason);
    EXPECT_TRUE(view->hasFocus());
    bool killFocusPassedOn = false;
    for (const auto& e : p.windows.events())
        killFocusPassedOn |= e.kind == Kind::Default && e.message == WM_KILLFOCUS;
    EXPECT_TRUE(killFocusPassedOn);

    // Another widget of the program's window.
    auto* edit = new QLineEdit(p.frameWidget());
    edit->show();
    edit->setFocus();
    EXPECT_TRUE(view->hasFocus());
    delete edit;
}

TEST(ViewFocus, AModalDialogKeepsTheFocusWhileItIsOpen) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    QWidget* view = p.viewWidget();
    QDialog dialog(p.frameWidget());
    auto* edit = new QLineEdit(&dialog);
    bool dialogHadFocus = false;
    bool viewHadFocus = true;
    QTimer::singleShot(100, &dialog, [&] {
        dialog.activateWindow();
        edit->setFocus();
        gui_test::ProcessEvents(50);
        dialogHadFocus = edit->hasFocus();
        viewHadFocus = view->hasFocus();
        dialog.accept();
    });
    dialog.exec();
    EXPECT_TRUE(dialogHadFocus);
    EXPECT_FALSE(viewHadFocus);
}

} // namespace
