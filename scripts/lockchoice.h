#pragma once

#include "lockkeys/lockkey.h"

#include <QString>

#include <array>
#include <optional>

class Keyboard;

// What to make of each lock key: on, off, or left as it is.
using LockChoice = std::array<std::optional<bool>, 3>;

constexpr std::size_t indexOf(LockKey key) {
    return static_cast<std::size_t>(key);
}

// The lock keys' states by the lock-state test.
LockStates readLocks(const Keyboard& keyboard);

// Toggles exactly the chosen keys whose state differs from their choice.
void setLocks(Keyboard& keyboard, const LockChoice& choice);

// The choice that puts every key back to `states`.
LockChoice choiceOf(const LockStates& states);

// "num=on caps=off scroll=off".
QString describeLocks(const LockStates& states);
