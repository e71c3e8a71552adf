#pragma once

#include <QMap>
#include <QString>

#include <memory>

class LedClass;

// The physical keyboards' own event devices (/dev/input/event*), open for writing: a lock key
// struck there reaches the compositor as a stroke of that keyboard, also where the compositor
// keeps a lock state per keyboard. Writing them takes what reading them takes (root, or the group
// "input", which may read every keystroke), so they are open only where the program has that
// already.
class KeyboardNodes {
public:
    // The devices of every keyboard with an entry in `leds`; null unless each of them opens.
    static std::unique_ptr<KeyboardNodes> open(const LedClass& leds);

    // Over descriptors by input device ("input3"), closed with it when `owned`.
    KeyboardNodes(QMap<QString, int> fds, bool owned);
    ~KeyboardNodes();

    KeyboardNodes(const KeyboardNodes&) = delete;
    KeyboardNodes& operator=(const KeyboardNodes&) = delete;

    // A press and a release of `key` (a Linux key code) on the keyboard whose LED class entry is
    // `entry` ("input3::capslock").
    void strike(const QString& entry, int key);

private:
    QMap<QString, int> m_fds;
    bool m_owned;
};
