#pragma once

#include <QAbstractNativeEventFilter>

#include <bitset>
#include <functional>

namespace QNativeInterface {
struct QX11Application;
}

// Keeps the lock keys' presses and releases from the program's windows unless `wanted` says the
// control with the keyboard focus takes them. The program injects up to sixty of them a second
// while an effect runs, and they reach its own window whenever that has the focus, where Qt's
// key handling of each costs more than the effect itself. The lock keys are those the keymap
// gives them at the time, read again after every change of keymap. Without an X11 display it
// keeps nothing back.
class LockKeyEvents final : public QAbstractNativeEventFilter {
public:
    explicit LockKeyEvents(std::function<bool()> wanted);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool isLockKey(unsigned char keyCode);
    void readLockKeys();

    std::function<bool()> m_wanted;
    QNativeInterface::QX11Application* m_x11 = nullptr;
    int m_xkbEvent = -1;         // the XKB extension's event code; -1 without it
    bool m_keymapChanged = true; // since the lock keys were last read
    std::bitset<256> m_lockKeys; // the X keys of Num, Caps and Scroll Lock
};
