#pragma once

#include "platform/keyboard.h"

#include <QString>

#include <functional>
#include <memory>

class Clock;

// What the environment says about the session the program starts in.
struct KeyboardSession {
    QString sessionType;    // XDG_SESSION_TYPE: "x11", "wayland", "tty", ...
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString display;        // DISPLAY
    QString forced;         // TINTARO_KEYBOARD: "x11", "uinput" or "simulated"

    static KeyboardSession fromEnvironment();

    bool isWayland() const;
};

// Opens a real backend; null, with the reason in whyNot, when it cannot start.
using KeyboardOpener = std::function<std::unique_ptr<Keyboard>(QString* whyNot)>;

struct KeyboardOpeners {
    KeyboardOpener x11;
    KeyboardOpener uinput;
};

// The system's backends: X11Keyboard and UinputKeyboard.
KeyboardOpeners systemKeyboards(Clock& clock);

struct KeyboardChoice {
    std::unique_ptr<Keyboard> keyboard;
    QString notice; // for the user when the real LEDs cannot be reached; empty when they can
};

// Picks the backend once, at start: X11 in an X11 session, uinput in a Wayland session (XTest
// reaches only X11 programs there, not the compositor), otherwise the simulated keyboard with
// a notice that says why. TINTARO_KEYBOARD forces one backend.
KeyboardChoice chooseKeyboard(const KeyboardSession& session, const KeyboardOpeners& openers);
