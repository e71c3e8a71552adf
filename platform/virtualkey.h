#pragma once

#include <cstdint>

// The keys the program names, by their Windows virtual-key codes: the key-sequence sender sends
// them, the key control reports them and each backend turns them into its system's keys. Digits
// and letters are coded as their upper-case characters, from Key0 and KeyA on; the sender sends
// other printable characters under their own codes.
enum class VirtualKey : std::uint8_t {
    Back = 8,
    Tab = 9,
    Return = 13,
    Shift = 16,
    Control = 17,
    Menu = 18, // Alt
    Pause = 19,
    Capital = 20, // Caps Lock
    Escape = 27,
    Space = 32,
    Prior = 33, // Page Up
    Next = 34,  // Page Down
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Snapshot = 44, // Print
    Insert = 45,
    Delete = 46,
    Help = 47,
    Key0 = 48, // to Key9 = 57
    KeyA = 65, // to KeyZ = 90
    LWin = 91,
    Apps = 93,
    Numpad0 = 96, // to Numpad9 = 105
    F1 = 112,
    F2 = 113,
    F3 = 114,
    F4 = 115,
    F5 = 116,
    F6 = 117,
    F7 = 118,
    F8 = 119,
    F9 = 120,
    F10 = 121,
    F11 = 122,
    F12 = 123,
    F13 = 124,
    F14 = 125,
    F15 = 126,
    F16 = 127, // to F24 = 135
    NumLock = 144,
    Scroll = 145,
};

constexpr int virtualKeyCode(VirtualKey key) {
    return static_cast<int>(key);
}

// The key `offset` places after `first` in a run of keys: a digit, a letter, a function key.
constexpr VirtualKey nthKey(VirtualKey first, int offset) {
    return static_cast<VirtualKey>(virtualKeyCode(first) + offset);
}
