// Accelerator table 128: which key, with exactly which modifiers, becomes which command, and what
// the view sees of each key when it arrives as real Qt key events, Qt's shortcut map included.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/window.h"
#include "res/module.h"
#include "res/resource.h"
#include "tests/gui/program_fixture.h"

namespace {

using gui_test::Program;
using Kind = pibo::framework::WindowEvent::Kind;

// A window that notes the commands sent to it.
class CommandSink : public CWnd {
public:
    CommandSink() { m_hWnd = new Widget(this); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<WPARAM> commands;

private:
    struct Widget : QWidget, Window {
        explicit Widget(CWnd* pWnd) : Window(pWnd) {}
        QWidget* widget() override { return this; }
        void defaultProcessing(QEvent*) override {}
    };
};

constexpr UINT kPass = 0;
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;

struct TableCase {
    UINT vk;
    Qt::KeyboardModifiers mods;
    UINT command; // kPass: an ordinary key
};

// Every entry of the table, and each of its keys with other modifiers or none.
const TableCase kTableCases[] = {
    {'N', kCtrl, ID_FILE_NEW},
    {'O', kCtrl, ID_FILE_OPEN},
    {'S', kCtrl, ID_FILE_SAVE},
    {'Z', kCtrl, ID_EDIT_UNDO},
    {'X', kCtrl, ID_EDIT_CUT},
    {'C', kCtrl, ID_EDIT_COPY},
    {'V', kCtrl, ID_EDIT_PASTE},
    {VK_BACK, kAlt, ID_EDIT_UNDO},
    {VK_DELETE, kShift, ID_EDIT_CUT},
    {VK_INSERT, kCtrl, ID_EDIT_COPY},
    {VK_INSERT, kShift, ID_EDIT_PASTE},
    {VK_F6, kNone, ID_NEXT_PANE},
    {VK_F6, kShift, ID_PREV_PANE},
    {'N', kNone, kPass},
    {'N', kCtrl | kShift, kPass},
    {'N', kCtrl | kAlt, kPass},
    {'O', kAlt, kPass},
    {'S', kShift, kPass},
    {'Z', kNone, kPass},
    {'X', kCtrl | kShift, kPass},
    {'C', kNone, kPass},
    {'C', kShift, kPass},
    {'V', kAlt, kPass},
    {VK_BACK, kNone, kPass},
    {VK_BACK, kCtrl, kPass},
    {VK_BACK, kAlt | kShift, kPass},
    {VK_DELETE, kNone, kPass},
    {VK_DELETE, kCtrl, kPass},
    {VK_DELETE, kShift | kCtrl, kPass},
    {VK_INSERT, kNone, kPass},
    {VK_INSERT, kAlt, kPass},
    {VK_INSERT, kCtrl | kShift, kPass},
    {VK_F6, kCtrl, kPass},
    {VK_F6, kAlt, kPass},
    {VK_F6, kShift | kCtrl, kPass},
    {'A', kCtrl, kPass},
    {VK_F1 + 4, kShift, kPass},
};

MSG KeyMessage(UINT message, UINT vk, QKeyEvent* event) {
    const WORD flags = message == WM_KEYUP || message == WM_SYSKEYUP ? 0xC000 : 0;
    return MSG{nullptr, message, vk, MAKELPARAM(1, flags), event};
}

TEST(AcceleratorTable, KeysWithExactlyTheirModifiersBecomeTheirCommands) {
    Program p; // the Qt application and the module
    HACCEL table = LoadAcceleratorsA(&g_piboModule, IDR_MAINFRAME);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->entryCount, 13u);
    EXPECT_EQ(LoadAcceleratorsA(&g_piboModule, 129), nullptr);

    for (const TableCase& c : kTableCases) {
        SCOPED_TRACE(testing::Message() << "vk " << c.vk << " modifiers " << c.mods.toInt());
        const bool alt = c.mods & kAlt;
        QKeyEvent down(QEvent::KeyPress, 0, c.mods);
        QKeyEvent up(QEvent::KeyRelease, 0, c.mods);
        CommandSink sink;
        MSG msg = KeyMessage(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, c.vk, &down);
        EXPECT_EQ(TranslateAcceleratorA(sink.m_hWnd, table, &msg), c.command != kPass ? 1 : 0);
        if (c.command != kPass) {
            // Sent as from an accelerator: the command in the low word, 1 in the high word.
            EXPECT_EQ(sink.commands, std::vector<WPARAM>{(WPARAM{1} << 16) | c.command});
        } else {
            EXPECT_TRUE(sink.commands.empty());
        }
        // Key-ups and characters are never translated.
        sink.commands.clear();
        msg = KeyMessage(alt ? WM_SYSKEYUP : WM_KEYUP, c.vk, &up);
        EXPECT_EQ(TranslateAcceleratorA(sink.m_hWnd, table, &msg), 0);
        msg = KeyMessage(WM_CHAR, c.vk, &down);
        EXPECT_EQ(TranslateAcceleratorA(sink.m_hWnd, table, &msg), 0);
        EXPECT_TRUE(sink.commands.empty());
    }
}

// Real key events on the view: the modifiers go down first, then the key, and all go up in
// reverse order, as QTest sends them, through Qt's shortcut map.
struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    UINT vk;
    bool taken;
};

