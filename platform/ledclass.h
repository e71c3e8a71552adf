#pragma once

#include <QString>
#include <QStringList>

// The keyboards' LEDs as the kernel's LED class shows them: an entry per keyboard and LED
// ("input3::numlock"), readable by everyone.
class LedClass {
public:
    static inline const QString SystemFolder = QStringLiteral("/sys/class/leds");

    // Leaves out the entries of the input device named `ignoredDevice` ("input12").
    explicit LedClass(QString folder = SystemFolder, QString ignoredDevice = {});

    const QString& folder() const { return m_folder; }

    // Every keyboard's entry of the LED ("numlock", "capslock", "scrolllock").
    QStringList entries(const QString& led) const;

    bool isLit(const QString& entry) const;

    // True when some keyboard has the LED and every keyboard that has it shows it lit; so
    // either answer is one that a keyboard shows.
    bool litOnEvery(const QString& led) const;

    // True when some keyboard shows the LED as `lit`.
    bool shownOnAny(const QString& led, bool lit) const;

private:
    QString m_folder;
    QString m_ignoredDevice;
};
