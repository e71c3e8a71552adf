#include "modsync.h"
#include "simulatedkeyboard.h"

#include <QTest>

#include <string>

namespace {
// The events sent for `keys`, written "+k" for a press and "-k" for a release of key code k;
// an event with another scan code than 1 or other extra information than 0 is marked "!".
QString sent(std::string_view keys) {
    SimulatedKeyboard keyboard;
    modSync::SendKeyString(keyboard, keys);
    QStringList events;
    for (const KeyEvent& e : keyboard.events())
        events << QStringLiteral("%1%2%3")
                      .arg(e.flags == KeyEventFlag::KeyUp ? '-'
                           : e.flags == 0                 ? '+'
                                                          : '?')
                      .arg(e.keyCode)
                      .arg(e.scanCode == 1 && e.extraInfo == 0 ? "" : "!");
    return events.join(' ');
}
} // namespace

class SendKeyStringTest : public QObject {
    Q_OBJECT

private slots:
    void sendsEvents_data() {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("num lock") << QByteArray("{NUMLOCK}") << "+144 -144";
        QTest::newRow("caps lock") << QByteArray("{CAPSLOCK}") << "+20 -20";
        QTest::newRow("scroll lock") << QByteArray("{SCROLLOCK}") << "+145 -145";
        QTest::newRow("names ignore case")
            << QByteArray("{NumLock}{numlock}") << "+144 -144 +144 -144";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("longer names first")
            << QByteArray("{F10}{F12}{F1}{DELETE}{DEL}{ins}")
            << "+121 -121 +123 -123 +112 -112 +46 -46 +46 -46 +45 -45";
        QTest::newRow("backspace then a") << QByteArray("{BACKSPACE}a") << "+8 -8 +65 -65";
        QTest::newRow("scroll then num")
            << QByteArray("{SCROLLOCK}{NUMLOCK}") << "+145 -145 +144 -144";
        QTest::newRow("unclosed name at end") << QByteArray("{TAB") << "+9 -9";
        QTest::newRow("character after name is skipped")
            << QByteArray("{ENTER]x") << "+13 -13 +88 -88";
        QTest::newRow("upper-case letter is shifted") << QByteArray("A") << "+16 +65 -65 -16";
        QTest::newRow("lower-case letter, digit") << QByteArray("a7") << "+65 -65 +55 -55";
        QTest::newRow("punctuation is shifted by its code") << QByteArray(" ") << "+16 +32 -32 -16";
        QTest::newRow("modifiers tap alone")
            << QByteArray("^%+a") << "+17 -17 +18 -18 +16 -16 +65 -65";

        // Input no caller of the program produces.
        QTest::newRow("lone brace") << QByteArray("{") << "";
        QTest::newRow("unknown name dropped to its brace")
            << QByteArray("{NOSUCHKEY}a") << "+65 -65";
        QTest::newRow("unknown unclosed name drops the rest")
            << QByteArray("a{NOSUCH") << "+65 -65";
        QTest::newRow("non-ASCII bytes are skipped") << QByteArray("\xc3\xa4"
                                                                   "a\xff")
                                                     << "+65 -65";
    }

    void sendsEvents() {
        QFETCH(QByteArray, keys);
        QFETCH(QString, expected);
        QCOMPARE(sent(std::string_view(keys.constData(), keys.size())), expected);
    }

    // Whatever the text, every press is released again and nothing is read past its end.
    void anyTextLeavesNoKeyHeld() {
        std::string text = std::string(40000, 'a') + "{NUMLOCK}";
        for (int c = 0; c < 256; ++c)
            text += {'{', static_cast<char>(c), static_cast<char>(c)};
        SimulatedKeyboard keyboard;
        modSync::SendKeyString(keyboard, text);
        std::array<int, 256> down{};
        for (const KeyEvent& e : keyboard.events())
            down[e.keyCode] += (e.flags & KeyEventFlag::KeyUp) ? -1 : 1;
        QVERIFY(std::all_of(down.begin(), down.end(), [](int d) { return d == 0; }));
        QCOMPARE(keyboard.events().at(2 * 40000 + 1), (KeyEvent{144, 1, KeyEventFlag::KeyUp, 0}));
    }

    void lockStateTest() {
        SimulatedKeyboard keyboard;
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
