// The backend chosen at start for each kind of session, with stand-in backends that start or
// fail as each row says.

#include "keyboardfactory.h"
#include "simulatedkeyboard.h"

#include <QRegularExpression>
#include <QTest>

class KeyboardFactoryTest : public QObject {
    Q_OBJECT

private slots:
    void choosesBackend_data() {
        // XDG_SESSION_TYPE, WAYLAND_DISPLAY, DISPLAY, TINTARO_KEYBOARD; "-" for unset.
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("working"); // backends that can start
        QTest::addColumn<QString>("tried");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("notice"); // parts of it; empty for none
        auto row = [](const char* name, const char* environment, const char* working,
                      const char* tried, const char* chosen, QStringList notice = {}) {
            QTest::newRow(name) << environment << working << tried << chosen << notice;
        };

        row("X11 session", "x11 - :0 -", "x11 uinput", "x11", "x11");
        row("X11 session, X11 failing", "x11 - :0 -", "uinput", "x11 uinput", "uinput");
        row("Wayland session with Xwayland", "wayland wl-0 :0 -", "x11 uinput", "uinput", "uinput");
        row("Wayland session, uinput failing", "wayland wl-0 :0 -", "x11", "uinput", "simulated",
            {"cannot reach the keyboard's lock LEDs", "Wayland", "uinput: uinput fails."});
        row("other session, Wayland display", "tty wl-1 :1 -", "x11 uinput", "uinput", "uinput");
        row("no session type, X display", "- - :1 -", "x11 uinput", "x11", "x11");
        row("no display at all", "- - - -", "x11 uinput", "uinput", "uinput");
        row("nothing starts", "x11 - :0 -", "", "x11 uinput", "simulated",
            {"X11: x11 fails.", "uinput: uinput fails."});
        row("x11 forced under Wayland", "wayland wl-0 :0 x11", "x11 uinput", "x11", "x11");
        row("uinput forced, failing", "x11 - :0 uinput", "x11", "uinput", "simulated",
            {"TINTARO_KEYBOARD=uinput", "uinput: uinput fails."});
        row("simulated forced", "x11 - :0 simulated", "x11 uinput", "", "simulated",
            {"cannot reach", "TINTARO_KEYBOARD=simulated"});
        row("unknown forced", "x11 - :0 evdev", "x11 uinput", "", "simulated",
            {"TINTARO_KEYBOARD=evdev", "x11, uinput or simulated"});
    }
    void choosesBackend() {
        QFETCH(QString, environment);
        QFETCH(QString, working);
        QFETCH(QString, tried);
        QFETCH(QString, chosen);
        QFETCH(QStringList, notice);

        QStringList triedNow;
        std::map<const Keyboard*, QString> made;
        auto opener = [&](const QString& name) -> KeyboardOpener {
            return [&, name](QString* whyNot) -> std::unique_ptr<Keyboard> {
                triedNow << name;
                *whyNot = name + " fails";
                if (!working.split(' ').contains(name))
                    return nullptr;
                auto keyboard = std::make_unique<SimulatedKeyboard>();
                made[keyboard.get()] = name;
                return keyboard;
            };
        };
        QStringList e = environment.split(' ').replaceInStrings(QRegularExpression("^-$"), "");
        const KeyboardChoice choice =
            chooseKeyboard({e[0], e[1], e[2], e[3]}, {opener("x11"), opener("uinput")});

        QCOMPARE(triedNow.join(' '), tried);
        QVERIFY(choice.keyboard);
        QCOMPARE(made.contains(choice.keyboard.get()) ? made[choice.keyboard.get()] : "simulated",
                 chosen);
        QCOMPARE(choice.notice.isEmpty(), notice.isEmpty());
        for (const QString& part : notice)
            QVERIFY2(choice.notice.contains(part), qPrintable(choice.notice));
    }
};

QTEST_GUILESS_MAIN(KeyboardFactoryTest)
#include "tst_keyboardfactory.moc"
