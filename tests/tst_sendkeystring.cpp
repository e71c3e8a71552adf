#include "lockkeys/modsync.h"
#include "platform/systemkeys.h"
#include "tests/recordingkeyboard.h"

#include <QTest>

#include <algorithm>
#include <string>

namespace {
// The events sent for `keys`, written "+k" for a press and "-k" for a release of key code k;
// an event with another scan code than 1 or other extra information than 0 is marked "!".
QString sent(std::string_view keys) {
    RecordingKeyboard keyboard;
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
        row("{NUMLOCK}{CAPSLOCK}{SCROLLOCK}", "+144 -144 +20 -20 +145 -145");
        row("", "");
        // Names ignore case; where one begins another, the longer is taken.
        row("{F10}{f12}{F1}{DELETE}{DEL}{ins}{BACKSPACE}a",
            "+121 -121 +123 -123 +112 -112 +46 -46 +46 -46 +45 -45 +8 -8 +65 -65");
        row("{ENTER]x{TAB", "+13 -13 +88 -88 +9 -9"); // a name's next character is skipped
        // Upper case and punctuation are shifted, punctuation by its own code; the modifier
        // characters tap alone.
        row("Aa7 ^%+a", "+16 +65 -65 -16 +65 -65 +55 -55 +16 +32 -32 -16 +17 -17 +18 -18 +16 -16 "
                        "+65 -65");
        // Input no caller of the program produces: unknown names are dropped up to their brace,
        // or to the end; bytes from 0x80 up are skipped.
        row("{", "");
        row("\xc3\xa4{NOSUCHKEY}a\xff{NOSUCH", "+65 -65");
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

    // Every key that a name or a printable character sends is one that each backend can strike:
    // it has an X keysym, and a Linux key among those the virtual keyboard declares.
    void everyKeyHasItsSystemKeys() {
        std::string keys = "{BACKSPACE}{BREAK}{CAPSLOCK}{DELETE}{DOWN}{UP}{LEFT}{RIGHT}{END}"
                           "{ENTER}{HOME}{ESC}{HELP}{INSERT}{NUMLOCK}{PGUP}{PGDN}{SCROLLOCK}"
                           "{TAB}{WIN}{APPS}{PRINT}{F1}{F2}{F3}{F4}{F5}{F6}{F7}{F8}{F9}{F10}"
                           "{F11}{F12}{F13}{F14}{F15}{F16}";
        for (char c = ' '; c <= '~'; ++c)
            keys += c == '{' ? "" : std::string(1, c);
        RecordingKeyboard keyboard;
        modSync::SendKeyString(keyboard, keys);
        const std::vector<int> declared = linuxKeyCodes();
        QStringList without;
        for (const KeyEvent& e : keyboard.events())
            if (x11Keysym(e.keyCode) == 0 || !std::ranges::count(declared, linuxKeyCode(e.keyCode)))
                without << QString::number(e.keyCode);
        QCOMPARE(without, QStringList());
    }
};

QTEST_APPLESS_MAIN(SendKeyStringTest)
#include "tst_sendkeystring.moc"
