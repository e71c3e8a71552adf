#pragma once

#include "platform/directleds.h"
#include "platform/keyboard.h"
#include "platform/keyboardnodes.h"
#include "platform/ledclass.h"

#include <QString>

#include <array>
#include <memory>

class Clock;
class UinputDevice;

// The keyboard as the kernel sees it, through a virtual keyboard of its own made through
// /dev/uinput: reaches the compositor of a Wayland session, an X server and the console alike.
// Key strokes go out on the virtual keyboard; a lock key's toggle state is read from the LEDs
// that the system sets on it, and its own strokes that they do not show yet. A lock that strokes
// cannot reach has the physical keyboards' LEDs set directly instead: Scroll Lock under a keymap
// without a modifier for it, and every lock where the compositor keeps a state per keyboard,
// whose keys are then struck on the physical keyboards themselves where their devices are open.
// A key counts as held while it is pressed through this keyboard: another keyboard's keys are
// not seen.
class UinputKeyboard final : public Keyboard {
public:
    // How long a new device is given to be taken up by the compositor, at most.
    static constexpr int SettleMs = 1000;
    // A lock-key stroke that its LED does not show counts in the lock's state for this long at
    // least, and twice this at most.
    static constexpr int ConfirmMs = 1000;
    // How soon after a lock LED changed on this keyboard some other keyboard shows it so too,
    // unless the compositor keeps a lock state per keyboard.
    static constexpr int EchoMs = 100;

    // What the keyboard is told of the others.
    struct Surroundings {
        LedClass leds;                   // the other keyboards' LEDs
        std::array<bool, 3> litBefore{}; // Num, Caps, Scroll on every keyboard before ours was made
        std::unique_ptr<DirectLeds> direct;   // null when no LED can be set directly
        bool scrollByLed = false;             // the keymap gives Scroll Lock no lock state
        std::unique_ptr<KeyboardNodes> nodes; // null when they are not open to the program
    };

    // Null when the device cannot be made; whyNot then names the file, the cause and the fix.
    // `wayland`: in a Wayland session, whose keymaps give Scroll Lock no modifier.
    static std::unique_ptr<UinputKeyboard> open(Clock& clock, bool wayland,
                                                QString* whyNot = nullptr);

    // Over a descriptor that stands for a device made just now (see InputEventStream); the
    // descriptor must outlive the keyboard.
    UinputKeyboard(int fd, Clock& clock, Surroundings surroundings);

    // Lets go of keys still pressed through it.
    ~UinputKeyboard() override;

    UinputKeyboard(const UinputKeyboard&) = delete;
    UinputKeyboard& operator=(const UinputKeyboard&) = delete;

    // A key with no Linux key of its own is not sent, nor the release of a key not pressed
    // through this keyboard: it could not let go of another keyboard's key.
    void sendKeyEvent(const KeyEvent& event) override;
    std::int16_t keyState(int keyCode) const override;
    bool canShowLock(int keyCode) const override;

private:
    UinputKeyboard(std::unique_ptr<UinputDevice> device, Clock& clock, Surroundings surroundings);

    struct Private;
    std::unique_ptr<Private> d;
};
