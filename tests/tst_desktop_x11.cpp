// The program on a real X server and a private session bus with a stand-in notification service,
// watched from outside: a lock struck by the user is announced once, and a notification from
// another program blinks the LED until it is closed, without a word about the blinking.

#include "tests/standinnotifications.h"
#include "tests/standintrayhost.h"

#include <QDBusMessage>

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// Xlib's macros clash with Qt: after Qt.
#include "tests/x11observer.h"
#include <X11/keysym.h>

class DesktopX11Test : public QObject {
    Q_OBJECT

    X11Observer x;
    StandInNotifications server;
    StandInTrayHost trayHost;

    // The tooltip's title of the tray item that registered last, as gdbus prints the tooltip:
    // (icon name, icon pixmaps, title, text).
    QString trayToolTip() const {
        QProcess get;
        get.start("gdbus",
                  {"call", "--session", "--dest", trayHost.registered.last(), "--object-path",
                   "/StatusNotifierItem", "--method", "org.freedesktop.DBus.Properties.Get",
                   "org.kde.StatusNotifierItem", "ToolTip"});
        get.waitForFinished(5000);
        const QString printed = QString::fromUtf8(get.readAllStandardOutput());
        return QRegularExpression(R"(\], '([^']*)', '[^']*'\)>)").match(printed).captured(1);
    }

    static bool end(QProcess& program) {
        program.terminate();
        return program.waitForFinished(5000) && program.exitCode() == 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(x.dpy && server.registerOn(QDBusConnection::sessionBus()));
        QVERIFY(trayHost.registerOn(QDBusConnection::sessionBus()));
        qputenv("TINTARO_KEYBOARD", "x11");
    }

    // A lock struck by the user is announced once; a notification from another program blinks
    // the LED until it is closed, and the program's own blinking is never announced.
    void announcesTheUsersLocksAndBlinksWhileANotificationIsOpen() {
        QProcess program;
        const qsizetype before = x.windows().size();
        program.start(TINTARO_BINARY,
                      {"--announce-locks", "--follow-notifications", "--app", "chat"});
        QTRY_VERIFY(x.windows().size() > before);
        QTest::qWait(300); // past the start-up reset
        x.tap(XK_Caps_Lock);
        QTRY_COMPARE(server.notices, QStringList{"Tintaro: Caps Lock on (replaces 0) transient"});
        x.tap(XK_Caps_Lock);
        QTRY_COMPARE(server.notices.value(1), "Tintaro: Caps Lock off (replaces 1) transient");

        QVERIFY(!x.lit("Scroll Lock"));
        QProcess send;
        send.start("gdbus", {"call", "--session", "--dest", "org.freedesktop.Notifications",
                             "--object-path", "/org/freedesktop/Notifications", "--method",
                             "org.freedesktop.Notifications.Notify", "--", "chat", "0", "''",
                             "hello", "body", "[]", "{}", "-1"});
        QTRY_VERIFY(x.lit("Scroll Lock"));
        QTRY_VERIFY_WITH_TIMEOUT(!x.lit("Scroll Lock"), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(x.lit("Scroll Lock"), 1000);
        server.CloseNotification(2);
        QTRY_VERIFY(!x.lit("Scroll Lock"));
        // Announced once each, and nothing of the blinking.
        QCOMPARE(server.notices.size(), 3);
        QVERIFY(end(program));
    }

    // With a tray host: the icon and no window at start, the tooltip following the locks, the
    // window shown when the icon is clicked and only hidden by its close box.
    void livesInTheTray() {
        QProcess program;
        const qsizetype before = x.windows().size();
        program.start(TINTARO_BINARY, {"--tray"});
        QTRY_COMPARE(trayHost.registered.size(), 1);
        QCOMPARE(x.windows().size(), before);
        QTest::qWait(300); // past the start-up reset, which would put the user's Caps Lock out
        x.tap(XK_Caps_Lock);
        QTRY_COMPARE(trayToolTip(), "Num Lock off, Caps Lock on, Scroll Lock off");

        QDBusMessage activate =
            QDBusMessage::createMethodCall(trayHost.registered.last(), "/StatusNotifierItem",
                                           "org.kde.StatusNotifierItem", "Activate");
        activate << 0 << 0;
        QDBusConnection::sessionBus().call(activate);
        QTRY_COMPARE(x.windows().size(), before + 1);
        x.clickCloseBox(x.windows().last());
        QTRY_COMPARE(x.windows().size(), before);
        QVERIFY(end(program)); // still running, hidden
        // Ended as the close box ends it without the tray: every lock dark.
        QVERIFY(!x.lit("Caps Lock"));
    }
};

QTEST_MAIN(DesktopX11Test)
#include "tst_desktop_x11.moc"
