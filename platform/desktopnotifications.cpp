#include "platform/desktopnotifications.h"

#include "platform/programidentity.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

// The "image-data" hint: (width, height, rowstride, has alpha, bits per sample, channels, bytes).
QDBusArgument imageData(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument argument;
    argument.beginStructure();
    argument << rgba.width() << rgba.height() << int(rgba.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(rgba.constBits()), rgba.sizeInBytes());
    argument.endStructure();
    return argument;
}

} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus) : m_bus(std::move(bus)) {}

void DesktopNotifications::notify(const Notice& notice, std::function<void(quint32 id)> shown) {
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications",
                                                       "org.freedesktop.Notifications", "Notify");
    QVariantMap hints{{"transient", true},
                      {"desktop-entry", QString::fromLatin1(ApplicationId)},
                      {"urgency", QVariant::fromValue(uchar(0))}};
    if (!notice.image.isNull())
        hints.insert("image-data", QVariant::fromValue(imageData(notice.image)));
    call << QStringLiteral("Tintaro") << notice.replacesId << QString::fromLatin1(ApplicationId)
         << notice.summary << QString() << QStringList() << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [shown = std::move(shown)](QDBusPendingCallWatcher* finished) {
                         const QDBusPendingReply<quint32> reply = *finished;
                         if (reply.isValid() && shown)
                             shown(reply.value());
                         finished->deleteLater();
                     });
}
