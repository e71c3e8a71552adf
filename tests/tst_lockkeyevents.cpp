// The lock-key filter on a real X server: lock keys struck on the keyboard reach the window only
// where a key control has the focus, whatever keys the keymap of the moment makes lock keys.

#include "keycontrol/taste.h"
#include "platform/lockkeyevents.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QTest>

// The key events that reach the widgets it watches, as "+Esc" for a press and "-Esc" for a
// release.
struct KeyEventLog : QObject {
    QStringList seen;

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            seen << (event->type() == QEvent::KeyPress ? '+' : '-') +
                        QKeySequence(static_cast<QKeyEvent*>(event)->key()).toString();
        return false;
    }
};

// Xlib's macros (None, Bool, Status, KeyPress, ...) clash with Qt: after Qt.
#include "tests/x11observer.h"
#include <X11/keysym.h>

class LockKeyEventsTest : public QObject {
    Q_OBJECT

    X11Observer x;
    const QString asFound = x.dpy ? x.state() : QString();

    // The filter as the program installs it, on a window with a key control and a button.
    LockKeyEvents filter{keyControlHasFocus};
    QWidget window;
    Taste* key = new Taste(&window);
    QPushButton* button = new QPushButton("Start Effect", &window);
    KeyEventLog log; // of the key and the button, with the key's KeyDown
    QStringList& seen = log.seen;

private slots:
    void initTestCase() {
        QVERIFY(x.dpy);
        button->move(0, 80);
        key->resize(73, 68);
        key->installEventFilter(&log);
        button->installEventFilter(&log);
        connect(key, &Taste::KeyDown, this, [this](int code, int shift) {
            seen << QStringLiteral("KeyDown %1 %2").arg(code).arg(shift);
        });
        qApp->installNativeEventFilter(&filter);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow(); // no window manager does it here
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    // Every test leaves the keymap, the locks and the indicators as found.
    void cleanup() {
        QCOMPARE(QProcess::execute("setxkbmap", {"-option", ""}), 0);
        XkbLockModifiers(x.dpy, XkbUseCoreKbd, 0xff, 0);
        XSync(x.dpy, False);
        QCOMPARE(x.state(), asFound);
    }

    // Num Lock, Caps Lock, Scroll Lock and Escape struck on the keyboard, with the focus on the key
    // control or on the button, under the keymap an option of setxkbmap makes (caps:swapescape
    // puts Escape on the Caps Lock key and Caps Lock on the Escape key): what reaches the focused
    // control. The rows run in order, so that the filter also follows the keymap back.
    void lockKeysReachOnlyAKeyControl_data() {
        QTest::addColumn<bool>("onKeyControl");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        const QString noOption, swapped = "caps:swapescape";
        QTest::newRow("key control")
            << true << noOption
            << "+NumLock KeyDown 144 0 -NumLock +CapsLock KeyDown 20 0 -CapsLock +ScrollLock "
               "KeyDown 145 0 -ScrollLock +Esc KeyDown 27 0 -Esc";
        QTest::newRow("button, Caps Lock and Escape swapped") << false << swapped << "+Esc -Esc";
        QTest::newRow("button, keymap as found") << false << noOption << "+Esc -Esc";
    }

    void lockKeysReachOnlyAKeyControl() {
        QFETCH(bool, onKeyControl);
        QFETCH(QString, option);
        QFETCH(QString, expected);
        if (!option.isEmpty())
            QCOMPARE(QProcess::execute("setxkbmap", {"-option", option}), 0);
        (onKeyControl ? static_cast<QWidget*>(key) : button)->setFocus();
        seen.clear();
        for (KeySym struck : {XK_Num_Lock, XK_Caps_Lock, XK_Scroll_Lock, XK_Escape})
            X11Observer().tap(struck); // a new connection knows the keymap of the moment
        QTRY_COMPARE(seen.join(' '), expected);
    }
};

QTEST_MAIN(LockKeyEventsTest)
#include "tst_lockkeyevents.moc"
