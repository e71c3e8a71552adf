#pragma once

#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;
struct _XDisplay;
union _XEvent;

// A connection of its own to the X display named by DISPLAY, with XTEST and XKEYBOARD, whose
// events are read as they arrive, from the thread's event loop: nothing else reads them. Once
// it has broken (the X server gone, or this client killed by another), nothing is asked of it
// any more.
class X11Connection {
public:
    // Null when there is no display or it lacks XTEST or XKEYBOARD; whyNot then says which.
    static std::unique_ptr<X11Connection> open(QString* whyNot = nullptr);

    ~X11Connection();

    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    _XDisplay* display() const { return m_display.get(); }
    int xkbEventBase() const { return m_xkbEventBase; }
    bool broken() const { return m_broken; }

    // Each event, as it is read.
    std::function<void(const _XEvent&)> onEvent;
    // Once, from the event loop, when the connection is found broken.
    std::function<void()> onBroken;

    // The number of the latest request written, and of the latest the server has told of having
    // taken in, in a reply or an event.
    unsigned long lastWritten() const;
    unsigned long lastProcessed() const;

    // Sends what is written; false once broken.
    bool flush();

    // Hands on the events already read, without reading the socket: the event loop reads it as
    // soon as it has something, and a read of an empty socket at each of the display's polls
    // costs more than all else the idle program does. Where the server has not yet told of
    // having taken in request `awaited`, it is asked first, which brings the events caused by
    // that request along.
    void takeArrived(unsigned long awaited = 0);
    // Asks the server for a reply first, which comes after every event it sent before.
    void takeAllSent();

private:
    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };

    X11Connection() = default;
    void take(int mode);
    void breaks();

    // Set from Xlib once the connection has broken, even while `m_display` is being closed
    // (hence declared before it).
    bool m_broken = false;
    std::unique_ptr<_XDisplay, DisplayCloser> m_display;
    std::unique_ptr<QSocketNotifier> m_notices;
    int m_xkbEventBase = 0;
};
