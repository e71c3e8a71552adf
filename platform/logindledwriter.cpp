#include "platform/logindledwriter.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace {

// A call that gets no answer in this time leaves the LED as it is rather than freeze the window.
constexpr int ReplyTimeoutMs = 500;

} // namespace

bool LogindLedWriter::setLed(const QString& entry, bool on) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1/session/auto"),
        QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("SetBrightness"));
    call << QStringLiteral("leds") << entry << quint32(on ? 1 : 0);
    return bus.call(call, QDBus::Block, ReplyTimeoutMs).type() == QDBusMessage::ReplyMessage;
}
