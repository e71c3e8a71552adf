#pragma once

#include <QString>

// The keyboards' LEDs as the kernel's LED class shows them: an entry per keyboard and LED
// ("input3::numlock"), readable by everyone.
class LedClass {
public:
    static inline const QString SystemFolder = QStringLiteral("/sys/class/leds");

    // Leaves out the entries of the input device named `ignoredDevice` ("input12").
    explicit LedClass(QString folder = SystemFolder, QString ignoredDevice = {});

    // True when some keyboard has the LED ("numlock", "capslock", "scrolllock") and every
    // keyboard that has it shows it lit; so either answer is one that a keyboard shows.
    bool litOnEvery(const QString& led) const;

private:
    QString m_folder;
    QString m_ignoredDevice;
};
