#pragma once

#include "keyboard.h"

#include <QString>

#include <memory>

struct KeyboardChoice {
    std::unique_ptr<Keyboard> keyboard;
    QString problem; // why the real keyboard cannot be reached; empty when it can
};

// Picks the keyboard backend for this desktop: the real one where it can be reached, otherwise
// a simulated keyboard, with the reason why.
KeyboardChoice chooseKeyboard();
