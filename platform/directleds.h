#pragma once

#include "platform/ledclass.h"
#include "platform/ledwriter.h"

#include <QMap>

#include <memory>

// The lock LEDs of the physical keyboards, set directly for the locks that key strokes cannot
// reach; their state is read back from the keyboards. An LED of a lock that has no state of its
// own anywhere is kept: the compositor rewrites every LED at its next lock change (sway at every
// key), so keep() sets it again. An LED of a lock that the compositor keeps for the keyboard is
// only shown: the compositor's next word on it is that keyboard's truth.
class DirectLeds {
public:
    DirectLeds(LedClass leds, std::unique_ptr<LedWriter> writer);

    // Sets the LED ("numlock", "capslock", "scrolllock") on every keyboard that has it, and
    // keeps it so.
    void set(const QString& led, bool on);

    // Sets the LED to the opposite of what it was last set to, or else of what it shows.
    void toggle(const QString& led);

    // Sets the LED on every keyboard that has it, once.
    void show(const QString& led, bool on);

    // As last set while it is kept, for the compositor may have rewritten it an instant ago;
    // else as every keyboard shows it (LedClass::litOnEvery).
    bool lit(const QString& led) const;

    // Sets again each LED kept that some keyboard no longer shows as it was set.
    void keep();

private:
    void write(const QString& led, bool on);

    LedClass m_leds;
    std::unique_ptr<LedWriter> m_writer;
    QMap<QString, bool> m_kept;
};
