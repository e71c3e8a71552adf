#include "platform/uinputdevice.h"

#include "platform/systemkeys.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

struct UinputDevice::Private {
    ~Private() {
        // The library leaves a descriptor it did not open to its owner.
        libevdev_uinput_destroy(uinput);
        close(fd);
    }

    int fd = -1;
    libevdev_uinput* uinput = nullptr;
};

UinputDevice::UinputDevice(std::unique_ptr<Private> d) : d(std::move(d)) {}

UinputDevice::~UinputDevice() = default;

std::unique_ptr<UinputDevice> UinputDevice::create(QString* whyNot) {
    auto fail = [whyNot](const QString& why) {
        if (whyNot)
            *whyNot = why;
        return std::unique_ptr<UinputDevice>();
    };
    // Opened here rather than by libevdev, so that a failure can be told apart: a missing
    // module and a missing permission have different fixes.
    const int fd = open(Path.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(uinputOpenProblem(errno));

    std::unique_ptr<libevdev, decltype(&libevdev_free)> model(libevdev_new(), libevdev_free);
    libevdev_set_name(model.get(), "Tintaro virtual keyboard");
    libevdev_set_id_bustype(model.get(), BUS_VIRTUAL);
    libevdev_enable_event_type(model.get(), EV_KEY);
    for (int key : linuxKeyCodes())
        libevdev_enable_event_code(model.get(), EV_KEY, unsigned(key), nullptr);
    // Declared so that the compositor, or the console, sets them on this keyboard as on
    // every other: that is how the lock states come back.
    libevdev_enable_event_type(model.get(), EV_LED);
    for (unsigned led : {LED_NUML, LED_CAPSL, LED_SCROLLL})
        libevdev_enable_event_code(model.get(), EV_LED, led, nullptr);

    auto d = std::make_unique<Private>();
    d->fd = fd;
    const int error = libevdev_uinput_create_from_device(model.get(), fd, &d->uinput);
    if (error < 0)
        return fail(QStringLiteral("cannot make a virtual keyboard through %1: %2")
                        .arg(Path, QString::fromLocal8Bit(std::strerror(-error))));
    return std::unique_ptr<UinputDevice>(new UinputDevice(std::move(d)));
}

int UinputDevice::fd() const {
    return d->fd;
}

QString UinputDevice::inputName() const {
    const char* path = libevdev_uinput_get_syspath(d->uinput);
    return path ? QFileInfo(QString::fromLocal8Bit(path)).fileName() : QString();
}

QString uinputOpenProblem(int error) {
    const QString loadModule =
        QStringLiteral("Load it with \"sudo modprobe uinput\"; an installed Tintaro has it "
                       "loaded at every start of the system.");
    switch (error) {
    case ENOENT:
        return QStringLiteral("%1 does not exist: the uinput kernel module is not loaded. ")
                   .arg(UinputDevice::Path) +
               loadModule;
    case ENODEV:
    case ENXIO:
        return QStringLiteral("%1 has no driver: the uinput kernel module is not loaded. ")
                   .arg(UinputDevice::Path) +
               loadModule;
    case EACCES:
    case EPERM:
        return QStringLiteral(
                   "no permission to open %1. Tintaro's udev rule 70-tintaro-uinput.rules lets "
                   "the user logged in at the computer's own seat open it: install Tintaro, then "
                   "run \"sudo udevadm trigger %1\" or restart the system.")
            .arg(UinputDevice::Path);
    default:
        return QStringLiteral("cannot open %1: %2")
            .arg(UinputDevice::Path, QString::fromLocal8Bit(std::strerror(error)));
    }
}
