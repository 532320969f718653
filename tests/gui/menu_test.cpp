// Menu 128 on the real frame: its popups and items, the mnemonics that open them from the keyboard
// with the item highlighted, Return choosing it, the check mark of own-pictures mode, the routing
// of each command, and the keys after a menu closed.
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;

QMenuBar* MenuBar(const Program& p) {
    return qobject_cast<QMainWindow*>(p.frameWidget())->menuBar();
}

QMenu* Popup(const Program& p, int index) {
    return MenuBar(p)->actions().at(index)->menu();
}

// The popup's only item, brought up to date as when the popup opens.
QAction* Item(const Program& p, int index) {
    QMenu* menu = Popup(p, index);
    emit menu->aboutToShow();
    return menu->actions().at(0);
}

// One key event to one widget, through Qt's shortcut map as a key from the window system.
void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::simulateEvent(w, true, key, mods, QString(), false);
}

void Release(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::simulateEvent(w, false, key, mods, QString(), false);
}

// Alt, then the letter, as a user opens a popup: the popup takes the keyboard at once, so both
// keys go up there.
QMenu* OpenWithMnemonic(const Program& p, Qt::Key letter) {
    QWidget* view = p.viewWidget();
    Press(view, Qt::Key_Alt);
    Press(view, letter, Qt::AltModifier);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (popup) {
        Release(popup, letter, Qt::AltModifier);
        Release(popup, Qt::Key_Alt, Qt::AltModifier);
    }
    return popup;
}

// Where the window system sends the next key: the popup or modal window, else the focus.
QWidget* KeyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget* focus = QApplication::focusWidget())
        return focus;
    return QApplication::activeModalWidget();
}

TEST(Menu, ThreePopupsOfOneEnabledUncheckedItemAndNoBars) {
    Program p;
    ASSERT_TRUE(p.Start());
    const std::vector<std::pair<QString, QString>> expected = {
        {"&File", "E&xit"}, {"&View", "Use your own pictures."}, {"&Help", "&About Pibo..."}};
    ASSERT_EQ(MenuBar(p)->actions().size(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(MenuBar(p)->actions().at(i)->text(), expected[i].first);
        ASSERT_EQ(Popup(p, i)->actions().size(), 1);
        QAction* item = Item(p, i);
        EXPECT_EQ(item->text(), expected[i].second);
        EXPECT_FALSE(item->isSeparator());
        EXPECT_TRUE(item->isEnabled());
        EXPECT_FALSE(item->isChecked());
        // The keys are the accelerator table's alone.
        EXPECT_TRUE(item->shortcut().isEmpty());
    }

    // Neither a toolbar nor a status bar, even while an item is highlighted.
    Item(p, 1)->hover();
    Popup(p, 1)->setActiveAction(Item(p, 1));
    gui_test::ProcessEvents();
    EXPECT_EQ(p.frameWidget()->findChild<QStatusBar*>(), nullptr);
    EXPECT_EQ(p.frameWidget()->findChild<QToolBar*>(), nullptr);
}

TEST(Menu, EachCommandReachesItsHandler) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    p.sounds.clear();

    // View: the view's own-pictures command, and its check mark exactly while the mode is on.
    for (BOOL on : {TRUE, FALSE}) {
        Item(p, 1)->trigger();
        EXPECT_EQ(p.view()->m_bOwnPictures, on);
        EXPECT_EQ(Item(p, 1)->isChecked(), on != FALSE);
    }

    // Help: the application's About box, modal, and nothing else happens.
    std::string title;
    {
        gui_test::ModalAnswer answer([&](QWidget* w) {
            title = w->windowTitle().toStdString();
            EXPECT_FALSE(p.frame()->IsWindowEnabled());
            QTest::keyClick(w, Qt::Key_Escape);
        });
        Item(p, 2)->trigger();
    }
    EXPECT_EQ(title, "About Pibo");
    EXPECT_TRUE(p.frame()->IsWindowEnabled());
    EXPECT_TRUE(p.played().empty());

    // File: Exit closes the window without a question.
    gui_test::NoModal noQuestion;
    Item(p, 0)->trigger();
    EXPECT_EQ(p.app.m_pMainWnd, nullptr);
    gui_test::ProcessEvents();
}

