// The program itself on a real X server: a click on the on-screen "Caps" key lights the Caps
// Lock indicator, and every way of ending the program leaves the indicators dark.

#include <QProcess>
#include <QTest>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstring>
#include <functional>

namespace {

// An X client of its own that watches the indicators and plays the user's pointer.
class Observer {
public:
    Observer() : dpy(XOpenDisplay(nullptr)) {}
    ~Observer() {
        if (dpy)
            XCloseDisplay(dpy);
    }

    bool indicatorOn(const char* name) const {
        Bool on = False;
        XkbGetNamedIndicator(dpy, XInternAtom(dpy, name, False), nullptr, &on, nullptr, nullptr);
        return on;
    }

    Window findWindow(const char* titlePrefix) const {
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count))
            return 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            char* title = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(dpy, children[i], &title) && title &&
                std::strncmp(title, titlePrefix, std::strlen(titlePrefix)) == 0 &&
                XGetWindowAttributes(dpy, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found = children[i];
            XFree(title);
        }
        XFree(children);
        return found;
    }

    void click(Window window, int xFromLeft, int yFromBottom) {
        XWindowAttributes a;
        XGetWindowAttributes(dpy, window, &a);
        XTestFakeMotionEvent(dpy, -1, a.x + xFromLeft, a.y + a.height - yFromBottom, 0);
        XTestFakeButtonEvent(dpy, 1, True, 0);
        XTestFakeButtonEvent(dpy, 1, False, 0);
        XFlush(dpy);
    }

    void askToClose(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, window, False, NoEventMask, &event);
        XFlush(dpy);
    }

    Display* dpy;
};

bool waitFor(const std::function<bool()>& condition, int ms = 3000) {
    return QTest::qWaitFor(condition, ms);
}

} // namespace

class TintaroX11Test : public QObject {
    Q_OBJECT

    Observer observer;

    // Starts the program, clicks "Caps" and sees the indicator light; returns the window.
    Window startAndClickCaps(QProcess& program) {
        program.start(TINTARO_BINARY, {});
        if (!program.waitForStarted())
            return 0;
        Window window = 0;
        waitFor([&] { return (window = observer.findWindow("Tintaro")) != 0; });
        if (!window)
            return 0;
        // Lit indicators are put out shortly after start; give that time to pass.
        QTest::qWait(300);
        if (observer.indicatorOn("Caps Lock"))
            return 0;
        // The client area is the window's bottom 466 x 218; "Caps" sits at (8+96, 8+24) in it.
        observer.click(window, 8 + 96 + 30, 218 - (8 + 24 + 30));
        if (!waitFor([&] { return observer.indicatorOn("Caps Lock"); }))
            return 0;
        return window;
    }

private slots:
    void initTestCase() { QVERIFY2(observer.dpy, "no X display"); }

    void clickLightsAndTerminationDarkens() {
        QProcess program;
        QVERIFY(startAndClickCaps(program));
        program.terminate(); // SIGTERM
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY(waitFor([&] { return !observer.indicatorOn("Caps Lock"); }));
    }

    void closeBoxDarkens() {
        QProcess program;
        const Window window = startAndClickCaps(program);
        QVERIFY(window);
        observer.askToClose(window);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(waitFor([&] { return !observer.indicatorOn("Caps Lock"); }));
    }
};

QTEST_GUILESS_MAIN(TintaroX11Test)
#include "tst_tintaro_x11.moc"
