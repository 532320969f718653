// Key events of the real window reach the view's handlers through the keyboard translation; the
// keys Qt would otherwise use for itself (Tab, the arrows, a lone Alt) stay with the view.
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <gtest/gtest.h>

#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;

void SendKey(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
             const QString& text = {}) {
    QKeyEvent e(type, key, mods, text);
    QApplication::sendEvent(w, &e);
}

void Tap(QWidget* w, int key, const QString& text = {}) {
    SendKey(w, QEvent::KeyPress, key, Qt::NoModifier, text);
    SendKey(w, QEvent::KeyRelease, key, Qt::NoModifier, text);
}

class ViewKeys : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(p.Start());
        gui_test::ProcessEvents();
        p.sounds.clear();
        dir = std::string(p.view()->m_strSoundDir);
        view = p.viewWidget();
    }
    Program p;
    std::string dir;
    QWidget* view = nullptr;
};

TEST_F(ViewKeys, KeyEventsShowPicturesAndPlaySounds) {
    Tap(view, Qt::Key_A, "a");
    EXPECT_EQ(p.view()->m_nPictureId, 129);
    Tap(view, Qt::Key_Space, " ");
    EXPECT_EQ(p.view()->m_nPictureId, 165);
    EXPECT_EQ(p.played(), (std::vector<std::string>{dir + "A.wav", dir + "space.wav"}));
}

TEST_F(ViewKeys, TabAndTheArrowsStayWithTheView) {
    Tap(view, Qt::Key_Tab, "\t");
    Tap(view, Qt::Key_Down);
    EXPECT_TRUE(view->hasFocus());
    EXPECT_EQ(p.played(), (std::vector<std::string>{dir + "tab.wav", dir + "f11.wav"}));
}

TEST_F(ViewKeys, ALoneAltActsAsF10AndLeavesTheMenuBarAlone) {
    SendKey(view, QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    SendKey(view, QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    gui_test::ProcessEvents();
    EXPECT_EQ(p.played(), std::vector<std::string>{dir + "f10.wav"});
    EXPECT_TRUE(view->hasFocus());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // The next key acts again.
    Tap(view, Qt::Key_B, "b");
    EXPECT_EQ(p.view()->m_nPictureId, 130);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation), 0);
}

} // namespace
