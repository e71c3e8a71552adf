#include "platform/session.h"

#include "platform/x11display.h"

Session Session::fromEnvironment() {
    return {qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("WAYLAND_DISPLAY"),
            qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("QT_QPA_PLATFORM"),
            qEnvironmentVariable("TINTARO_KEYBOARD")};
}

Session::Kind Session::kind() const {
    if (sessionType == "wayland" || (sessionType != "x11" && !waylandDisplay.isEmpty()))
        return Kind::Wayland;
    if (sessionType == "x11" || !display.isEmpty())
        return Kind::X11;
    return Kind::Console;
}

bool Session::windowOnX11() const {
    if (!toolkitPlatform.isEmpty())
        return toolkitPlatform.startsWith("xcb");
    return kind() != Kind::Wayland;
}

QString Session::missingDisplay() const {
    return windowOnX11() ? x11DisplayProblem() : QString();
}

QStringList Session::toolkitOptions() const {
    if (toolkitPlatform.isEmpty() && kind() == Kind::X11)
        return {QStringLiteral("-platform"), QStringLiteral("xcb")};
    return {};
}
