#include "platform/keyboardnodes.h"

#include "platform/inputeventstream.h"
#include "platform/ledclass.h"

#include <QDir>

#include <fcntl.h>
#include <unistd.h>

std::unique_ptr<KeyboardNodes> KeyboardNodes::open(const LedClass& leds) {
    QMap<QString, int> fds;
    auto nodes = std::make_unique<KeyboardNodes>(fds, true);
    for (const QString led : {"numlock", "capslock", "scrolllock"})
        for (const QString& entry : leds.entries(led)) {
            const QString device = entry.section("::", 0, 0);
            if (nodes->m_fds.contains(device))
                continue;
            // The entry's "device" is the input device, whose event device is its one "event*".
            const QStringList events =
                QDir(leds.folder() + '/' + entry + "/device").entryList({"event*"}, QDir::Dirs);
            const int fd = events.size() == 1 ? ::open(qPrintable("/dev/input/" + events.first()),
                                                       O_WRONLY | O_NONBLOCK | O_CLOEXEC)
                                              : -1;
            if (fd < 0)
                return nullptr;
            nodes->m_fds.insert(device, fd);
        }
    return nodes->m_fds.isEmpty() ? nullptr : std::move(nodes);
}

KeyboardNodes::KeyboardNodes(QMap<QString, int> fds, bool owned)
    : m_fds(std::move(fds)), m_owned(owned) {}

KeyboardNodes::~KeyboardNodes() {
    if (m_owned)
        for (int fd : std::as_const(m_fds))
            ::close(fd);
}

void KeyboardNodes::strike(const QString& entry, int key) {
    const int fd = m_fds.value(entry.section("::", 0, 0), -1);
    if (fd < 0)
        return;
    InputEventStream stream(fd);
    stream.writeKey(key, true);
    stream.writeKey(key, false);
}
