// A module's resources, addressed by number as on Windows. The program's own module is defined in
// res/; the platform reads it through the instance handle (HINSTANCE points at one of these).
#pragma once

#include <cstddef>

#include "platform/win/types.h"

struct StringResource {
    UINT id;
    LPCSTR text;
};

// Menu resource: a menu bar of popups, each a list of items. Texts put '&' before the letter that
// opens or chooses them from the keyboard.
struct MenuItemResource {
    LPCSTR text;
    UINT id; // the command the item sends
};

struct MenuPopupResource {
    LPCSTR text;
    const MenuItemResource* items;
    std::size_t itemCount;
};

struct MenuResource {
    UINT id;
    const MenuPopupResource* popups;
    std::size_t popupCount;
};

// Accelerator table resource: keys, given by virtual-key code with the modifiers that must be
// held exactly, and the command each sends.
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

struct AcceleratorResource {
    UINT id;
    const ACCEL* entries;
    std::size_t entryCount;
};

// Dialog template resource: the dialog's style, its client area in dialog units, caption and font,
// and its controls in creation (and tab) order. Dialog units are converted to pixels with the base
// units of the dialog's font: a quarter of its average character width horizontally, an eighth of
// its height vertically.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD DS_MODALFRAME = 0x0080;
// Static control styles (the low four bits are the kind), and push button kinds.
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_ICON = 0x0003;
inline constexpr DWORD SS_BLACKRECT = 0x0004;
inline constexpr DWORD SS_TYPEMASK = 0x001F;
inline constexpr DWORD SS_NOPREFIX = 0x0080;
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr int IDC_STATIC = -1;

struct DialogItemResource {
    LPCSTR className; // "Button" or "Static"
    DWORD style;
    short x, y, cx, cy;
    int id;      // the command a button sends; IDC_STATIC for controls without one
    LPCSTR text; // the text, or for an icon control the icon's number (MAKEINTRESOURCE)
};

struct DialogResource {
    UINT id;
    DWORD style;
    short cx, cy; // the client area
    LPCSTR caption;
    WORD pointSize;
    LPCSTR typeFace;
    const DialogItemResource* items;
    std::size_t itemCount;
};

struct ResourceModule {
    // Folder in Qt's resource system holding the bitmap resources as packed DIBs named
    // "<number>.dib", for example ":/pictures/".
    LPCSTR bitmapFolder;
    const StringResource* strings;
    std::size_t stringCount;
    // Folder in Qt's resource system holding icon 128 as "<size>.png" renditions.
    LPCSTR iconFolder;
    const MenuResource* menus;
    std::size_t menuCount;
    const AcceleratorResource* accelerators;
    std::size_t acceleratorCount;
    const DialogResource* dialogs = nullptr;
    std::size_t dialogCount = 0;
};
