// The uinput backend against a socket standing in for /dev/uinput: what it writes is read back
// and decoded, and LED changes are written to it as the system sends them. One test needs a
// real /dev/uinput and is skipped where there is none.

#include "linuxkeycodes.h"
#include "modsync.h"
#include "simulatedkeyboard.h"
#include "uinputdevice.h"
#include "uinputkeyboard.h"
#include "virtualclock.h"

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

    // What reached the system: "+k" a press and "-k" a release of Linux key k, "sync" a
    // synchronisation report, "?" anything else.
    QStringList written() {
        QStringList records;
        for (input_event e; read(fds[1], &e, sizeof e) == sizeof e;)
            records << (e.type == EV_KEY && e.value <= 1
                            ? (e.value ? "+" : "-") + QString::number(e.code)
                        : e.type == EV_SYN && e.code == SYN_REPORT ? "sync"
                                                                   : "?");
        return records;
    }
    static QStringList strokes(std::initializer_list<int> keys) {
        QStringList records;
        for (int key : keys)
            records << "+" + QString::number(key) << "sync"
                    << "-" + QString::number(key) << "sync";
        return records;
    }
    void sendLed(int led, bool on) {
        const input_event event{{}, EV_LED, __u16(led), on};
        QCOMPARE(write(fds[1], &event, sizeof event), ssize_t(sizeof event));
    }
    void setLed(const QString& entry, bool lit) {
        QVERIFY(QDir(ledFolder.path()).mkpath(entry));
        QFile brightness(ledFolder.filePath(entry + "/brightness"));
        QVERIFY(brightness.open(QIODevice::WriteOnly) && brightness.write(lit ? "1\n" : "0\n"));
    }
    std::unique_ptr<UinputKeyboard> keyboard(bool settled = true) {
        auto uinput =
            std::make_unique<UinputKeyboard>(fds[0], clock, LedClass(ledFolder.path(), "input9"));
        if (settled)
            clock.advance(UinputKeyboard::SettleMs);
        return uinput;
    }

