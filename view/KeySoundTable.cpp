// The key sound table: one row per sound file, with the virtual-key codes that play it.
#include "view/KeySoundTable.h"

#include <array>
#include <initializer_list>

#include "platform/win/constants.h"

namespace {

// Codes 1 to 165 can have an entry; everything else has none.
constexpr UINT kLastCodeWithEntry = VK_RMENU;

// The function keys by number, so that the rows read like the keyboard.
constexpr UINT F(UINT n) {
    return VK_F1 + n - 1;
}

using Table = std::array<LPCSTR, kLastCodeWithEntry + 1>;

constexpr Table BuildTable() {
    Table t{};
    auto row = [&t](LPCSTR file, std::initializer_list<UINT> codes) {
        for (UINT code : codes)
            t[code] = file;
    };
    row("f1.wav", {VK_LBUTTON, VK_MENU, VK_RWIN, F(1), F(13)});
    row("f2.wav", {VK_RBUTTON, VK_PAUSE, VK_APPS, F(2), F(14)});
    row("f3.wav", {VK_CANCEL, VK_ESCAPE, VK_MULTIPLY, F(3), F(15)});
    row("f4.wav", {VK_MBUTTON, VK_PRIOR, VK_ADD, F(4), F(16)});
    row("f5.wav", {VK_NEXT, VK_SEPARATOR, F(5), F(17)});
    row("f6.wav", {VK_END, VK_SUBTRACT, F(6), F(18)});
    row("f7.wav", {VK_HOME, VK_DECIMAL, F(7), F(19)});
    row("f8.wav", {VK_LEFT, VK_DIVIDE, F(8), F(20)});
    row("f9.wav", {VK_UP, F(9), F(21), VK_NUMLOCK});
    row("f10.wav", {VK_RIGHT, F(10), F(22), VK_SCROLL});
    row("f11.wav", {VK_DOWN, F(11), F(23), VK_LSHIFT});
    row("f12.wav", {VK_INSERT, F(12), F(24), VK_RSHIFT});
    row("back.wav", {VK_BACK, VK_DELETE, VK_LCONTROL});
    row("tab.wav", {VK_TAB, VK_SNAPSHOT, VK_RCONTROL});
    row("enter.wav", {VK_CLEAR, VK_RETURN, VK_SELECT, VK_LWIN, VK_RMENU});
    row("shift.wav", {VK_SHIFT, VK_EXECUTE});
    row("ctrl.wav", {VK_CONTROL, VK_HELP});
    row("caps.wav", {VK_CAPITAL, VK_LMENU});
    row("space.wav", {VK_SPACE, VK_PRINT});
    // The keypad's digits share the top-row digits' sounds.
    row("0.wav", {VK_NUMPAD0});
    row("1.wav", {VK_NUMPAD0 + 1});
    row("2.wav", {VK_NUMPAD0 + 2});
    row("3.wav", {VK_NUMPAD0 + 3});
    row("4.wav", {VK_NUMPAD0 + 4});
    row("5.wav", {VK_NUMPAD0 + 5});
    row("6.wav", {VK_NUMPAD0 + 6});
    row("7.wav", {VK_NUMPAD0 + 7});
    row("8.wav", {VK_NUMPAD0 + 8});
    row("9.wav", {VK_NUMPAD9});
    return t;
}

constexpr Table kKeySounds = BuildTable();

} // namespace

LPCSTR LookupKeySound(UINT nChar) {
    return nChar <= kLastCodeWithEntry ? kKeySounds[nChar] : nullptr;
}
