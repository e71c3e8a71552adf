#pragma once

#include <QString>
#include <QStringList>

// The desktop session the program starts in, read once from the environment. The toolkit's
// display and the keyboard backend are both chosen by its kind, so the two always agree.
struct Session {
    enum class Kind {
        X11,     // XDG_SESSION_TYPE=x11, or no session type and only DISPLAY set
        Wayland, // XDG_SESSION_TYPE=wayland, or WAYLAND_DISPLAY set in a session not typed x11
        Console, // neither: a text console, ssh
    };

    QString sessionType;     // XDG_SESSION_TYPE: "x11", "wayland", "tty", ...
    QString waylandDisplay;  // WAYLAND_DISPLAY
    QString display;         // DISPLAY
    QString toolkitPlatform; // QT_QPA_PLATFORM: set to run the window elsewhere ("offscreen")
    QString forcedKeyboard;  // TINTARO_KEYBOARD: "x11", "uinput" or "simulated"

    static Session fromEnvironment();

    Kind kind() const;
    // Whether the window will be shown on an X display: in an X11 session, unless
    // QT_QPA_PLATFORM names another platform.
    bool windowOnX11() const;
    // Why the window cannot be shown; empty when it can. Only an X display is checked.
    QString missingDisplay() const;
    // The toolkit's options for this session: "-platform xcb" in an X11 session where
    // QT_QPA_PLATFORM names no platform, as left to itself the toolkit reads the session by rules
    // of its own. Given on the command line, they do not reach the programs the window starts.
    QStringList toolkitOptions() const;
};
