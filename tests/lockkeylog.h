#pragma once

#include "lockkeys/lockkey.h"
#include "platform/keyboard.h"

#include <QStringList>

#include <vector>

// The lock keys that a run of injected events toggled, by their key strings, in order.
inline QStringList lockToggles(const std::vector<KeyEvent>& events) {
    QStringList names;
    for (const KeyEvent& e : events) {
        if (e.flags & KeyEventFlag::KeyUp)
            continue;
        for (LockKey key : AllLockKeys)
            if (info(key).keyCode == e.keyCode)
                names << QString::fromLatin1(info(key).toggleString.data(),
                                             qsizetype(info(key).toggleString.size()));
    }
    return names;
}