TEST(Menu, CommandsWithoutHandlersAreIgnoredAndThePaneCommandsDisabled) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    p.sounds.clear();
    gui_test::NoModal nothingOpens;
    struct Case {
        UINT id;
        BOOL enabled; // as the menu would show it
    };
    for (const Case& c :
         {Case{ID_EDIT_UNDO, FALSE}, Case{ID_EDIT_CUT, FALSE}, Case{ID_EDIT_COPY, FALSE},
          Case{ID_EDIT_PASTE, FALSE}, Case{ID_NEXT_PANE, FALSE}, Case{ID_PREV_PANE, FALSE},
          Case{ID_FILE_NEW, TRUE}, Case{ID_FILE_OPEN, TRUE}, Case{ID_FILE_SAVE, TRUE},
          Case{ID_APP_EXIT, TRUE}, Case{ID_APP_ABOUT, TRUE}, Case{ID_VIEW_OWNPICTURES, TRUE}}) {
        SCOPED_TRACE(c.id);
        CCmdUI state;
        state.m_nID = c.id;
        state.DoUpdate(p.frame(), TRUE);
        EXPECT_EQ(state.m_bEnabled, c.enabled);
    }
    // Sent as from an accelerator, the ignored ones change nothing.
    p.windows.clear();
    const std::string title = p.title();
    for (UINT id :
         {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE}) {
        p.frame()->SendMessage(WM_COMMAND, (WPARAM{1} << 16) | id, 0);
    }
    gui_test::ProcessEvents();
    EXPECT_EQ(p.title(), title);
    EXPECT_TRUE(p.played().empty());
    EXPECT_EQ(p.windows.count(pibo::framework::WindowEvent::Kind::Paint), 0u);
    EXPECT_EQ(p.frame(), p.app.m_pMainWnd);
}

TEST(Menu, AltAndTheUnderlinedLetterOpenThePopupWithItsItemHighlighted) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    const std::pair<Qt::Key, int> cases[] = {{Qt::Key_F, 0}, {Qt::Key_V, 1}, {Qt::Key_H, 2}};
    for (const auto& [letter, index] : cases) {
        SCOPED_TRACE(index);
        QMenu* popup = OpenWithMnemonic(p, letter);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup, Popup(p, index));
        EXPECT_EQ(popup->activeAction(), popup->actions().at(0));
        Press(popup, Qt::Key_Escape);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        Release(KeyTarget(), Qt::Key_Escape);
    }
    EXPECT_TRUE(p.viewWidget()->hasFocus());
}

TEST(Menu, ReturnChoosesTheHighlightedItem) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();

    for (BOOL on : {TRUE, FALSE}) {
        QMenu* popup = OpenWithMnemonic(p, Qt::Key_V);
        ASSERT_NE(popup, nullptr);
        Press(popup, Qt::Key_Return);
        Release(KeyTarget(), Qt::Key_Return);
        EXPECT_EQ(p.view()->m_bOwnPictures, on);
        EXPECT_EQ(Item(p, 1)->isChecked(), on != FALSE);
    }

    std::string title;
    {
        gui_test::ModalAnswer answer([&](QWidget* w) {
            title = w->windowTitle().toStdString();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QMenu* popup = OpenWithMnemonic(p, Qt::Key_H);
        ASSERT_NE(popup, nullptr);
        Press(popup, Qt::Key_Return);
    }
    EXPECT_EQ(title, "About Pibo");
    // The frame is active again and its view has the keyboard.
    gui_test::ProcessEvents(20);
    EXPECT_TRUE(p.viewWidget()->hasFocus());

    gui_test::NoModal noQuestion;
    QMenu* popup = OpenWithMnemonic(p, Qt::Key_F);
    ASSERT_NE(popup, nullptr);
    Press(popup, Qt::Key_Return);
    EXPECT_EQ(p.app.m_pMainWnd, nullptr);
    gui_test::ProcessEvents();
}

TEST(Menu, AfterAMenuClosesTheReleaseOfItsKeyRearmsTheView) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    const std::string dir(p.view()->m_strSoundDir);
    for (Qt::Key closing : {Qt::Key_Escape, Qt::Key_Return}) {
        SCOPED_TRACE(closing);
        // Alt acted (the view is disarmed until a key goes up), then the popup took the keys.
        p.sounds.clear();
        QMenu* popup = OpenWithMnemonic(p, Qt::Key_V);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(p.played(), std::vector<std::string>{dir + "f10.wav"});
        EXPECT_FALSE(p.view()->m_bKeyReleased);

        // The key that closes it goes down in the popup and up in the view.
        Press(popup, closing);
        ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
        ASSERT_EQ(KeyTarget(), p.viewWidget());
        Release(KeyTarget(), closing);
        EXPECT_TRUE(p.view()->m_bKeyReleased);

        p.sounds.clear();
        QTest::keyClick(p.viewWidget(), Qt::Key_B);
        EXPECT_EQ(p.view()->m_nPictureId, IDB_FIRST_LETTER + 1);
        EXPECT_EQ(p.played(), std::vector<std::string>{dir + "B.wav"});
    }
}

} // namespace
