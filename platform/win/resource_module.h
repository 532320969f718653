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
};
