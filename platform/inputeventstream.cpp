#include "platform/inputeventstream.h"

#include <linux/input.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

InputEventStream::InputEventStream(int fd) : m_fd(fd) {
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
}

void InputEventStream::writeKey(int keyCode, bool down) {
    writeEvent(EV_KEY, keyCode, down ? 1 : 0);
}

void InputEventStream::setLed(int led, bool on) {
    if (led < 0 || led >= 32)
        return;
    if (on)
        m_leds |= 1u << led;
    else
        m_leds &= ~(1u << led);
    writeEvent(EV_LED, led, on ? 1 : 0);
}

void InputEventStream::writeEvent(int type, int code, int value) {
    // The time stamps are the kernel's to set.
    input_event events[2] = {};
    events[0].type = static_cast<__u16>(type);
    events[0].code = static_cast<__u16>(code);
    events[0].value = value;
    events[1].type = EV_SYN;
    events[1].code = SYN_REPORT;
    while (write(m_fd, events, sizeof events) < 0 && errno == EINTR) {
    }
}

std::vector<int> InputEventStream::readLeds() {
    std::vector<int> changed;
    input_event events[16];
    for (;;) {
        const ssize_t size = read(m_fd, events, sizeof events);
        if (size < 0 && errno == EINTR)
            continue;
        if (size <= 0)
            return changed;
        for (std::size_t i = 0; i < std::size_t(size) / sizeof(input_event); ++i) {
            const input_event& event = events[i];
            if (event.type != EV_LED || event.code >= 32 || ledOn(event.code) == bool(event.value))
                continue;
            m_leds ^= 1u << event.code;
            changed.push_back(event.code);
        }
    }
}

bool InputEventStream::ledOn(int led) const {
    return led >= 0 && led < 32 && (m_leds & (1u << led));
}
