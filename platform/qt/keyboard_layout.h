// Which virtual-key code and PC scan code a key has, from its X keycode and, for the keys whose
// code follows the keyboard layout, its symbols.
#pragma once

#include "platform/win/types.h"

namespace pibo::qt {

// The virtual-key code of a key that has none of its own, as Windows layouts give it.
inline constexpr UINT kNoVirtualKey = 0xFF;

// X keycodes of the evdev driver are the Linux key codes plus 8.
inline constexpr UINT kEvdevKeycodeOffset = 8;

struct PcKey {
    UINT vk;       // virtual-key code
    UINT scan;     // PC set-1 scan code, without its E0 prefix
    bool extended; // the scan code has the E0 prefix: the extended-key bit of the flags word
};

// The code of the key with the X keycode. levelOneKeysym is the key's first-level keysym in the
// current layout group and decides the letters; eventKeysym is the keysym the event carries and
// decides the keypad (digits while Num Lock is on, navigation while it is off); numLock is used
// for the keypad when the keysym says nothing. Either keysym may be 0 when unknown.
PcKey LookupPcKey(UINT keycode, UINT levelOneKeysym, UINT eventKeysym, bool numLock);

// The X keycodes of the left and the right Alt key (AltGr on layouts that have it).
inline constexpr UINT kLeftAltKeycode = 56 + kEvdevKeycodeOffset;
inline constexpr UINT kRightAltKeycode = 100 + kEvdevKeycodeOffset;
constexpr bool IsAltKeycode(UINT keycode) {
    return keycode == kLeftAltKeycode || keycode == kRightAltKeycode;
}

} // namespace pibo::qt
