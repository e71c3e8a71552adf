// The program itself on a real X server, watched from outside as a user would: whatever way it
// ends, it leaves no indicator lit, no modifier locked, no key down and the modifier map as it
// found it. Where the uinput backend cannot start, the window still opens and says why.

#include <QFile>
#include <QProcess>
#include <QTest>

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <csignal>

class TintaroX11Test : public QObject {
    Q_OBJECT

    // An X client of its own that watches the keyboard and plays the user.
    std::unique_ptr<Display, int (*)(Display*)> display{XOpenDisplay(nullptr), XCloseDisplay};
    Display* const dpy = display.get();

    bool indicatorOn(const char* name) const {
        Bool on = False;
        XkbGetNamedIndicator(dpy, XInternAtom(dpy, name, False), nullptr, &on, nullptr, nullptr);
        return on;
    }

    // The keys of each modifier row, row by row.
    QList<QList<int>> modifierMap() const {
        QList<QList<int>> rows(8);
        XModifierKeymap* map = XGetModifierMapping(dpy);
        for (int i = 0; i < 8 * map->max_keypermod; ++i)
            if (map->modifiermap[i] != 0)
                rows[i / map->max_keypermod].append(map->modifiermap[i]);
        XFreeModifiermap(map);
        return rows;
    }

    // The whole keyboard is as the program found it, the modifier map as given.
    void verifyLeftClean(const QList<QList<int>>& modifiers) const {
        unsigned indicators = 0;
        XkbGetIndicatorState(dpy, XkbUseCoreKbd, &indicators);
        QCOMPARE(indicators, 0u);
        XkbStateRec state;
        XkbGetState(dpy, XkbUseCoreKbd, &state);
        QCOMPARE(int(state.locked_mods), 0);
        char keys[32];
        XQueryKeymap(dpy, keys);
        QCOMPARE(QByteArray(keys, 32).count('\0'), 32);
        QCOMPARE(modifierMap(), modifiers);
    }

    void tap(KeySym key) const {
        const KeyCode code = XKeysymToKeycode(dpy, key);
        XTestFakeKeyEvent(dpy, code, True, 0);
        XTestFakeKeyEvent(dpy, code, False, 0);
        XSync(dpy, False);
    }

    void click(int x, int y) const {
        XTestFakeMotionEvent(dpy, -1, x, y, 0);
        XTestFakeButtonEvent(dpy, 1, True, 0);
        XTestFakeButtonEvent(dpy, 1, False, 0);
        XSync(dpy, False);
    }

    // The mapped top-level windows whose title starts with "Tintaro".
    QList<Window> windows() const {
        QList<Window> found;
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            char* title = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(dpy, children[i], &title) && QByteArray(title).startsWith("Tintaro") &&
                XGetWindowAttributes(dpy, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found.append(children[i]);
            XFree(title);
        }
        XFree(children);
        return found;
    }

    // Starts a copy; returns its window once shown and past the start-up reset, 0 for none.
    Window start(QProcess& program) const {
        const QList<Window> before = windows();
        program.start(TINTARO_BINARY, {});
        Window window = 0;
        if (!QTest::qWaitFor([&] {
                for (Window w : windows())
                    if (!before.contains(w))
                        window = w;
                return window != 0;
            }))
            return 0;
        QTest::qWait(200); // lit indicators are put out 100 ms after start
        return window;
    }

    // Strikes Scroll Lock as the user would: true when its indicator then shows `lit`.
    bool tapScrollLock(bool lit) const {
        tap(XK_Scroll_Lock);
        return QTest::qWaitFor([&] { return indicatorOn("Scroll Lock") == lit; }, 1000);
    }

    static bool finish(QProcess& program) {
        program.terminate();
        return program.waitForFinished(5000);
    }

private slots:
    // The copies started here use X11, whatever session the tests run in.
    void initTestCase() {
        QVERIFY2(dpy, "no X display");
        qputenv("TINTARO_KEYBOARD", "x11");
    }

