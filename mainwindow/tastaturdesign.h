#pragma once

#include "effects/effectpatterns.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <array>

class Clock;
class IntervalTimer;
class QMainWindow;
class SpeedSlider;
class Taste;

// Every control, menu item and interval timer of the main window, created with their design
// values and places. The window owns them all; the handlers reach them through here.
struct tastaturDesign {
    void setupUi(QMainWindow* window, Clock& clock);

    // Panels, stacked at one place; one is shown at a time.
    QGroupBox* Modeeff = nullptr;
    QGroupBox* Modegame = nullptr;
    QGroupBox* Terms = nullptr;

    // Effect panel.
    Taste* Taste1 = nullptr;
    Taste* Taste2 = nullptr;
    Taste* Taste3 = nullptr;
    QLabel* LockNotice = nullptr; // names the locks that cannot be shown on this desktop
    SpeedSlider* NumSpeed = nullptr;
    SpeedSlider* CapsSpeed = nullptr;
    SpeedSlider* ScrollSpeed = nullptr;
    QLabel* Label24 = nullptr; // top "S" beside NumSpeed
    QComboBox* Combo1 = nullptr;
    SpeedSlider* EffectSpeed = nullptr;
    QPushButton* StartEff = nullptr;
    QPushButton* Stop = nullptr;

    // Game panel.
    QPushButton* Start_Game = nullptr;
    QPushButton* Stopgame = nullptr;
    Taste* G1 = nullptr;
    Taste* G2 = nullptr;
    Taste* G3 = nullptr;
    QLabel* Gamestate = nullptr;
    QLabel* level = nullptr;
    QLabel* Score = nullptr;
    QLabel* Highscore = nullptr;

    // Terms panel.
    QLabel* Label5 = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Label6 = nullptr;

    // Menu bar.
    QMenu* mMore = nullptr;
    QAction* mStuff = nullptr;
    QAction* mInfo = nullptr;
    QAction* mClose = nullptr;
    QMenu* mMode = nullptr;
    QAction* mEffect = nullptr;
    QAction* mGame = nullptr;

    // Interval timers.
    IntervalTimer* Timer1 = nullptr;
    IntervalTimer* resetime = nullptr;
    IntervalTimer* NUMtime = nullptr;
    IntervalTimer* CAPStime = nullptr;
    IntervalTimer* SCROLLtime = nullptr;
    IntervalTimer* Alltime = nullptr;
    IntervalTimer* Knighttime = nullptr;
    IntervalTimer* Landingtime = nullptr;
    IntervalTimer* Rockyoutime = nullptr;
    IntervalTimer* Runtime = nullptr;
    IntervalTimer* Speeduptime = nullptr;
    IntervalTimer* Traffictime = nullptr;
    IntervalTimer* Walktime = nullptr;
    IntervalTimer* Gametime = nullptr;
    IntervalTimer* Gametime2 = nullptr;
    IntervalTimer* NextGametime = nullptr;

    std::array<Taste*, 3> effectKeys() const { return {Taste1, Taste2, Taste3}; }
    std::array<Taste*, 3> gameKeys() const { return {G1, G2, G3}; }
    // In the order of the effect list.
    std::array<IntervalTimer*, EffectCount> effectTimers() const {
        return {Alltime, Knighttime,  Landingtime, Rockyoutime,
                Runtime, Speeduptime, Traffictime, Walktime};
    }
};
