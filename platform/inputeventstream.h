#pragma once

#include <vector>

// Both directions of a virtual input device's descriptor: key events written to it, and the
// LED changes that the system sends back on it. Anything that carries struct input_event
// records will do, so that tests can stand a socket in for the device.
class InputEventStream {
public:
    // Makes the descriptor non-blocking; does not own it.
    explicit InputEventStream(int fd);

    // One key event followed by a synchronisation report, so that the device's readers take
    // it in at once.
    void writeKey(int keyCode, bool down);

    // Takes in every LED change waiting on the descriptor; gives the LEDs changed, in order.
    std::vector<int> readLeds();

    // As last sent back or set; every LED starts dark, as a new device's do.
    bool ledOn(int led) const;

    // Sets an LED of the device itself, as a compositor would: its readers see the change, and
    // its echo does not count as one.
    void setLed(int led, bool on);

private:
    void writeEvent(int type, int code, int value);

    int m_fd;
    unsigned m_leds = 0;
};