private slots:
    void init() {
        QVERIFY(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds) == 0);
        QVERIFY(QDir(ledFolder.path()).removeRecursively() && QDir().mkpath(ledFolder.path()));
    }
    void cleanup() {
        close(fds[0]);
        close(fds[1]);
    }

    void strokesWaitUntilTheDeviceIsTakenUp_data() {
        QTest::addColumn<bool>("ledAtCreation");
        QTest::addColumn<int>("ledChangeAtMs"); // -1 for none
        QTest::addColumn<int>("takenUpAtMs");

        QTest::newRow("by the time limit") << false << -1 << UinputKeyboard::SettleMs;
        QTest::newRow("by the compositor setting the LEDs") << false << 100 << 150;
        QTest::newRow("the console's LEDs at creation do not count")
            << true << -1 << UinputKeyboard::SettleMs;
    }
    void strokesWaitUntilTheDeviceIsTakenUp() {
        QFETCH(bool, ledAtCreation);
        QFETCH(int, ledChangeAtMs);
        QFETCH(int, takenUpAtMs);
        if (ledAtCreation)
            sendLed(LED_NUML, true);
        const auto start = clock.now();
        auto uinput = keyboard(false);
        modSync::Toggle(*uinput, LockKey::Num);
        if (ledChangeAtMs >= 0) {
            clock.advance(ledChangeAtMs);
            sendLed(LED_CAPSL, true);
        }
        clock.advance(takenUpAtMs - 1 - (clock.now() - start));
        QCOMPARE(written(), QStringList());
        clock.advance(1);
        QCOMPARE(written(), strokes({KEY_NUMLOCK}));
        modSync::SendKeyString(*uinput, "{SCROLLOCK}a{F12}");
        QCOMPARE(written(), strokes({KEY_SCROLLLOCK, KEY_A, KEY_F12}));
    }

    // Every stroke of every key the sender can produce reaches the system on a declared key.
    void everyKeyIsDeclared() {
        QStringList keys = QStringLiteral("{BACKSPACE} {BREAK} {CAPSLOCK} {DELETE} {DOWN} {UP} "
                                          "{LEFT} {RIGHT} {END} {ENTER} {HOME} {ESC} {HELP} "
                                          "{INSERT} {NUMLOCK} {PGUP} {PGDN} {SCROLLOCK} {TAB} "
                                          "{WIN} {APPS} {PRINT}")
                               .split(' ');
        for (int n = 1; n <= 16; ++n)
            keys << QStringLiteral("{F%1}").arg(n);
        for (char c = ' '; c <= '~'; ++c)
            if (c != '{')
                keys << QString(QChar(c));
        auto uinput = keyboard();
        const std::vector<int> declared = linuxKeyCodes();
        for (const QString& key : keys) {
            SimulatedKeyboard sent;
            modSync::SendKeyString(sent, key.toStdString());
            modSync::SendKeyString(*uinput, key.toStdString());
            const QStringList records = written();
            QCOMPARE(records.size(), 2 * qsizetype(sent.events().size()));
            for (qsizetype i = 0; i < records.size(); i += 2)
                QVERIFY2(std::count(declared.begin(), declared.end(), records[i].mid(1).toInt()) &&
                             records[i + 1] == "sync",
                         qPrintable(key + ": " + records.join(' ')));
        }
    }

    // Until the device is taken up, a lock counts as on only when every keyboard in the LED
    // class shows it lit, the virtual keyboard's own entry left out; then its own LEDs tell.
    void lockStates_data() {
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("second");
        QTest::addColumn<bool>("own");
        QTest::addColumn<bool>("on");

        QTest::newRow("both lit") << true << true << false << true;
        QTest::newRow("one lit") << true << false << true << false;
        QTest::newRow("only our own lit") << false << false << true << false;
    }
    void lockStates() {
        QFETCH(bool, first);
        QFETCH(bool, second);
        QFETCH(bool, own);
        QFETCH(bool, on);
        setLed("input3::numlock", first);
        setLed("input7::numlock", second);
        setLed("input9::numlock", own);
        setLed("input3::capslock", true);
        auto uinput = keyboard(false);
        QCOMPARE(modSync::IsLockOn(*uinput, LockKey::Num), on);
        QCOMPARE(modSync::IsLockOn(*uinput, LockKey::Caps), true);
        QCOMPARE(modSync::IsLockOn(*uinput, LockKey::Scroll), false); // no keyboard has it

        clock.advance(UinputKeyboard::SettleMs);
        sendLed(LED_SCROLLL, true);
        sendLed(LED_NUML, true);
        sendLed(LED_NUML, false);
        QCOMPARE(modSync::IsLockOn(*uinput, LockKey::Num), false);
        QCOMPARE(modSync::IsLockOn(*uinput, LockKey::Caps), false);
        QCOMPARE(modSync::IsLockOn(*uinput, LockKey::Scroll), true);
    }

    void heldWhilePressedThroughIt() {
        auto uinput = keyboard();
        sendLed(LED_NUML, true);
        uinput->sendKeyEvent({LockKeyCode::Num, 1, 0, 0});
        QCOMPARE(uinput->keyState(LockKeyCode::Num),
                 std::int16_t(KeyStateBit::Toggled | KeyStateBit::Held));
        uinput->sendKeyEvent({LockKeyCode::Num, 1, KeyEventFlag::KeyUp, 0});
        QCOMPARE(uinput->keyState(LockKeyCode::Num), KeyStateBit::Toggled);
        // Nothing of ours to let go of: another keyboard's key stays down.
        uinput->sendKeyEvent({LockKeyCode::Caps, 1, KeyEventFlag::KeyUp, 0});
        QCOMPARE(written(), strokes({KEY_NUMLOCK}));
        // A key left down is let go of when the keyboard goes.
        uinput->sendKeyEvent({'A', 1, 0, 0});
        uinput.reset();
        QCOMPARE(written(), strokes({KEY_A}));
    }

    void openProblemsNameTheFix() {
        for (const auto& [error, fix] : {std::pair{ENOENT, "sudo modprobe uinput"},
                                         {ENODEV, "sudo modprobe uinput"},
                                         {EACCES, "70-tintaro-uinput.rules"}}) {
            const QString problem = uinputOpenProblem(error);
            QVERIFY2(problem.contains("/dev/uinput") && problem.contains(fix), qPrintable(problem));
        }
    }

    void realDevice() {
        if (!QFile::exists(UinputDevice::Path))
            QSKIP("no /dev/uinput here: the uinput kernel module is not loaded or not available");
        QString whyNot;
        const auto device = UinputDevice::create(&whyNot);
        QVERIFY2(device, qPrintable(whyNot));
        const QString sys = "/sys/class/input/" + device->inputName();
        QFile name(sys + "/name"), leds(sys + "/capabilities/led");
        QVERIFY(name.open(QIODevice::ReadOnly) && leds.open(QIODevice::ReadOnly));
        QCOMPARE(name.readAll().trimmed(), "Tintaro virtual keyboard");
        QCOMPARE(leds.readAll().trimmed(), "7");
    }
};

QTEST_GUILESS_MAIN(UinputKeyboardTest)
#include "tst_uinputkeyboard.moc"
