// KeyboardTranslator on Qt key events as the X11 platform delivers them (native scan code = X
// keycode, native virtual key = keysym, native modifiers = X state) and as Qt makes them up
// without native data. Runs without an X server: the keymap fallback is in use.
#include <gtest/gtest.h>

#include <QInputDevice>
#include <QKeyEvent>

#include <X11/keysym.h>

#include "platform/qt/keyboard_translation.h"

using pibo::qt::KeyboardTranslator;
using pibo::qt::KeyMessage;

namespace {

constexpr quint32 kShift = 1u << 0;
constexpr quint32 kControl = 1u << 2;
constexpr quint32 kAlt = 1u << 3;
constexpr quint32 kNumLock = 1u << 4;

// The events' device, owned here: without an application Qt would make one that nobody frees.
const QInputDevice* Keyboard() {
    static const QInputDevice device("test keyboard", 1, QInputDevice::DeviceType::Keyboard);
    return &device;
}

QKeyEvent Native(QEvent::Type type, int qtKey, quint32 keycode, quint32 keysym, quint32 state = 0,
                 bool autoRepeat = false) {
    return QKeyEvent(type, qtKey, Qt::NoModifier, keycode, keysym, state, QString(), autoRepeat, 1,
                     Keyboard());
}

// An event as Qt makes one up, with a key code and no native data.
QKeyEvent Synthetic(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers) {
    return QKeyEvent(type, qtKey, modifiers, 0, 0, 0, QString(), false, 1, Keyboard());
}

struct Expected {
    UINT message;
    UINT vk;
    UINT flags;
};

void ExpectMessage(const std::optional<KeyMessage>& m, Expected e, const char* what) {
    ASSERT_TRUE(m.has_value()) << what;
    EXPECT_EQ(m->message, e.message) << what;
    EXPECT_EQ(m->vk, e.vk) << what;
    EXPECT_EQ(m->flags, e.flags) << what;
    EXPECT_EQ(m->repeat, 1u) << what;
}

} // namespace

