#pragma once

#include "lockkeys/lockkey.h"

#include <string_view>

class Keyboard;

namespace modSync {

// Injects the key strokes named by `keys`: key names in braces ("{NUMLOCK}", "{F10}", ...),
// the modifier characters "+", "%" and "^" (each tapped on its own) and plain characters.
// Returns once every event has been handed to the system; reads nothing back.
void SendKeyString(Keyboard& keyboard, std::string_view keys);

// The lock-state test: a lock key is on when its state is exactly "toggled, not held".
bool IsLockOn(const Keyboard& keyboard, LockKey key);

// Flips a lock key by a press and release, as the user striking it would.
void Toggle(Keyboard& keyboard, LockKey key);

// Toggles off, at once, every lock key the lock-state test reports on (Num, Scroll, Caps), counting
// the changes the keyboard has been told of up to now.
void TurnOffLitLocks(Keyboard& keyboard);

} // namespace modSync
