#include "keyboardfactory.h"

#include "simulatedkeyboard.h"
#include "x11keyboard.h"

KeyboardChoice chooseKeyboard() {
    QString whyNot;
    if (auto x11 = X11Keyboard::open(&whyNot))
        return {std::move(x11), {}};
    return {std::make_unique<SimulatedKeyboard>(), whyNot};
}
