// An ordinary start, in process: one maximised window titled "Untitled - Pibo" with the menu bar
// and the view filling the client area, the view's initial update, the settings keys, and the
// start-up sound requested once the window has been painted.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;
namespace fs = std::filesystem;

TEST(Startup, OneMaximisedWindowWithThePromptThenTheStartupSound) {
    Program p;
    bool paintedBeforeSound = false;
    p.windows.onEvent = [&](const pibo::framework::WindowEvent& e) {
        if (e.kind == pibo::framework::WindowEvent::Kind::Paint && e.wnd == p.view() &&
            p.sounds.requests().empty())
            paintedBeforeSound = true;
    };
    ASSERT_TRUE(p.Start());

    ASSERT_NE(p.frame(), nullptr);
    EXPECT_EQ(p.title(), "Untitled - Pibo");
    EXPECT_TRUE(p.frameWidget()->isVisible());
    EXPECT_TRUE(p.frameWidget()->windowState() & Qt::WindowMaximized);
    auto* main = qobject_cast<QMainWindow*>(p.frameWidget());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->centralWidget(), p.viewWidget());
    ASSERT_NE(main->menuWidget(), nullptr);
    QStringList menus;
    for (QAction* a : main->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&View", "&Help"}));

    // Exactly one window of the program is shown.
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown += w->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 1);

    const std::string cwd = fs::current_path().string();
    EXPECT_EQ(p.played(), std::vector<std::string>{cwd + "/sounds/takeoff.wav"});
    EXPECT_TRUE(paintedBeforeSound);

    // The view after its initial update.
    CPiboView* v = p.view();
    EXPECT_EQ(std::string(v->m_strSoundDir), cwd + "/sounds/");
    EXPECT_EQ(std::string(v->m_strPictureDir), cwd + "/mypics/");
    EXPECT_FALSE(v->m_bOwnPictures);
    EXPECT_FALSE(v->m_bShowPicture);
    EXPECT_TRUE(v->m_bKeyReleased);
    EXPECT_EQ(std::string(v->GetWindowText()), "Pibo's Multi-Media Application 1.0");
    EXPECT_EQ(v->m_nMapMode, MM_TEXT);
    EXPECT_EQ(v->m_totalDev.cx, 100);
    EXPECT_EQ(v->m_pageDev.cx, 10);
    EXPECT_EQ(v->m_lineDev.cy, 1);
    EXPECT_EQ(p.doc()->GetTitle(), CString("Untitled"));
    EXPECT_TRUE(p.doc()->GetPathName().IsEmpty());

    // The view has the keyboard focus.
    EXPECT_EQ(CWnd::GetFocus(), v);

    // The settings keys were made.
    EXPECT_TRUE(fs::exists(p.config / "Local AppWizard-Generated Applications" /
                           "Pibo's Multi-Media Application 1.0.conf"));
}

TEST(Startup, TheSoundPathFollowsTheCurrentDirectoryHoweverLong) {
    Program p;
    fs::path deep = p.folder.path();
    while (deep.string().size() < 300)
        deep /= "a-rather-long-folder-name";
    fs::create_directories(deep);
    fs::current_path(deep);
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(std::string(p.view()->m_strSoundDir), deep.string() + "/sounds/");
    EXPECT_EQ(p.played(), std::vector<std::string>{deep.string() + "/sounds/takeoff.wav"});
}

} // namespace
