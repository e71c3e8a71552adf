// The session read from the environment, and the backend chosen at start for each kind of
// session, with stand-in backends that start or fail as each row says.

#include "platform/keyboardfactory.h"
#include "platform/session.h"
#include "platform/simulatedkeyboard.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(Session::Kind)

class KeyboardFactoryTest : public QObject {
    Q_OBJECT

private slots:
    void readsSession_data() {
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("toolkitPlatform");
        QTest::addColumn<Session::Kind>("kind");
        QTest::addColumn<bool>("windowOnX11");
        using K = Session::Kind;
        QTest::newRow("X11 session") << "x11"
                                     << ""
                                     << ":0"
                                     << "" << K::X11 << true;
        QTest::newRow("X11 session with a Wayland display") << "x11"
                                                            << "wayland-0"
                                                            << ":0"
                                                            << "" << K::X11 << true;
        QTest::newRow("Wayland session with Xwayland") << "wayland"
                                                       << "wayland-0"
                                                       << ":0"
                                                       << "" << K::Wayland << false;
        QTest::newRow("Wayland session, toolkit told xcb") << "wayland"
                                                           << "wayland-0"
                                                           << ":0"
                                                           << "xcb" << K::Wayland << true;
        QTest::newRow("untyped, Wayland display") << ""
                                                  << "wayland-1"
                                                  << ":1"
                                                  << "" << K::Wayland << false;
        QTest::newRow("tty, Wayland display") << "tty"
                                              << "wayland-1"
                                              << ""
                                              << "" << K::Wayland << false;
        QTest::newRow("untyped, X display only") << ""
                                                 << ""
                                                 << ":1"
                                                 << "" << K::X11 << true;
        QTest::newRow("console") << "tty"
                                 << ""
                                 << ""
                                 << "" << K::Console << true;
        QTest::newRow("console, offscreen window") << ""
                                                   << ""
                                                   << ""
                                                   << "offscreen" << K::Console << false;
    }
    void readsSession() {
        QFETCH(QString, sessionType);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, display);
        QFETCH(QString, toolkitPlatform);
        const Session session{sessionType, waylandDisplay, display, toolkitPlatform, {}};
        QTEST(session.kind(), "kind");
        QTEST(session.windowOnX11(), "windowOnX11");
    }

    // `tried` lists the backends tried, in order, "!" after one that fails to start (the others
    // start); `notice` is a wildcard pattern, empty where the LEDs are reached.
    void choosesBackend_data() {
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("forced");
        QTest::addColumn<QString>("tried");
        QTest::addColumn<QString>("notice");
        QTest::newRow("X11 session, X11 failing") << "x11"
                                                  << ":0"
                                                  << ""
                                                  << "x11! uinput"
                                                  << "";
        QTest::newRow("no session type, X display") << ""
                                                    << ":1"
                                                    << ""
                                                    << "x11"
                                                    << "";
        QTest::newRow("Wayland session, uinput failing")
            << "wayland"
            << ":0"
            << ""
            << "uinput!"
            << "Tintaro cannot reach the keyboard's lock LEDs*Wayland*uinput: uinput fails.";
        QTest::newRow("no display at all") << ""
                                           << ""
                                           << ""
                                           << "uinput"
                                           << "";
        QTest::newRow("nothing starts") << "x11"
                                        << ":0"
                                        << ""
                                        << "x11! uinput!"
                                        << "*X11: x11 fails. uinput: uinput fails.";
        QTest::newRow("x11 forced under Wayland") << "wayland"
                                                  << ":0"
                                                  << "x11"
                                                  << "x11"
                                                  << "";
        QTest::newRow("uinput forced, failing") << "x11"
                                                << ":0"
                                                << "uinput"
                                                << "uinput!"
                                                << "*TINTARO_KEYBOARD=uinput*uinput: uinput fails.";
        QTest::newRow("simulated forced") << ""
                                          << ""
                                          << "simulated"
                                          << ""
                                          << "*KEYBOARD=simulated asks*";
        QTest::newRow("unknown forced") << "x11"
                                        << ":0"
                                        << "evdev"
                                        << ""
                                        << "*TINTARO_KEYBOARD=evdev*x11, uinput or simulated*";
    }
    void choosesBackend() {
        QFETCH(QString, sessionType);
        QFETCH(QString, display);
        QFETCH(QString, forced);
        QFETCH(QString, tried);
        QFETCH(QString, notice);
        QStringList triedNow;
        QSet<const Keyboard*> made;
        auto open = [&](const QString& name) -> KeyboardOpener {
            return [&, name](QString* whyNot) {
                const bool fails = tried.split(' ').contains(name + '!');
                triedNow << name + (fails ? "!" : "");
                *whyNot = name + " fails";
                auto keyboard = fails ? nullptr : std::make_unique<SimulatedKeyboard>();
                made << keyboard.get();
                return keyboard;
            };
        };
        const Session session{sessionType, {}, display, {}, forced};
        const auto chosen = chooseKeyboard(session, {open("x11"), open("uinput")});

        QCOMPARE(triedNow.join(' '), tried);
        // The keyboard of the last backend tried, where that one started; else a simulated one.
        QVERIFY(chosen.keyboard && made.contains(chosen.keyboard.get()) == notice.isEmpty());
        const auto pattern = QRegularExpression::fromWildcard(notice, Qt::CaseSensitive);
        QVERIFY2(pattern.match(chosen.notice).hasMatch(), qPrintable(chosen.notice));
    }
};

QTEST_GUILESS_MAIN(KeyboardFactoryTest)
#include "tst_keyboardfactory.moc"
