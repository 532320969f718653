// Reads what the translation needs from Qt's key events: the X keycode (nativeScanCode), the
// event's keysym (nativeVirtualKey) and modifier state (nativeModifiers), and the key's symbol
// at the first level of the current layout group from the X server's keymap. Qt's key() and
// text() change with Shift, Ctrl and the layout and are used only for events that Qt made up
// without native data.
#include "platform/qt/keyboard_translation.h"

#include <QKeyEvent>

#include <X11/keysym.h>

#include "platform/qt/keyboard_qt_keys.h"
#include "platform/qt/x11_keyboard.h"

namespace pibo::qt {
namespace {

// Bits of an X key event's state; Wayland's xkb modifier mask has the same layout.
constexpr quint32 kAltMask = 1u << 3;     // Mod1
constexpr quint32 kNumLockMask = 1u << 4; // Mod2
constexpr UINT LayoutGroup(quint32 state) {
    return (state >> 13) & 3u;
}

constexpr bool IsLatinLetter(UINT keysym) {
    return (keysym >= XK_a && keysym <= XK_z) || (keysym >= XK_A && keysym <= XK_Z);
}

} // namespace

struct KeyboardTranslator::State {
    KeyboardState keys;
};

KeyboardTranslator::KeyboardTranslator() : m_state(new State) {
    // Switches on detectable auto-repeat before the first key can be held.
    X11Keyboard::forApplication();
}

KeyboardTranslator::~KeyboardTranslator() {
    delete m_state;
}

void KeyboardTranslator::reset() {
    m_state->keys.reset();
}

std::optional<KeyMessage> KeyboardTranslator::translate(const QKeyEvent& event) {
    NativeKeyEvent key;
    if (event.type() == QEvent::KeyPress)
        key.press = true;
    else if (event.type() != QEvent::KeyRelease)
        return std::nullopt;
    key.autoRepeat = event.isAutoRepeat();

    X11Keyboard* x11 = X11Keyboard::forApplication();
    const bool native = event.nativeScanCode() != 0;
    if (native) {
        key.keycode = event.nativeScanCode();
        key.keysym = event.nativeVirtualKey();
        const quint32 state = event.nativeModifiers();
        key.altModifier = (state & kAltMask) != 0;
        key.numLock = (state & kNumLockMask) != 0;
        if (x11 != nullptr)
            key.levelOneKeysym = x11->levelOneKeysym(key.keycode, LayoutGroup(state));
    } else {
        const auto synthetic = SyntheticKeyForQtKey(event.key(), event.modifiers());
        if (!synthetic)
            return std::nullopt;
        key.keycode = synthetic->keycode;
        key.keysym = synthetic->keysym;
        key.altModifier = event.modifiers().testFlag(Qt::AltModifier);
    }
    // Without the server's keymap, a letter the event types stands for the key's own letter:
    // Shift and Caps Lock change only its case.
    if (key.levelOneKeysym == 0 && IsLatinLetter(key.keysym))
        key.levelOneKeysym = key.keysym;

    // Where the server still sends a release and a press for each repeat of a held key, Qt marks
    // the pair only when it finds the press already queued, which it may not under load; the
    // server itself knows whether the key is still down. That holds as well for a key that went
    // down in another window.
    if (!key.press && !key.autoRepeat && native && x11 != nullptr && !x11->detectableAutoRepeat())
        key.autoRepeat = x11->isKeyDown(key.keycode);

    return TranslateKeyEvent(key, m_state->keys);
}

} // namespace pibo::qt
