// The uinput backend against a socket standing in for /dev/uinput: what it writes is read back
// and decoded, and LED changes are written to it as the system sends them. The other keyboards'
// LEDs are a folder shaped like /sys/class/leds, written as root would, and the physical
// keyboard's own device is another socket. Only the check of a real device needs /dev/uinput,
// and is skipped where there is none.

#include "lockkeys/modsync.h"
#include "platform/sysfsledwriter.h"
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

    int fds[2] = {-1, -1};         // the keyboard's end, the system's end
    int physicalFds[2] = {-1, -1}; // of the physical keyboard's device
    VirtualClock clock;
    std::unique_ptr<QTemporaryDir> ledFolder; // input3 is the physical keyboard, input9 ours

    // What reached the system, as "type:code:value" records.
    static QString records(int fd) {
        QString records;
        for (input_event e; read(fd, &e, sizeof e) == sizeof e;)
            records += QStringLiteral(" %1:%2:%3").arg(e.type).arg(e.code).arg(e.value);
        return records.trimmed();
    }
    QString written() { return records(fds[1]); }
    QString struckOnPhysical() { return records(physicalFds[1]); }
    // A press and a release (EV_KEY, 1) of key %1, each followed by a synchronisation report
    // (EV_SYN, SYN_REPORT: 0).
    static inline const QString Stroke = QStringLiteral("1:%1:1 0:0:0 1:%1:0 0:0:0");
    void sendLed(int led, bool on) {
        const input_event event{{}, EV_LED, __u16(led), on};
        QCOMPARE(write(fds[1], &event, sizeof event), ssize_t(sizeof event));
    }
    // The physical keyboard's LED ("numlock") in the LED class.
    QString physical(const QString& led) {
        QFile brightness(ledFolder->filePath("input3::" + led + "/brightness"));
        return brightness.open(QIODevice::ReadOnly) ? brightness.readAll() : "?";
    }
    void setPhysical(const QString& led, bool on) {
        QFile brightness(ledFolder->filePath("input3::" + led + "/brightness"));
        QVERIFY(brightness.open(QIODevice::WriteOnly) && brightness.write(on ? "1" : "0"));
    }
    // Made just now: taken up at the first LED change or SettleMs later. The physical LEDs are
    // set directly where `direct`, its keys struck on its device where `nodes`.
    std::unique_ptr<UinputKeyboard> keyboard(std::array<bool, 3> litBefore = {},
                                             bool direct = false, bool scrollByLed = false,
                                             bool nodes = false) {
        const LedClass leds(ledFolder->path(), "input9");
        return std::make_unique<UinputKeyboard>(
            fds[0], clock,
            UinputKeyboard::Surroundings{
                leds, litBefore,
                direct ? std::make_unique<DirectLeds>(
                             leds, std::make_unique<SysfsLedWriter>(ledFolder->path()))
                       : nullptr,
                scrollByLed,
                nodes ? std::make_unique<KeyboardNodes>(
                            QMap<QString, int>{{"input3", physicalFds[0]}}, false)
                      : nullptr});
    }
    QString states(const Keyboard& keyboard) { // of Num, Caps and Scroll Lock
        QStringList states;
        for (LockKey key : AllLockKeys)
            states << QString::number(keyboard.keyState(info(key).keyCode));
        return states.join(' ');
    }

