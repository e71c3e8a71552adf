#include "platform/keyboardfactory.h"

#include "platform/session.h"
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
                why,
            why};
}

} // namespace

KeyboardOpeners systemKeyboards(Clock& clock, const Session& session) {
    return {[](QString* whyNot) -> std::unique_ptr<Keyboard> { return X11Keyboard::open(whyNot); },
            [&clock, wayland = session.kind() == Session::Kind::Wayland](
                QString* whyNot) -> std::unique_ptr<Keyboard> {
                return UinputKeyboard::open(clock, wayland, whyNot);
            }};
}

KeyboardChoice chooseKeyboard(const Session& session, const KeyboardOpeners& openers) {
    const Backend x11{QStringLiteral("X11"), &openers.x11};
    const Backend uinput{QStringLiteral("uinput"), &openers.uinput};
    const QString& forced = session.forcedKeyboard;
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
    } else if (session.kind() == Session::Kind::Wayland) {
        backends = {uinput};
        why = QStringLiteral("In a Wayland session only uinput reaches them: XTest would reach "
                             "only the X11 programs under Xwayland, never the compositor. ");
    } else if (session.kind() == Session::Kind::X11) {
        backends = {x11, uinput};
    } else {
        backends = {uinput};
    }
    for (const Backend& backend : backends) {
        QString whyNot;
        if (auto keyboard = (*backend.open)(&whyNot))
            return {std::move(keyboard), whyNot, {}};
        why +=
            QStringLiteral("%1: %2%3 ").arg(backend.name, whyNot, whyNot.endsWith('.') ? "" : ".");
    }
    return simulated(why.trimmed());
}
