#include "platform/nativewindowwatch.h"

#include <QCoreApplication>
#include <QWindow>

#include <xcb/xproto.h>

// The filter's base class takes it off the application again when it goes.
NativeWindowWatch::NativeWindowWatch(QWindow& window) : QObject(&window), m_window(window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool NativeWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) == XCB_DESTROY_NOTIFY &&
        reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == m_window.winId())
        emit nativeWindowDestroyed();
    return false;
}
