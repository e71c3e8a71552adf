#pragma once

#include "scripts/lightsequence.h"

#include <QObject>

class Clock;
class IntervalTimer;
class Keyboard;

// Shows a light sequence on the LEDs, step by step on the clock, by toggling the driven keys
// whose state differs from the step's picture. When the sequence ends or is stopped, each
// driven key is put back as it was found when the sequence began.
class LightPlayer : public QObject {
    Q_OBJECT

public:
    LightPlayer(Keyboard& keyboard, Clock& clock, QObject* parent = nullptr);
    ~LightPlayer() override;

    // Shows the first step at once; a sequence still playing is stopped first.
    void play(const LightSequence& sequence);
    // Puts the driven keys back as found; nothing when none plays.
    void stop();
    bool isPlaying() const { return m_playing; }

signals:
    // The last step of a sequence that does not repeat has run out.
    void finished();

private:
    void show();
    void showNextStep();

    Keyboard& m_keyboard;
    IntervalTimer* m_timer;
    LightSequence m_sequence;
    LockChoice m_found;
    qsizetype m_step = 0;
    int m_round = 0;
    bool m_playing = false;
};
