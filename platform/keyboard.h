#pragma once

#include "platform/virtualkey.h"

#include <cstdint>

// One injected key event, with the four fields a key stroke is described by.
struct KeyEvent {
    std::uint8_t keyCode = 0; // virtual-key code
    std::uint8_t scanCode = 0;
    std::uint32_t flags = 0; // KeyEventFlag::KeyUp for a release, 0 for a press
    std::uintptr_t extraInfo = 0;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

namespace KeyEventFlag {
inline constexpr std::uint32_t KeyUp = 2;
}

// Virtual-key codes of the three lock keys.
namespace LockKeyCode {
inline constexpr int Num = virtualKeyCode(VirtualKey::NumLock);
inline constexpr int Caps = virtualKeyCode(VirtualKey::Capital);
inline constexpr int Scroll = virtualKeyCode(VirtualKey::Scroll);
} // namespace LockKeyCode

namespace KeyStateBit {
inline constexpr std::int16_t Toggled = 0x0001;
inline constexpr std::int16_t Held = static_cast<std::int16_t>(0x8000);
} // namespace KeyStateBit

// The system's keyboard, as the program sees it: it can inject key strokes and read a key's state.
class Keyboard {
public:
    virtual ~Keyboard() = default;

    // Injects one key event into the system's input stream, as if it came from the keyboard.
    virtual void sendKeyEvent(const KeyEvent& event) = 0;

    // State of a virtual key: KeyStateBit::Toggled while toggled on, KeyStateBit::Held while down.
    virtual std::int16_t keyState(int keyCode) const = 0;

    // False for a lock key whose LED this keyboard can neither change nor show on this desktop:
    // its strokes then change no LED and its state reads off. Every keyboard answers for itself,
    // so that a keyboard wrapping another cannot forget to ask it.
    virtual bool canShowLock(int keyCode) const = 0;

    // Takes in every change of state the system has told of so far, where the states read may
    // otherwise lag behind until the event loop next runs: before the locks are put out, a lock
    // the user struck a moment ago must count.
    virtual void catchUp() {}
};
