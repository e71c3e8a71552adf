#pragma once

#include "platform/keyboard.h"

#include <QObject>
#include <QString>

#include <memory>

// The keyboard of the X display named by DISPLAY, over a connection of its own: key strokes are
// injected through XTEST, toggle states read from the XKB indicators "Num Lock", "Caps Lock" and
// "Scroll Lock". Where no modifier carries Scroll_Lock, one is bound to it while the keyboard
// lives (see ScrollLockBinding), and bound anew after a keymap change that drops it; while a key
// is held down the server refuses that, and the event loop tries again shortly.
//
// It needs the thread's event loop: key strokes go out to the server once the handler that made
// them has returned to it, and the server's notifications are read as they arrive. A state read
// takes in what the event loop has read, and asks the server only to see the keyboard's own
// strokes taken in; whatever it finds to do (a keymap change) is done from the event loop.
//
// Its connection cut (the client killed by another), it makes a new one at once, which finds
// the locks, the keys held through it and the binding as they were, and sends the strokes that
// had not gone out. Cut a second time, or where no new connection can be made, it says so by
// connectionLost(): the program is expected to end, putting out its lit locks over the new
// connection where there is one, and with a status that tells of the failure.
class X11Keyboard final : public QObject, public Keyboard {
    Q_OBJECT

public:
    // Null when there is no display or it lacks XTEST or XKEYBOARD; whyNot then says which.
    // Where Scroll Lock cannot be made to toggle, it opens, and whyNot says why.
    static std::unique_ptr<X11Keyboard> open(QString* whyNot = nullptr);

    // Releases keys still held through it and, when no other copy of the program uses it any
    // longer, undoes the Scroll Lock binding.
    ~X11Keyboard() override;

    // A key with no X key in the current keymap is not sent; a release goes to the X key that
    // its press went to.
    void sendKeyEvent(const KeyEvent& event) override;
    std::int16_t keyState(int keyCode) const override;
    // The server keeps an indicator for every lock; a Scroll Lock left without a modifier to
    // toggle is told of when the keyboard opens.
    bool canShowLock(int /*keyCode*/) const override { return true; }
    // One round trip: the server's reply comes after every event it sent before.
    void catchUp() override;

signals:
    // One line for the user.
    void connectionLost(const QString& why);

private:
    struct Private;
    X11Keyboard();

    std::unique_ptr<Private> d;
};
