#include "platform/x11display.h"

#include <X11/Xlib.h>

QString whyNoX11Display() {
    const QString name = QString::fromLocal8Bit(XDisplayName(nullptr));
    return name.isEmpty() ? QStringLiteral("DISPLAY is not set")
                          : QStringLiteral("cannot open display \"%1\"").arg(name);
}

QString x11DisplayProblem() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return whyNoX11Display();
    XCloseDisplay(display);
    return {};
}
