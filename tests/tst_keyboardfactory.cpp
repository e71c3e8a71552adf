// The backend chosen at start for each kind of session, with stand-in backends that start or
// fail as each row says.

#include "platform/keyboardfactory.h"
#include "platform/simulatedkeyboard.h"

#include <QRegularExpression>
#include <QTest>

class KeyboardFactoryTest : public QObject {
    Q_OBJECT

private slots:
    // Each row: XDG_SESSION_TYPE, WAYLAND_DISPLAY, DISPLAY and TINTARO_KEYBOARD ("-" for unset);
    // then the backends tried, in order, "!" after one that fails to start (the others start);
    // then, where the LEDs are out of reach, the notice as a wildcard pattern.
    void choosesBackend_data() {
        QTest::addColumn<QString>("row");
        QTest::newRow("X11 session, X11 failing") << "x11 - :0 - | x11! uinput";
        QTest::newRow("no session type, X display") << "- - :1 - | x11";
        QTest::newRow("Wayland session with Xwayland, uinput failing")
            << "wayland wl-0 :0 - | uinput! | Tintaro cannot reach the keyboard's lock LEDs"
               "*Wayland*uinput: uinput fails.";
        QTest::newRow("other session, Wayland display") << "tty wl-1 :1 - | uinput";
        QTest::newRow("no display at all") << "- - - - | uinput";
        QTest::newRow("nothing starts")
            << "x11 - :0 - | x11! uinput! | *X11: x11 fails. uinput: uinput fails.";
        QTest::newRow("x11 forced under Wayland") << "wayland wl-0 :0 x11 | x11";
        QTest::newRow("uinput forced, failing")
            << "x11 - :0 uinput | uinput! | *TINTARO_KEYBOARD=uinput*uinput: uinput fails.";
        QTest::newRow("simulated forced") << "- - - simulated |  | *KEYBOARD=simulated asks*";
        QTest::newRow("unknown forced")
            << "x11 - :0 evdev |  | *TINTARO_KEYBOARD=evdev*x11, uinput or simulated*";
    }
    void choosesBackend() {
        QFETCH(QString, row);
        const QStringList expected = row.split(" | "); // environment, tried, notice
        QStringList tried;
        QSet<const Keyboard*> made;
        auto open = [&](const QString& name) -> KeyboardOpener {
            return [&, name](QString* whyNot) {
                const bool fails = expected[1].split(' ').contains(name + '!');
                tried << name + (fails ? "!" : "");
                if (fails)
                    *whyNot = name + " fails";
                auto keyboard = fails ? nullptr : std::make_unique<SimulatedKeyboard>();
                made << keyboard.get();
                return keyboard;
            };
        };
        QStringList e = expected[0].split(' ').replaceInStrings(QRegularExpression("^-$"), "");
        const auto chosen = chooseKeyboard({e[0], e[1], e[2], e[3]}, {open("x11"), open("uinput")});

        QCOMPARE(tried.join(' '), expected[1]);
        // The keyboard of the last backend tried, where that one started; else a simulated one.
        QVERIFY(chosen.keyboard && made.contains(chosen.keyboard.get()) == (expected.size() < 3));
        const auto pattern = QRegularExpression::fromWildcard(expected.value(2), Qt::CaseSensitive);
        QVERIFY2(pattern.match(chosen.notice).hasMatch(), qPrintable(chosen.notice));
    }
};

QTEST_GUILESS_MAIN(KeyboardFactoryTest)
#include "tst_keyboardfactory.moc"
