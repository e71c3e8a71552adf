#include "effects/effectpatterns.h"

#include "effects/effectstate.h"
#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"

namespace {
constexpr std::array<LockKey, 3> NumToScroll = AllLockKeys;
constexpr std::array<LockKey, 3> ScrollToNum{LockKey::Scroll, LockKey::Caps, LockKey::Num};
constexpr LockKey Num = LockKey::Num, Caps = LockKey::Caps, Scroll = LockKey::Scroll;
} // namespace

// By list index.
const std::array<EffectPatterns::Entry, EffectCount> EffectPatterns::Effects{{
    {&EffectPatterns::Alltime_Timer, true},
    {&EffectPatterns::Knighttime_Timer, true},
    {&EffectPatterns::Landingtime_Timer, true},
    {&EffectPatterns::Rockyoutime_Timer, true},
    {&EffectPatterns::Runtime_Timer, true},
    {&EffectPatterns::Speeduptime_Timer, false},
    {&EffectPatterns::Traffictime_Timer, true},
    {&EffectPatterns::Walktime_Timer, true},
}};

EffectPatterns::EffectPatterns(Keyboard& keyboard, EffectState& state,
                               std::array<IntervalTimer*, EffectCount> timers,
                               std::function<int()> speed, QObject* parent)
    : QObject(parent), m_keyboard(keyboard), m_state(state), m_timers(timers),
      m_speed(std::move(speed)) {
    for (int index = 0; index < EffectCount; ++index) {
        const auto effect = static_cast<Effect>(index);
        connect(&timer(effect), &IntervalTimer::Timer, this, [this, effect] { tick(effect); });
    }
}

IntervalTimer& EffectPatterns::timer(Effect effect) const {
    return *m_timers[static_cast<int>(effect)];
}

bool EffectPatterns::followsSpeed(Effect effect) {
    return Effects[static_cast<int>(effect)].followsSpeed;
}

// The slider is read afresh at every tick, so a new speed applies from the next tick on, also
// while its thumb is still being dragged and no change handler has run.
void EffectPatterns::tick(Effect effect) {
    const Entry& entry = Effects[static_cast<int>(effect)];
    if (entry.followsSpeed)
        timer(effect).setInterval(m_speed());
    (this->*entry.step)();
}

void EffectPatterns::send(std::initializer_list<LockKey> keys) {
    for (LockKey key : keys)
        modSync::SendKeyString(m_keyboard, info(key).toggleString);
}

void EffectPatterns::sendByStep(const std::array<LockKey, 3>& order) {
    if (m_state.EffStep >= 0 && m_state.EffStep < 3)
        send({order[m_state.EffStep]});
}

// All three blink together.
void EffectPatterns::Alltime_Timer() {
    send({Num, Caps, Scroll});
}

// Twelve ticks: the light fills and empties from Num towards Scroll, then twice a sweep from
// Scroll towards Num fills and empties it again.
void EffectPatterns::Knighttime_Timer() {
    EffectState& s = m_state;
    ++s.EffCycleTicks;
    if (s.EffCycleTicks == 7)
        s.EffStep = 0;
    if (s.EffCycleTicks < 7) {
        sendByStep(NumToScroll);
        if (++s.EffStep == 3)
            s.EffStep = 0;
    } else {
        sendByStep(ScrollToNum);
        if (++s.EffStep == 3) {
            s.EffStep = 0;
            ++s.EffSweeps;
        }
        if (s.EffSweeps == 2) {
            s.EffSweeps = 0;
            s.EffCycleTicks = 0;
        }
    }
}

// Six ticks: the outer pair, the middle LED, then all three, each lit for one tick and dark
// for the next.
void EffectPatterns::Landingtime_Timer() {
    EffectState& s = m_state;
    ++s.EffStepTicks;
    switch (s.EffStep) {
    case 0:
        send({Num, Scroll});
        break;
    case 1:
        send({Caps});
        break;
    case 2:
        send({Num, Scroll, Caps});
        break;
    }
    if (s.EffStepTicks == 2 && s.EffStep != 2) {
        ++s.EffStep;
        s.EffStepTicks = 0;
    }
    if (s.EffStepTicks == 2 && s.EffStep == 2) {
        s.EffStep = 0;
        s.EffStepTicks = 0;
    }
}

// Six ticks: the outer pair flashes twice, then the middle LED once.
void EffectPatterns::Rockyoutime_Timer() {
    EffectState& s = m_state;
    ++s.EffStepTicks;
    switch (s.EffStep) {
    case 0:
        send({Num, Scroll});
        break;
    case 1:
        send({Caps});
        break;
    }
    if (s.EffStepTicks == 4) {
        s.EffStep = 1;
        s.EffStepTicks = 0;
    }
    if (s.EffStep == 1 && s.EffStepTicks == 2) {
        s.EffStep = 0;
        s.EffStepTicks = 0;
    }
}

// Six ticks: the light fills from Num to Scroll and empties the same way.
void EffectPatterns::Runtime_Timer() {
    EffectState& s = m_state;
    sendByStep(NumToScroll);
    if (++s.EffStep == 3)
        s.EffStep = 0;
}

// Like Run, with the interval lowered by 100 ms after each pass of three ticks from 700 to
// 100; after eight passes at 100 ms it falls back to 700: 42 ticks, 10.5 seconds.
void EffectPatterns::Speeduptime_Timer() {
    EffectState& s = m_state;
    IntervalTimer& own = timer(Effect::Speedup);
    sendByStep(NumToScroll);
    ++s.EffStep;
    if (s.EffStep == 3 && own.interval() == SpeedupFastest) {
        ++s.EffStepTicks;
        if (s.EffStepTicks == 8) {
            s.EffStep = 0;
            s.EffStepTicks = 0;
            own.setInterval(SpeedupSlowest);
        }
    }
    if (s.EffStep == 3) {
        s.EffStep = 0;
        if (own.interval() != SpeedupFastest)
            own.setInterval(own.interval() - 100);
    }
}

// Six ticks: one LED at a time, lit for one tick and dark for the next, Num, Caps, Scroll.
void EffectPatterns::Traffictime_Timer() {
    EffectState& s = m_state;
    ++s.EffStepTicks;
    ++s.EffCycleTicks;
    sendByStep(NumToScroll);
    if (s.EffStepTicks == 2 && s.EffCycleTicks != 6) {
        ++s.EffStep;
        s.EffStepTicks = 0;
    }
    if (s.EffCycleTicks == 6) {
        s.EffStep = 0;
        s.EffCycleTicks = 0;
        s.EffStepTicks = 0;
    }
}

// The outer pair lights first; from then on every tick toggles all three, so the outer pair
// and the middle LED take turns.
void EffectPatterns::Walktime_Timer() {
    EffectState& s = m_state;
    switch (s.EffStep) {
    case 0:
        send({Num, Scroll});
        break;
    case 1:
        send({Num, Scroll, Caps});
        break;
    }
    s.EffStep = 1;
}
