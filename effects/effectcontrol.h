#pragma once

#include "effects/effectpanel.h"
#include "effects/effectpatterns.h"
#include "effects/effectstate.h"

#include <QObject>

#include <optional>

class ControlStates;
class KeyBlinking;
class Keyboard;
class LockReset;

// The effect panel's handlers: "Start Effect" starts the effect selected in Combo1, a completed
// change of EffectSpeed re-times the running effect, and "Stop all (RESET)" stops every effect
// and per-key blink, unlocks the panel and puts every speed slider back to its default.
// Whether an effect runs is told by the "Start Effect" button alone: disabled means running.
class EffectControl : public QObject {
    Q_OBJECT

public:
    // Connects the StartEff and Stop buttons and EffectSpeed's change to the handlers.
    EffectControl(Keyboard& keyboard, const EffectPanel& panel, LockReset& reset,
                  ControlStates& controls, KeyBlinking& blinking, QObject* parent = nullptr);

    void StartEff_Click();
    void EffectSpeed_Change();
    void Stop_Click();

private:
    void startEffect(Effect effect, bool restart);
    std::optional<Effect> selectedEffect() const;

    EffectPanel m_panel;
    LockReset& m_reset;
    ControlStates& m_controls;
    KeyBlinking& m_blinking;
    EffectState m_state;
    EffectPatterns m_patterns;
};