    void waysOut_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("exitCode");
        for (const char* way : {"close box", "menu", "SIGTERM", "SIGINT", "SIGHUP", "SIGQUIT",
                                "window destroyed", "keymap reloaded"})
            QTest::newRow(way) << way << 0;
        QTest::newRow("xkill") << "xkill" << 1; // Qt's own exit on a broken connection
    }

    // With all three locks lit, one by the on-screen "Caps" key, each way out puts them out.
    void waysOut() {
        QFETCH(QString, way);
        QFETCH(int, exitCode);
        const auto modifiers = modifierMap();
        QProcess program;
        const Window window = start(program);
        QVERIFY(window);
        QVERIFY(!indicatorOn("Caps Lock"));

        // The client area is the window's bottom 466 x 218; "Caps" sits at (8+96, 8+24) in it.
        XWindowAttributes a;
        XGetWindowAttributes(dpy, window, &a);
        click(a.x + 8 + 96 + 30, a.y + a.height - 218 + 8 + 24 + 30);
        QVERIFY(QTest::qWaitFor([&] { return indicatorOn("Caps Lock"); }));
        tap(XK_Num_Lock);
        QVERIFY(tapScrollLock(true));

        if (way == "keymap reloaded") {
            // Mid-run, with Scroll Lock lit: the key goes on toggling after it.
            QCOMPARE(QProcess::execute("setxkbmap", {"us"}), 0);
            QVERIFY(QTest::qWaitFor([&] { return modifierMap() != modifiers; }, 1000));
            QVERIFY(tapScrollLock(true));
            QVERIFY(tapScrollLock(false));
            QVERIFY(tapScrollLock(true));
            program.terminate();
        } else if (way == "close box") {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
            XSendEvent(dpy, window, False, NoEventMask, &event);
        } else if (way == "menu") {
            click(a.x + 20, a.y + 9); // "More...", whose last item is "close"
            QTest::qWait(200);
            tap(XK_Up);
            tap(XK_Return);
        } else if (way == "xkill") {
            XKillClient(dpy, window);
        } else if (way == "window destroyed") {
            XDestroyWindow(dpy, window);
        } else {
            const QHash<QString, int> signalNumbers{
                {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}, {"SIGQUIT", SIGQUIT}};
            ::kill(pid_t(program.processId()), signalNumbers.value(way));
        }
        XSync(dpy, False);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        verifyLeftClean(modifiers);
    }

    void anotherCopy_data() {
        QTest::addColumn<int>("firstEndsBy");
        QTest::newRow("second copy, first ended") << int(SIGTERM);
        QTest::newRow("next copy, first killed") << int(SIGKILL);
    }

    // Scroll Lock toggles in a copy while another runs and after it has ended; what a copy
    // killed outright leaves behind (Scroll Lock bound and lit), the next one cleans up.
    void anotherCopy() {
        QFETCH(int, firstEndsBy);
        const bool killed = firstEndsBy == SIGKILL;
        const auto modifiers = modifierMap();
        QProcess first, second;
        QVERIFY(start(first));
        if (!killed)
            QVERIFY(start(second));
        QVERIFY(tapScrollLock(true));
        ::kill(pid_t(first.processId()), firstEndsBy);
        QVERIFY(first.waitForFinished(5000));
        if (killed) {
            QVERIFY(modifierMap() != modifiers);
            QVERIFY(start(second));
        }
        QVERIFY(tapScrollLock(true)); // was put out by the first's end or the second's start
        QVERIFY(finish(second));
        verifyLeftClean(modifiers);
    }

    // A signal early in the start-up, before the window is there, leaves nothing behind: at
    // once, and as Scroll Lock is bound.
    void signalAtStart() {
        const auto modifiers = modifierMap();
        for (bool waitForBinding : {false, true}) {
            QProcess program;
            QElapsedTimer sinceStart;
            program.start(TINTARO_BINARY, {});
            sinceStart.start();
            QVERIFY(program.waitForStarted());
            while (waitForBinding && modifierMap() == modifiers)
                QVERIFY(sinceStart.elapsed() < 5000);
            QVERIFY(finish(program));
            verifyLeftClean(modifiers);
        }
    }

    void noDisplay_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("said");
        QTest::newRow("DISPLAY unset") << QString() << "DISPLAY is not set";
        int absent = 399;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(absent)))
            --absent;
        const QString name = QStringLiteral(":%1").arg(absent);
        QTest::newRow("no server")
            << name << QStringLiteral("cannot open display \"%1\"").arg(name);
    }

    // One line says what is missing, and the program fails.
    void noDisplay() {
        QFETCH(QString, display);
        QFETCH(QString, said);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        if (!display.isEmpty())
            environment.insert("DISPLAY", display);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(TINTARO_BINARY, {});
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY(program.exitCode() != 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), "tintaro: " + said + '\n');
    }

    void uinputWithoutDeviceExplains() {
        if (QFile::exists("/dev/uinput"))
            QSKIP("this machine has /dev/uinput");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TINTARO_KEYBOARD", "uinput");
        QProcess program;
        program.setProcessEnvironment(environment);
        QVERIFY(start(program));
        QByteArray notice;
        QVERIFY(QTest::qWaitFor([&] {
            notice += program.readAllStandardError();
            return notice.contains("modprobe uinput");
        }));
        QVERIFY2(notice.contains("/dev/uinput does not exist"), notice.constData());
        QVERIFY(finish(program));
    }
};

QTEST_GUILESS_MAIN(TintaroX11Test)
#include "tst_tintaro_x11.moc"
