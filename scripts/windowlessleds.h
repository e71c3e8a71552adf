#pragma once

#include "effects/effectstate.h"
#include "scripts/ledservice.h"

#include <array>
#include <optional>

class Clock;
class EffectPatterns;
class IntervalTimer;
class Keyboard;
class LightPlayer;

// Runs the scripts' commands without a window: the effects on timers of their own, light
// sequences on a player. Whatever runs leaves each lock key as it found it when it ends, is
// stopped, or goes with this object; only a set of the lock states stays.
class WindowlessLeds final : public LedService {
    Q_OBJECT

public:
    WindowlessLeds(Keyboard& keyboard, Clock& clock, QObject* parent = nullptr);
    ~WindowlessLeds() override;

    // Reads the lock states every 50 ms from now on, for those who watch them.
    void startPolling();

    QString noKeyboard() const override { return {}; }
    void startEffect(const EffectCall& call) override;
    void playLights(const LightSequence& sequence, const QString& what) override;
    void setLockStates(const LockChoice& choice) override;
    void stop() override;
    LockStates lockStates() const override;
    QString running() const override;

signals:
    // What ran has ended: a light sequence that does not repeat has run out, or a stop came.
    void finished();

private:
    // Ends what runs, leaving the keys as found; false when nothing ran.
    bool endWhatRuns();

    Keyboard& m_keyboard;
    std::array<IntervalTimer*, EffectCount> m_timers;
    IntervalTimer* m_poll;
    EffectState m_state;
    int m_speed = DefaultEffectSpeed;
    EffectPatterns* m_patterns;
    LightPlayer* m_player;
    std::optional<Effect> m_effect;
    LockStates m_found{};
    QString m_playing;
};
