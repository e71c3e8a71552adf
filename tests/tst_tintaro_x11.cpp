// The program itself on a real X server, watched from outside as a user would: whatever way it
// ends, it leaves no indicator lit, no modifier locked, no key down and the modifier map as it
// found it. Where the uinput backend cannot start, the window still opens and says why.

#include <QFile>
#include <QProcess>
#include <QTest>

// Xlib's macros (None, Bool, Status, ...) clash with Qt: after Qt.
#include "tests/x11observer.h"
#include <X11/keysym.h>

#include <csignal>

class TintaroX11Test : public QObject {
    Q_OBJECT

    X11Observer x;
    const QString asFound = x.dpy ? x.state() : QString(); // as every copy must leave it

    void click(int left, int top) const {
        XTestFakeMotionEvent(x.dpy, -1, left, top, 0);
        XTestFakeButtonEvent(x.dpy, 1, True, 0);
        XTestFakeButtonEvent(x.dpy, 1, False, 0);
        XSync(x.dpy, False);
    }

    // On this display only the copies started here show any windows.
    QList<Window> windows() const { return x.windows(); }

    // Starts a copy, with its environment changed as `env` takes it; returns its window once
    // shown and past the start-up reset, 0 for none.
    Window start(QProcess& program, QStringList environment = {}) const {
        const qsizetype before = windows().size();
        program.start("env", environment << TINTARO_BINARY);
        if (!QTest::qWaitFor([&] { return windows().size() > before; }))
            return 0;
        QTest::qWait(200); // lit indicators are put out 100 ms after start
        return windows().last();
    }

    // Strikes Scroll Lock as the user would: true when its indicator then shows `lit`.
    bool tapScrollLock(bool lit) const {
        x.tap(XK_Scroll_Lock);
        return QTest::qWaitFor([&] { return x.lit("Scroll Lock") == lit; }, 1000);
    }

private slots:
    // The copies started here use X11, whatever session the tests run in.
    void initTestCase() {
        QVERIFY2(asFound.startsWith("lit 0, locked 0, down []"),
                 qPrintable("as found: " + asFound));
        qputenv("TINTARO_KEYBOARD", "x11");
    }

    void waysOut_data() {
        QTest::addColumn<int>("signal"); // sent to end it; 0 for none
        for (const char* way :
             {"close box", "menu", "window destroyed", "keymap reloaded", "xkill"})
            QTest::newRow(way) << 0;
        for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
            QTest::addRow("SIG%s", sigabbrev_np(signal)) << signal;
    }

    // With all three locks lit, one by the on-screen "Caps" key, each way out puts them out.
    void waysOut() {
        QFETCH(int, signal);
        const QString way = QTest::currentDataTag();
        QProcess program;
        const Window window = start(program);
        QVERIFY(window);

        // The client area is the window's bottom 466 x 218; "Caps" sits at (8+96, 8+24) in it.
        XWindowAttributes a;
        XGetWindowAttributes(x.dpy, window, &a);
        click(a.x + 8 + 96 + 30, a.y + a.height - 218 + 8 + 24 + 30);
        QVERIFY(QTest::qWaitFor([&] { return x.lit("Caps Lock"); }));
        x.tap(XK_Num_Lock);
        QVERIFY(tapScrollLock(true));

        if (signal) {
            ::kill(pid_t(program.processId()), signal);
        } else if (way == "keymap reloaded") {
            // Mid-run, with Scroll Lock lit: the key goes on toggling after it, once bound anew.
            const QStringList bound = x.modifierMap();
            QCOMPARE(QProcess::execute("setxkbmap", {"us"}), 0);
            QVERIFY(QTest::qWaitFor([&] { return x.modifierMap() == bound; }, 1000));
            QVERIFY(tapScrollLock(true) && tapScrollLock(false) && tapScrollLock(true));
            program.terminate();
        } else if (way == "close box") {
            x.clickCloseBox(window);
        } else if (way == "menu") {
            click(a.x + 20, a.y + 9); // "More...", whose last item is "close"
            QTest::qWait(200);
            x.tap(XK_Up);
            x.tap(XK_Return);
        } else {
            way == "xkill" ? XKillClient(x.dpy, window) : XDestroyWindow(x.dpy, window);
        }
        XSync(x.dpy, False);
        QVERIFY(program.waitForFinished(5000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), int(way == "xkill")); // Qt's own exit on a broken connection
        QCOMPARE(x.state(), asFound);
    }

    void anotherCopy_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("second copy, first ended") << false;
        QTest::newRow("next copy, first killed") << true;
    }

    // Scroll Lock toggles in a copy while another runs and after it has ended; what a copy
    // killed outright leaves behind (Scroll Lock bound and lit), the next one cleans up.
    void anotherCopy() {
        QFETCH(bool, killed);
        QProcess first, second;
        QVERIFY(start(first) && (killed || start(second)));
        QVERIFY(tapScrollLock(true));
        ::kill(pid_t(first.processId()), killed ? SIGKILL : SIGTERM);
        QVERIFY(first.waitForFinished(5000));
        // The server would give the next copy the ids of the killed one's windows, which would
        // pass its leftover off as the next copy's own: a connection takes the first free slot.
        const X11Observer slotTaker;
        QVERIFY(!killed || start(second));
        QVERIFY(tapScrollLock(true)); // was put out by the first's end or the second's start
        second.terminate();
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(x.state(), asFound);
    }

    // A signal early in the start-up, before the window is there, leaves nothing behind: at
    // once, and as Scroll Lock is bound.
    void signalAtStart() {
        for (bool waitForBinding : {false, true}) {
            QProcess program;
            program.start(TINTARO_BINARY);
            QVERIFY(program.waitForStarted());
            const QDeadlineTimer deadline(5000);
            while (waitForBinding && x.state() == asFound)
                QVERIFY(!deadline.hasExpired());
            program.terminate();
            QVERIFY(program.waitForFinished(5000));
            QCOMPARE(x.state(), asFound);
        }
    }

    void noDisplay_data() {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("said");
        QTest::newRow("DISPLAY unset") << QStringList{"-u", "DISPLAY"} << "DISPLAY is not set";
        int absent = 399;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(absent)))
            --absent;
        QTest::newRow("no server") << QStringList{QStringLiteral("DISPLAY=:%1").arg(absent)}
                                   << QStringLiteral("cannot open display \":%1\"").arg(absent);
    }

    // One line says what is missing, and the program fails.
    void noDisplay() {
        QFETCH(QStringList, environment);
        QFETCH(QString, said);
        QProcess program;
        program.start("env", environment << TINTARO_BINARY);
        QVERIFY(program.waitForFinished(5000) && program.exitCode() != 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), "tintaro: " + said + '\n');
    }

    void uinputWithoutDeviceExplains() {
        if (QFile::exists("/dev/uinput"))
            QSKIP("this machine has /dev/uinput");
        QProcess program;
        QVERIFY(start(program, {"TINTARO_KEYBOARD=uinput"}));
        // Said before the window shows.
        const QByteArray notice = program.readAllStandardError();
        QVERIFY2(notice.contains("/dev/uinput does not exist") &&
                     notice.contains("modprobe uinput"),
                 notice.constData());
        program.terminate();
        QVERIFY(program.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TintaroX11Test)
#include "tst_tintaro_x11.moc"
