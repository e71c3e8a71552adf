#pragma once

#include "effects/effectpatterns.h"
#include "scripts/lightsequence.h"

#include <QString>

#include <variant>

// Why a call from a script is refused; each kind has a D-Bus error name of its own.
enum class ScriptErrorKind { UnknownEffect, BadPattern, BadArgument, NoKeyboard };

struct ScriptError {
    ScriptErrorKind kind;
    QString message;
};

// "<application id>.Error.BadPattern" and the like.
QString errorName(ScriptErrorKind kind);

template <class T> using Checked = std::variant<T, ScriptError>;

struct EffectCall {
    Effect effect;
    int speedMs; // for every effect but Speedup, which keeps its own schedule
};

// The calls a script can make, checked and turned into what runs. The command line and the D-Bus
// interface take the same arguments; a 0 stands for the default.
Checked<EffectCall> checkEffect(const QString& name, uint speedMs);
Checked<LightSequence> checkBlink(const QString& leds, uint periodMs, uint count);
Checked<LightSequence> checkPlay(const QString& pattern);
Checked<LightSequence> checkMorse(const QString& text, const QString& led, uint unitMs);
Checked<LockChoice> checkSetLocks(const QString& locks);

// The effect's name as the effect list shows it, for any letter case; none for another name.
std::optional<Effect> effectNamed(const QString& name);
