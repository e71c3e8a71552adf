// The uinput backend against a socket standing in for /dev/uinput: what it writes is read back
// and decoded, and LED changes are written to it as the system sends them. Only the check of a
// real device needs /dev/uinput, and is skipped where there is none.

#include "lockkeys/modsync.h"
#include "platform/uinputdevice.h"
#include "platform/uinputkeyboard.h"
#include "platform/virtualclock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <linux/input.h>
#include <sys/socket.h>
#include <unistd.h>

class UinputKeyboardTest : public QObject {
    Q_OBJECT

    int fds[2] = {-1, -1}; // the keyboard's end, the system's end
    VirtualClock clock;
    QTemporaryDir ledFolder; // shaped like /sys/class/leds

    // What reached the system, as "type:code:value" records.
    QString written() {
        QString records;
        for (input_event e; read(fds[1], &e, sizeof e) == sizeof e;)
            records += QStringLiteral(" %1:%2:%3").arg(e.type).arg(e.code).arg(e.value);
        return records.trimmed();
    }
    // A press and a release (EV_KEY, 1) of key %1, each followed by a synchronisation report
    // (EV_SYN, SYN_REPORT: 0).
    static inline const QString Stroke = QStringLiteral("1:%1:1 0:0:0 1:%1:0 0:0:0");
    void sendLed(int led, bool on) {
        const input_event event{{}, EV_LED, __u16(led), on};
        QCOMPARE(write(fds[1], &event, sizeof event), ssize_t(sizeof event));
    }
    // Made just now: taken up at the first LED change or SettleMs later.
    std::unique_ptr<UinputKeyboard> keyboard() {
        return std::make_unique<UinputKeyboard>(fds[0], clock,
                                                LedClass(ledFolder.path(), "input9"));
    }

private slots:
    // Num Lock lit on every keyboard, Caps Lock on one, Scroll Lock only on the virtual one.
    void initTestCase() {
        for (const QString led : {"input3::numlock 1", "input3::capslock 1", "input7::capslock 0",
                                  "input9::scrolllock 1"}) {
            QVERIFY(QDir(ledFolder.path()).mkpath(led.chopped(2)));
            QFile brightness(ledFolder.filePath(led.chopped(2) + "/brightness"));
            QVERIFY(brightness.open(QIODevice::WriteOnly) &&
                    brightness.write(led.right(1).toLatin1()));
        }
    }
    void init() { QVERIFY(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds) == 0); }
    void cleanup() {
        close(fds[0]);
        close(fds[1]);
    }

    // Strokes wait until the device is taken up: a compositor sets the LEDs as it takes the
    // keyboard up, while the console's LEDs set as it is made tell nothing. A lock-key stroke
    // counts in the lock's state until its LED shows it, waiting or not, so that a lit lock
    // asked twice to go out, before the take-up or after it, gets one stroke.
    void strokesWaitUntilTheLedsAreSet() {
        sendLed(LED_CAPSL, true); // by the console
        auto uinput = keyboard();
        modSync::TurnOffLitLocks(*uinput);
        clock.advance(300);
        modSync::TurnOffLitLocks(*uinput);
        for (auto [led, on] : {std::pair{LED_NUML, true}, {LED_CAPSL, false}}) // by the compositor
            sendLed(led, on);
        clock.advance(49); // the next poll takes it in
        QCOMPARE(written(), "");
        clock.advance(1);
        QCOMPARE(written(), Stroke.arg(KEY_NUMLOCK));
        sendLed(LED_NUML, false);
        QVERIFY(!modSync::IsLockOn(*uinput, LockKey::Num));
        sendLed(LED_NUML, true); // from another keyboard
        modSync::TurnOffLitLocks(*uinput);
        modSync::TurnOffLitLocks(*uinput);
        QCOMPARE(written(), Stroke.arg(KEY_NUMLOCK));
        sendLed(LED_NUML, false);
        QVERIFY(!modSync::IsLockOn(*uinput, LockKey::Num));
    }

    // Until the device is taken up, a lock counts as on only when some keyboard in the LED class
    // has it and every one shows it lit, the virtual keyboard's own entry (input9) left out;
    // then the LEDs that the system sets on the device tell, with a lock-key stroke they do not
    // show counting for a while. A key counts as held while pressed through it; the release of
    // another keyboard's key is not sent, and a key left down is let go of when the keyboard goes.
    void keyStates() {
        auto uinput = keyboard();
        auto states = [&] { // of Num, Caps and Scroll Lock
            QStringList states;
            for (LockKey key : AllLockKeys)
                states << QString::number(uinput->keyState(info(key).keyCode));
            return states.join(' ');
        };
        QCOMPARE(states(), "1 0 0");
        uinput->sendKeyEvent({LockKeyCode::Scroll, 1, 0, 0});
        clock.advance(UinputKeyboard::SettleMs - 1);
        QCOMPARE(written(), "");
        clock.advance(1); // taken up by the time limit: its own LEDs, all dark, and the press tell
        QCOMPARE(states(), QStringLiteral("0 0 %1").arg(KeyStateBit::Toggled | KeyStateBit::Held));
        clock.advance(2 * UinputKeyboard::ConfirmMs); // the stroke never shown counts no more
        QCOMPARE(states(), QStringLiteral("0 0 %1").arg(KeyStateBit::Held));
        for (auto [led, on] : {std::pair{LED_SCROLLL, true}, {LED_CAPSL, true}, {LED_CAPSL, false}})
            sendLed(led, on);
        QCOMPARE(states(), QStringLiteral("0 0 %1").arg(KeyStateBit::Toggled | KeyStateBit::Held));
        uinput->sendKeyEvent({LockKeyCode::Scroll, 1, KeyEventFlag::KeyUp, 0});
        uinput->sendKeyEvent({LockKeyCode::Caps, 1, KeyEventFlag::KeyUp, 0});
        uinput->sendKeyEvent({'A', 1, 0, 0});
        uinput.reset();
        QCOMPARE(written(), Stroke.arg(KEY_SCROLLLOCK) + ' ' + Stroke.arg(KEY_A));
    }

    // Where the device cannot be made, the problem names the fix; a real one, where there is
    // /dev/uinput, goes by the program's name and has the three lock LEDs.
    void device() {
        for (auto [error, fix] : {std::pair{ENOENT, "modprobe"},
                                  {ENODEV, "modprobe"},
                                  {EACCES, "70-tintaro-uinput.rules"}}) {
            const QString problem = uinputOpenProblem(error);
            QVERIFY2(problem.contains("/dev/uinput") && problem.contains(fix), qPrintable(problem));
        }
        if (!QFile::exists(UinputDevice::Path))
            QSKIP("no /dev/uinput here: the uinput kernel module is not loaded or not available");
        QString whyNot;
        const auto device = UinputDevice::create(&whyNot);
        QVERIFY2(device, qPrintable(whyNot));
        const QString sys = "/sys/class/input/" + device->inputName();
        QFile name(sys + "/name"), leds(sys + "/capabilities/led");
        QVERIFY(name.open(QIODevice::ReadOnly) && leds.open(QIODevice::ReadOnly));
        QCOMPARE(name.readAll().trimmed() + ' ' + leds.readAll().trimmed(),
                 "Tintaro virtual keyboard 7");
    }
};

QTEST_GUILESS_MAIN(UinputKeyboardTest)
#include "tst_uinputkeyboard.moc"
