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
        const auto row = [](const QByteArray& keys, const char* expected) {
            QTest::addRow("%s", keys.toPercentEncoding("{}[]^+ ").constData())
                << keys << QString(expected);
        };
        row("{NUMLOCK}", "+144 -144");
        row("{CAPSLOCK}", "+20 -20");
        row("{SCROLLOCK}", "+145 -145");
        row("{NumLock}{numlock}", "+144 -144 +144 -144"); // names ignore case
        row("", "");
        row("{F10}{F12}{F1}{DELETE}{DEL}{ins}", // longer names first
            "+121 -121 +123 -123 +112 -112 +46 -46 +46 -46 +45 -45");
        row("{BACKSPACE}a", "+8 -8 +65 -65");
        row("{SCROLLOCK}{NUMLOCK}", "+145 -145 +144 -144");
        row("{TAB", "+9 -9");               // unclosed at the end
        row("{ENTER]x", "+13 -13 +88 -88"); // the character after a name is skipped
        row("A", "+16 +65 -65 -16");        // upper case is shifted
        row("a7", "+65 -65 +55 -55");
        row(" ", "+16 +32 -32 -16");                    // punctuation is shifted, by its own code
        row("^%+a", "+17 -17 +18 -18 +16 -16 +65 -65"); // modifiers tap alone
        // Input no caller of the program produces: unknown names are dropped up to their brace,
        // or to the end; bytes from 0x80 up are skipped.
        row("{", "");
        row("{NOSUCHKEY}a", "+65 -65");
        row("a{NOSUCH", "+65 -65");
        row("\xc3\xa4"
            "a\xff",
            "+65 -65");
    }

    void sendsEvents() {
        QFETCH(QByteArray, keys);
        QFETCH(QString, expected);
        QCOMPARE(sent(std::string_view(keys.constData(), keys.size())), expected);
    }

    // Positions do not wrap round past 32,767 characters. (Any text leaving every key released
    // is checked by the fuzz target, over its seed corpus in the test suite.)
    void longTextIsSentToItsEnd() {
        QVERIFY(sent(std::string(40000, 'a') + "{NUMLOCK}").endsWith("-65 +144 -144"));
    }
};

QTEST_APPLESS_MAIN(SendKeyStringTest)
#include "tst_sendkeystring.moc"
