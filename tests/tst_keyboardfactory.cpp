// The session read from the environment, and the backend chosen at start for each kind of
// session, with stand-in backends that start or fail as each row says.

#include "platform/keyboardfactory.h"
#include "platform/session.h"
#include "platform/simulatedkeyboard.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(Session)
Q_DECLARE_METATYPE(Session::Kind)

class KeyboardFactoryTest : public QObject {
    Q_OBJECT

private slots:
    // Each row: XDG_SESSION_TYPE, WAYLAND_DISPLAY, DISPLAY, QT_QPA_PLATFORM, empty where unset;
    // the kind of session, whether the window goes to an X display, and the toolkit's options.
    void readsSession_data() {
        QTest::addColumn<Session>("session");
        QTest::addColumn<Session::Kind>("kind");
        QTest::addColumn<bool>("windowOnX11");
        QTest::addColumn<QString>("toolkitOptions");
        const auto row = [](const char* name, const Session& session, Session::Kind kind,
                            bool windowOnX11, const char* options = "") {
            QTest::newRow(name) << session << kind << windowOnX11 << QString(options);
        };
        using K = Session::Kind;
        const char* const xcb = "-platform xcb";
        row("X11 session", {"x11", "", ":0", "", ""}, K::X11, true, xcb);
        row("X11 session with a Wayland display", {"x11", "wl-0", ":0", "", ""}, K::X11, true, xcb);
        row("X11 session, offscreen window", {"x11", "", ":0", "offscreen", ""}, K::X11, false);
        row("Wayland session with Xwayland", {"wayland", "wl-0", ":0", "", ""}, K::Wayland, false);
        row("Wayland session, toolkit told xcb", {"wayland", "wl-0", ":0", "xcb", ""}, K::Wayland,
            true);
        row("untyped, Wayland display", {"", "wl-1", ":1", "", ""}, K::Wayland, false);
        row("tty, Wayland display", {"tty", "wl-1", "", "", ""}, K::Wayland, false);
        row("untyped, X display only", {"", "", ":1", "", ""}, K::X11, true, xcb);
        row("console", {"tty", "", "", "", ""}, K::Console, true);
    }
    void readsSession() {
        QFETCH(Session, session);
        QTEST(session.kind(), "kind");
        QTEST(session.windowOnX11(), "windowOnX11");
        QTEST(session.toolkitOptions().join(' '), "toolkitOptions");
    }

    // Each row: the session, the backends that fail to start ("name?": starts, saying what it
    // cannot do; the others start), the backends tried in order and, where not all is well, the
    // notice as a wildcard pattern.
    void choosesBackend_data() {
        QTest::addColumn<Session>("session");
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<QStringList>("tried");
        QTest::addColumn<QString>("notice");
        const auto row = [](const char* name, const Session& session, const QStringList& failing,
                            const QStringList& tried, const QString& notice = {}) {
            QTest::newRow(name) << session << failing << tried << notice;
        };
        const QStringList x11{"x11"}, uinput{"uinput"}, both{"x11", "uinput"}, none;
        row("X11 session, X11 failing", {"x11", "", ":0", "", ""}, x11, both);
        row("X11 starting short of Scroll Lock", {"x11", "", ":0", "", ""}, {"x11?"}, x11,
            "x11 cannot do all");
        row("Wayland session with Xwayland, uinput failing", {"wayland", "wl-0", ":0", "", ""},
            uinput, uinput,
            "Tintaro cannot reach the keyboard's lock LEDs*Wayland*uinput: uinput fails.");
        row("no display at all", {"", "", "", "", ""}, none, uinput);
        row("nothing starts", {"x11", "", ":0", "", ""}, both, both,
            "*X11: x11 fails. uinput: uinput fails.");
        row("x11 forced under Wayland", {"wayland", "wl-0", ":0", "", "x11"}, none, x11);
        row("uinput forced, failing", {"x11", "", ":0", "", "uinput"}, uinput, uinput,
            "*TINTARO_KEYBOARD=uinput*uinput: uinput fails.");
        row("simulated forced", {"", "", "", "", "simulated"}, none, none,
            "*KEYBOARD=simulated asks*");
        row("unknown forced", {"x11", "", ":0", "", "evdev"}, none, none,
            "*TINTARO_KEYBOARD=evdev*x11, uinput or simulated*");
    }

    void choosesBackend() {
        QFETCH(Session, session);
        QFETCH(QStringList, failing);
        QFETCH(QStringList, tried);
        QFETCH(QString, notice);
        QStringList triedNow;
        QSet<const Keyboard*> made;
        auto open = [&](const QString& name) -> KeyboardOpener {
            return [&, name](QString* whyNot) {
                const bool fails = failing.contains(name);
                triedNow << name;
                if (fails)
                    *whyNot = name + " fails";
                else if (failing.contains(name + '?'))
                    *whyNot = name + " cannot do all";
                auto keyboard = fails ? nullptr : std::make_unique<SimulatedKeyboard>();
                made << keyboard.get();
                return keyboard;
            };
        };
        const auto chosen = chooseKeyboard(session, {open("x11"), open("uinput")});

        QCOMPARE(triedNow, tried);
        // The keyboard of the last backend tried, where that one started; else a simulated one,
        // and the LEDs out of reach.
        QVERIFY(chosen.keyboard);
        const bool started = !tried.isEmpty() && !failing.contains(tried.last());
        QCOMPARE(made.contains(chosen.keyboard.get()), started);
        QCOMPARE(chosen.unreachable.isEmpty(), started);
        const auto pattern = QRegularExpression::fromWildcard(notice, Qt::CaseSensitive);
        QVERIFY2(pattern.match(chosen.notice).hasMatch(), qPrintable(chosen.notice));
    }
};

QTEST_GUILESS_MAIN(KeyboardFactoryTest)
#include "tst_keyboardfactory.moc"
