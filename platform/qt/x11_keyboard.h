// The keyboard of the program's X connection, as the key translation needs it: each key's
// first-level symbol in a layout group (from a cached copy of the server's keymap, refreshed when
// the server announces a new one), detectable auto-repeat, and the server's view of which keys
// are down.
#pragma once

// Plain numbers only: Xlib's names (Window, Bool, None) clash with the Windows names elsewhere, so
// Xlib stays inside this unit's source file.

struct _XDisplay;
struct _XkbDesc;

namespace pibo::qt {

class X11Keyboard {
public:
    // The keyboard of the running application's X connection, made on first use and gone with
    // the application; nullptr where the application has no X connection (Wayland, offscreen).
    static X11Keyboard* forApplication();

    // A keyboard on the given connection, which must outlive it. Switches on detectable
    // auto-repeat for the connection where the server supports it.
    explicit X11Keyboard(_XDisplay* display);
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // Whether a held key gives repeated presses without releases in between on this connection.
    bool detectableAutoRepeat() const { return m_detectableAutoRepeat; }

    // The symbol at the first level of the key in the layout group (0 to 3, as the event state's
    // bits 13 and 14 give it); 0 when the key has none or the keymap cannot be read. No round
    // trip to the server once the keymap is cached.
    unsigned int levelOneKeysym(unsigned int keycode, unsigned int group);

    // Whether the server has the key down right now. One round trip.
    bool isKeyDown(unsigned int keycode) const;

    // Forgets the cached keymap, so that the next lookup reads the new one.
    void keymapChanged();

    // Whether an event of the X connection (an xcb_generic_event_t) announces a new keymap.
    bool isKeymapChange(const void* xcbEvent) const;

private:
    _XDisplay* m_display;
    _XkbDesc* m_keymap = nullptr;
    bool m_detectableAutoRepeat = false;
    int m_xkbEventBase = -1;
};

} // namespace pibo::qt
