#pragma once

#include <QString>

#include <memory>

// A virtual keyboard made through /dev/uinput, declaring every key linuxKeyCodes() gives and
// the three lock LEDs. The device lasts as long as this object.
class UinputDevice {
public:
    static inline const QString Path = QStringLiteral("/dev/uinput");

    // Null when it cannot be made; whyNot then says why and how to fix it.
    static std::unique_ptr<UinputDevice> create(QString* whyNot = nullptr);

    ~UinputDevice();
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    // Takes key events and gives back the LED changes (see InputEventStream).
    int fd() const;

    // The input device's name in sysfs ("input12"); empty when the kernel does not tell.
    QString inputName() const;

private:
    struct Private;
    explicit UinputDevice(std::unique_ptr<Private> d);

    std::unique_ptr<Private> d;
};

// Why opening /dev/uinput failed with the error number `error`, and what fixes it.
QString uinputOpenProblem(int error);
