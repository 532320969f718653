#include "platform/qt/x11_keyboard.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QObject>
#include <QPointer>
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <memory>

namespace pibo::qt {
namespace {

// Lives as a child of the application, so that the keyboard goes when the X connection goes;
// watches the connection's events for keymap changes.
class ApplicationKeyboard : public QObject, public QAbstractNativeEventFilter {
public:
    ApplicationKeyboard(Display* display, QObject* parent) : QObject(parent), keyboard(display) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType == "xcb_generic_event_t" && keyboard.isKeymapChange(message))
            keyboard.keymapChanged();
        return false;
    }
    X11Keyboard keyboard;
};

QPointer<ApplicationKeyboard>& ApplicationInstance() {
    static QPointer<ApplicationKeyboard> instance;
    return instance;
}

} // namespace

X11Keyboard* X11Keyboard::forApplication() {
    QPointer<ApplicationKeyboard>& instance = ApplicationInstance();
    if (instance)
        return &instance->keyboard;
    if (qGuiApp == nullptr)
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr)
        return nullptr;
    instance = new ApplicationKeyboard(x11->display(), qGuiApp);
    return &instance->keyboard;
}

X11Keyboard::X11Keyboard(Display* display) : m_display(display) {
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(m_display, &opcode, &eventBase, &errorBase, &major, &minor))
        return;
    m_xkbEventBase = eventBase;
    // Without this the server sends a release and a press for every repeat of a held key, and
    // only their equal timestamps tell them from real ones.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(m_display, True, &supported);
    m_detectableAutoRepeat = supported == True;
}

X11Keyboard::~X11Keyboard() {
    keymapChanged();
}

void X11Keyboard::keymapChanged() {
    if (m_keymap != nullptr) {
        XkbFreeKeyboard(m_keymap, 0, True);
        m_keymap = nullptr;
    }
}

bool X11Keyboard::isKeymapChange(const void* xcbEvent) const {
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    const int type = event->response_type & 0x7F;
    if (type == XCB_MAPPING_NOTIFY)
        return true;
    // An XKB event carries its kind in the second byte.
    return m_xkbEventBase >= 0 && type == m_xkbEventBase &&
           (event->pad0 == XkbNewKeyboardNotify || event->pad0 == XkbMapNotify);
}

unsigned int X11Keyboard::levelOneKeysym(unsigned int keycode, unsigned int group) {
    if (m_xkbEventBase < 0)
        return 0;
    if (m_keymap == nullptr) {
        m_keymap = XkbGetMap(m_display, XkbKeySymsMask, XkbUseCoreKbd);
        if (m_keymap == nullptr)
            return 0;
    }
    XkbDescPtr xkb = m_keymap;
    if (keycode < xkb->min_key_code || keycode > xkb->max_key_code)
        return 0;
    const auto kc = static_cast<KeyCode>(keycode);
    const int groups = XkbKeyNumGroups(xkb, kc);
    if (groups <= 0)
        return 0;
    int g = static_cast<int>(group);
    if (g >= groups) {
        // A group the key does not have: the key's own rule brings it into range.
        const unsigned char info = XkbKeyGroupInfo(xkb, kc);
        switch (XkbOutOfRangeGroupAction(info)) {
        case XkbClampIntoRange:
            g = groups - 1;
            break;
        case XkbRedirectIntoRange:
            g = XkbOutOfRangeGroupNumber(info);
            if (g >= groups)
                g = 0;
            break;
        default:
            g %= groups;
            break;
        }
    }
    return static_cast<unsigned int>(XkbKeySymEntry(xkb, kc, 0, g));
}

bool X11Keyboard::isKeyDown(unsigned int keycode) const {
    if (keycode > 255)
        return false;
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    return (static_cast<unsigned char>(keys[keycode / 8]) >> (keycode % 8)) & 1u;
}

} // namespace pibo::qt
