#include "lockkeys/modsync.h"
#include "platform/x11keyboard.h"

#include <QProcess>
#include <QTest>

// Xlib's macros (None, Bool, Status, ...) clash with Qt: after Qt.
#include "tests/x11observer.h"
#include <X11/keysym.h>

#include <bit>

class X11KeyboardTest : public QObject {
    Q_OBJECT

    static constexpr const char* Indicators[] = {"Num Lock", "Caps Lock", "Scroll Lock"};

    X11Observer x;
    const QString asFound = x.dpy ? x.state() : QString();

    static KeyEvent press(int key) { return {std::uint8_t(key)}; }
    static KeyEvent release(int key) { return {std::uint8_t(key), 0, KeyEventFlag::KeyUp}; }

private slots:
    void initTestCase() {
        QString whyNot;
        QVERIFY2(x.dpy && X11Keyboard::open(&whyNot), qPrintable(whyNot));
    }

    // Every test ends with the keyboard as found: no lock indicator lit, no modifier locked, no
    // key down and the modifier map as it was.
    void cleanup() { QCOMPARE(x.state(), asFound); }

    void lockKey_data() {
        QTest::addColumn<LockKey>("key");
        for (LockKey key : AllLockKeys)
            QTest::newRow(Indicators[int(key)]) << key;
    }

    // The lock's key string flips the indicator that every client sees, and keyState agrees; a
    // state read waits for the keyboard's own key strokes, so they are seen everywhere after it.
    // Toggles made by another program (here a second connection) are seen, and a lock key it
    // holds down counts as held.
    void lockKey() {
        QFETCH(LockKey, key);
        const int code = info(key).keyCode;
        auto keyboard = X11Keyboard::open();
        for (bool on : {true, false}) {
            modSync::SendKeyString(*keyboard, info(key).toggleString);
            QCOMPARE(keyboard->keyState(code), std::int16_t(on));
            QCOMPARE(x.lit(Indicators[int(key)]), on);
        }

        auto other = X11Keyboard::open();
        modSync::Toggle(*other, key);
        other->sendKeyEvent(press(code));
        QTRY_COMPARE(keyboard->keyState(code),
                     std::int16_t(KeyStateBit::Held | KeyStateBit::Toggled));
        other->sendKeyEvent(release(code)); // turns it off
        QTRY_COMPARE(keyboard->keyState(code), std::int16_t(0));
    }

    // The X key that goes down for a virtual key is the one a user of this keymap would expect;
    // closing the keyboard lets go of a key still held (as cleanup() sees).
    void pressAndReleaseReachTheServer_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<KeySym>("keysym");
        QTest::newRow("letter") << 65 << KeySym(XK_a);
        QTest::newRow("shift") << 16 << KeySym(XK_Shift_L);
        QTest::newRow("F12") << 123 << KeySym(XK_F12);
    }

    void pressAndReleaseReachTheServer() {
        QFETCH(int, key);
        QFETCH(KeySym, keysym);
        const QString down = QString::number(XKeysymToKeycode(x.dpy, keysym));
        auto keyboard = X11Keyboard::open();
        for (bool pressed : {true, false, true}) {
            keyboard->sendKeyEvent(pressed ? press(key) : release(key));
            QCOMPARE(keyboard->keyState(key), pressed ? KeyStateBit::Held : std::int16_t(0));
            QCOMPARE(x.keysDown(), pressed ? down : QString());
        }
    }

    // Where Scroll_Lock has no modifier, a free one is bound to it alone while the first
    // keyboard lives and no longer, and no lock is left on it (as cleanup() sees).
    void scrollLockBindingIsUndone() {
        const int scrollLock = XKeysymToKeycode(x.dpy, XK_Scroll_Lock);
        const QStringList found = x.modifierMap();
        QStringList expected = found;
        if (expected.join(' ').split(' ').contains(QString::number(scrollLock)))
            QSKIP("Scroll_Lock already has a modifier on this server");
        auto keyboard = X11Keyboard::open();
        const QStringList bound = x.modifierMap();
        // A second instance, while it lives and after, leaves the binding alone.
        QCOMPARE((X11Keyboard::open(), x.modifierMap()), bound);
        QCOMPARE(x.modifierMap(), bound);

        modSync::Toggle(*keyboard, LockKey::Scroll);
        QVERIFY(modSync::IsLockOn(*keyboard, LockKey::Scroll));
        const unsigned locked = x.lockedModifiers();
        QVERIFY(std::has_single_bit(locked) && locked >= Mod1Mask);
        expected[std::countr_zero(locked)] = QStringLiteral(" %1").arg(scrollLock);
        QCOMPARE(bound, expected);

        // A keymap change drops it. A state read that comes upon the change leaves it to the
        // event loop, which binds anew; while a key is held down the server refuses that, and
        // the event loop tries again until the key is let go of.
        const KeyCode shift = XKeysymToKeycode(x.dpy, XK_Shift_L);
        for (bool held : {false, true}) {
            XTestFakeKeyEvent(x.dpy, shift, held, 0);
            XSync(x.dpy, False);
            QCOMPARE(QProcess::execute("setxkbmap", {"us"}), 0);
            modSync::Toggle(*keyboard, LockKey::Scroll);
            QVERIFY(!modSync::IsLockOn(*keyboard, LockKey::Scroll) && x.modifierMap() != bound);
            XTestFakeKeyEvent(x.dpy, shift, False, 0);
            QVERIFY(QTest::qWaitFor([&] { return x.modifierMap() == bound; }));
        }
        // Bound anew, the key that the user strikes toggles the indicator again.
        for (bool on : {true, false}) {
            X11Observer().tap(XK_Scroll_Lock); // a new connection knows the keymap of the moment
            QVERIFY(QTest::qWaitFor([&] {
                return x.lit("Scroll Lock") == on &&
                       modSync::IsLockOn(*keyboard, LockKey::Scroll) == on;
            }));
        }

        // Closed while a key is held down (Alt, as with Alt+F4), it unbinds all the same.
        XTestFakeKeyEvent(x.dpy, XKeysymToKeycode(x.dpy, XK_Alt_L), True, 0);
        XSync(x.dpy, False);
        keyboard.reset();
        QCOMPARE(x.modifierMap(), found);
        XTestFakeKeyEvent(x.dpy, XKeysymToKeycode(x.dpy, XK_Alt_L), False, 0);
        XSync(x.dpy, False);
    }
};

QTEST_GUILESS_MAIN(X11KeyboardTest)
#include "tst_x11keyboard.moc"
