#include "platform/notificationmonitor.h"

#include <QSocketNotifier>

#include <dbus/dbus.h>

namespace {

constexpr char Service[] = "org.freedesktop.Notifications";
constexpr int BecomeMonitorTimeoutMs = 2000;

struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

QString errorText(DBusError& error) {
    const QString text = QString::fromUtf8(error.message ? error.message : "unknown error");
    dbus_error_free(&error);
    return text;
}

bool isString(int type) {
    return type == DBUS_TYPE_STRING;
}

QString stringAt(DBusMessageIter& iter) {
    const char* text = nullptr;
    dbus_message_iter_get_basic(&iter, &text);
    return QString::fromUtf8(text);
}

// Reads the "desktop-entry" and "urgency" hints from the a{sv} at `hints`.
void readHints(DBusMessageIter& hints, NotifyCall& call) {
    DBusMessageIter entry;
    for (dbus_message_iter_recurse(&hints, &entry);
         dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&entry)) {
        DBusMessageIter field;
        dbus_message_iter_recurse(&entry, &field);
        if (!isString(dbus_message_iter_get_arg_type(&field)))
            continue;
        const QString key = stringAt(field);
        DBusMessageIter value;
        dbus_message_iter_next(&field);
        dbus_message_iter_recurse(&field, &value);
        const int type = dbus_message_iter_get_arg_type(&value);
        if (key == "desktop-entry" && isString(type)) {
            call.desktopEntry = stringAt(value);
        } else if (key == "urgency" && type == DBUS_TYPE_BYTE) {
            unsigned char urgency = 1;
            dbus_message_iter_get_basic(&value, &urgency);
            call.urgency = urgency;
        }
    }
}

// The arguments of Notify(s app_name, u replaces_id, s app_icon, s summary, s body, as actions,
// a{sv} hints, i expire_timeout); false for a call of another shape.
bool readNotifyCall(DBusMessage* message, NotifyCall& call) {
    if (!dbus_message_has_signature(message, "susssasa{sv}i"))
        return false;
    DBusMessageIter iter;
    dbus_message_iter_init(message, &iter);
    call.appName = stringAt(iter);
    dbus_message_iter_next(&iter);
    dbus_uint32_t replacesId = 0;
    dbus_message_iter_get_basic(&iter, &replacesId);
    call.replacesId = replacesId;
    for (int skipped = 0; skipped < 5; ++skipped) // to the hints
        dbus_message_iter_next(&iter);
    readHints(iter, call);
    const char* sender = dbus_message_get_sender(message);
    call.caller = QString::fromUtf8(sender ? sender : "");
    call.serial = dbus_message_get_serial(message);
    return true;
}

bool readUint(DBusMessage* message, const char* signature, dbus_uint32_t& value) {
    if (!dbus_message_has_signature(message, signature))
        return false;
    DBusMessageIter iter;
    dbus_message_iter_init(message, &iter);
    dbus_message_iter_get_basic(&iter, &value);
    return true;
}

} // namespace

struct NotificationMonitor::Connection {
    DBusConnection* bus = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;

    ~Connection() {
        notifier.reset();
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
    }
};

NotificationMonitor::NotificationMonitor(QObject* parent) : QObject(parent) {}

NotificationMonitor::~NotificationMonitor() = default;

bool NotificationMonitor::start(QString* error) {
    if (m_connection)
        return true;
    DBusError dbusError;
    dbus_error_init(&dbusError);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, &dbusError);
    if (!bus) {
        *error = errorText(dbusError);
        return false;
    }
    auto connection = std::make_unique<Connection>();
    connection->bus = bus;
    dbus_connection_set_exit_on_disconnect(bus, FALSE);

    const QByteArray sender = QByteArray("sender='") + Service + "'";
    const QByteArray rules[] = {
        "type='method_call',interface='org.freedesktop.Notifications',member='Notify'",
        "type='method_return'," + sender,
        "type='signal',interface='org.freedesktop.Notifications',member='NotificationClosed'," +
            sender,
    };
    const char* ruleTexts[] = {rules[0].constData(), rules[1].constData(), rules[2].constData()};
    const char** ruleList = ruleTexts;
    const dbus_uint32_t flags = 0;
    Message call(dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                              "org.freedesktop.DBus.Monitoring", "BecomeMonitor"));
    dbus_message_append_args(call.get(), DBUS_TYPE_ARRAY, DBUS_TYPE_STRING, &ruleList,
                             int(std::size(ruleTexts)), DBUS_TYPE_UINT32, &flags,
                             DBUS_TYPE_INVALID);
    Message reply(dbus_connection_send_with_reply_and_block(bus, call.get(), BecomeMonitorTimeoutMs,
                                                            &dbusError));
    if (!reply) {
        *error = errorText(dbusError);
        return false;
    }
    int fd = -1;
    if (!dbus_connection_get_unix_fd(bus, &fd)) {
        *error = "the bus connection has no socket";
        return false;
    }
    connection->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(connection->notifier.get(), &QSocketNotifier::activated, this,
            &NotificationMonitor::readMessages);
    m_connection = std::move(connection);
    // What came with the reply is already read from the socket.
    readMessages();
    return true;
}

void NotificationMonitor::stop() {
    m_connection.reset();
}

bool NotificationMonitor::isRunning() const {
    return m_connection != nullptr;
}

void NotificationMonitor::readMessages() {
    DBusConnection* bus = m_connection->bus;
    dbus_connection_read_write(bus, 0);
    while (Message message{dbus_connection_pop_message(bus)}) {
        DBusMessage* m = message.get();
        const int type = dbus_message_get_type(m);
        NotifyCall call;
        dbus_uint32_t id = 0;
        if (type == DBUS_MESSAGE_TYPE_METHOD_CALL &&
            dbus_message_is_method_call(m, Service, "Notify") && readNotifyCall(m, call)) {
            emit notifyCalled(call);
        } else if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN && readUint(m, "u", id)) {
            const char* destination = dbus_message_get_destination(m);
            emit notifyAnswered(QString::fromUtf8(destination ? destination : ""),
                                dbus_message_get_reply_serial(m), id);
        } else if (dbus_message_is_signal(m, Service, "NotificationClosed") &&
                   readUint(m, "uu", id)) {
            emit notificationClosed(id);
        }
        // A receiver may have stopped the monitor.
        if (!m_connection)
            return;
    }
    if (!dbus_connection_get_is_connected(bus)) {
        stop();
        emit lost();
    }
}
