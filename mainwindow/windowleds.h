#pragma once

#include "scripts/ledservice.h"

class Clock;
class IntervalTimer;
class Keyboard;
class LightPlayer;
class tastatur;
struct tastaturDesign;

// Scripts drive the window as its own controls would: an effect is selected in the effect list,
// its speed set on the speed slider and started with "Start Effect"; a stop is "Stop all
// (RESET)". Blinking, patterns and Morse code play on a light player of their own, which the
// window's stop ends as well. The lock states are those the display reads every 50 ms.
class WindowLeds final : public LedService {
    Q_OBJECT

public:
    // `noKeyboard` says why the window's keyboard cannot reach the LEDs; empty when it can.
    WindowLeds(tastatur& window, Keyboard& keyboard, Clock& clock, const QString& noKeyboard);

    QString noKeyboard() const override { return m_noKeyboard; }
    void startEffect(const EffectCall& call) override;
    void playLights(const LightSequence& sequence, const QString& what) override;
    void setLockStates(const LockChoice& choice) override;
    void stop() override;
    LockStates lockStates() const override;
    QString running() const override;

private:
    // Stops what runs; true when that was the window's own effect or blinking, whose reset
    // darkens the LEDs 100 ms later.
    bool stopRunning();

    const tastaturDesign& ui;
    Keyboard& m_keyboard;
    QString m_noKeyboard;
    LightPlayer* m_player;
    IntervalTimer* m_afterReset; // starts the waiting sequence once the reset has run
    LightSequence m_waiting;
    QString m_playing;
};
