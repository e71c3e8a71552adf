#include "platform/lockkeyevents.h"

#include "platform/systemkeys.h"
#include "platform/virtualkey.h"

#include <QGuiApplication>

// Xlib's macros clash with Qt: included after Qt.
#include <X11/Xlib.h>
#include <X11/extensions/XKB.h>
#include <xcb/xcb.h>

#include <algorithm>

LockKeyEvents::LockKeyEvents(std::function<bool()> wanted)
    : m_wanted(std::move(wanted)),
      m_x11(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    if (!m_x11 || !m_x11->display()) {
        m_x11 = nullptr;
        return;
    }
    int opcode = 0, error = 0;
    if (!XQueryExtension(m_x11->display(), "XKEYBOARD", &opcode, &m_xkbEvent, &error))
        m_xkbEvent = -1;
}

bool LockKeyEvents::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!m_x11 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & ~0x80;
    // Qt's connection takes XKB's notices of a new keymap, which stand in for the core one's;
    // the XKB event's kind is its second byte.
    if (type == XCB_MAPPING_NOTIFY || (type == m_xkbEvent && (event->pad0 == XkbNewKeyboardNotify ||
                                                              event->pad0 == XkbMapNotify)))
        m_keymapChanged = true;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    return isLockKey(static_cast<const xcb_key_press_event_t*>(message)->detail) && !m_wanted();
}

bool LockKeyEvents::isLockKey(unsigned char keyCode) {
    if (m_keymapChanged)
        readLockKeys();
    return m_lockKeys[keyCode];
}

void LockKeyEvents::readLockKeys() {
    // Asked of the server: Xlib's own copy of the keymap learns of no change, since Qt reads the
    // events.
    Display* display = m_x11->display();
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym* keysyms = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &perKey);
    const unsigned long lockKeysyms[] = {x11Keysym(virtualKeyCode(VirtualKey::NumLock)),
                                         x11Keysym(virtualKeyCode(VirtualKey::Capital)),
                                         x11Keysym(virtualKeyCode(VirtualKey::Scroll))};
    m_lockKeys.reset();
    // By the key's first keysym: a key that gives a lock key only at a higher level (the Shift
    // keys under shift:both_capslock) is still another key.
    for (int key = first; keysyms && key <= last; ++key)
        m_lockKeys[key] = std::ranges::count(lockKeysyms, keysyms[(key - first) * perKey]);
    XFree(keysyms);
    m_keymapChanged = false;
}
