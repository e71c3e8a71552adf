#include "platform/keyboardfactory.h"

#include "platform/simulatedkeyboard.h"
#include "platform/uinputkeyboard.h"
#include "platform/x11keyboard.h"

#include <QList>

namespace {

struct Backend {
    QString name;
    const KeyboardOpener* open;
};

KeyboardChoice simulated(const QString& why) {
    return {std::make_unique<SimulatedKeyboard>(),
            QStringLiteral("Tintaro cannot reach the keyboard's lock LEDs and runs on a "
                           "simulated keyboard: no real LED will change. ") +
                why};
}

} // namespace

KeyboardSession KeyboardSession::fromEnvironment() {
    return {qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("WAYLAND_DISPLAY"),
            qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("TINTARO_KEYBOARD")};
}

bool KeyboardSession::isWayland() const {
    return sessionType == "wayland" || (sessionType != "x11" && !waylandDisplay.isEmpty());
}

KeyboardOpeners systemKeyboards(Clock& clock) {
    return {[](QString* whyNot) -> std::unique_ptr<Keyboard> { return X11Keyboard::open(whyNot); },
            [&clock](QString* whyNot) -> std::unique_ptr<Keyboard> {
                return UinputKeyboard::open(clock, KeyboardSession::fromEnvironment().isWayland(),
                                            whyNot);
            }};
}

KeyboardChoice chooseKeyboard(const KeyboardSession& session, const KeyboardOpeners& openers) {
    const Backend x11{QStringLiteral("X11"), &openers.x11};
    const Backend uinput{QStringLiteral("uinput"), &openers.uinput};
    const QString& forced = session.forced;
    if (forced == "simulated")
        return simulated(QStringLiteral("TINTARO_KEYBOARD=simulated asks for it."));
    if (!forced.isEmpty() && forced != "x11" && forced != "uinput")
        return simulated(QStringLiteral("TINTARO_KEYBOARD=%1 names no backend: use x11, uinput "
                                        "or simulated, or leave it unset.")
                             .arg(forced));

    QList<Backend> backends;
    QString why;
    if (!forced.isEmpty()) {
        backends = {forced == "x11" ? x11 : uinput};
        why = QStringLiteral("TINTARO_KEYBOARD=%1 allows no other backend. ").arg(forced);
    } else if (session.isWayland()) {
        backends = {uinput};
        why = QStringLiteral("In a Wayland session only uinput reaches them: XTest would reach "
                             "only the X11 programs under Xwayland, never the compositor. ");
    } else if (session.sessionType == "x11" || !session.display.isEmpty()) {
        backends = {x11, uinput};
    } else {
        backends = {uinput};
    }
    for (const Backend& backend : backends) {
        QString whyNot;
        if (auto keyboard = (*backend.open)(&whyNot))
            return {std::move(keyboard), {}};
        why +=
            QStringLiteral("%1: %2%3 ").arg(backend.name, whyNot, whyNot.endsWith('.') ? "" : ".");
    }
    return simulated(why.trimmed());
}
