#include "modsync.h"
#include "x11keyboard.h"

#include <QScopeGuard>
#include <QTest>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <array>
#include <set>

namespace {

using ModifierRows = std::array<std::set<int>, 8>;

// A client of its own that watches the server, as any other program on the desktop would.
class Observer {
public:
    Observer() : m_display(XOpenDisplay(nullptr)) {}
    ~Observer() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    Display* display() const { return m_display; }

    bool indicatorOn(const char* name) const {
        int index = 0;
        Bool on = False;
        XkbGetNamedIndicator(m_display, XInternAtom(m_display, name, False), &index, &on, nullptr,
                             nullptr);
        return on;
    }

    unsigned lockedMods() const {
        XkbStateRec state;
        XkbGetState(m_display, XkbUseCoreKbd, &state);
        return state.locked_mods;
    }

    ModifierRows modifierRows() const {
        ModifierRows rows;
        XModifierKeymap* map = XGetModifierMapping(m_display);
        for (int i = 0; i < 8 * map->max_keypermod; ++i)
            if (map->modifiermap[i] != 0)
                rows[i / map->max_keypermod].insert(map->modifiermap[i]);
        XFreeModifiermap(map);
        return rows;
    }

    std::set<int> keysDown() const {
        char keys[32];
        XQueryKeymap(m_display, keys);
        std::set<int> down;
        for (int key = 0; key < 256; ++key)
            if (keys[key / 8] & (1 << (key % 8)))
                down.insert(key);
        return down;
    }
    bool isDown(int keyCode) const { return keysDown().count(keyCode) != 0; }

    int keyCodeOf(KeySym keysym) const { return XKeysymToKeycode(m_display, keysym); }

    // A key with no symbols at all, free to be given one.
    int spareKeyCode() const {
        int first = 0, last = 0, perKey = 0;
        XDisplayKeycodes(m_display, &first, &last);
        KeySym* syms = XGetKeyboardMapping(m_display, first, last - first + 1, &perKey);
        int spare = 0;
        for (int key = first; key <= last && spare == 0; ++key)
            if (std::all_of(syms + (key - first) * perKey, syms + (key - first + 1) * perKey,
                            [](KeySym s) { return s == NoSymbol; }))
                spare = key;
        XFree(syms);
        return spare;
    }

    void setKeysym(int keyCode, KeySym keysym) const {
        XChangeKeyboardMapping(m_display, keyCode, 1, &keysym, 1);
        XSync(m_display, False);
    }

private:
    Display* m_display;
};

struct Lock {
    LockKey key;
    const char* indicator;
    KeySym keysym;
};
constexpr Lock Locks[] = {{LockKey::Num, "Num Lock", XK_Num_Lock},
                          {LockKey::Caps, "Caps Lock", XK_Caps_Lock},
                          {LockKey::Scroll, "Scroll Lock", XK_Scroll_Lock}};

KeyEvent press(int key) {
    return {std::uint8_t(key), 1, 0, 0};
}
KeyEvent release(int key) {
    return {std::uint8_t(key), 1, KeyEventFlag::KeyUp, 0};
}
bool toggled(const Keyboard& keyboard, LockKey key) {
    return keyboard.keyState(info(key).keyCode) & KeyStateBit::Toggled;
}
bool held(const Keyboard& keyboard, int key) {
    return keyboard.keyState(key) & KeyStateBit::Held;
}

std::unique_ptr<X11Keyboard> openKeyboard() {
    QString whyNot;
    auto keyboard = X11Keyboard::open(&whyNot);
    if (!keyboard)
        qFatal("%s", qPrintable(whyNot));
    return keyboard;
}

} // namespace

class X11KeyboardTest : public QObject {
    Q_OBJECT

    Observer observer;
    ModifierRows rowsAsFound;

private slots:
    void initTestCase() {
        QVERIFY2(observer.display(), "needs an X display");
        rowsAsFound = observer.modifierRows();
    }

