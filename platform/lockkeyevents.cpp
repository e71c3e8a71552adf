#include "platform/lockkeyevents.h"

#include <QGuiApplication>

// Xlib's macros clash with Qt: included after Qt.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>

LockKeyEvents::LockKeyEvents(std::function<bool()> wanted) : m_wanted(std::move(wanted)) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return;
    const KeySym lockKeys[] = {XK_Num_Lock, XK_Caps_Lock, XK_Scroll_Lock};
    for (int i = 0; i < 3; ++i)
        m_keyCodes[i] = XKeysymToKeycode(x11->display(), lockKeys[i]);
}

bool LockKeyEvents::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto key = static_cast<const xcb_key_press_event_t*>(message)->detail;
    return key != 0 && std::ranges::find(m_keyCodes, key) != std::end(m_keyCodes) && !m_wanted();
}
