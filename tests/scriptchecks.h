#pragma once

#include "scripts/scriptcalls.h"

#include <QtGlobal>

// The lit keys by their initials, "ncs"; "-" for none.
inline QString lockLetters(const LockStates& leds) {
    QString names;
    for (std::size_t i = 0; i < leds.size(); ++i)
        if (leds[i])
            names += "ncs"[i];
    return names.isEmpty() ? "-" : names;
}

// What a script's call checked into; a refusal ends the run, as the test's own call is wrong.
template <class T> T checked(const Checked<T>& call) {
    if (const auto* error = std::get_if<ScriptError>(&call))
        qFatal("refused: %s", qPrintable(error->message));
    return std::get<T>(call);
}
