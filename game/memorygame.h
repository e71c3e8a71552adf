#pragma once

#include "game/gamepanel.h"

#include <QObject>

#include <random>
#include <vector>

class Keyboard;
class LockReset;
class Taste;

// "Remember the LED's": each round plays a fresh random sequence of the three game keys, pressing
// and lighting each key and toggling its lock key, and the player repeats it by clicking the keys.
// Rounds grow 3, 5, 7, 9 keys per level while the steps speed up from 1000 to 600 ms; from level
// 4 on they grow by two keys without end. The phase lives in the text of Gamestate, the level in
// the number that `level` shows.
class MemoryGame : public QObject {
    Q_OBJECT

public:
    // Connects the panel's buttons, keys and timers to the handlers below.
    MemoryGame(Keyboard& keyboard, LockReset& reset, const GamePanel& panel,
               QObject* parent = nullptr);

    void Start_Game_Click();
    // Ends the game as lost, also when none is running.
    void Stopgame_Click();
    // Darkens the LEDs (through the reset) and takes the game keys out of play.
    void disGame();

    void setStepInterval(int ms) { StepInterval = ms; }

private:
    // A whole number from min to max, both included, from the game's own generator.
    int Zufallszahl(int min, int max);

    void Gametime2_Timer();
    void SendK(int Button);
    void Gametime_Timer();
    void NextGametime_Timer();
    void NextGame();
    void Remember(int Key);
    void gameLost();

    void ReNew();
    void enGame();
    void setKeysEnabled(bool enabled);

    // The game key with that number (1 to 3); null for any other.
    Taste* gameKey(int number) const;
    // The key a step shows: pressed on screen, lamp lit, lock key toggled; or the reverse.
    void showStep(int number, bool pressed);
    // Releases the key the last step still shows, as its hold timer would.
    void finishShownStep();
    // An empty round of `length` keys: slots 0 to length, slot 0 unused.
    void newSequence(int length) { Sequence.assign(length + 1, 0); }

    Keyboard& m_keyboard;
    LockReset& m_reset;
    GamePanel ui;

    // The standard Mersenne Twister, left at its default seed: every start of the program draws
    // the same series, so the first game after a start plays the same keys.
    std::mt19937 m_random;

    int ShownKey = 0;          // the key the last step showed pressed
    int RoundLength = 0;       // keys in the current round
    int StepInterval = 0;      // time between two playback steps, ms
    int PlayPos = 0;           // steps of the round played so far
    std::vector<int> Sequence; // the round's keys by step, from slot 1
    int InputPos = 0;          // keys the player has repeated so far
    int CurrentScore = 0;      // one point per correct key
    int BestScore = 0;         // the best score a game has ended with since the start
};
