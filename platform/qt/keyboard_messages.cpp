// The rules that turn a key event into a key message, as Windows applies them:
// - A key pressed or released while Alt is down is a system key (WM_SYSKEYDOWN/WM_SYSKEYUP) with
//   the Alt-held bit; so is Alt itself when it goes down, and F10 with or without Alt.
// - Alt going up is WM_SYSKEYUP when no other key went down or up while it was held (a tap of Alt
//   alone, which opens the menu), and WM_KEYUP after a combination such as Alt+F4. Either way its
//   Alt-held bit is clear, since Alt is no longer down.
// - A press of a key that is already down is an auto-repeat: previous-state bit, repeat count 1.
//   Every key-up has the previous-state and the transition bits.
// - A key keeps the code it went down with until it is released, so its key-up matches its
//   key-downs even if Num Lock or the layout changed in between.
// - A key-up goes to the window with the keyboard, whichever window the key went down in: the
//   release of a key that went down in a menu or a dialog (the Escape that closed it) is a key-up
//   here too, with the code the key has now.
#include "platform/qt/keyboard_layout.h"
#include "platform/qt/keyboard_translation.h"

namespace pibo::qt {
namespace {

constexpr std::uint16_t kDownMark = 0x100;

} // namespace

void KeyboardState::reset() {
    m_down.fill(0);
    m_altAlone = false;
}

bool KeyboardState::isAltDown() const {
    return m_down[kLeftAltKeycode] != 0 || m_down[kRightAltKeycode] != 0;
}

std::optional<KeyMessage> TranslateKeyEvent(const NativeKeyEvent& event, KeyboardState& state) {
    if (event.keycode >= KeyboardState::kKeycodes)
        return std::nullopt;
    std::uint16_t& slot = state.m_down[event.keycode];
    const PcKey key = LookupPcKey(event.keycode, event.levelOneKeysym, event.keysym, event.numLock);
    const bool isAlt = IsAltKeycode(event.keycode);

    if (event.press) {
        const bool wasDown = slot != 0 || event.autoRepeat;
        const UINT vk = slot != 0 ? (slot & 0xFFu) : key.vk;
        slot = static_cast<std::uint16_t>(kDownMark | (vk & 0xFFu));
        // Checked after marking the key down, so that Alt counts as held for its own press.
        const bool altHeld = event.altModifier || state.isAltDown();
        const bool system = altHeld || vk == VK_F10;
        if (isAlt) {
            if (!wasDown)
                state.m_altAlone = true;
        } else if (system) {
            state.m_altAlone = false;
        }
        UINT flags = key.scan | (key.extended ? KF_EXTENDED : 0u) | (altHeld ? KF_ALTDOWN : 0u) |
                     (wasDown ? KF_REPEAT : 0u);
        return KeyMessage{system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1, flags};
    }

    // The release half of an auto-repeat.
    if (event.autoRepeat)
        return std::nullopt;
    const UINT vk = slot != 0 ? (slot & 0xFFu) : key.vk;
    slot = 0;
    bool system = false;
    bool altHeld = false;
    if (isAlt) {
        altHeld = state.isAltDown(); // the other Alt key
        system = state.m_altAlone || altHeld;
        if (!altHeld)
            state.m_altAlone = false;
    } else {
        // The event's own modifier state still has Alt down while Alt is held; the keys we saw
        // go down tell the same where the layout gives AltGr another modifier.
        altHeld = (event.altModifier || state.isAltDown());
        system = altHeld || vk == VK_F10;
        if (system)
            state.m_altAlone = false;
    }
    UINT flags = key.scan | (key.extended ? KF_EXTENDED : 0u) | (altHeld ? KF_ALTDOWN : 0u) |
                 KF_REPEAT | KF_UP;
    return KeyMessage{system ? WM_SYSKEYUP : WM_KEYUP, vk, 1, flags};
}

} // namespace pibo::qt
