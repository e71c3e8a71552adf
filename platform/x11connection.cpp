#include "platform/x11connection.h"
#include "platform/x11display.h"

#include <QSocketNotifier>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt: included here only, after Qt.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <vector>

namespace {

// Xlib tells of a broken connection to one handler for the whole process, and the one in place
// (Qt's, or Xlib's own) ends the program from inside the call that found it, even when that
// call is the cleanup on the way out. These connections are left to their own exit handlers.
std::vector<Display*> ownDisplays;
XIOErrorHandler otherIOErrorHandler = nullptr;

int onIOError(Display* display) {
    return std::ranges::count(ownDisplays, display) ? 0 : otherIOErrorHandler(display);
}

} // namespace

void X11Connection::DisplayCloser::operator()(Display* display) const {
    XCloseDisplay(display);
    std::erase(ownDisplays, display);
}

std::unique_ptr<X11Connection> X11Connection::open(QString* whyNot) {
    auto fail = [whyNot](const QString& why) {
        if (whyNot)
            *whyNot = why;
        return std::unique_ptr<X11Connection>();
    };

    std::unique_ptr<X11Connection> c(new X11Connection);
    c->m_display.reset(XOpenDisplay(nullptr));
    Display* dpy = c->display();
    if (!dpy)
        return fail(whyNoX11Display());
    if (!otherIOErrorHandler)
        otherIOErrorHandler = XSetIOErrorHandler(onIOError);
    ownDisplays.push_back(dpy);
    XSetIOErrorExitHandler(
        dpy,
        [](Display*, void* p) {
            auto* c = static_cast<X11Connection*>(p);
            if (c->m_broken)
                return;
            c->m_broken = true;
            if (!c->m_notices)
                return;                      // being closed
            c->m_notices->setEnabled(false); // a closed socket reads as ready for ever
            QMetaObject::invokeMethod(
                c->m_notices.get(), [c] { c->breaks(); }, Qt::QueuedConnection);
        },
        c.get());
    c->m_notices = std::make_unique<QSocketNotifier>(ConnectionNumber(dpy), QSocketNotifier::Read);
    QObject::connect(c->m_notices.get(), &QSocketNotifier::activated,
                     [p = c.get()] { p->take(QueuedAfterFlush); });

    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(dpy, &event, &error, &major, &minor))
        return fail(QStringLiteral("X server lacks the XTEST extension"));
    int opcode = 0;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(dpy, &opcode, &c->m_xkbEventBase, &error, &major, &minor))
        return fail(QStringLiteral("X server lacks a usable XKEYBOARD extension"));
    return c;
}

X11Connection::~X11Connection() = default;

unsigned long X11Connection::lastWritten() const {
    return NextRequest(display()) - 1;
}

unsigned long X11Connection::lastProcessed() const {
    return LastKnownRequestProcessed(display());
}

bool X11Connection::flush() {
    if (!m_broken)
        XFlush(display());
    return !m_broken;
}

void X11Connection::takeArrived(unsigned long awaited) {
    if (!m_broken && lastProcessed() < awaited)
        takeAllSent();
    // Xlib's queue looked at without taking its lock, which costs more than the rest of a poll:
    // only this thread uses the connection.
    else if (!m_broken && QLength(display()) > 0)
        take(QueuedAlready);
}

void X11Connection::takeAllSent() {
    if (!m_broken)
        XSync(display(), False);
    take(QueuedAlready);
}

void X11Connection::take(int mode) {
    while (!m_broken && XEventsQueued(display(), mode) > 0) {
        XEvent event;
        XNextEvent(display(), &event);
        if (onEvent)
            onEvent(event);
    }
}

void X11Connection::breaks() {
    if (onBroken)
        onBroken();
}
