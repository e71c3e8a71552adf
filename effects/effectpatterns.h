#pragma once

#include "lockkeys/lockkey.h"

#include <QObject>

#include <array>
#include <functional>
#include <initializer_list>

class IntervalTimer;
class Keyboard;
struct EffectState;

// The light effects, numbered as the effect list holds them.
enum class Effect { All, KnightRider, Landing, RockYou, Run, Speedup, TrafficLight, Walk };
inline constexpr int EffectCount = 8;
// The names the effect list shows, in the order of Effect.
inline constexpr std::array<const char*, EffectCount> EffectNames{
    "All", "Knight Rider", "Landing", "Rock you", "Run", "Speedup", "Traffic light", "Walk"};

// The effect speed slider: a tick interval from its fastest to its slowest end, and the value
// the window starts with and every stop puts back.
inline constexpr int EffectSpeedFastest = 100;
inline constexpr int EffectSpeedSlowest = 5000;
inline constexpr int DefaultEffectSpeed = 150;

// Speedup's own schedule runs from its slowest interval down to its fastest, pass by pass.
inline constexpr int SpeedupSlowest = 700;
inline constexpr int SpeedupFastest = 100;

// The eight patterns, each run by its own timer of the window. A tick toggles one, two or all
// three lock keys and moves the shared counters on; the LEDs are never read, so each pattern
// shows its pictures only when it starts on three dark LEDs.
class EffectPatterns : public QObject {
    Q_OBJECT

public:
    // The timers in the order of Effect; `speed` gives the interval of those that follow it.
    EffectPatterns(Keyboard& keyboard, EffectState& state,
                   std::array<IntervalTimer*, EffectCount> timers, std::function<int()> speed,
                   QObject* parent = nullptr);

    IntervalTimer& timer(Effect effect) const;
    // Every effect but Speedup ticks at the value of EffectSpeed; Speedup keeps its own schedule.
    static bool followsSpeed(Effect effect);

private:
    struct Entry {
        void (EffectPatterns::*step)();
        bool followsSpeed;
    };
    static const std::array<Entry, EffectCount> Effects;

    // One tick of an effect: the common first step, then the effect's own step.
    void tick(Effect effect);

    void Alltime_Timer();
    void Knighttime_Timer();
    void Landingtime_Timer();
    void Rockyoutime_Timer();
    void Runtime_Timer();
    void Speeduptime_Timer();
    void Traffictime_Timer();
    void Walktime_Timer();

    void send(std::initializer_list<LockKey> keys);
    // Toggles the key that EffStep (0 to 2) names in `order`.
    void sendByStep(const std::array<LockKey, 3>& order);

    Keyboard& m_keyboard;
    EffectState& m_state;
    std::array<IntervalTimer*, EffectCount> m_timers;
    std::function<int()> m_speed;
};
