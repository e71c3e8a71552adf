#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>

// Keeps the lock keys' presses and releases from the program's windows unless `wanted` says the
// control with the keyboard focus takes them. The program injects up to sixty of them a second
// while an effect runs, and they reach its own window whenever that has the focus, where Qt's
// key handling of each costs more than the effect itself. Without an X11 display it keeps
// nothing back.
class LockKeyEvents final : public QAbstractNativeEventFilter {
public:
    explicit LockKeyEvents(std::function<bool()> wanted);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<bool()> m_wanted;
    unsigned char m_keyCodes[3] = {}; // the X keys of Num, Caps and Scroll Lock; 0 for none
};
