#include "scripts/scriptcalls.h"

#include "effects/keyblinking.h"
#include "platform/programidentity.h"
#include "scripts/morse.h"
#include "scripts/pattern.h"

#include <QStringList>

#include <limits>

namespace {

constexpr const char* LockNames[] = {"num", "caps", "scroll"};

ScriptError badArgument(const QString& message) {
    return {ScriptErrorKind::BadArgument, message};
}

std::optional<LockKey> lockNamed(const QString& name) {
    for (LockKey key : AllLockKeys)
        if (name.trimmed().compare(QLatin1String(LockNames[indexOf(key)]), Qt::CaseInsensitive) ==
            0)
            return key;
    return std::nullopt;
}

QString unknownLock(const QString& name) {
    return QStringLiteral("\"%1\" is no LED: use num, caps or scroll").arg(name.trimmed());
}

// A number in a range, or 0 for the default.
std::optional<ScriptError> outOfRange(const char* what, uint value, int least, int most) {
    if (value == 0 || (value >= uint(least) && value <= uint(most)))
        return std::nullopt;
    return badArgument(
        QStringLiteral("%1 %2 is outside %3 to %4").arg(what).arg(value).arg(least).arg(most));
}

} // namespace

QString errorName(ScriptErrorKind kind) {
    static constexpr const char* Names[] = {"UnknownEffect", "BadPattern", "BadArgument",
                                            "NoKeyboard"};
    return QStringLiteral("%1.Error.%2").arg(ApplicationId, Names[static_cast<int>(kind)]);
}

std::optional<Effect> effectNamed(const QString& name) {
    for (int i = 0; i < EffectCount; ++i)
        if (name.simplified().compare(QLatin1String(EffectNames[i]), Qt::CaseInsensitive) == 0)
            return static_cast<Effect>(i);
    return std::nullopt;
}

Checked<EffectCall> checkEffect(const QString& name, uint speedMs) {
    const std::optional<Effect> effect = effectNamed(name);
    if (!effect) {
        QStringList names;
        for (const char* known : EffectNames)
            names << QLatin1String(known);
        return ScriptError{ScriptErrorKind::UnknownEffect,
                           QStringLiteral("no effect is named \"%1\"; the effects are: %2")
                               .arg(name, names.join(", "))};
    }
    if (auto error = outOfRange("speed", speedMs, EffectSpeedFastest, EffectSpeedSlowest))
        return *error;
    return EffectCall{*effect, speedMs ? int(speedMs) : DefaultEffectSpeed};
}

Checked<LightSequence> checkBlink(const QString& leds, uint periodMs, uint count) {
    LockStates chosen{};
    for (const QString& name : leds.split(',')) {
        const std::optional<LockKey> key = lockNamed(name);
        if (!key)
            return badArgument(unknownLock(name));
        if (chosen[indexOf(*key)])
            return badArgument(QStringLiteral("%1 is named twice").arg(name.trimmed()));
        chosen[indexOf(*key)] = true;
    }
    if (auto error = outOfRange("speed", periodMs, BlinkSpeedFastest, BlinkSpeedSlowest))
        return *error;
    if (count > uint(std::numeric_limits<int>::max()))
        return badArgument(QStringLiteral("count %1 is too large").arg(count));
    return blinkSequence(chosen, periodMs ? int(periodMs) : DefaultBlinkSpeed, int(count));
}

Checked<LightSequence> checkPlay(const QString& pattern) {
    PatternResult result = parsePattern(pattern);
    if (!result.error.isEmpty())
        return ScriptError{ScriptErrorKind::BadPattern,
                           QStringLiteral("column %1: %2").arg(result.column).arg(result.error)};
    return result.sequence;
}

Checked<LightSequence> checkMorse(const QString& text, const QString& led, uint unitMs) {
    const std::optional<LockKey> key = led.isEmpty() ? LockKey::Scroll : lockNamed(led);
    if (!key)
        return badArgument(unknownLock(led));
    if (auto error = outOfRange("unit", unitMs, MorseUnitShortest, MorseUnitLongest))
        return *error;
    MorseResult result = morseSequence(text, *key, unitMs ? int(unitMs) : DefaultMorseUnit);
    if (!result.error.isEmpty())
        return badArgument(QStringLiteral("column %1: %2").arg(result.column).arg(result.error));
    return result.sequence;
}

Checked<LockChoice> checkSetLocks(const QString& locks) {
    LockChoice choice;
    for (const QString& item : locks.split(',')) {
        const QStringList sides = item.split('=');
        const std::optional<LockKey> key = lockNamed(sides[0]);
        if (!key)
            return badArgument(unknownLock(sides[0]));
        const QString value = sides.value(1).trimmed().toLower();
        if (sides.size() != 2 || (value != "on" && value != "off"))
            return badArgument(QStringLiteral("\"%1\" is not LED=on or LED=off").arg(item));
        if (choice[indexOf(*key)])
            return badArgument(QStringLiteral("%1 is named twice").arg(sides[0].trimmed()));
        choice[indexOf(*key)] = value == "on";
    }
    return choice;
}
