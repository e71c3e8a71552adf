#pragma once

#include <array>

class QWidget;

// Locks and unlocks the effect panel's controls, so that per-key blinking and the light effects
// exclude each other. A disabled "Start Effect" button marks that one of them runs.
class ControlStates {
public:
    ControlStates(QWidget& Combo1, QWidget& StartEff, QWidget& NumSpeed, QWidget& CapsSpeed,
                  QWidget& ScrollSpeed, QWidget& EffectSpeed);

    // Locks the effect list and "Start Effect".
    void Disable();
    // Unlocks every control of the panel.
    void Enable();
    // Unlocks the three per-key sliders and locks EffectSpeed.
    void EnableSpeeds();
    // Locks the three per-key sliders and unlocks EffectSpeed.
    void DisableSpeeds();

private:
    std::array<QWidget*, 6> m_columns; // in the order of the constructor's arguments
};