    // Every test leaves the lock indicators off, no key down and the modifier map as found.
    void cleanup() {
        {
            auto keyboard = openKeyboard();
            for (const Lock& lock : Locks)
                if (observer.indicatorOn(lock.indicator))
                    modSync::Toggle(*keyboard, lock.key);
        }
        for (const Lock& lock : Locks)
            QVERIFY2(!observer.indicatorOn(lock.indicator), lock.indicator);
        QVERIFY(observer.keysDown().empty());
        QCOMPARE(observer.modifierRows(), rowsAsFound);
    }

    void lockStringFlipsItsIndicator_data() {
        QTest::addColumn<int>("lock");
        for (int i = 0; i < 3; ++i)
            QTest::newRow(Locks[i].indicator) << i;
    }

    void lockStringFlipsItsIndicator() {
        QFETCH(int, lock);
        const auto [key, indicator, keysym] = Locks[lock];
        auto keyboard = openKeyboard();
        const bool before = observer.indicatorOn(indicator);
        QCOMPARE(toggled(*keyboard, key), before);

        for (bool expected : {!before, before}) {
            modSync::SendKeyString(*keyboard, info(key).toggleString);
            QCOMPARE(observer.indicatorOn(indicator), expected);
            QCOMPARE(toggled(*keyboard, key), expected);
            QCOMPARE(modSync::IsLockOn(*keyboard, key), expected);
        }
    }

    // Toggles made by another program (here a second connection) show in the state read.
    void seesChangesMadeByOthers() {
        auto keyboard = openKeyboard();
        auto other = openKeyboard();
        for (const Lock& lock : Locks) {
            modSync::Toggle(*other, lock.key);
            QVERIFY2(QTest::qWaitFor([&] { return modSync::IsLockOn(*keyboard, lock.key); }, 1000),
                     lock.indicator);
            modSync::Toggle(*other, lock.key);
            QVERIFY2(QTest::qWaitFor([&] { return !toggled(*keyboard, lock.key); }, 1000),
                     lock.indicator);
        }
    }

    void heldLockKeyCountsAsOff_data() { lockStringFlipsItsIndicator_data(); }

    void heldLockKeyCountsAsOff() {
        QFETCH(int, lock);
        const auto [key, indicator, keysym] = Locks[lock];
        auto keyboard = openKeyboard();
        if (!observer.indicatorOn(indicator))
            modSync::Toggle(*keyboard, key);
        QVERIFY(modSync::IsLockOn(*keyboard, key));

        const int code = info(key).keyCode;
        keyboard->sendKeyEvent(press(code));
        QVERIFY(observer.isDown(observer.keyCodeOf(keysym)));
        QVERIFY(held(*keyboard, code));
        QVERIFY(!modSync::IsLockOn(*keyboard, key));

        keyboard->sendKeyEvent(release(code));
        QVERIFY(!held(*keyboard, code));
        QCOMPARE(modSync::IsLockOn(*keyboard, key), observer.indicatorOn(indicator));
    }

