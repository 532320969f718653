// The keyboard translation as a table: X keycode (the Linux key code plus 8), the key's
// first-level keysym, the event's keysym and modifier state, press or release, to the key message.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "platform/qt/keyboard_translation.h"

using pibo::qt::KeyboardState;
using pibo::qt::KeyMessage;
using pibo::qt::NativeKeyEvent;
using pibo::qt::TranslateKeyEvent;

namespace {

// X keycodes of a PC keyboard under the evdev driver.
enum Keycode : UINT {
    kEscape = 9,
    kDigit1 = 10,
    kDigit0 = 19,
    kMinus = 20,
    kEqual = 21,
    kBackspace = 22,
    kTab = 23,
    kQ = 24,
    kE = 26,
    kY = 29,
    kBracketLeft = 34,
    kBracketRight = 35,
    kReturn = 36,
    kLeftCtrl = 37,
    kA = 38,
    kSemicolon = 47,
    kApostrophe = 48,
    kGrave = 49,
    kLeftShift = 50,
    kBackslash = 51,
    kM = 58,
    kComma = 59,
    kPeriod = 60,
    kSlash = 61,
    kRightShift = 62,
    kKpMultiply = 63,
    kLeftAlt = 64,
    kSpace = 65,
    kCapsLock = 66,
    kF1 = 67,
    kF4 = 70,
    kF10 = 76,
    kNumLock = 77,
    kScrollLock = 78,
    kKp7 = 79,
    kKp8 = 80,
    kKp9 = 81,
    kKpMinus = 82,
    kKp5 = 84,
    kKpPlus = 86,
    kKp1 = 87,
    kKp0 = 90,
    kKpDecimal = 91,
    kLess102 = 94,
    kF11 = 95,
    kF12 = 96,
    kKpEnter = 104,
    kRightCtrl = 105,
    kKpDivide = 106,
    kPrint = 107,
    kRightAlt = 108,
    kHome = 110,
    kUp = 111,
    kPageUp = 112,
    kLeft = 113,
    kRight = 114,
    kEnd = 115,
    kDown = 116,
    kPageDown = 117,
    kInsert = 118,
    kDelete = 119,
    kPause = 127,
    kLeftLogo = 133,
    kRightLogo = 134,
    kMenu = 135,
    kF13 = 191,
};

struct Modifiers {
    bool alt = false;
    bool numLock = false;
};
constexpr Modifiers kNone{};
constexpr Modifiers kAlt{true, false};
constexpr Modifiers kNumLockOn{false, true};

NativeKeyEvent Event(bool press, UINT keycode, UINT levelOne, UINT keysym, Modifiers m = kNone,
                     bool autoRepeat = false) {
    NativeKeyEvent e;
    e.keycode = keycode;
    e.levelOneKeysym = levelOne;
    e.keysym = keysym;
    e.press = press;
    e.altModifier = m.alt;
    e.numLock = m.numLock;
    e.autoRepeat = autoRepeat;
    return e;
}
NativeKeyEvent Press(UINT keycode, UINT levelOne = 0, UINT keysym = 0, Modifiers m = kNone) {
    return Event(true, keycode, levelOne, keysym, m);
}
NativeKeyEvent Release(UINT keycode, UINT levelOne = 0, UINT keysym = 0, Modifiers m = kNone) {
    return Event(false, keycode, levelOne, keysym, m);
}

struct Expected {
    UINT message;
    UINT vk;
    UINT flags;
};

std::string Describe(const std::optional<KeyMessage>& m) {
    if (!m)
        return "nothing";
    char text[64];
    std::snprintf(text, sizeof text, "(0x%04X, %u, 0x%04X, repeat %u)", m->message, m->vk, m->flags,
                  m->repeat);
    return text;
}

void ExpectMessage(const std::optional<KeyMessage>& actual, const Expected& e,
                   const std::string& what) {
    ASSERT_TRUE(actual.has_value()) << what;
    EXPECT_EQ(actual->message, e.message) << what << ": " << Describe(actual);
    EXPECT_EQ(actual->vk, e.vk) << what << ": " << Describe(actual);
    EXPECT_EQ(actual->flags, e.flags) << what << ": " << Describe(actual);
    EXPECT_EQ(actual->repeat, 1u) << what;
    EXPECT_EQ(actual->lParam(), static_cast<LPARAM>((e.flags << 16) | 1u)) << what;
}

struct PressCase {
    const char* name;
    NativeKeyEvent event;
    Expected expected;
};

// A first press of each key, with nothing else down.
const std::vector<PressCase>& PressCases() {
    static const std::vector<PressCase> cases = {
        // Letters follow the layout's first-level symbol, whatever Shift and Caps Lock do.
        {"A", Press(kA, XK_a, XK_a), {WM_KEYDOWN, 'A', 0x1E}},
        {"Shift+A", Press(kA, XK_a, XK_A), {WM_KEYDOWN, 'A', 0x1E}},
        {"Caps Lock A", Press(kA, XK_a, XK_A), {WM_KEYDOWN, 'A', 0x1E}},
        {"French A (US Q key)", Press(kQ, XK_a, XK_a), {WM_KEYDOWN, 'A', 0x10}},
        {"French M (US ; key)", Press(kSemicolon, XK_m, XK_m), {WM_KEYDOWN, 'M', 0x27}},
        {"French , (US M key)", Press(kM, XK_comma, XK_comma), {WM_KEYDOWN, 188, 0x32}},
        {"German Z (US Y key)", Press(kY, XK_z, XK_z), {WM_KEYDOWN, 'Z', 0x15}},
        {"Russian ef (US A key)",
         Press(kA, XK_Cyrillic_ef, XK_Cyrillic_ef),
         {WM_KEYDOWN, 'A', 0x1E}},
        {"E without a keymap", Press(kE), {WM_KEYDOWN, 'E', 0x12}},
        // Top-row digits by position, whatever they type.
        {"1", Press(kDigit1, XK_1, XK_1), {WM_KEYDOWN, '1', 0x02}},
        {"Shift+1", Press(kDigit1, XK_1, XK_exclam), {WM_KEYDOWN, '1', 0x02}},
        {"French 1 (&)", Press(kDigit1, XK_ampersand, XK_ampersand), {WM_KEYDOWN, '1', 0x02}},
        {"0", Press(kDigit0, XK_0, XK_0), {WM_KEYDOWN, '0', 0x0B}},
        // Other keys by position.
        {"Escape", Press(kEscape), {WM_KEYDOWN, VK_ESCAPE, 0x01}},
        {"Backspace", Press(kBackspace), {WM_KEYDOWN, VK_BACK, 0x0E}},
        {"Tab", Press(kTab, XK_Tab, XK_Tab), {WM_KEYDOWN, VK_TAB, 0x0F}},
        {"Shift+Tab", Press(kTab, XK_Tab, XK_ISO_Left_Tab), {WM_KEYDOWN, VK_TAB, 0x0F}},
        {"Enter", Press(kReturn), {WM_KEYDOWN, VK_RETURN, 0x1C}},
        {"Space", Press(kSpace, XK_space, XK_space), {WM_KEYDOWN, VK_SPACE, 0x39}},
        {"left Shift", Press(kLeftShift), {WM_KEYDOWN, VK_SHIFT, 0x2A}},
        {"right Shift", Press(kRightShift), {WM_KEYDOWN, VK_SHIFT, 0x36}},
        {"left Ctrl", Press(kLeftCtrl), {WM_KEYDOWN, VK_CONTROL, 0x1D}},
        {"right Ctrl", Press(kRightCtrl), {WM_KEYDOWN, VK_CONTROL, 0x11D}},
        {"Caps Lock", Press(kCapsLock), {WM_KEYDOWN, VK_CAPITAL, 0x3A}},
        {"Num Lock", Press(kNumLock), {WM_KEYDOWN, VK_NUMLOCK, 0x45}},
        {"Scroll Lock", Press(kScrollLock), {WM_KEYDOWN, VK_SCROLL, 0x46}},
        {"Pause", Press(kPause, XK_Pause, XK_Pause), {WM_KEYDOWN, VK_PAUSE, 0x45}},
        {"Ctrl+Pause (Break)", Press(kPause, XK_Pause, XK_Break), {WM_KEYDOWN, VK_PAUSE, 0x45}},
        {"Print Screen", Press(kPrint), {WM_KEYDOWN, VK_SNAPSHOT, 0x137}},
        {"F1", Press(kF1), {WM_KEYDOWN, VK_F1, 0x3B}},
        {"F11", Press(kF11), {WM_KEYDOWN, VK_F1 + 10, 0x57}},
        {"F12", Press(kF12), {WM_KEYDOWN, VK_F12, 0x58}},
        {"F13", Press(kF13), {WM_KEYDOWN, VK_F1 + 12, 0x64}},
        {"left logo", Press(kLeftLogo), {WM_KEYDOWN, VK_LWIN, 0x15B}},
        {"right logo", Press(kRightLogo), {WM_KEYDOWN, VK_RWIN, 0x15C}},
        {"Menu", Press(kMenu), {WM_KEYDOWN, VK_APPS, 0x15D}},
        {"Home", Press(kHome), {WM_KEYDOWN, VK_HOME, 0x147}},
        {"Up", Press(kUp), {WM_KEYDOWN, VK_UP, 0x148}},
        {"Page Up", Press(kPageUp), {WM_KEYDOWN, VK_PRIOR, 0x149}},
        {"Left", Press(kLeft), {WM_KEYDOWN, VK_LEFT, 0x14B}},
        {"Right", Press(kRight), {WM_KEYDOWN, VK_RIGHT, 0x14D}},
        {"End", Press(kEnd), {WM_KEYDOWN, VK_END, 0x14F}},
        {"Down", Press(kDown), {WM_KEYDOWN, VK_DOWN, 0x150}},
        {"Page Down", Press(kPageDown), {WM_KEYDOWN, VK_NEXT, 0x151}},
        {"Insert", Press(kInsert), {WM_KEYDOWN, VK_INSERT, 0x152}},
        {"Delete", Press(kDelete), {WM_KEYDOWN, VK_DELETE, 0x153}},
        // Punctuation: the OEM codes.
        {";", Press(kSemicolon, XK_semicolon, XK_semicolon), {WM_KEYDOWN, VK_OEM_1, 0x27}},
        {"=", Press(kEqual, XK_equal, XK_equal), {WM_KEYDOWN, VK_OEM_PLUS, 0x0D}},
        {",", Press(kComma, XK_comma, XK_comma), {WM_KEYDOWN, VK_OEM_COMMA, 0x33}},
        {"-", Press(kMinus, XK_minus, XK_minus), {WM_KEYDOWN, VK_OEM_MINUS, 0x0C}},
        {".", Press(kPeriod, XK_period, XK_period), {WM_KEYDOWN, VK_OEM_PERIOD, 0x34}},
        {"/", Press(kSlash, XK_slash, XK_question), {WM_KEYDOWN, VK_OEM_2, 0x35}},
        {"`", Press(kGrave, XK_grave, XK_grave), {WM_KEYDOWN, VK_OEM_3, 0x29}},
        {"[", Press(kBracketLeft, XK_bracketleft, XK_bracketleft), {WM_KEYDOWN, VK_OEM_4, 0x1A}},
        {"\\", Press(kBackslash, XK_backslash, XK_bar), {WM_KEYDOWN, VK_OEM_5, 0x2B}},
        {"]", Press(kBracketRight), {WM_KEYDOWN, VK_OEM_6, 0x1B}},
        {"'", Press(kApostrophe, XK_apostrophe, XK_apostrophe), {WM_KEYDOWN, VK_OEM_7, 0x28}},
        {"German + (US ] key)",
         Press(kBracketRight, XK_plus, XK_plus),
         {WM_KEYDOWN, VK_OEM_PLUS, 0x1B}},
        {"key beside left Shift",
         Press(kLess102, XK_less, XK_less),
         {WM_KEYDOWN, VK_OEM_102, 0x56}},
        // The keypad follows Num Lock, read from the keysym first.
        {"keypad 1, Num Lock on",
         Press(kKp1, XK_KP_End, XK_KP_1, kNumLockOn),
         {WM_KEYDOWN, VK_NUMPAD0 + 1, 0x4F}},
        {"keypad 5, Num Lock on",
         Press(kKp5, XK_KP_Begin, XK_KP_5, kNumLockOn),
         {WM_KEYDOWN, VK_NUMPAD0 + 5, 0x4C}},
        {"keypad 0, Num Lock on", Press(kKp0, 0, XK_KP_0), {WM_KEYDOWN, VK_NUMPAD0, 0x52}},
        {"keypad 7, Num Lock on", Press(kKp7, 0, XK_KP_7), {WM_KEYDOWN, VK_NUMPAD0 + 7, 0x47}},
        {"keypad 9, Num Lock on", Press(kKp9, 0, XK_KP_9), {WM_KEYDOWN, VK_NUMPAD9, 0x49}},
        {"keypad point, Num Lock on",
         Press(kKpDecimal, 0, XK_KP_Decimal),
         {WM_KEYDOWN, VK_DECIMAL, 0x53}},
        {"keypad comma, Num Lock on",
         Press(kKpDecimal, 0, XK_KP_Separator),
         {WM_KEYDOWN, VK_DECIMAL, 0x53}},
        {"keypad 1, Num Lock off", Press(kKp1, XK_KP_End, XK_KP_End), {WM_KEYDOWN, VK_END, 0x4F}},
        {"keypad 5, Num Lock off", Press(kKp5, 0, XK_KP_Begin), {WM_KEYDOWN, VK_CLEAR, 0x4C}},
        {"keypad 0, Num Lock off", Press(kKp0, 0, XK_KP_Insert), {WM_KEYDOWN, VK_INSERT, 0x52}},
        {"keypad 8, Num Lock off", Press(kKp8, 0, XK_KP_Up), {WM_KEYDOWN, VK_UP, 0x48}},
        {"keypad 9, Num Lock off", Press(kKp9, 0, XK_KP_Prior), {WM_KEYDOWN, VK_PRIOR, 0x49}},
        {"keypad point, Num Lock off",
         Press(kKpDecimal, 0, XK_KP_Delete),
         {WM_KEYDOWN, VK_DELETE, 0x53}},
        {"Shift+keypad 1, Num Lock on",
         Press(kKp1, 0, XK_KP_End, kNumLockOn),
         {WM_KEYDOWN, VK_END, 0x4F}},
        {"keypad 1, no keysym, Num Lock on",
         Press(kKp1, 0, 0, kNumLockOn),
         {WM_KEYDOWN, VK_NUMPAD0 + 1, 0x4F}},
        {"keypad 1, no keysym, Num Lock off", Press(kKp1), {WM_KEYDOWN, VK_END, 0x4F}},
        {"keypad *", Press(kKpMultiply), {WM_KEYDOWN, VK_MULTIPLY, 0x37}},
        {"keypad -", Press(kKpMinus), {WM_KEYDOWN, VK_SUBTRACT, 0x4A}},
        {"keypad +", Press(kKpPlus), {WM_KEYDOWN, VK_ADD, 0x4E}},
        {"keypad /", Press(kKpDivide), {WM_KEYDOWN, VK_DIVIDE, 0x135}},
        {"keypad Enter", Press(kKpEnter), {WM_KEYDOWN, VK_RETURN, 0x11C}},
        // System keys: Alt itself, F10, and any key while Alt is down.
        {"left Alt", Press(kLeftAlt, XK_Alt_L, XK_Alt_L), {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
        {"right Alt", Press(kRightAlt, XK_Alt_R, XK_Alt_R), {WM_SYSKEYDOWN, VK_MENU, 0x2138}},
        {"AltGr",
         Press(kRightAlt, XK_ISO_Level3_Shift, XK_ISO_Level3_Shift),
         {WM_SYSKEYDOWN, VK_MENU, 0x2138}},
        {"F10", Press(kF10, XK_F10, XK_F10), {WM_SYSKEYDOWN, VK_F10, 0x0044}},
        {"Alt+F10", Press(kF10, XK_F10, XK_F10, kAlt), {WM_SYSKEYDOWN, VK_F10, 0x2044}},
        {"Alt+A", Press(kA, XK_a, XK_a, kAlt), {WM_SYSKEYDOWN, 'A', 0x201E}},
        {"Alt+F4", Press(kF4, 0, 0, kAlt), {WM_SYSKEYDOWN, VK_F1 + 3, 0x203E}},
        {"Alt+keypad Enter", Press(kKpEnter, 0, 0, kAlt), {WM_SYSKEYDOWN, VK_RETURN, 0x211C}},
        // Keys without a code of their own.
        {"unused key 84", Press(84 + 8), {WM_KEYDOWN, 0xFF, 84}},
        {"unknown key 247", Press(255), {WM_KEYDOWN, 0xFF, 0}},
    };
    return cases;
}

} // namespace

TEST(KeyboardTranslation, FirstPressOfEachKey) {
    for (const PressCase& c : PressCases()) {
        KeyboardState state;
        ExpectMessage(TranslateKeyEvent(c.event, state), c.expected, c.name);
    }
}

TEST(KeyboardTranslation, EveryKeyUpCarriesTheTransitionAndPreviousStateBits) {
    for (const PressCase& c : PressCases()) {
        KeyboardState state;
        const auto down = TranslateKeyEvent(c.event, state);
        ASSERT_TRUE(down.has_value()) << c.name;
        NativeKeyEvent up = c.event;
        up.press = false;
        const auto released = TranslateKeyEvent(up, state);
        ASSERT_TRUE(released.has_value()) << c.name;
        // Alt tapped alone goes up as a system key without the Alt bit: Alt is no longer down.
        const bool altKey = c.event.keycode == kLeftAlt || c.event.keycode == kRightAlt;
        const UINT expectedFlags =
            (c.expected.flags & 0x1FF) | 0xC000 | (altKey ? 0u : (c.expected.flags & KF_ALTDOWN));
        const UINT expectedMessage = c.expected.message == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP;
        ExpectMessage(released, {expectedMessage, c.expected.vk, expectedFlags}, c.name);
        EXPECT_FALSE(state.isDown(c.event.keycode)) << c.name;
    }
}

// A sequence of events and the message each gives (nothing where message is 0).
struct Step {
    NativeKeyEvent event;
    Expected expected;
};

void RunSequence(const char* name, const std::vector<Step>& steps) {
    KeyboardState state;
    for (size_t i = 0; i < steps.size(); ++i) {
        const auto actual = TranslateKeyEvent(steps[i].event, state);
        const std::string what = std::string(name) + ", step " + std::to_string(i + 1);
        if (steps[i].expected.message == 0)
            EXPECT_FALSE(actual.has_value()) << what << ": " << Describe(actual);
        else
            ExpectMessage(actual, steps[i].expected, what);
    }
}

constexpr Expected kNothing{0, 0, 0};

TEST(KeyboardTranslation, HeldKeyRepeatsWithThePreviousStateBitAndGoesUpOnce) {
    // With detectable auto-repeat: presses only, then one release.
    RunSequence("held A", {
                              {Press(kA, XK_a, XK_a), {WM_KEYDOWN, 'A', 0x001E}},
                              {Press(kA, XK_a, XK_a), {WM_KEYDOWN, 'A', 0x401E}},
                              {Press(kA, XK_a, XK_a), {WM_KEYDOWN, 'A', 0x401E}},
                              {Release(kA, XK_a, XK_a), {WM_KEYUP, 'A', 0xC01E}},
                              {Press(kA, XK_a, XK_a), {WM_KEYDOWN, 'A', 0x001E}},
                          });
    // Without it: the release halves of the repeats are marked and give nothing.
    RunSequence("held Space, marked repeats",
                {
                    {Press(kSpace), {WM_KEYDOWN, VK_SPACE, 0x0039}},
                    {Event(false, kSpace, 0, 0, kNone, true), kNothing},
                    {Event(true, kSpace, 0, 0, kNone, true), {WM_KEYDOWN, VK_SPACE, 0x4039}},
                    {Event(false, kSpace, 0, 0, kNone, true), kNothing},
                    {Event(true, kSpace, 0, 0, kNone, true), {WM_KEYDOWN, VK_SPACE, 0x4039}},
                    {Release(kSpace), {WM_KEYUP, VK_SPACE, 0xC039}},
                });
}

TEST(KeyboardTranslation, AKeyThatWentDownElsewhereStillGoesUpHere) {
    // The window with the keyboard gets every key-up: the Escape or Return that closed a menu or
    // a dialog, a key held since before the window had the keyboard. A second release is a key-up
    // again; the next press is a fresh one.
    RunSequence("Escape that closed a menu", {
                                                 {Release(kEscape), {WM_KEYUP, VK_ESCAPE, 0xC001}},
                                                 {Release(kEscape), {WM_KEYUP, VK_ESCAPE, 0xC001}},
                                                 {Press(kEscape), {WM_KEYDOWN, VK_ESCAPE, 0x0001}},
                                             });
    RunSequence("Return with Alt still held",
                {
                    {Press(kLeftAlt), {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
                    {Release(kReturn, 0, 0, kAlt), {WM_SYSKEYUP, VK_RETURN, 0xE01C}},
                    {Release(kLeftAlt, 0, 0, kAlt), {WM_KEYUP, VK_MENU, 0xC038}},
                });
    RunSequence("Alt that opened a menu", {{Release(kLeftAlt), {WM_KEYUP, VK_MENU, 0xC038}}});
    // The release half of an auto-repeat still gives nothing.
    RunSequence("marked release", {{Event(false, kSpace, 0, 0, kNone, true), kNothing}});
}

TEST(KeyboardTranslation, AKeyKeepsTheCodeItWentDownWith) {
    RunSequence("Num Lock switched while keypad 1 is held",
                {
                    {Press(kKp1, 0, XK_KP_1), {WM_KEYDOWN, VK_NUMPAD0 + 1, 0x4F}},
                    {Press(kKp1, 0, XK_KP_End), {WM_KEYDOWN, VK_NUMPAD0 + 1, 0x404F}},
                    {Release(kKp1, 0, XK_KP_End), {WM_KEYUP, VK_NUMPAD0 + 1, 0xC04F}},
                });
    RunSequence("layout switched while Q is held",
                {
                    {Press(kQ, XK_q, XK_q), {WM_KEYDOWN, 'Q', 0x10}},
                    {Release(kQ, XK_a, XK_a), {WM_KEYUP, 'Q', 0xC010}},
                });
}

TEST(KeyboardTranslation, AltCombinationsAreSystemKeys) {
    RunSequence("Alt tapped alone",
                {
                    {Press(kLeftAlt), {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
                    {Release(kLeftAlt, 0, 0, kAlt), {WM_SYSKEYUP, VK_MENU, 0xC038}},
                });
    RunSequence("right Alt tapped alone",
                {
                    {Press(kRightAlt), {WM_SYSKEYDOWN, VK_MENU, 0x2138}},
                    {Release(kRightAlt, 0, 0, kAlt), {WM_SYSKEYUP, VK_MENU, 0xC138}},
                });
    // After a combination Alt goes up as an ordinary key, so that it does not open the menu.
    RunSequence("Alt+F4", {
                              {Press(kLeftAlt), {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
                              {Press(kF4, 0, 0, kAlt), {WM_SYSKEYDOWN, VK_F1 + 3, 0x203E}},
                              {Release(kF4, 0, 0, kAlt), {WM_SYSKEYUP, VK_F1 + 3, 0xE03E}},
                              {Release(kLeftAlt, 0, 0, kAlt), {WM_KEYUP, VK_MENU, 0xC038}},
                          });
    RunSequence("Alt released before the letter",
                {
                    {Press(kLeftAlt), {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
                    {Press(kA, XK_a, XK_a, kAlt), {WM_SYSKEYDOWN, 'A', 0x201E}},
                    {Release(kLeftAlt, 0, 0, kAlt), {WM_KEYUP, VK_MENU, 0xC038}},
                    {Release(kA, XK_a, XK_a), {WM_KEYUP, 'A', 0xC01E}},
                    {Press(kLeftAlt), {WM_SYSKEYDOWN, VK_MENU, 0x2038}},
                    {Release(kLeftAlt, 0, 0, kAlt), {WM_SYSKEYUP, VK_MENU, 0xC038}},
                });
    // AltGr sets another modifier than Alt; the key being down is what counts.
    RunSequence("AltGr+E", {
                               {Press(kRightAlt), {WM_SYSKEYDOWN, VK_MENU, 0x2138}},
                               {Press(kE, XK_e, XK_EuroSign), {WM_SYSKEYDOWN, 'E', 0x2012}},
                               {Release(kE, XK_e, XK_EuroSign), {WM_SYSKEYUP, 'E', 0xE012}},
                               {Release(kRightAlt), {WM_KEYUP, VK_MENU, 0xC138}},
                           });
    RunSequence("F10 alone and its release", {
                                                 {Press(kF10), {WM_SYSKEYDOWN, VK_F10, 0x0044}},
                                                 {Press(kF10), {WM_SYSKEYDOWN, VK_F10, 0x4044}},
                                                 {Release(kF10), {WM_SYSKEYUP, VK_F10, 0xC044}},
                                             });
    RunSequence("Shift held, then A", {
                                          {Press(kLeftShift), {WM_KEYDOWN, VK_SHIFT, 0x2A}},
                                          {Press(kA, XK_a, XK_A), {WM_KEYDOWN, 'A', 0x1E}},
                                          {Release(kA, XK_a, XK_A), {WM_KEYUP, 'A', 0xC01E}},
                                          {Release(kLeftShift), {WM_KEYUP, VK_SHIFT, 0xC02A}},
                                      });
}

TEST(KeyboardTranslation, ResetForgetsTheKeysThatAreDown) {
    KeyboardState state;
    ASSERT_TRUE(TranslateKeyEvent(Press(kA, XK_a, XK_a), state));
    ASSERT_TRUE(TranslateKeyEvent(Press(kLeftAlt), state));
    state.reset();
    EXPECT_FALSE(state.isDown(kA));
    ExpectMessage(TranslateKeyEvent(Press(kA, XK_a, XK_a), state), {WM_KEYDOWN, 'A', 0x1E},
                  "A after reset");
    // Alt is no longer held: A goes up as an ordinary key.
    ExpectMessage(TranslateKeyEvent(Release(kA, XK_a, XK_a), state), {WM_KEYUP, 'A', 0xC01E},
                  "A released");
}

TEST(KeyboardTranslation, KeycodesOutOfRangeGiveNothing) {
    KeyboardState state;
    EXPECT_FALSE(TranslateKeyEvent(Press(KeyboardState::kKeycodes), state).has_value());
    EXPECT_FALSE(TranslateKeyEvent(Press(0xFFFFFFFFu), state).has_value());
    ExpectMessage(TranslateKeyEvent(Press(0), state), {WM_KEYDOWN, 0xFF, 0}, "keycode 0");
}
