#pragma once

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
        return {144, "{NUMLOCK}"};
    case LockKey::Caps:
        return {20, "{CAPSLOCK}"};
    case LockKey::Scroll:
        return {145, "{SCROLLOCK}"};
    }
    return {0, ""};
}
