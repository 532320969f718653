// A key event that Qt made up, with a Qt key code but no native data (as test tools and input
// methods send), placed on the PC keyboard with the US layout.
#pragma once

#include <optional>

#include <Qt>

#include "platform/win/types.h"

namespace pibo::qt {

struct SyntheticKey {
    UINT keycode; // X keycode of the key that types it on the US layout
    UINT keysym;  // the keysym such a key event carries: letters and the keypad; otherwise 0
};

// The key for a Qt key code; KeypadModifier picks the keypad's keys. Nothing for a key code
// that no PC key types.
std::optional<SyntheticKey> SyntheticKeyForQtKey(int key, Qt::KeyboardModifiers modifiers);

} // namespace pibo::qt