    // The X key that goes down for a virtual key is the one a user of this keymap would expect.
    void pressAndReleaseReachTheServer_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<KeySym>("keysym");
        QTest::newRow("letter") << 65 << KeySym(XK_a);
        QTest::newRow("digit") << 55 << KeySym(XK_7);
        QTest::newRow("punctuation") << 59 << KeySym(XK_semicolon);
        QTest::newRow("shift") << 16 << KeySym(XK_Shift_L);
        QTest::newRow("page down") << 34 << KeySym(XK_Next);
        QTest::newRow("F12") << 123 << KeySym(XK_F12);
    }

    void pressAndReleaseReachTheServer() {
        QFETCH(int, key);
        QFETCH(KeySym, keysym);
        auto keyboard = openKeyboard();
        const int expected = observer.keyCodeOf(keysym);
        QVERIFY(expected != 0);

        keyboard->sendKeyEvent(press(key));
        QVERIFY(observer.isDown(expected));
        QVERIFY(held(*keyboard, key));
        keyboard->sendKeyEvent(release(key));
        QVERIFY(!observer.isDown(expected));
        QVERIFY(!held(*keyboard, key));
    }

    void closingReleasesHeldKeys() {
        auto keyboard = openKeyboard();
        keyboard->sendKeyEvent(press(65));
        QVERIFY(observer.isDown(observer.keyCodeOf(XK_a)));
        keyboard.reset();
        QVERIFY(observer.keysDown().empty());
    }

    // A key is looked up in the keymap of the moment; its release still goes where its press went.
    void followsKeymapChanges() {
        const int spare = observer.spareKeyCode();
        if (spare == 0 || observer.keyCodeOf(XK_F16) != 0)
            QSKIP("needs a key without symbols and no F16 key");
        auto restore = qScopeGuard([&] { observer.setKeysym(spare, NoSymbol); });
        const int f16 = 127;
        auto keyboard = openKeyboard();

        keyboard->sendKeyEvent(press(f16));
        QVERIFY(observer.keysDown().empty());
        keyboard->sendKeyEvent(release(f16));

        observer.setKeysym(spare, XK_F16);
        QTest::qSleep(20); // the keymap notice reaches the keyboard's connection on its own
        keyboard->sendKeyEvent(press(f16));
        QVERIFY(observer.isDown(spare));
        QVERIFY(held(*keyboard, f16));

        observer.setKeysym(spare, NoSymbol);
        QTest::qSleep(20);
        keyboard->sendKeyEvent(release(f16));
        QVERIFY(!observer.isDown(spare));
    }

    void scrollLockBindingIsUndone() {
        const int scrollLock = observer.keyCodeOf(XK_Scroll_Lock);
        for (const std::set<int>& row : rowsAsFound)
            if (row.count(scrollLock))
                QSKIP("Scroll_Lock already has a modifier on this server");

        unsigned boundMask = 0;
        {
            auto keyboard = openKeyboard();
            const ModifierRows bound = observer.modifierRows();
            for (int row = 0; row < 8; ++row) {
                ModifierRows expected = rowsAsFound;
                expected[row].insert(scrollLock);
                if (bound == expected)
                    boundMask = 1u << row;
            }
            QVERIFY2(boundMask >= Mod1Mask, "Scroll_Lock alone bound to a free modifier");
            {
                // A second instance finds Scroll_Lock bound and must not take it away.
                auto second = openKeyboard();
                QCOMPARE(observer.modifierRows(), bound);
            }
            QCOMPARE(observer.modifierRows(), bound);

            modSync::Toggle(*keyboard, LockKey::Scroll);
            QVERIFY(observer.indicatorOn("Scroll Lock"));
            QVERIFY(observer.lockedMods() & boundMask);
        }
        QCOMPARE(observer.modifierRows(), rowsAsFound);
        QCOMPARE(observer.lockedMods() & boundMask, 0u);
        QVERIFY(!observer.indicatorOn("Scroll Lock"));
    }

    void openFailsWithoutDisplay() {
        const QByteArray display = qgetenv("DISPLAY");
        auto restore = qScopeGuard([&] { qputenv("DISPLAY", display); });
        int absent = 399;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(absent)))
            --absent;
        const QString name = QStringLiteral(":%1").arg(absent);
        qputenv("DISPLAY", name.toLatin1());
        QString whyNot;
        QVERIFY(!X11Keyboard::open(&whyNot));
        QVERIFY2(whyNot.contains(name), qPrintable(whyNot));

        qunsetenv("DISPLAY");
        whyNot.clear();
        QVERIFY(!X11Keyboard::open(&whyNot));
        QVERIFY2(whyNot.contains("DISPLAY"), qPrintable(whyNot));
    }
};

QTEST_APPLESS_MAIN(X11KeyboardTest)
#include "tst_x11keyboard.moc"
