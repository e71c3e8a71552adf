#pragma once

#include "platform/keyboard.h"

#include <array>
#include <string_view>

// The three lock keys, in the order Num, Caps, Scroll that the on-screen keys follow.
enum class LockKey { Num, Caps, Scroll };

inline constexpr std::array<LockKey, 3> AllLockKeys{LockKey::Num, LockKey::Caps, LockKey::Scroll};

// Whether each lock is on, in the order of AllLockKeys.
using LockStates = std::array<bool, 3>;

struct LockKeyInfo {
    int keyCode;                   // virtual-key code
    std::string_view toggleString; // the key string that toggles it
    std::string_view name;         // as the user reads it: "Caps Lock"
};

constexpr LockKeyInfo info(LockKey key) {
    switch (key) {
    case LockKey::Num:
        return {LockKeyCode::Num, "{NUMLOCK}", "Num Lock"};
    case LockKey::Caps:
        return {LockKeyCode::Caps, "{CAPSLOCK}", "Caps Lock"};
    case LockKey::Scroll:
        return {LockKeyCode::Scroll, "{SCROLLOCK}", "Scroll Lock"};
    }
    return {0, "", ""};
}
