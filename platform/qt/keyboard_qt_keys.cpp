#include "platform/qt/keyboard_qt_keys.h"

#include <X11/keysym.h>

#include "platform/qt/keyboard_layout.h"

namespace pibo::qt {
namespace {

struct Row {
    int key;
    UINT code; // Linux key code
};

constexpr SyntheticKey K(UINT code, UINT keysym = 0) {
    return {code + kEvdevKeycodeOffset, keysym};
}

// Keys typed with or without Shift on the US layout, by the key that types them.
constexpr Row kMainKeys[] = {
    {Qt::Key_Escape, 1},       {Qt::Key_Exclam, 2},       {Qt::Key_At, 3},
    {Qt::Key_NumberSign, 4},   {Qt::Key_Dollar, 5},       {Qt::Key_Percent, 6},
    {Qt::Key_AsciiCircum, 7},  {Qt::Key_Ampersand, 8},    {Qt::Key_Asterisk, 9},
    {Qt::Key_ParenLeft, 10},   {Qt::Key_ParenRight, 11},  {Qt::Key_Minus, 12},
    {Qt::Key_Underscore, 12},  {Qt::Key_Equal, 13},       {Qt::Key_Plus, 13},
    {Qt::Key_Backspace, 14},   {Qt::Key_Tab, 15},         {Qt::Key_Backtab, 15},
    {Qt::Key_BracketLeft, 26}, {Qt::Key_BraceLeft, 26},   {Qt::Key_BracketRight, 27},
    {Qt::Key_BraceRight, 27},  {Qt::Key_Return, 28},      {Qt::Key_Control, 29},
    {Qt::Key_Semicolon, 39},   {Qt::Key_Colon, 39},       {Qt::Key_Apostrophe, 40},
    {Qt::Key_QuoteDbl, 40},    {Qt::Key_QuoteLeft, 41},   {Qt::Key_AsciiTilde, 41},
    {Qt::Key_Shift, 42},       {Qt::Key_Backslash, 43},   {Qt::Key_Bar, 43},
    {Qt::Key_Comma, 51},       {Qt::Key_Less, 51},        {Qt::Key_Period, 52},
    {Qt::Key_Greater, 52},     {Qt::Key_Slash, 53},       {Qt::Key_Question, 53},
    {Qt::Key_Alt, 56},         {Qt::Key_Space, 57},       {Qt::Key_CapsLock, 58},
    {Qt::Key_NumLock, 69},     {Qt::Key_ScrollLock, 70},  {Qt::Key_Enter, 96},
    {Qt::Key_Print, 99},       {Qt::Key_SysReq, 99},      {Qt::Key_AltGr, 100},
    {Qt::Key_Home, 102},       {Qt::Key_Up, 103},         {Qt::Key_PageUp, 104},
    {Qt::Key_Left, 105},       {Qt::Key_Right, 106},      {Qt::Key_End, 107},
    {Qt::Key_Down, 108},       {Qt::Key_PageDown, 109},   {Qt::Key_Insert, 110},
    {Qt::Key_Delete, 111},     {Qt::Key_Pause, 119},      {Qt::Key_Meta, 125},
    {Qt::Key_Super_L, 125},    {Qt::Key_Super_R, 126},    {Qt::Key_Menu, 127},
    {Qt::Key_Clear, 76},       {Qt::Key_VolumeMute, 113}, {Qt::Key_VolumeDown, 114},
    {Qt::Key_VolumeUp, 115},
};

// The keypad, with the keysym its event carries (digits while Num Lock is on).
struct KeypadRow {
    int key;
    UINT code;
    UINT keysym;
};
constexpr KeypadRow kKeypadKeys[] = {
    {Qt::Key_0, 82, XK_KP_0},
    {Qt::Key_1, 79, XK_KP_1},
    {Qt::Key_2, 80, XK_KP_2},
    {Qt::Key_3, 81, XK_KP_3},
    {Qt::Key_4, 75, XK_KP_4},
    {Qt::Key_5, 76, XK_KP_5},
    {Qt::Key_6, 77, XK_KP_6},
    {Qt::Key_7, 71, XK_KP_7},
    {Qt::Key_8, 72, XK_KP_8},
    {Qt::Key_9, 73, XK_KP_9},
    {Qt::Key_Period, 83, XK_KP_Decimal},
    {Qt::Key_Comma, 83, XK_KP_Separator},
    {Qt::Key_Insert, 82, XK_KP_Insert},
    {Qt::Key_End, 79, XK_KP_End},
    {Qt::Key_Down, 80, XK_KP_Down},
    {Qt::Key_PageDown, 81, XK_KP_Next},
    {Qt::Key_Left, 75, XK_KP_Left},
    {Qt::Key_Clear, 76, XK_KP_Begin},
    {Qt::Key_Right, 77, XK_KP_Right},
    {Qt::Key_Home, 71, XK_KP_Home},
    {Qt::Key_Up, 72, XK_KP_Up},
    {Qt::Key_PageUp, 73, XK_KP_Prior},
    {Qt::Key_Delete, 83, XK_KP_Delete},
    {Qt::Key_Asterisk, 55, XK_KP_Multiply},
    {Qt::Key_Minus, 74, XK_KP_Subtract},
    {Qt::Key_Plus, 78, XK_KP_Add},
    {Qt::Key_Slash, 98, XK_KP_Divide},
    {Qt::Key_Enter, 96, XK_KP_Enter},
};

// The letter rows of the US layout, by Linux key code.
constexpr UINT kLetterKeys[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                  49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

} // namespace

std::optional<SyntheticKey> SyntheticKeyForQtKey(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        for (const KeypadRow& row : kKeypadKeys)
            if (row.key == key)
                return K(row.code, row.keysym);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const auto index = static_cast<UINT>(key - Qt::Key_A);
        return K(kLetterKeys[index], XK_a + index);
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_9)
        return K(2 + static_cast<UINT>(key - Qt::Key_1));
    if (key == Qt::Key_0)
        return K(11);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F10)
        return K(59 + static_cast<UINT>(key - Qt::Key_F1));
    if (key == Qt::Key_F11 || key == Qt::Key_F12)
        return K(87 + static_cast<UINT>(key - Qt::Key_F11));
    if (key >= Qt::Key_F13 && key <= Qt::Key_F24)
        return K(183 + static_cast<UINT>(key - Qt::Key_F13));
    for (const Row& row : kMainKeys)
        if (row.key == key)
            return K(row.code);
    return std::nullopt;
}

} // namespace pibo::qt
