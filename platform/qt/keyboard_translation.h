// Turns the keyboard events of the X server, as Qt delivers them, into the key messages the
// program's handlers take: message number, virtual-key code, repeat count 1 and the key flags word.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/win/windows.h"

class QKeyEvent;

namespace pibo::qt {

// One key message: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP.
struct KeyMessage {
    UINT message;
    UINT vk;     // virtual-key code
    UINT repeat; // repeat count, the low word of LPARAM
    UINT flags;  // key flags word, the high word of LPARAM
    LPARAM lParam() const {
        return MAKELPARAM(static_cast<WORD>(repeat), static_cast<WORD>(flags));
    }
};

// One key event of the window system, as plain numbers.
struct NativeKeyEvent {
    UINT keycode = 0;         // X keycode: the Linux key code plus 8
    UINT levelOneKeysym = 0;  // the key's first-level keysym in the current layout group, or 0
    UINT keysym = 0;          // the keysym the event carries, or 0
    bool press = false;       // a press; otherwise a release
    bool altModifier = false; // the event's modifier state has Alt down
    bool numLock = false;     // Num Lock is on
    bool autoRepeat = false;  // the window system marks the event as part of an auto-repeat
};

// What the translation remembers between events: which keys are down, with the code each went
// down with, and whether an Alt key has been down alone so far.
class KeyboardState {
public:
    static constexpr UINT kKeycodes = 1024;
    bool isDown(UINT keycode) const { return keycode < kKeycodes && m_down[keycode] != 0; }
    void reset();

private:
    friend std::optional<KeyMessage> TranslateKeyEvent(const NativeKeyEvent&, KeyboardState&);
    bool isAltDown() const;
    std::array<std::uint16_t, kKeycodes> m_down{}; // 0 when up, else 0x100 | virtual-key code
    bool m_altAlone = false;
};

// The key message for one event, given and updating the state; nothing for the release half of an
// auto-repeat. The release of a key that is not down (it went down before the window had the
// keyboard, in a menu or a dialog) is a key-up all the same, as the window with the keyboard gets
// every key-up. The table-driven heart of KeyboardTranslator, without any window system.
std::optional<KeyMessage> TranslateKeyEvent(const NativeKeyEvent& event, KeyboardState& state);

// Keeps which keys are down, so that a held key gives key-downs with the previous-state bit and
// no key-up until it is really released, whatever the X server's auto-repeat sends. On X11 it
// switches on detectable auto-repeat for the application's connection and reads the keymap
// there; without X (Wayland, the offscreen platform) it works from the events alone. Events that
// Qt made up without native data are placed by their Qt key code on a US keyboard.
class KeyboardTranslator {
public:
    KeyboardTranslator();
    ~KeyboardTranslator();
    KeyboardTranslator(const KeyboardTranslator&) = delete;
    KeyboardTranslator& operator=(const KeyboardTranslator&) = delete;

    // The message for a key press or release event; nothing for an event that is not a key
    // transition the program should see (for example the release half of an auto-repeat).
    std::optional<KeyMessage> translate(const QKeyEvent& event);

    // Forget every key that is down (the window lost the keyboard): the next press of each is a
    // fresh one.
    void reset();

private:
    struct State;
    State* m_state;
};

} // namespace pibo::qt
