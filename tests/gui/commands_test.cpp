// Commands from the menu and the accelerator table: the own-pictures item and its check mark,
// File New, the keys the accelerator table takes, and the ways out.
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;
using Kind = pibo::framework::WindowEvent::Kind;
namespace fs = std::filesystem;

QAction* MenuItem(Program& p, int popup) {
    QMenuBar* bar = qobject_cast<QMainWindow*>(p.frameWidget())->menuBar();
    QMenu* menu = bar->actions().at(popup)->menu();
    emit menu->aboutToShow(); // the update the framework gives a menu about to open
    return menu->actions().at(0);
}

// A key message made from a Qt key event, as the view's window delivers it: accelerators first.
BOOL Key(Program& p, UINT message, UINT vk, UINT flags, Qt::KeyboardModifiers mods) {
    QKeyEvent e(message == WM_KEYUP || message == WM_SYSKEYUP ? QEvent::KeyRelease
                                                              : QEvent::KeyPress,
                0, mods);
    return CWnd::DispatchFromPlatform(p.view(), message, vk,
                                      MAKELPARAM(1, static_cast<WORD>(flags)), &e);
}

TEST(Commands, TheOwnPicturesItemFlipsTheModeAndItsCheckMark) {
    Program p;
    ASSERT_TRUE(p.Start());
    QAction* item = MenuItem(p, 1);
    EXPECT_EQ(item->text(), "Use your own pictures.");
    EXPECT_TRUE(item->isEnabled());
    EXPECT_FALSE(item->isChecked());

    p.windows.clear();
    item->trigger();
    EXPECT_TRUE(p.view()->m_bOwnPictures);
    EXPECT_EQ(p.windows.count(Kind::Update), 0u); // nothing repainted
    EXPECT_TRUE(MenuItem(p, 1)->isChecked());

    MenuItem(p, 1)->trigger();
    EXPECT_FALSE(p.view()->m_bOwnPictures);
    EXPECT_FALSE(MenuItem(p, 1)->isChecked());
}

TEST(Commands, FileNewKeepsTheWindowAndRunsTheInitialUpdateAgain) {
    Program p;
    ASSERT_TRUE(p.Start());
    CMainFrame* frame = p.frame();
    CPiboView* view = p.view();
    MenuItem(p, 1)->trigger();
    view->SendMessage(WM_KEYDOWN, 'A', MAKELPARAM(1, 0x1E));
    view->SendMessage(WM_KEYUP, 'A', MAKELPARAM(1, 0xC01E));
    fs::create_directories("elsewhere");
    fs::current_path("elsewhere");
    const std::string cwd = fs::current_path().string();

    p.sounds.clear();
    // Ctrl+N, through the accelerator table: no picture for N.
    EXPECT_FALSE(Key(p, WM_KEYDOWN, 'N', 0x31, Qt::ControlModifier));
    EXPECT_EQ(p.frame(), frame);
    EXPECT_EQ(p.view(), view);
    EXPECT_EQ(p.title(), "Untitled - Pibo");
    EXPECT_FALSE(view->m_bOwnPictures);
    EXPECT_EQ(std::string(view->m_strSoundDir), cwd + "/sounds/");
    EXPECT_TRUE(view->m_bShowPicture); // the prompt never comes back
    EXPECT_EQ(view->m_nPictureId, 129);
    EXPECT_TRUE(p.sounds.requests().empty());
}

TEST(Commands, TheAcceleratorTableTakesItsKeysWithExactlyTheirModifiers) {
    Program p;
    ASSERT_TRUE(p.Start());
    struct Case {
        UINT message;
        UINT vk;
        UINT flags;
        Qt::KeyboardModifiers mods;
        bool taken;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const std::vector<Case> cases = {
        {WM_KEYDOWN, 'C', 0x2E, Qt::ControlModifier, true},
        {WM_KEYDOWN, 'V', 0x2F, Qt::ControlModifier, true},
        {WM_KEYDOWN, 'X', 0x2D, Qt::ControlModifier, true},
        {WM_KEYDOWN, 'Z', 0x2C, Qt::ControlModifier, true},
        {WM_KEYDOWN, VK_INSERT, 0x152, Qt::ShiftModifier, true},
        {WM_KEYDOWN, VK_DELETE, 0x153, Qt::ShiftModifier, true},
        {WM_KEYDOWN, VK_INSERT, 0x152, Qt::ControlModifier, true},
        {WM_SYSKEYDOWN, VK_BACK, 0x200E, Qt::AltModifier, true},
        {WM_KEYDOWN, VK_F6, 0x40, none, true},
        {WM_KEYDOWN, VK_F6, 0x40, Qt::ShiftModifier, true},
        {WM_KEYDOWN, 'C', 0x2E, none, false},
        {WM_KEYDOWN, 'C', 0x2E, Qt::ControlModifier | Qt::ShiftModifier, false},
        {WM_KEYDOWN, VK_INSERT, 0x152, none, false},
        {WM_KEYDOWN, VK_BACK, 0x0E, none, false},
        {WM_KEYDOWN, VK_F6, 0x40, Qt::ControlModifier, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vk " << c.vk << " modifiers " << c.mods.toInt());
        p.sounds.clear();
        const int picture = p.view()->m_nPictureId;
        const BOOL dispatched = Key(p, c.message, c.vk, c.flags, c.mods);
        EXPECT_EQ(dispatched, c.taken ? FALSE : TRUE);
        EXPECT_EQ(p.sounds.requests().empty(), c.taken);
        if (c.taken) {
            EXPECT_EQ(p.view()->m_nPictureId, picture);
        }
        // The key-up is never taken: it re-arms the view.
        EXPECT_TRUE(Key(p, c.message == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP, c.vk,
                        c.flags | 0xC000, c.mods));
        EXPECT_TRUE(p.view()->m_bKeyReleased);
        EXPECT_EQ(p.frame(), p.app.m_pMainWnd); // nothing closed
    }
}

TEST(Commands, FileExitClosesTheWindowWithoutAQuestion) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::NoModal noQuestion;
    MenuItem(p, 0)->trigger();
    EXPECT_EQ(p.app.m_pMainWnd, nullptr);
    gui_test::ProcessEvents();
}

TEST(Commands, AltF4ClosesTheWindowThroughTheDefaultProcessing) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::NoModal noQuestion;
    EXPECT_TRUE(Key(p, WM_SYSKEYDOWN, VK_MENU, 0x2038, Qt::AltModifier));
    EXPECT_NE(p.app.m_pMainWnd, nullptr);
    EXPECT_TRUE(Key(p, WM_SYSKEYDOWN, VK_F1 + 3, 0x203E, Qt::AltModifier));
    EXPECT_EQ(p.app.m_pMainWnd, nullptr);
    gui_test::ProcessEvents();
}

TEST(Commands, TheWindowManagersCloseRequestClosesTheWindow) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::NoModal noQuestion;
    QWidget* w = p.frameWidget();
    w->close();
    EXPECT_EQ(p.app.m_pMainWnd, nullptr);
    gui_test::ProcessEvents();
}

} // namespace
