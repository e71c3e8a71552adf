#include "modsync.h"
#include "simulatedkeyboard.h"

#include <QTest>

#include <string>
#include <vector>

namespace {
using Events = std::vector<KeyEvent>;

KeyEvent press(std::uint8_t key) {
    return {key, 1, 0, 0};
}
KeyEvent release(std::uint8_t key) {
    return {key, 1, KeyEventFlag::KeyUp, 0};
}
Events tapOf(std::uint8_t key) {
    return {press(key), release(key)};
}
Events shiftedTapOf(std::uint8_t key) {
    return {press(16), press(key), release(key), release(16)};
}

Events concat(std::initializer_list<Events> parts) {
    Events all;
    for (const Events& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Events sent(std::string_view keys) {
    SimulatedKeyboard keyboard;
    modSync::SendKeyString(keyboard, keys);
    return keyboard.events();
}

QString describe(const Events& events) {
    QStringList parts;
    for (const KeyEvent& e : events)
        parts << QStringLiteral("(%1,%2,%3,%4)")
                     .arg(e.keyCode)
                     .arg(e.scanCode)
                     .arg(e.flags)
                     .arg(e.extraInfo);
    return parts.join(' ');
}

// Every press is released again, and no key is left down.
bool balanced(const Events& events) {
    std::array<int, 256> down{};
    for (const KeyEvent& e : events)
        down[e.keyCode] += (e.flags & KeyEventFlag::KeyUp) ? -1 : 1;
    return std::all_of(down.begin(), down.end(), [](int d) { return d == 0; });
}
} // namespace

Q_DECLARE_METATYPE(Events)

class SendKeyStringTest : public QObject {
    Q_OBJECT

private slots:
    void sendsEvents_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<Events>("expected");

        QTest::newRow("num lock") << "{NUMLOCK}" << tapOf(144);
        QTest::newRow("caps lock") << "{CAPSLOCK}" << tapOf(20);
        QTest::newRow("scroll lock") << "{SCROLLOCK}" << tapOf(145);
        QTest::newRow("names ignore case")
            << "{NumLock}{numlock}" << concat({tapOf(144), tapOf(144)});
        QTest::newRow("empty") << "" << Events{};
        QTest::newRow("F12") << "{F12}" << tapOf(123);
        QTest::newRow("F10 before F1") << "{F10}" << tapOf(121);
        QTest::newRow("F1") << "{F1}" << tapOf(112);
        QTest::newRow("F16") << "{f16}" << tapOf(127);
        QTest::newRow("DELETE before DEL") << "{DELETE}{DEL}" << concat({tapOf(46), tapOf(46)});
        QTest::newRow("INSERT before INS") << "{INSERT}{ins}" << concat({tapOf(45), tapOf(45)});
        QTest::newRow("backspace then a") << "{BACKSPACE}a" << concat({tapOf(8), tapOf(65)});
        QTest::newRow("scroll then num")
            << "{SCROLLOCK}{NUMLOCK}" << concat({tapOf(145), tapOf(144)});
        QTest::newRow("unclosed name at end") << "{TAB" << tapOf(9);
        QTest::newRow("character after name is skipped")
            << "{ENTER]x" << concat({tapOf(13), tapOf(88)});
        QTest::newRow("upper-case letter is shifted") << "A" << shiftedTapOf(65);
        QTest::newRow("lower-case letter") << "a" << tapOf(65);
        QTest::newRow("digit is not shifted") << "7" << tapOf(55);
        QTest::newRow("punctuation is shifted by its code") << " " << shiftedTapOf(32);
        QTest::newRow("ctrl alone") << "^" << tapOf(17);
        QTest::newRow("alt alone") << "%" << tapOf(18);
        QTest::newRow("shift does not hold over the next key")
            << "+a" << concat({tapOf(16), tapOf(65)});
        QTest::newRow("all named keys of the last rows")
            << "{WIN}{APPS}{PRINT}{BREAK}{PGUP}{PGDN}{HELP}"
            << concat(
                   {tapOf(91), tapOf(93), tapOf(44), tapOf(19), tapOf(33), tapOf(34), tapOf(47)});
    }

    void sendsEvents() {
        QFETCH(QString, keys);
        QFETCH(Events, expected);
        const Events actual = sent(keys.toStdString());
        QCOMPARE(describe(actual), describe(expected));
    }

    // Input no caller of the program produces still leaves no key down and reads no further
    // than the text.
    void malformedInputIsSafe_data() {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<Events>("expected");

        QTest::newRow("lone brace") << QByteArray("{") << Events{};
        QTest::newRow("unknown name dropped to its brace")
            << QByteArray("{NOSUCHKEY}a") << tapOf(65);
        QTest::newRow("unknown unclosed name drops the rest")
            << QByteArray("a{NOSUCH") << tapOf(65);
        QTest::newRow("name ending the text") << QByteArray("{NUMLOCK") << tapOf(144);
        QTest::newRow("closing brace alone is a plain character")
            << QByteArray("}") << shiftedTapOf(125);
        QTest::newRow("non-ASCII bytes are skipped") << QByteArray("\xc3\xa4"
                                                                   "a\xff")
                                                     << tapOf(65);
    }

    void malformedInputIsSafe() {
        QFETCH(QByteArray, keys);
        QFETCH(Events, expected);
        QCOMPARE(describe(sent(std::string_view(keys.constData(), keys.size()))),
                 describe(expected));
    }

    void everyByteValueLeavesNoKeyHeld() {
        std::string all;
        for (int c = 0; c < 256; ++c)
            all += static_cast<char>(c);
        for (int c = 0; c < 256; ++c) {
            all += '{';
            all += static_cast<char>(c);
        }
        QVERIFY(balanced(sent(all)));
    }

    void longTextIsSentToItsEnd() {
        std::string keys(40000, 'a');
        keys += "{NUMLOCK}";
        const Events events = sent(keys);
        QCOMPARE(events.size(), std::size_t(2 * 40000 + 2));
        QCOMPARE(events.back(), release(144));
    }

    void lockStateTest() {
        SimulatedKeyboard keyboard;
        QVERIFY(!modSync::IsLockOn(keyboard, LockKey::Caps));

        modSync::Toggle(keyboard, LockKey::Caps);
        QVERIFY(modSync::IsLockOn(keyboard, LockKey::Caps));
        QVERIFY(!modSync::IsLockOn(keyboard, LockKey::Num));

        // Held down, a lit lock key counts as off.
        keyboard.setHeld(20, true);
        QVERIFY(!modSync::IsLockOn(keyboard, LockKey::Caps));
        keyboard.setHeld(20, false);

        modSync::Toggle(keyboard, LockKey::Caps);
        QVERIFY(!modSync::IsLockOn(keyboard, LockKey::Caps));
    }
};

QTEST_APPLESS_MAIN(SendKeyStringTest)
#include "tst_sendkeystring.moc"
