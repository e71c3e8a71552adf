#include "platform/directleds.h"

#include <utility>

DirectLeds::DirectLeds(LedClass leds, std::unique_ptr<LedWriter> writer)
    : m_leds(std::move(leds)), m_writer(std::move(writer)) {}

void DirectLeds::set(const QString& led, bool on) {
    m_kept[led] = on;
    write(led, on);
}

void DirectLeds::toggle(const QString& led) {
    set(led, !lit(led));
}

void DirectLeds::show(const QString& led, bool on) {
    m_kept.remove(led);
    write(led, on);
}

bool DirectLeds::lit(const QString& led) const {
    return m_kept.contains(led) ? m_kept.value(led) : m_leds.litOnEvery(led);
}

void DirectLeds::keep() {
    for (auto kept = m_kept.cbegin(); kept != m_kept.cend(); ++kept)
        write(kept.key(), kept.value());
}

void DirectLeds::write(const QString& led, bool on) {
    for (const QString& entry : m_leds.entries(led))
        if (m_leds.isLit(entry) != on)
            m_writer->setLed(entry, on);
}
