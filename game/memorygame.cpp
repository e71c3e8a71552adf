#include "game/memorygame.h"

#include "keycontrol/buttonmessage.h"
#include "keycontrol/taste.h"
#include "lockkeys/lockreset.h"
#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"

#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace {
const QString YourTurn = QStringLiteral("Your turn!");
const QString Wait = QStringLiteral("Wait...");
const QString YouWon = QStringLiteral("You won!");
const QString YouLost = QStringLiteral("You lost!");

constexpr int HoldTime = 400;
constexpr int PauseAfterWin = 1000;
constexpr int FirstStepInterval = 1000;
constexpr int FastestStepInterval = 600;
constexpr int StepIntervalDecrease = 200;
constexpr int FirstRoundLength = 3;
constexpr int LastRoundOfLevel = 9;
} // namespace

MemoryGame::MemoryGame(Keyboard& keyboard, LockReset& reset, const GamePanel& panel,
                       QObject* parent)
    : QObject(parent), m_keyboard(keyboard), m_reset(reset), ui(panel) {
    connect(ui.Start_Game, &QPushButton::clicked, this, &MemoryGame::Start_Game_Click);
    connect(ui.Stopgame, &QPushButton::clicked, this, &MemoryGame::Stopgame_Click);
    connect(ui.Gametime2, &IntervalTimer::Timer, this, &MemoryGame::Gametime2_Timer);
    connect(ui.Gametime, &IntervalTimer::Timer, this, &MemoryGame::Gametime_Timer);
    connect(ui.NextGametime, &IntervalTimer::Timer, this, &MemoryGame::NextGametime_Timer);
    // G1_Click, G2_Click and G3_Click: the player's key, and nothing else.
    for (int number = 1; number <= 3; ++number)
        connect(gameKey(number), &Taste::Click, this, [this, number] { Remember(number); });
}

// The draw is single precision, as the generator's numbers are; the scaling is not, since in
// single precision a draw just below 1 would round up to max + 1.
int MemoryGame::Zufallszahl(int min, int max) {
    const float r = std::uniform_real_distribution<float>(0.0f, 1.0f)(m_random);
    return static_cast<int>(std::floor(double(max - min + 1) * double(r) + min));
}

// A step that cannot be stored or shown is skipped, and the tick carries on with the rest.
void MemoryGame::Gametime2_Timer() {
    ++PlayPos;
    const int k = Zufallszahl(1, 3);
    if (PlayPos >= 0 && PlayPos < int(Sequence.size()))
        Sequence[PlayPos] = k;
    SendK(k);
    if (PlayPos == RoundLength) {
        PlayPos = 0;
        ui.Gametime2->setEnabled(false);
        ui.Gamestate->setText(YourTurn);
    }
}

void MemoryGame::SendK(int Button) {
    ui.Gametime->setInterval(HoldTime);
    ui.Gametime->setEnabled(true);
    showStep(Button, true);
    ShownKey = Button;
}

void MemoryGame::Gametime_Timer() {
    showStep(ShownKey, false);
    ui.Gametime->setEnabled(false);
}

// A round that ends while its last key is still shown would otherwise have that key's release
// toggle its LED back on after the reset has darkened it.
void MemoryGame::finishShownStep() {
    if (ui.Gametime->isEnabled())
        Gametime_Timer();
}

void MemoryGame::showStep(int number, bool pressed) {
    Taste* key = gameKey(number);
    if (!key)
        return;
    SendButtonMessage(key->hWnd(),
                      pressed ? ButtonMessage::LeftButtonDown : ButtonMessage::LeftButtonUp);
    key->LedOn(pressed);
    modSync::Toggle(m_keyboard, AllLockKeys[number - 1]);
}

void MemoryGame::ReNew() {
    for (Taste* key : ui.keys) {
        SendButtonMessage(key->hWnd(), ButtonMessage::LeftButtonUp);
        key->LedOn(false);
    }
}

void MemoryGame::enGame() {
    setKeysEnabled(true);
}

void MemoryGame::disGame() {
    m_reset.Reset();
    setKeysEnabled(false);
}

void MemoryGame::setKeysEnabled(bool enabled) {
    for (Taste* key : ui.keys)
        key->setEnabled(enabled);
}

void MemoryGame::Remember(int Key) {
    if (ui.Gamestate->text() != YourTurn) {
        ui.Gametime2->setEnabled(false);
        ui.Gametime->setEnabled(false);
        gameLost();
        return;
    }
    ++InputPos;
    const int expected = InputPos < int(Sequence.size()) ? Sequence[InputPos] : 0;
    if (expected != Key) {
        finishShownStep();
        newSequence(0);
        gameLost();
        return;
    }
    ++CurrentScore;
    ui.Score->setNum(CurrentScore);
    if (InputPos == RoundLength) {
        finishShownStep();
        ui.Gamestate->setText(YouWon);
        disGame();
        InputPos = 0;
        newSequence(0);
        ui.NextGametime->setInterval(PauseAfterWin);
        ui.NextGametime->setEnabled(true);
    }
}

void MemoryGame::gameLost() {
    ui.Gamestate->setText(YouLost);
    InputPos = 0;
    RoundLength = 0;
    if (CurrentScore > BestScore) {
        ui.Highscore->setNum(CurrentScore);
        BestScore = CurrentScore;
    }
    ui.Start_Game->setEnabled(true);
    ui.Stopgame->setEnabled(false);
    ReNew();
    ReNew();
    disGame();
    PlayPos = 0;
    CurrentScore = 0;
}

void MemoryGame::Start_Game_Click() {
    CurrentScore = 0;
    enGame();
    StepInterval = FirstStepInterval;
    ui.Gamestate->setText(Wait);
    ui.level->setNum(1);
    ui.Score->setNum(0);
    RoundLength = FirstRoundLength;
    newSequence(RoundLength);
    ui.Gametime2->setInterval(StepInterval);
    ui.Gametime2->setEnabled(true);
    ui.Start_Game->setEnabled(false);
    ui.Stopgame->setEnabled(true);
}

void MemoryGame::NextGametime_Timer() {
    NextGame();
    ui.NextGametime->setEnabled(false);
}

// After the last round of a level the next level begins: three keys again at a faster step,
// or, once the steps are as fast as they get, a round two keys longer.
void MemoryGame::NextGame() {
    enGame();
    ui.Gamestate->setText(Wait);
    if (RoundLength == LastRoundOfLevel) {
        ui.level->setNum(ui.level->text().toInt() + 1);
        if (StepInterval != FastestStepInterval) {
            StepInterval -= StepIntervalDecrease;
            ui.Gametime2->setInterval(StepInterval);
            RoundLength = 1;
        }
    }
    RoundLength += 2;
    newSequence(RoundLength);
    ui.Gametime2->setEnabled(true);
}

void MemoryGame::Stopgame_Click() {
    ui.NextGametime->setEnabled(false);
    ui.Gametime2->setEnabled(false);
    ui.Gametime->setEnabled(false);
    gameLost();
}

Taste* MemoryGame::gameKey(int number) const {
    return number >= 1 && number <= 3 ? ui.keys[number - 1] : nullptr;
}