TEST(KeyboardEvents, NativeEventsUseKeycodeKeysymAndState) {
    struct Case {
        const char* name;
        int qtKey;
        quint32 keycode, keysym, state;
        Expected expected;
    } cases[] = {
        {"A", Qt::Key_A, 38, XK_a, 0, {WM_KEYDOWN, 'A', 0x1E}},
        {"Shift+A", Qt::Key_A, 38, XK_A, kShift, {WM_KEYDOWN, 'A', 0x1E}},
        {"Shift+1 (Exclam)", Qt::Key_Exclam, 10, XK_exclam, kShift, {WM_KEYDOWN, '1', 0x02}},
        {"Shift+Tab (Backtab)",
         Qt::Key_Backtab,
         23,
         XK_ISO_Left_Tab,
         kShift,
         {WM_KEYDOWN, VK_TAB, 0x0F}},
        {"Ctrl+Pause (key 0)", 0, 127, XK_Break, kControl, {WM_KEYDOWN, VK_PAUSE, 0x45}},
        {"Alt+A", Qt::Key_A, 38, XK_a, kAlt, {WM_SYSKEYDOWN, 'A', 0x201E}},
        {"Alt", Qt::Key_Alt, 64, XK_Alt_L, 0, {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
        {"F10", Qt::Key_F10, 76, XK_F10, 0, {WM_SYSKEYDOWN, VK_F10, 0x0044}},
        {"keypad 5, Num Lock on",
         Qt::Key_5,
         84,
         XK_KP_5,
         kNumLock,
         {WM_KEYDOWN, VK_NUMPAD0 + 5, 0x4C}},
        {"keypad 5, Num Lock off", Qt::Key_Clear, 84, XK_KP_Begin, 0, {WM_KEYDOWN, VK_CLEAR, 0x4C}},
        {"keypad 5, state only", Qt::Key_5, 84, 0, kNumLock, {WM_KEYDOWN, VK_NUMPAD0 + 5, 0x4C}},
        // Without the server's keymap the letter the event types stands for the key's letter.
        {"French A (US Q key)", Qt::Key_A, 24, XK_a, 0, {WM_KEYDOWN, 'A', 0x10}},
    };
    for (const Case& c : cases) {
        KeyboardTranslator translator;
        ExpectMessage(
            translator.translate(Native(QEvent::KeyPress, c.qtKey, c.keycode, c.keysym, c.state)),
            c.expected, c.name);
    }
}

TEST(KeyboardEvents, AutoRepeatGivesRepeatedKeyDownsAndOneKeyUp) {
    KeyboardTranslator translator;
    ExpectMessage(translator.translate(Native(QEvent::KeyPress, Qt::Key_A, 38, XK_a)),
                  {WM_KEYDOWN, 'A', 0x001E}, "first press");
    // Qt's marked release/press pairs of a repeat.
    EXPECT_FALSE(
        translator.translate(Native(QEvent::KeyRelease, Qt::Key_A, 38, XK_a, 0, true)).has_value());
    ExpectMessage(translator.translate(Native(QEvent::KeyPress, Qt::Key_A, 38, XK_a, 0, true)),
                  {WM_KEYDOWN, 'A', 0x401E}, "marked repeat");
    // A repeat that arrives as a press only (detectable auto-repeat), or unmarked.
    ExpectMessage(translator.translate(Native(QEvent::KeyPress, Qt::Key_A, 38, XK_a)),
                  {WM_KEYDOWN, 'A', 0x401E}, "unmarked repeat");
    ExpectMessage(translator.translate(Native(QEvent::KeyRelease, Qt::Key_A, 38, XK_a)),
                  {WM_KEYUP, 'A', 0xC01E}, "release");

    // Focus lost while A was down: its next press is fresh, and its release, wherever the key went
    // down, is a key-up.
    ExpectMessage(translator.translate(Native(QEvent::KeyPress, Qt::Key_A, 38, XK_a)),
                  {WM_KEYDOWN, 'A', 0x001E}, "press before reset");
    translator.reset();
    ExpectMessage(translator.translate(Native(QEvent::KeyPress, Qt::Key_A, 38, XK_a)),
                  {WM_KEYDOWN, 'A', 0x001E}, "press after reset");
    translator.reset();
    ExpectMessage(translator.translate(Native(QEvent::KeyRelease, Qt::Key_A, 38, XK_a)),
                  {WM_KEYUP, 'A', 0xC01E}, "release after reset");
}

TEST(KeyboardEvents, EventsWithoutNativeDataArePlacedOnTheUsKeyboard) {
    struct Case {
        const char* name;
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        Expected expected;
    } cases[] = {
        {"A", Qt::Key_A, Qt::NoModifier, {WM_KEYDOWN, 'A', 0x1E}},
        {"Shift+A", Qt::Key_A, Qt::ShiftModifier, {WM_KEYDOWN, 'A', 0x1E}},
        {"Z", Qt::Key_Z, Qt::NoModifier, {WM_KEYDOWN, 'Z', 0x2C}},
        {"0", Qt::Key_0, Qt::NoModifier, {WM_KEYDOWN, '0', 0x0B}},
        {"Exclam", Qt::Key_Exclam, Qt::ShiftModifier, {WM_KEYDOWN, '1', 0x02}},
        {"keypad 1", Qt::Key_1, Qt::KeypadModifier, {WM_KEYDOWN, VK_NUMPAD0 + 1, 0x4F}},
        {"keypad End", Qt::Key_End, Qt::KeypadModifier, {WM_KEYDOWN, VK_END, 0x4F}},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, {WM_KEYDOWN, VK_RETURN, 0x11C}},
        {"End", Qt::Key_End, Qt::NoModifier, {WM_KEYDOWN, VK_END, 0x14F}},
        {"Space", Qt::Key_Space, Qt::NoModifier, {WM_KEYDOWN, VK_SPACE, 0x39}},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, {WM_KEYDOWN, VK_ESCAPE, 0x01}},
        {"F6", Qt::Key_F6, Qt::NoModifier, {WM_KEYDOWN, VK_F6, 0x40}},
        {"F12", Qt::Key_F12, Qt::NoModifier, {WM_KEYDOWN, VK_F12, 0x58}},
        {"Alt", Qt::Key_Alt, Qt::NoModifier, {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
        {"Alt+F4", Qt::Key_F4, Qt::AltModifier, {WM_SYSKEYDOWN, VK_F1 + 3, 0x203E}},
        {"F10", Qt::Key_F10, Qt::NoModifier, {WM_SYSKEYDOWN, VK_F10, 0x0044}},
        {"Meta", Qt::Key_Meta, Qt::NoModifier, {WM_KEYDOWN, VK_LWIN, 0x15B}},
        {"Menu", Qt::Key_Menu, Qt::NoModifier, {WM_KEYDOWN, VK_APPS, 0x15D}},
        {"Semicolon", Qt::Key_Semicolon, Qt::NoModifier, {WM_KEYDOWN, VK_OEM_1, 0x27}},
    };
    for (const Case& c : cases) {
        KeyboardTranslator translator;
        ExpectMessage(translator.translate(Synthetic(QEvent::KeyPress, c.qtKey, c.modifiers)),
                      c.expected, c.name);
        const auto up = translator.translate(Synthetic(QEvent::KeyRelease, c.qtKey, c.modifiers));
        ASSERT_TRUE(up.has_value()) << c.name;
        EXPECT_EQ(up->vk, c.expected.vk) << c.name;
        EXPECT_EQ(up->flags & 0xC1FFu, (c.expected.flags & 0x1FFu) | 0xC000u) << c.name;
    }
}

TEST(KeyboardEvents, OtherEventsAndUnknownKeysGiveNothing) {
    KeyboardTranslator translator;
    EXPECT_FALSE(
        translator.translate(Synthetic(QEvent::ShortcutOverride, Qt::Key_A, Qt::NoModifier))
            .has_value());
    EXPECT_FALSE(translator.translate(Synthetic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier))
                     .has_value());
    EXPECT_FALSE(translator.translate(Synthetic(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier))
                     .has_value());
}