const KeyCase kKeyCases[] = {
    {Qt::Key_Z, kCtrl, 'Z', true},
    {Qt::Key_X, kCtrl, 'X', true},
    {Qt::Key_C, kCtrl, 'C', true},
    {Qt::Key_V, kCtrl, 'V', true},
    {Qt::Key_Backspace, kAlt, VK_BACK, true},
    {Qt::Key_Delete, kShift, VK_DELETE, true},
    {Qt::Key_Insert, kCtrl, VK_INSERT, true},
    {Qt::Key_Insert, kShift, VK_INSERT, true},
    {Qt::Key_F6, kNone, VK_F6, true},
    {Qt::Key_F6, kShift, VK_F6, true},
    {Qt::Key_C, kNone, 'C', false},
    {Qt::Key_V, kNone, 'V', false},
    {Qt::Key_X, kNone, 'X', false},
    {Qt::Key_Z, kNone, 'Z', false},
    {Qt::Key_Insert, kNone, VK_INSERT, false},
    {Qt::Key_Delete, kNone, VK_DELETE, false},
    {Qt::Key_Backspace, kNone, VK_BACK, false},
    {Qt::Key_C, kCtrl | kShift, 'C', false},
    {Qt::Key_F6, kCtrl, VK_F6, false},
    {Qt::Key_Backspace, kCtrl, VK_BACK, false},
};

// Notes the key presses that reach a widget and every shortcut Qt activates anywhere.
class KeyWatch : public QObject {
public:
    explicit KeyWatch(QWidget* target) : m_target(target) { qApp->installEventFilter(this); }
    ~KeyWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Shortcut)
            ++shortcuts;
        if (watched == m_target && event->type() == QEvent::KeyPress)
            pressed.push_back(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
    std::vector<int> pressed;
    int shortcuts = 0;

private:
    QWidget* m_target;
};

bool HasDefault(const pibo::framework::WindowRecorder& r, const CWnd* wnd, UINT message, UINT vk) {
    for (const auto& e : r.events()) {
        if (e.kind == Kind::Default && e.wnd == wnd && e.message == message && e.wParam == vk)
            return true;
    }
    return false;
}

TEST(AcceleratorKeys, ATakenKeyNeverReachesTheViewButItsKeyUpDoes) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    gui_test::NoModal nothingOpens;
    QWidget* view = p.viewWidget();
    const std::string title = p.title();
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(testing::Message() << "vk " << c.vk << " modifiers " << c.mods.toInt());
        p.sounds.clear();
        p.windows.clear();
        const int picture = p.view()->m_nPictureId;
        KeyWatch watch(view);
        QTest::keyPress(view, c.key, c.mods);
        // The key reached the view's window: no Qt shortcut took it before the accelerators.
        EXPECT_EQ(watch.shortcuts, 0);
        ASSERT_FALSE(watch.pressed.empty());
        EXPECT_EQ(watch.pressed.back(), c.key);
        const bool alt = c.mods & kAlt;
        EXPECT_EQ(HasDefault(p.windows, p.view(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, c.vk),
                  !c.taken);
        if (c.mods == kNone) {
            // A key alone acts when it is not taken; a taken one shows and plays nothing.
            EXPECT_EQ(p.played().size(), c.taken ? 0u : 1u);
            EXPECT_EQ(p.view()->m_nPictureId == picture, c.taken);
        } else {
            // Only the modifier that went down first acted.
            EXPECT_EQ(p.played().size(), 1u);
        }
        QTest::keyRelease(view, c.key, c.mods);
        EXPECT_TRUE(HasDefault(p.windows, p.view(), alt ? WM_SYSKEYUP : WM_KEYUP, c.vk));
        EXPECT_TRUE(p.view()->m_bKeyReleased);
        EXPECT_EQ(p.title(), title);
        EXPECT_EQ(p.frame(), p.app.m_pMainWnd);
    }
    // The modifiers alone are the view's keys.
    struct Alone {
        Qt::Key key;
        const char* sound;
    };
    const std::string dir(p.view()->m_strSoundDir);
    for (const Alone& a : {Alone{Qt::Key_Control, "ctrl.wav"}, Alone{Qt::Key_Shift, "shift.wav"},
                           Alone{Qt::Key_Alt, "f10.wav"}}) {
        p.sounds.clear();
        QTest::keyClick(view, a.key);
        EXPECT_EQ(p.played(), std::vector<std::string>{dir + a.sound});
    }
    EXPECT_TRUE(view->hasFocus());
}

TEST(AcceleratorKeys, CtrlNKeepsTheWindowAndItsTitle) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    QWidget* frame = p.frameWidget();
    QTest::keyClick(p.viewWidget(), Qt::Key_A);
    p.sounds.clear();
    QTest::keyClick(p.viewWidget(), Qt::Key_N, kCtrl);
    EXPECT_EQ(p.frameWidget(), frame);
    EXPECT_EQ(p.title(), "Untitled - Pibo");
    // Ctrl acted; N showed no picture and played nothing.
    const std::string dir(p.view()->m_strSoundDir);
    EXPECT_EQ(p.played(), std::vector<std::string>{dir + "ctrl.wav"});
    EXPECT_EQ(p.view()->m_nPictureId, IDB_FIRST_OTHER);
    int topLevel = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        topLevel += w->isVisible() ? 1 : 0;
    EXPECT_EQ(topLevel, 1);
}

TEST(AcceleratorKeys, CtrlOAndCtrlSOpenTheirFileDialogs) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    struct Case {
        Qt::Key key;
        const char* title;
    };
    for (const Case& c : {Case{Qt::Key_O, "Open"}, Case{Qt::Key_S, "Save As"}}) {
        std::string seen;
        {
            gui_test::ModalAnswer answer([&](QWidget* w) {
                seen = w->windowTitle().toStdString();
                QTest::keyClick(w, Qt::Key_Escape);
            });
            QTest::keyClick(p.viewWidget(), c.key, kCtrl);
            EXPECT_TRUE(answer.answered());
        }
        EXPECT_EQ(seen, c.title);
        EXPECT_EQ(p.title(), "Untitled - Pibo");
    }
    // Escape left no file behind.
    EXPECT_FALSE(std::filesystem::exists(p.folder / "Untitled"));
}

} // namespace
