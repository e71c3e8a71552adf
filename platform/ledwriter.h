#pragma once

#include <QString>

#include <memory>

class LedClass;

// Sets a keyboard LED of the LED class directly, past the lock states that key strokes change.
class LedWriter {
public:
    virtual ~LedWriter() = default;

    // `entry` names the LED as the LED class does ("input3::scrolllock"); false when it stays.
    virtual bool setLed(const QString& entry, bool on) = 0;
};

// The first way that sets an LED of `leds` here: systemd-logind's SetBrightness for the user of
// the active session, else a write to the LED class (root). Tried on an LED by writing its own
// value back; null when none serves or no keyboard has a lock LED.
std::unique_ptr<LedWriter> openLedWriter(const LedClass& leds);
