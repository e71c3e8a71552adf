#pragma once

#include "mainwindow/tastaturdesign.h"

#include <QMainWindow>

#include <memory>

class Clock;
class ControlStates;
class EffectControl;
class KeyBlinking;
class Keyboard;
class Launcher;
class LockDisplay;
class LockKeyEvents;
class LockReset;
class MemoryGame;
class Modes;

// The program's one window. It owns every control, timer and piece of state; the program
// lives as long as it does. Closing it, by any path, turns every lit lock LED off.
class tastatur : public QMainWindow {
    Q_OBJECT

public:
    tastatur(Keyboard& keyboard, Clock& clock, Launcher& launcher, QWidget* parent = nullptr);
    ~tastatur() override;

    const tastaturDesign& design() const { return ui; }
    const LockDisplay& lockDisplay() const { return *m_display; }

    void mClose_Click();

    // Tells the user, in a box beside the window and on standard error, what keeps the window
    // from working as usual; nothing for an empty text.
    void showNotice(const QString& notice);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();

    tastaturDesign ui;
    bool m_closed = false;
    std::unique_ptr<LockReset> m_reset;
    std::unique_ptr<LockDisplay> m_display;
    std::unique_ptr<MemoryGame> m_game;
    std::unique_ptr<ControlStates> m_controlStates;
    std::unique_ptr<KeyBlinking> m_blinking;
    std::unique_ptr<EffectControl> m_effects;
    std::unique_ptr<Modes> m_modes;
    std::unique_ptr<LockKeyEvents> m_lockKeyEvents;
};
