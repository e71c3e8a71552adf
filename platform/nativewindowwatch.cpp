#include "nativewindowwatch.h"

#include <QCoreApplication>
#include <QWidget>

#include <xcb/xproto.h>

// The filter's base class takes it off the application again when it goes.
NativeWindowWatch::NativeWindowWatch(QWidget& window) : QObject(&window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool NativeWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) == XCB_DESTROY_NOTIFY &&
        reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window ==
            static_cast<QWidget*>(parent())->internalWinId())
        emit nativeWindowDestroyed();
    return false;
}
