#include "modsync.h"
#include "x11keyboard.h"

#include <QBitArray>
#include <QTest>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <bit>

class X11KeyboardTest : public QObject {
    Q_OBJECT

    static constexpr const char* Indicators[] = {"Num Lock", "Caps Lock", "Scroll Lock"};

    // A client of its own that watches the server, as any other program on the desktop would.
    std::unique_ptr<Display, int (*)(Display*)> display{XOpenDisplay(nullptr), XCloseDisplay};
    Display* const dpy = display.get();
    QBitArray modifiersAsFound;

    bool indicatorOn(LockKey key) const {
        Bool on = False;
        const Atom name = XInternAtom(dpy, Indicators[int(key)], False);
        XkbGetNamedIndicator(dpy, name, nullptr, &on, nullptr, nullptr);
        return on;
    }
    // Bit row * 256 + key for each key bound to modifier row 0..7.
    QBitArray modifierMap() const {
        QBitArray bits(8 * 256);
        XModifierKeymap* map = XGetModifierMapping(dpy);
        for (int i = 0; i < 8 * map->max_keypermod; ++i)
            bits.setBit(i / map->max_keypermod * 256 + map->modifiermap[i], map->modifiermap[i]);
        XFreeModifiermap(map);
        return bits;
    }
    QBitArray keysDown() const {
        char keys[32];
        XQueryKeymap(dpy, keys);
        return QBitArray::fromBits(keys, 256);
    }
    static KeyEvent press(int key) { return {std::uint8_t(key)}; }
    static KeyEvent release(int key) { return {std::uint8_t(key), 0, KeyEventFlag::KeyUp}; }

private slots:
    void initTestCase() {
        QVERIFY2(dpy, "needs an X display");
        modifiersAsFound = modifierMap();
        QString whyNot;
        QVERIFY2(X11Keyboard::open(&whyNot), qPrintable(whyNot));
        cleanup();
    }

    // Every test starts and ends with the lock indicators dark, no key down and the modifier
    // map as found.
    void cleanup() {
        for (auto keyboard = X11Keyboard::open(); LockKey key : AllLockKeys)
            if (indicatorOn(key))
                modSync::Toggle(*keyboard, key);
        for (LockKey key : AllLockKeys)
            QVERIFY2(!indicatorOn(key), Indicators[int(key)]);
        QCOMPARE(keysDown().count(true), 0);
        QCOMPARE(modifierMap(), modifiersAsFound);
    }

    void lockKey_data() {
        QTest::addColumn<LockKey>("key");
        for (LockKey key : AllLockKeys)
            QTest::newRow(Indicators[int(key)]) << key;
    }

    // The lock's key string flips the indicator that every client sees, and keyState agrees; a
    // state read waits for the keyboard's own key strokes, so they are seen everywhere after it.
    // Toggles made by another program (here a second connection) are seen, and a lock key it
    // holds down counts as off.
    void lockKey() {
        QFETCH(LockKey, key);
        const int code = info(key).keyCode;
        auto keyboard = X11Keyboard::open();
        for (bool expected : {true, false}) {
            modSync::SendKeyString(*keyboard, info(key).toggleString);
            QCOMPARE(keyboard->keyState(code) & KeyStateBit::Toggled, int(expected));
            QCOMPARE(indicatorOn(key), expected);
            QCOMPARE(modSync::IsLockOn(*keyboard, key), expected);
        }

        auto other = X11Keyboard::open();
        modSync::Toggle(*other, key);
        QVERIFY(QTest::qWaitFor([&] { return modSync::IsLockOn(*keyboard, key); }));
        other->sendKeyEvent(press(code));
        QVERIFY(QTest::qWaitFor([&] {
            return keyboard->keyState(code) ==
                   std::int16_t(KeyStateBit::Held | KeyStateBit::Toggled);
        }));
        QVERIFY(indicatorOn(key) && !modSync::IsLockOn(*keyboard, key));
        other->sendKeyEvent(release(code)); // turns it off
        QVERIFY(QTest::qWaitFor([&] { return keyboard->keyState(code) == 0; }));
    }

    // The X key that goes down for a virtual key is the one a user of this keymap would expect;
    // closing the keyboard lets go of a key still held.
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
        QBitArray expected(256);
        expected.setBit(XKeysymToKeycode(dpy, keysym)); // 0, never down, where there is none
        auto keyboard = X11Keyboard::open();
        keyboard->sendKeyEvent(press(key));
        QCOMPARE(keyboard->keyState(key), KeyStateBit::Held);
        QCOMPARE(keysDown(), expected);
        keyboard->sendKeyEvent(release(key));
        QCOMPARE(keyboard->keyState(key), std::int16_t(0));
        QCOMPARE(keysDown().count(true), 0);
        keyboard->sendKeyEvent(press(key));
        QCOMPARE(keyboard->keyState(key), KeyStateBit::Held);
        QCOMPARE(keysDown(), expected);
        keyboard.reset();
        QCOMPARE(keysDown().count(true), 0);
    }

    // Where Scroll_Lock has no modifier, a free one is bound to it alone while the first
    // keyboard lives and no longer, and no lock is left on it.
    void scrollLockBindingIsUndone() {
        const int scrollLock = XKeysymToKeycode(dpy, XK_Scroll_Lock);
        for (int row = 0; row < 8; ++row)
            if (modifiersAsFound.testBit(row * 256 + scrollLock))
                QSKIP("Scroll_Lock already has a modifier on this server");
        XkbStateRec state;
        {
            auto keyboard = X11Keyboard::open();
            const QBitArray bound = modifierMap();
            // A second instance, while it lives and after, leaves the binding alone.
            QCOMPARE((X11Keyboard::open(), modifierMap()), bound);
            QCOMPARE(modifierMap(), bound);

            modSync::Toggle(*keyboard, LockKey::Scroll);
            QVERIFY(modSync::IsLockOn(*keyboard, LockKey::Scroll));
            XkbGetState(dpy, XkbUseCoreKbd, &state);
            QVERIFY(std::has_single_bit(state.locked_mods) && state.locked_mods >= Mod1Mask);
            QBitArray expected = modifiersAsFound;
            expected.setBit(std::countr_zero(state.locked_mods) * 256 + scrollLock);
            QCOMPARE(bound, expected);
        }
        QCOMPARE(modifierMap(), modifiersAsFound);
        XkbGetState(dpy, XkbUseCoreKbd, &state);
        QCOMPARE(int(state.locked_mods), 0);
        QVERIFY(!indicatorOn(LockKey::Scroll));
    }

    void openFailsWithoutDisplay() {
        const QByteArray display = qgetenv("DISPLAY");
        auto restore = qScopeGuard([&] { qputenv("DISPLAY", display); });
        int absent = 399;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(absent)))
            --absent;
        const QByteArray name = ':' + QByteArray::number(absent);
        QString whyNot;
        qputenv("DISPLAY", name);
        QVERIFY(!X11Keyboard::open(&whyNot));
        QVERIFY2(whyNot.contains(name), qPrintable(whyNot));
        qunsetenv("DISPLAY");
        QVERIFY(!X11Keyboard::open(&whyNot));
        QVERIFY2(whyNot.contains("DISPLAY"), qPrintable(whyNot));
    }
};

QTEST_GUILESS_MAIN(X11KeyboardTest)
#include "tst_x11keyboard.moc"
