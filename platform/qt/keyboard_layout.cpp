// The PC keyboard by position. Linux key codes 1 to 88 are the set-1 scan codes themselves; the
// keys added later (the extended cursor block, right Ctrl and Alt, the logo and menu keys, the
// media keys) have their own rows with the scan code Windows gives them.
#include "platform/qt/keyboard_layout.h"

#include <X11/keysym.h>

#include <array>
#include <cstdint>

#include "platform/win/constants.h"

namespace pibo::qt {
namespace {

enum class Kind : std::uint8_t {
    Fixed,  // the code is the key's own, whatever the layout
    Typing, // a letter or punctuation key: the layout's symbol may decide the code
    Keypad, // a keypad key with a digit and a navigation meaning, chosen by Num Lock
};

struct Key {
    std::uint8_t vk = 0;   // 0: no row for this key
    std::uint8_t scan = 0; // set-1 scan code
    bool extended = false; // E0 prefix
    Kind kind = Kind::Fixed;
    std::uint8_t navigation = 0; // keypad keys: the code while Num Lock is off
};

constexpr UINT kLinuxKeys = 256;
using Table = std::array<Key, kLinuxKeys>;

constexpr std::uint8_t B(UINT v) {
    return static_cast<std::uint8_t>(v);
}
constexpr UINT F(UINT n) {
    return VK_F1 + n - 1;
}

constexpr Table BuildTable() {
    Table t{};
    // Codes 1 to 88: the scan code is the Linux key code.
    auto plain = [&t](UINT code, UINT vk, Kind kind = Kind::Fixed) {
        t[code] = Key{B(vk), B(code), false, kind, 0};
    };
    auto typing = [&plain](UINT code, UINT vk) { plain(code, vk, Kind::Typing); };
    auto keypad = [&t](UINT code, UINT digit, UINT navigation) {
        t[code] = Key{B(digit), B(code), false, Kind::Keypad, B(navigation)};
    };
    auto extended = [&t](UINT code, UINT vk, UINT scan) {
        t[code] = Key{B(vk), B(scan), true, Kind::Fixed, 0};
    };

    plain(1, VK_ESCAPE);
    for (UINT i = 0; i < 9; ++i)
        plain(2 + i, '1' + i); // top-row 1 to 9
    plain(11, '0');
    typing(12, VK_OEM_MINUS);
    typing(13, VK_OEM_PLUS);
    plain(14, VK_BACK);
    plain(15, VK_TAB);
    const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    const UINT rowStarts[] = {16, 30, 44};
    for (int r = 0; r < 3; ++r)
        for (UINT i = 0; rows[r][i] != '\0'; ++i)
            typing(rowStarts[r] + i, static_cast<UINT>(rows[r][i]));
    typing(26, VK_OEM_4); // [
    typing(27, VK_OEM_6); // ]
    plain(28, VK_RETURN);
    plain(29, VK_CONTROL);
    typing(39, VK_OEM_1); // ;
    typing(40, VK_OEM_7); // '
    typing(41, VK_OEM_3); // `
    plain(42, VK_SHIFT);
    typing(43, VK_OEM_5); // backslash
    typing(51, VK_OEM_COMMA);
    typing(52, VK_OEM_PERIOD);
    typing(53, VK_OEM_2); // /
    plain(54, VK_SHIFT);
    plain(55, VK_MULTIPLY);
    plain(56, VK_MENU);
    plain(57, VK_SPACE);
    plain(58, VK_CAPITAL);
    for (UINT i = 0; i < 10; ++i)
        plain(59 + i, F(1 + i));
    plain(69, VK_NUMLOCK);
    plain(70, VK_SCROLL);
    keypad(71, VK_NUMPAD0 + 7, VK_HOME);
    keypad(72, VK_NUMPAD0 + 8, VK_UP);
    keypad(73, VK_NUMPAD0 + 9, VK_PRIOR);
    plain(74, VK_SUBTRACT);
    keypad(75, VK_NUMPAD0 + 4, VK_LEFT);
    keypad(76, VK_NUMPAD0 + 5, VK_CLEAR);
    keypad(77, VK_NUMPAD0 + 6, VK_RIGHT);
    plain(78, VK_ADD);
    keypad(79, VK_NUMPAD0 + 1, VK_END);
    keypad(80, VK_NUMPAD0 + 2, VK_DOWN);
    keypad(81, VK_NUMPAD0 + 3, VK_NEXT);
    keypad(82, VK_NUMPAD0, VK_INSERT);
    keypad(83, VK_DECIMAL, VK_DELETE);
    typing(86, VK_OEM_102); // the extra key beside the left Shift
    plain(87, F(11));
    plain(88, F(12));

    extended(96, VK_RETURN, 0x1C); // keypad Enter
    extended(97, VK_CONTROL, 0x1D);
    extended(98, VK_DIVIDE, 0x35);
    extended(99, VK_SNAPSHOT, 0x37); // Print Screen
    extended(100, VK_MENU, 0x38);    // right Alt, AltGr
    extended(102, VK_HOME, 0x47);
    extended(103, VK_UP, 0x48);
    extended(104, VK_PRIOR, 0x49);
    extended(105, VK_LEFT, 0x4B);
    extended(106, VK_RIGHT, 0x4D);
    extended(107, VK_END, 0x4F);
    extended(108, VK_DOWN, 0x50);
    extended(109, VK_NEXT, 0x51);
    extended(110, VK_INSERT, 0x52);
    extended(111, VK_DELETE, 0x53);
    t[119] = Key{B(VK_PAUSE), 0x45, false, Kind::Fixed, 0};
    extended(125, VK_LWIN, 0x5B);
    extended(126, VK_RWIN, 0x5C);
    extended(127, VK_APPS, 0x5D);

    // F13 to F24, not extended.
    constexpr std::uint8_t kHighFunctionScans[] = {0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
                                                   0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x76};
    for (UINT i = 0; i < 12; ++i)
        t[183 + i] = Key{B(F(13 + i)), kHighFunctionScans[i], false, Kind::Fixed, 0};

    // Media and browser keys, with the codes Windows gives them.
    extended(113, 0xAD, 0x20); // mute
    extended(114, 0xAE, 0x2E); // volume down
    extended(115, 0xAF, 0x30); // volume up
    extended(128, 0xA9, 0x68); // browser stop
    extended(140, 0xB7, 0x21); // calculator
    extended(142, 0x5F, 0x5F); // sleep
    extended(155, 0xB4, 0x6C); // mail
    extended(156, 0xAB, 0x66); // favourites
    extended(158, 0xA6, 0x6A); // browser back
    extended(159, 0xA7, 0x69); // browser forward
    extended(163, 0xB0, 0x19); // next track
    extended(164, 0xB3, 0x22); // play/pause
    extended(165, 0xB1, 0x10); // previous track
    extended(166, 0xB2, 0x24); // stop
    extended(172, 0xAC, 0x32); // browser home
    extended(173, 0xA8, 0x67); // browser refresh
    extended(217, 0xAA, 0x65); // search
    return t;
}

constexpr Table kKeys = BuildTable();

// A Latin letter's code, from its lowercase or uppercase keysym; 0 for anything else.
constexpr UINT LetterCode(UINT keysym) {
    if (keysym >= XK_a && keysym <= XK_z)
        return 'A' + (keysym - XK_a);
    if (keysym >= XK_A && keysym <= XK_Z)
        return 'A' + (keysym - XK_A);
    return 0;
}

// The code Windows gives a punctuation key by the character it types: "+ , - ." are the same
// on every layout, the rest as on the US layout. 0 for other symbols.
constexpr UINT PunctuationCode(UINT keysym) {
    switch (keysym) {
    case XK_plus:
    case XK_equal:
        return VK_OEM_PLUS;
    case XK_comma:
        return VK_OEM_COMMA;
    case XK_minus:
        return VK_OEM_MINUS;
    case XK_period:
        return VK_OEM_PERIOD;
    case XK_semicolon:
        return VK_OEM_1;
    case XK_slash:
        return VK_OEM_2;
    case XK_grave:
        return VK_OEM_3;
    case XK_bracketleft:
        return VK_OEM_4;
    case XK_backslash:
        return VK_OEM_5;
    case XK_bracketright:
        return VK_OEM_6;
    case XK_apostrophe:
        return VK_OEM_7;
    default:
        return 0;
    }
}

constexpr bool IsKeypadDigitKeysym(UINT keysym) {
    return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal ||
           keysym == XK_KP_Separator;
}

// KP_Home to KP_Delete, KP_Begin (the 5) among them.
constexpr bool IsKeypadNavigationKeysym(UINT keysym) {
    return keysym >= XK_KP_Home && keysym <= XK_KP_Delete;
}

} // namespace

PcKey LookupPcKey(UINT keycode, UINT levelOneKeysym, UINT eventKeysym, bool numLock) {
    if (keycode < kEvdevKeycodeOffset || keycode - kEvdevKeycodeOffset >= kLinuxKeys)
        return {kNoVirtualKey, 0, false};
    const UINT code = keycode - kEvdevKeycodeOffset;
    const Key& key = kKeys[code];
    if (key.vk == 0) {
        // A key without a row still has its scan code where the Linux code is one.
        return {kNoVirtualKey, code <= 88 ? code : 0, false};
    }
    UINT vk = key.vk;
    switch (key.kind) {
    case Kind::Fixed:
        break;
    case Kind::Typing:
        // Letters follow the layout (the key that types "a" is A on any Latin layout); so do the
        // punctuation keys that type one of the characters with a fixed code. A key whose symbol
        // is neither, such as a Cyrillic letter, keeps its code by position.
        if (UINT letter = LetterCode(levelOneKeysym))
            vk = letter;
        else if (UINT punctuation = PunctuationCode(levelOneKeysym))
            vk = punctuation;
        break;
    case Kind::Keypad: {
        bool digits = numLock;
        if (IsKeypadDigitKeysym(eventKeysym))
            digits = true;
        else if (IsKeypadNavigationKeysym(eventKeysym))
            digits = false;
        if (!digits)
            vk = key.navigation;
        break;
    }
    }
    return {vk, key.scan, key.extended};
}

} // namespace pibo::qt