private slots:
    void init() {
        QVERIFY(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds) == 0);
        QVERIFY(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, physicalFds) == 0);
        ledFolder = std::make_unique<QTemporaryDir>();
        for (const QString entry : {"input3::numlock", "input3::capslock", "input3::scrolllock",
                                    "input9::numlock", "input9::capslock", "input9::scrolllock"}) {
            QVERIFY(QDir(ledFolder->path()).mkpath(entry));
            QFile brightness(ledFolder->filePath(entry + "/brightness"));
            QVERIFY(brightness.open(QIODevice::WriteOnly) && brightness.write("0"));
        }
    }
    void cleanup() {
        for (int fd : {fds[0], fds[1], physicalFds[0], physicalFds[1]})
            close(fd);
    }

    // Strokes wait until the device is taken up: a compositor sets the LEDs as it takes the
    // keyboard up, while the console's LEDs set as it is made tell nothing. A lock-key stroke
    // counts in the lock's state until its LED shows it, waiting or not, so that a lit lock
    // asked twice to go out, before the take-up or after it, gets one stroke.
    void strokesWaitUntilTheLedsAreSet() {
        sendLed(LED_CAPSL, true); // by the console
        auto uinput = keyboard({true, false, false});
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

    // Caps Lock lit on every keyboard before the device was made, whose making darkened the
    // physical keyboard's LED, and a compositor that pushes no state to the new keyboard: where
    // the device shows Caps Lock dark, it is struck once, and the reset's stroke waits until the
    // device's LED tells how the compositor keeps its locks. The physical keyboard lit again: one
    // state, so the reset's stroke goes to the device. The physical keyboard still dark: a state
    // per keyboard, so its LED shows again what the compositor holds for it, the reset's stroke
    // is struck on it where its device is open, and the device's own Caps Lock goes out again.
    // Where the device shows Caps Lock lit (the console's), only the reset's stroke goes.
    void startUpResetReachesTheCompositor_data() {
        QTest::addColumn<bool>("shownBefore");
        QTest::addColumn<bool>("ownState");
        QTest::addColumn<bool>("nodes");
        QTest::newRow("device dark") << false << false << false;
        QTest::newRow("device lit by the console") << true << false << false;
        QTest::newRow("a state per keyboard, its device open") << false << true << true;
        QTest::newRow("a state per keyboard, only its LEDs") << false << true << false;
    }
    void startUpResetReachesTheCompositor() {
        QFETCH(bool, shownBefore);
        QFETCH(bool, ownState);
        QFETCH(bool, nodes);
        if (shownBefore)
            sendLed(LED_CAPSL, true);
        auto uinput = keyboard({false, true, false}, true, false, nodes);
        clock.advance(100);
        modSync::TurnOffLitLocks(*uinput);
        clock.advance(UinputKeyboard::SettleMs - 100);
        const QString caps = Stroke.arg(KEY_CAPSLOCK);
        QCOMPARE(written(), caps);
        QCOMPARE(states(*uinput), "0 0 0");
        if (!shownBefore) {
            sendLed(LED_CAPSL, true);
            if (!ownState)
                setPhysical("capslock", true);
            clock.advance(UinputKeyboard::EchoMs - 1);
            QCOMPARE(written(), ""); // the answer is not told yet
            clock.advance(1);
            QCOMPARE(written(), caps); // the reset's, or the device's own lock out again
        }
        QCOMPARE(struckOnPhysical(), ownState && nodes ? caps : QString());
        sendLed(LED_CAPSL, false);
        if (!ownState)
            setPhysical("capslock", false); // the group's state
        clock.advance(2 * UinputKeyboard::ConfirmMs);
        QCOMPARE(states(*uinput), "0 0 0");
        QCOMPARE(physical("capslock"), "0");
        modSync::TurnOffLitLocks(*uinput);
        modSync::Toggle(*uinput, LockKey::Caps);
        QCOMPARE(written(), ownState ? QString() : caps);
        QCOMPARE(struckOnPhysical(), ownState && nodes ? caps : QString());
        QCOMPARE(physical("capslock"), ownState ? "1" : "0");
    }

    // Scroll Lock with no lock state, on the physical keyboards' LEDs: toggled there without a
    // stroke, read back as set while the compositor's rewrite waits to be undone, set again then;
    // where they cannot be set, the lock is neither toggled nor shown, and says so.
    void scrollLockOnTheLeds_data() {
        QTest::addColumn<bool>("direct");
        QTest::newRow("LEDs can be set") << true;
        QTest::newRow("LEDs cannot be set") << false;
    }
    void scrollLockOnTheLeds() {
        QFETCH(bool, direct);
        auto uinput = keyboard({}, direct, true);
        QCOMPARE(uinput->canShowLock(LockKeyCode::Scroll), direct);
        QVERIFY(uinput->canShowLock(LockKeyCode::Num));
        modSync::Toggle(*uinput, LockKey::Scroll);
        QCOMPARE(physical("scrolllock"), direct ? "1" : "0");
        QCOMPARE(states(*uinput), direct ? "0 0 1" : "0 0 0");
        setPhysical("scrolllock", false); // the compositor at its next key
        QCOMPARE(states(*uinput), direct ? "0 0 1" : "0 0 0");
        clock.advance(50);
        QCOMPARE(physical("scrolllock"), direct ? "1" : "0");
        modSync::TurnOffLitLocks(*uinput);
        QCOMPARE(physical("scrolllock"), "0");
        setPhysical("scrolllock", true); // lit by the compositor: kept dark
        clock.advance(UinputKeyboard::SettleMs);
        QCOMPARE(physical("scrolllock"), direct ? "0" : "1");
        QCOMPARE(written(), ""); // no stroke, also after the take-up
    }

    // A lock lit on this keyboard by its stroke must light on some physical keyboard within
    // EchoMs, or the compositor keeps a lock state per keyboard: from then on every lock is set
    // on the physical keyboards, struck on their devices where those are open, and strokes on
    // the device stop, its own lit lock put out again. That lock is lit there, the others (Caps
    // Lock lit by the physical keyboard's own state) stay as they show, and the compositor's next
    // word on them stands.
    void keyboardsWithTheirOwnLockState_data() {
        QTest::addColumn<bool>("echoed");
        QTest::addColumn<bool>("nodes");
        QTest::newRow("the physical keyboard follows") << true << true;
        QTest::newRow("the physical keyboard stays dark, its device open") << false << true;
        QTest::newRow("the physical keyboard stays dark, only its LEDs") << false << false;
    }
    void keyboardsWithTheirOwnLockState() {
        QFETCH(bool, echoed);
        QFETCH(bool, nodes);
        auto uinput = keyboard({}, true, false, nodes);
        clock.advance(UinputKeyboard::SettleMs);
        setPhysical("capslock", true);
        modSync::Toggle(*uinput, LockKey::Num);
        const QString num = Stroke.arg(KEY_NUMLOCK), caps = Stroke.arg(KEY_CAPSLOCK);
        QCOMPARE(written(), num);
        sendLed(LED_NUML, true);
        if (echoed)
            setPhysical("numlock", true);
        clock.advance(UinputKeyboard::EchoMs + 50);
        QCOMPARE(physical("numlock"), "1");
        QCOMPARE(states(*uinput), echoed ? "1 0 0" : "1 1 0");
        if (!echoed) { // what the compositor writes next for its own lock stands
            QCOMPARE(written(), num);
            setPhysical("capslock", false);
            clock.advance(100);
            QCOMPARE(physical("capslock"), "0");
            setPhysical("capslock", true);
        }
        modSync::Toggle(*uinput, LockKey::Caps);
        QCOMPARE(written(), echoed ? caps : QString());
        QCOMPARE(physical("capslock"), echoed ? "1" : "0");
        modSync::TurnOffLitLocks(*uinput);
        QCOMPARE(physical("numlock"), echoed ? "1" : "0");
        QCOMPARE(struckOnPhysical(), !echoed && nodes ? num + ' ' + caps + ' ' + num : QString());
    }

    // Once the device is taken up, the LEDs that the system sets on the device tell, with a
    // lock-key stroke they do not show counting for a while. A key counts as held while pressed
    // through it; the release of another keyboard's key is not sent, and a key left down is let
    // go of when the keyboard goes.
    void keyStates() {
        auto uinput = keyboard();
        QCOMPARE(states(*uinput), "0 0 0");
        uinput->sendKeyEvent({LockKeyCode::Scroll, 1, 0, 0});
        clock.advance(UinputKeyboard::SettleMs - 1);
        QCOMPARE(written(), "");
        clock.advance(1); // taken up by the time limit: its own LEDs, all dark, and the press tell
        const QString held = QString::number(KeyStateBit::Held);
        const QString toggledHeld = QString::number(KeyStateBit::Toggled | KeyStateBit::Held);
        QCOMPARE(states(*uinput), "0 0 " + toggledHeld);
        clock.advance(2 * UinputKeyboard::ConfirmMs); // the stroke never shown counts no more
        QCOMPARE(states(*uinput), "0 0 " + held);
        for (auto [led, on] : {std::pair{LED_SCROLLL, true}, {LED_CAPSL, true}, {LED_CAPSL, false}})
            sendLed(led, on);
        QCOMPARE(states(*uinput), "0 0 " + toggledHeld);
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
