// The program itself on a real X server: a click on the on-screen "Caps" key lights the Caps
// Lock indicator, and every way of ending the program leaves the indicators dark; where the
// uinput backend cannot start, the window still opens and says why.

#include <QFile>
#include <QProcess>
#include <QTest>

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

class TintaroX11Test : public QObject {
    Q_OBJECT

    // An X client of its own that watches the indicator and plays the user's pointer.
    std::unique_ptr<Display, int (*)(Display*)> display{XOpenDisplay(nullptr), XCloseDisplay};
    Display* const dpy = display.get();

    bool capsLockOn() const {
        Bool on = False;
        XkbGetNamedIndicator(dpy, XInternAtom(dpy, "Caps Lock", False), nullptr, &on, nullptr,
                             nullptr);
        return on;
    }

    // The mapped top-level window whose title starts with "Tintaro"; 0 while there is none.
    Window findWindow() const {
        Window root, parent, *children = nullptr, found = 0;
        unsigned count = 0;
        XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && !found; ++i) {
            char* title = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(dpy, children[i], &title) && QByteArray(title).startsWith("Tintaro") &&
                XGetWindowAttributes(dpy, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found = children[i];
            XFree(title);
        }
        XFree(children);
        return found;
    }

    // Started with TINTARO_KEYBOARD set to `backend`, whatever session this runs in.
    static void start(QProcess& program, const QString& backend) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TINTARO_KEYBOARD", backend);
        program.setProcessEnvironment(environment);
        program.start(TINTARO_BINARY, {});
    }

private slots:
    void initTestCase() { QVERIFY2(dpy, "no X display"); }

    void endingDarkensCapsLock_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("SIGTERM") << false;
        QTest::newRow("WM_DELETE_WINDOW") << true;
    }

    void endingDarkensCapsLock() {
        QFETCH(bool, closeBox);
        QProcess program;
        start(program, "x11");
        QVERIFY(program.waitForStarted());
        Window window = 0;
        QVERIFY(QTest::qWaitFor([&] { return (window = findWindow()) != 0; }));
        QTest::qWait(300); // lit indicators are put out shortly after start; let that pass
        QVERIFY(!capsLockOn());

        // The client area is the window's bottom 466 x 218; "Caps" sits at (8+96, 8+24) in it.
        XWindowAttributes a;
        XGetWindowAttributes(dpy, window, &a);
        XTestFakeMotionEvent(dpy, -1, a.x + 8 + 96 + 30, a.y + a.height - 218 + 8 + 24 + 30, 0);
        XTestFakeButtonEvent(dpy, 1, True, 0);
        XTestFakeButtonEvent(dpy, 1, False, 0);
        XFlush(dpy);
        QVERIFY(QTest::qWaitFor([&] { return capsLockOn(); }));

        if (closeBox) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(dpy, window, False, NoEventMask, &event);
            XFlush(dpy);
        } else {
            program.terminate();
        }
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(QTest::qWaitFor([&] { return !capsLockOn(); }));
    }

    void uinputWithoutDeviceExplains() {
        if (QFile::exists("/dev/uinput"))
            QSKIP("this machine has /dev/uinput");
        QProcess program;
        start(program, "uinput");
        QByteArray notice;
        QVERIFY(QTest::qWaitFor([&] {
            notice += program.readAllStandardError();
            return findWindow() != 0 && notice.contains("modprobe uinput");
        }));
        QVERIFY2(notice.contains("/dev/uinput does not exist"), notice.constData());
        program.terminate();
        QVERIFY(program.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TintaroX11Test)
#include "tst_tintaro_x11.moc"
