#pragma once

#include "platform/keyboard.h"

#include <QString>

#include <functional>
#include <memory>

class Clock;
struct Session;

// Opens a real backend; null, with the reason in whyNot, when it cannot start. A backend that
// starts but cannot do all may say in whyNot what it cannot.
using KeyboardOpener = std::function<std::unique_ptr<Keyboard>(QString* whyNot)>;

struct KeyboardOpeners {
    KeyboardOpener x11;
    KeyboardOpener uinput;
};

// The system's backends: X11Keyboard and UinputKeyboard.
KeyboardOpeners systemKeyboards(Clock& clock, const Session& session);

struct KeyboardChoice {
    std::unique_ptr<Keyboard> keyboard;
    QString notice;      // for the user where not all is well; empty where it is
    QString unreachable; // why the real LEDs cannot be reached at all; empty where they can
};

// Picks the backend once, at start: X11 in an X11 session, uinput in a Wayland session (XTest
// reaches only X11 programs there, not the compositor), otherwise the simulated keyboard with
// a notice that says why. TINTARO_KEYBOARD forces one backend.
KeyboardChoice chooseKeyboard(const Session& session, const KeyboardOpeners& openers);
