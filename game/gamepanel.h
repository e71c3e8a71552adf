#pragma once

#include <array>

class IntervalTimer;
class QLabel;
class QPushButton;
class Taste;

// The controls of the game panel that the game plays on. The window owns them all.
struct GamePanel {
    std::array<Taste*, 3> keys; // G1 "Num", G2 "Caps", G3 "Scroll"
    QPushButton* Start_Game;
    QPushButton* Stopgame;
    QLabel* Gamestate; // the game's phase, as its text
    QLabel* level;     // the level, as its number
    QLabel* Score;
    QLabel* Highscore;
    IntervalTimer* Gametime2;    // plays one step of a round
    IntervalTimer* Gametime;     // releases the key a step showed
    IntervalTimer* NextGametime; // the pause before the next round
};
