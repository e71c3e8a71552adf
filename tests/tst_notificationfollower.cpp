#include "desktop/notificationfollower.h"
#include "platform/notificationmonitor.h"
#include "platform/virtualclock.h"
#include "scripts/lightplayer.h"
#include "tests/lockkeylog.h"
#include "tests/recordingkeyboard.h"
#include "tests/standinnotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QTest>

// Runs on a private session bus (dbus-run-session): the stand-in service on one connection, the
// programs that notify on another, the follower's monitor on its own.
class NotificationFollowerTest : public QObject {
    Q_OBJECT

    StandInNotifications server;
    NotificationMonitor monitor; // reads the bus for every follower of the tests
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");

    // Asynchronous calls only: the service answers from this thread's event loop.
    QDBusPendingCall call(const QString& method, const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
            "org.freedesktop.Notifications", method);
        message.setArguments(arguments);
        return client.asyncCall(message);
    }

    quint32 notify(const QString& app, const QVariantMap& hints, quint32 replacesId = 0) {
        QDBusPendingReply<uint> reply = call(
            "Notify", {app, replacesId, QString(), "summary", "body", QStringList(), hints, -1});
        if (!QTest::qWaitFor([&] { return reply.isFinished(); }))
            qFatal("the stand-in service did not answer");
        return reply.value();
    }

private slots:
    void initTestCase() {
        QVERIFY(server.registerOn(QDBusConnection::sessionBus()));
        QString error;
        QVERIFY2(monitor.start(&error), qPrintable(error));
    }

    // Rule: --app chat --urgency normal on the Scroll LED. Notifications in turn, each "APP" or
    // "APP/ENTRY" (a desktop-entry hint) with its urgency; then those closed, by their place
    // in the list. The LED blinks while a matching one is open, and ends as it was found.
    void blinksWhileAMatchingNotificationIsOpen_data() {
        QTest::addColumn<bool>("scrollLit");
        QTest::addColumn<QStringList>("notifications");
        QTest::addColumn<bool>("blinks");
        QTest::addColumn<QList<int>>("closed");
        QTest::addColumn<bool>("blinksAfter");
        QTest::newRow("matching, LED lit at start")
            << true << QStringList{"Chat 2"} << true << QList<int>{0} << false;
        QTest::newRow("another app")
            << false << QStringList{"mail 2"} << false << QList<int>{} << false;
        QTest::newRow("too little urgency")
            << false << QStringList{"chat 0"} << false << QList<int>{} << false;
        QTest::newRow("by desktop entry")
            << false << QStringList{"ChatProgram/chat 1"} << true << QList<int>{0} << false;
        QTest::newRow("two open, one closed") << false << QStringList{"chat 1", "mail 2", "chat 2"}
                                              << true << QList<int>{0, 1} << true;
        QTest::newRow("two open, both closed")
            << false << QStringList{"chat 1", "chat 2"} << true << QList<int>{1, 0} << false;
    }

    void blinksWhileAMatchingNotificationIsOpen() {
        QFETCH(bool, scrollLit);
        QFETCH(QStringList, notifications);
        QFETCH(bool, blinks);
        QFETCH(QList<int>, closed);
        QFETCH(bool, blinksAfter);
        RecordingKeyboard keyboard;
        keyboard.setToggled(LockKeyCode::Scroll, scrollLit);
        VirtualClock clock;
        LightPlayer blinker(keyboard, clock);
        NotificationFollower follower({LockKey::Scroll, {"chat"}, 1}, blinker, keyboard);
        follower.listenTo(monitor);

        QList<quint32> ids;
        for (const QString& n : notifications) {
            const QStringList words = n.split(' ');
            const QStringList app = words[0].split('/');
            QVariantMap hints{{"urgency", QVariant::fromValue(uchar(words[1].toInt()))}};
            if (app.size() > 1)
                hints.insert("desktop-entry", app[1]);
            ids << notify(app[0], hints);
        }
        // The monitor reads the reply after the caller has it; one that must not blink is given
        // the time to show that it does not.
        QTest::qWait(blinks ? 0 : 200);
        QTRY_COMPARE(blinker.isPlaying(), blinks);
        clock.advance(NotificationFollower::BlinkPeriodMs * 3);
        QCOMPARE(lockToggles(keyboard.events()).size(), blinks ? 4 : 0);

        for (int place : closed)
            call("CloseNotification", {ids[place]});
        QTRY_COMPARE(blinker.isPlaying(), blinksAfter);
        if (!blinksAfter)
            QCOMPARE(keyboard.keyState(LockKeyCode::Scroll) != 0, scrollLit);
        // The monitor answered nothing: the bus would have cut it off.
        QVERIFY(monitor.isRunning());
    }

    // A matching notification replaced by one that does not match no longer blinks.
    void replacedByAnotherKind() {
        RecordingKeyboard keyboard;
        VirtualClock clock;
        LightPlayer blinker(keyboard, clock);
        NotificationFollower follower({LockKey::Caps, {}, 2}, blinker, keyboard);
        follower.listenTo(monitor);
        const quint32 id = notify("any", {{"urgency", QVariant::fromValue(uchar(2))}});
        QTRY_VERIFY(blinker.isPlaying());
        notify("any", {{"urgency", QVariant::fromValue(uchar(1))}}, id);
        QTRY_VERIFY(!blinker.isPlaying());
        QCOMPARE(keyboard.keyState(LockKeyCode::Caps), 0);
    }
};

QTEST_GUILESS_MAIN(NotificationFollowerTest)
#include "tst_notificationfollower.moc"
