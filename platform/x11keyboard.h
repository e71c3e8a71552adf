#pragma once

#include "platform/keyboard.h"

#include <QString>

#include <memory>

// The keyboard of the X display named by DISPLAY, over a connection of its own: key strokes are
// injected through XTEST, toggle states read from the XKB indicators "Num Lock", "Caps Lock" and
// "Scroll Lock". Where no modifier is bound to Scroll_Lock, it binds a free one, so that Scroll
// Lock toggles like the other two. The binding is recorded on the X server and shared by every
// keyboard of this kind on the display, from any process: the last one to go removes it, one
// that was killed is known by its connection being gone, and a keymap change that drops the
// binding is followed by binding anew. While a modifier key is held down the server refuses to
// change the binding: the event loop tries again shortly, and closing waits up to 2 s for it.
//
// It needs the thread's event loop: key strokes go out to the server once the handler that made
// them has returned to it, and the server's notifications are read as they arrive, so that a
// state read costs no system call. A state read waits for the keyboard's own strokes, though,
// if the server has not yet taken them in. Once its connection has broken (the X server gone),
// it reads every key as up and sends nothing.
class X11Keyboard final : public Keyboard {
public:
    // Null when there is no display or it lacks XTEST or XKEYBOARD; whyNot then says which.
    static std::unique_ptr<X11Keyboard> open(QString* whyNot = nullptr);

    // Releases keys still held through it and, when no other keyboard uses it any longer,
    // undoes the Scroll Lock binding.
    ~X11Keyboard() override;

    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // A key with no X key in the current keymap is not sent; a release goes to the X key that
    // its press went to.
    void sendKeyEvent(const KeyEvent& event) override;
    std::int16_t keyState(int keyCode) const override;

private:
    struct Private;
    explicit X11Keyboard(std::unique_ptr<Private> d);

    std::unique_ptr<Private> d;
};
