#include "scripts/lockchoice.h"

#include "lockkeys/modsync.h"

#include <QStringList>

LockStates readLocks(const Keyboard& keyboard) {
    LockStates states{};
    for (LockKey key : AllLockKeys)
        states[indexOf(key)] = modSync::IsLockOn(keyboard, key);
    return states;
}

void setLocks(Keyboard& keyboard, const LockChoice& choice) {
    for (LockKey key : AllLockKeys) {
        const std::optional<bool> wanted = choice[indexOf(key)];
        if (wanted && modSync::IsLockOn(keyboard, key) != *wanted)
            modSync::Toggle(keyboard, key);
    }
}

LockChoice choiceOf(const LockStates& states) {
    return {states[0], states[1], states[2]};
}

QString describeLocks(const LockStates& states) {
    static constexpr const char* Names[] = {"num", "caps", "scroll"};
    QStringList parts;
    for (std::size_t i = 0; i < states.size(); ++i)
        parts << QStringLiteral("%1=%2").arg(Names[i], states[i] ? "on" : "off");
    return parts.join(' ');
}
