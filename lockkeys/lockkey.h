#pragma once

#include "platform/keyboard.h"

#include <array>
#include <string_view>

// The three lock keys, in the order Num, Caps, Scroll that the on-screen keys follow.
enum class LockKey { Num, Caps, Scroll };

inline constexpr std::array<LockKey, 3> AllLockKeys{LockKey::Num, LockKey::Caps, LockKey::Scroll};

struct LockKeyInfo {
    int keyCode;                   // virtual-key code
    std::string_view toggleString; // the key string that toggles it
};

constexpr LockKeyInfo info(LockKey key) {
    switch (key) {
    case LockKey::Num:
        return {LockKeyCode::Num, "{NUMLOCK}"};
    case LockKey::Caps:
        return {LockKeyCode::Caps, "{CAPSLOCK}"};
    case LockKey::Scroll:
        return {LockKeyCode::Scroll, "{SCROLLOCK}"};
    }
    return {0, ""};
}
