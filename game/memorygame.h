#pragma once

#include <QObject>

#include <array>

class LockReset;
class Taste;

// "Remember the LED's": the memory game on the game keys G1, G2, G3.
class MemoryGame : public QObject {
    Q_OBJECT

public:
    MemoryGame(std::array<Taste*, 3> keys, LockReset& reset, QObject* parent = nullptr);

    // Darkens the LEDs (through the reset) and takes the game keys out of play.
    void disGame();
    void setStepInterval(int ms) { StepInterval = ms; }

private:
    std::array<Taste*, 3> m_keys;
    LockReset& m_reset;
    int StepInterval = 0; // time between two playback steps, ms
};
