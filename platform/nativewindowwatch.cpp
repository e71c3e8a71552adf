#include "nativewindowwatch.h"

#include <QCoreApplication>
#include <QWidget>

#include <xcb/xproto.h>

NativeWindowWatch::NativeWindowWatch(QWidget& window) : QObject(&window), m_window(window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

NativeWindowWatch::~NativeWindowWatch() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool NativeWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) == XCB_DESTROY_NOTIFY &&
        reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window ==
            m_window.internalWinId())
        emit nativeWindowDestroyed();
    return false;
}
