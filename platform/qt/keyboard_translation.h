// Turns the keyboard events of the X server, as Qt delivers them, into the key messages the
// program's handlers take: message number, virtual-key code, repeat count 1 and the key flags word.
#pragma once

#include <optional>

#include "platform/win/windows.h"

class QKeyEvent;

namespace pibo::qt {

// One key message: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP.
struct KeyMessage {
    UINT message;
    UINT vk;      // virtual-key code
    UINT repeat;  // repeat count, the low word of LPARAM
    UINT flags;   // key flags word, the high word of LPARAM
    LPARAM lParam() const { return MAKELPARAM(static_cast<WORD>(repeat), static_cast<WORD>(flags)); }
};

// Keeps which keys are down, so that a held key gives key-downs with the previous-state bit and
// no key-up until it is really released, whatever the X server's auto-repeat sends.
class KeyboardTranslator {
public:
    KeyboardTranslator();
    ~KeyboardTranslator();
    KeyboardTranslator(const KeyboardTranslator&) = delete;
    KeyboardTranslator& operator=(const KeyboardTranslator&) = delete;

    // The message for a key press or release event; nothing for an event that is not a key
    // transition the program should see (for example the release half of an auto-repeat).
    std::optional<KeyMessage> translate(const QKeyEvent& event);

    // Forget every key that is down (the window lost the keyboard).
    void reset();

private:
    struct State;
    State* m_state;
};

} // namespace pibo::qt
